#include "engine/exact/protocol.h"

#include <cctype>
#include <sstream>

namespace pfac::exact {

namespace {

constexpr char kHeader[] = "pfac-exact 1";
constexpr char kExpansionHeader[] = "pfac-exact expand 1";
// More steps than any typed line gives.
constexpr long kMaxSteps = 100000;

// A decimal integer text: an optional "-" and digits, no leading zero.
bool IsDecimal(const std::string& text) {
  size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  if (text[i] == '0' && text.size() > i + 1) return false;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

// A rational text: a decimal integer, or one and "/" and a positive decimal
// integer; never 0.
bool IsRational(const std::string& text) {
  const size_t slash = text.find('/');
  if (slash == std::string::npos) return IsDecimal(text) && text != "0";
  const std::string denominator = text.substr(slash + 1);
  return IsDecimal(text.substr(0, slash)) && text.substr(0, slash) != "0" && IsDecimal(denominator) &&
         denominator[0] != '-' && denominator != "0";
}

// A term line of an expansion: the coefficient and one exponent per variable.
bool ReadRationalTerm(std::istringstream& in, int variables, RationalTerm* t) {
  if (!(in >> t->coefficient) || !IsRational(t->coefficient)) return false;
  t->exponents.resize(static_cast<size_t>(variables));
  for (int32_t& e : t->exponents) {
    if (!(in >> e) || e < 0) return false;
  }
  return true;
}

// "error TEXT": the text in *why.
bool ReadErrorLine(std::istringstream& in, const std::string& word, std::string* why) {
  if (word != "error") return false;
  std::getline(in, *why);
  if (!why->empty() && (*why)[0] == ' ') why->erase(0, 1);
  return true;
}

void WriteTerms(std::ostringstream& out, const Polynomial& p) {
  for (const Term& t : p.terms) {
    out << t.coefficient;
    for (int32_t e : t.exponents) out << ' ' << e;
    out << '\n';
  }
}

// T term lines of a polynomial in `variables` variables.
bool ReadTerms(std::istringstream& in, int variables, long terms, Polynomial* p) {
  if (terms < 1 || terms > 10000000) return false;
  p->variables = variables;
  p->terms.resize(static_cast<size_t>(terms));
  for (Term& t : p->terms) {
    if (!(in >> t.coefficient) || !IsDecimal(t.coefficient) || t.coefficient == "0") return false;
    t.exponents.resize(static_cast<size_t>(variables));
    for (int32_t& e : t.exponents) {
      if (!(in >> e) || e < 0) return false;
    }
  }
  return true;
}

}  // namespace

std::string RequestText(const Polynomial& polynomial) {
  std::ostringstream out;
  out << kHeader << '\n' << polynomial.variables << ' ' << polynomial.terms.size() << '\n';
  WriteTerms(out, polynomial);
  return out.str();
}

std::optional<Polynomial> ReadRequest(const std::string& text) {
  std::istringstream in(text);
  std::string header;
  std::getline(in, header);
  if (header != kHeader) return std::nullopt;
  int variables = 0;
  long terms = 0;
  if (!(in >> variables >> terms) || variables < 1 || variables > 26) return std::nullopt;
  Polynomial p;
  if (!ReadTerms(in, variables, terms, &p)) return std::nullopt;
  return p;
}

std::string AnswerText(const Factorisation& factorisation) {
  std::ostringstream out;
  const int variables = factorisation.factors.empty() ? 0 : factorisation.factors[0].polynomial.variables;
  out << "ok\ncontent " << factorisation.content << "\nfactors " << factorisation.factors.size() << ' '
      << variables << '\n';
  for (const Factor& f : factorisation.factors) {
    out << f.multiplicity << ' ' << f.polynomial.terms.size() << '\n';
    WriteTerms(out, f.polynomial);
  }
  return out.str();
}

std::string ErrorAnswerText(const std::string& why) {
  std::string line = why;
  for (char& c : line) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return "error " + line + "\n";
}

std::optional<Factorisation> ReadAnswer(const std::string& text, std::string* why) {
  std::istringstream in(text);
  std::string word;
  if (!(in >> word)) {
    *why = "the helper gave no answer";
    return std::nullopt;
  }
  if (ReadErrorLine(in, word, why)) return std::nullopt;
  Factorisation out;
  long count = 0;
  int variables = 0;
  std::string label;
  const bool good = word == "ok" && (in >> label >> out.content) && label == "content" &&
                    IsDecimal(out.content) && (in >> label >> count >> variables) && label == "factors" &&
                    count >= 0 && count <= 100000 && variables >= 0 && variables <= 26;
  if (!good) {
    *why = "the helper's answer cannot be read";
    return std::nullopt;
  }
  for (long i = 0; i < count; ++i) {
    Factor f;
    long terms = 0;
    if (!(in >> f.multiplicity >> terms) || f.multiplicity < 1 || variables < 1 ||
        !ReadTerms(in, variables, terms, &f.polynomial)) {
      *why = "the helper's answer cannot be read";
      return std::nullopt;
    }
    out.factors.push_back(std::move(f));
  }
  return out;
}

bool IsExpansionRequest(const std::string& text) {
  return text.compare(0, sizeof kExpansionHeader - 1, kExpansionHeader) == 0 &&
         (text.size() == sizeof kExpansionHeader - 1 || text[sizeof kExpansionHeader - 1] == '\n');
}

std::string ExpansionRequestText(const ExpansionProgram& program) {
  std::ostringstream out;
  out << kExpansionHeader << '\n' << program.variables << ' ' << program.steps.size() << '\n';
  for (const ExpansionStep& step : program.steps) {
    switch (step.kind) {
      case ExpansionStep::Kind::Push:
        out << "push " << step.term.coefficient;
        for (int32_t e : step.term.exponents) out << ' ' << e;
        break;
      case ExpansionStep::Kind::Add: out << "add"; break;
      case ExpansionStep::Kind::Multiply: out << "mul"; break;
      case ExpansionStep::Kind::Power: out << "pow " << step.exponent; break;
    }
    out << '\n';
  }
  return out.str();
}

std::optional<ExpansionProgram> ReadExpansionRequest(const std::string& text) {
  std::istringstream in(text);
  std::string header;
  std::getline(in, header);
  if (header != kExpansionHeader) return std::nullopt;
  ExpansionProgram program;
  long steps = 0;
  if (!(in >> program.variables >> steps) || program.variables < 1 || program.variables > 26 || steps < 1 ||
      steps > kMaxSteps) {
    return std::nullopt;
  }
  for (long i = 0; i < steps; ++i) {
    ExpansionStep step;
    std::string word;
    if (!(in >> word)) return std::nullopt;
    if (word == "push") {
      step.kind = ExpansionStep::Kind::Push;
      if (!ReadRationalTerm(in, program.variables, &step.term)) return std::nullopt;
    } else if (word == "add") {
      step.kind = ExpansionStep::Kind::Add;
    } else if (word == "mul") {
      step.kind = ExpansionStep::Kind::Multiply;
    } else if (word == "pow") {
      step.kind = ExpansionStep::Kind::Power;
      if (!(in >> step.exponent) || step.exponent < 1) return std::nullopt;
    } else {
      return std::nullopt;
    }
    program.steps.push_back(std::move(step));
  }
  return program;
}

std::string ExpansionAnswerText(const RationalPolynomial& expanded) {
  std::ostringstream out;
  out << "ok\nterms " << expanded.terms.size() << ' ' << expanded.variables << '\n';
  for (const RationalTerm& t : expanded.terms) {
    out << t.coefficient;
    for (int32_t e : t.exponents) out << ' ' << e;
    out << '\n';
  }
  return out.str();
}

std::optional<RationalPolynomial> ReadExpansionAnswer(const std::string& text, std::string* why) {
  std::istringstream in(text);
  std::string word;
  if (!(in >> word)) {
    *why = "the helper gave no answer";
    return std::nullopt;
  }
  if (ReadErrorLine(in, word, why)) return std::nullopt;
  RationalPolynomial out;
  long terms = 0;
  std::string label;
  bool good = word == "ok" && (in >> label >> terms >> out.variables) && label == "terms" && terms >= 0 &&
              terms <= 10000000 && out.variables >= 1 && out.variables <= 26;
  for (long i = 0; good && i < terms; ++i) {
    RationalTerm t;
    good = ReadRationalTerm(in, out.variables, &t);
    out.terms.push_back(std::move(t));
  }
  if (!good) {
    *why = "the helper's answer cannot be read";
    return std::nullopt;
  }
  return out;
}

}  // namespace pfac::exact
