#include "engine/exact/protocol.h"

#include <cctype>
#include <sstream>

namespace pfac::exact {

namespace {

constexpr char kHeader[] = "pfac-exact 1";

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

}  // namespace pfac::exact
