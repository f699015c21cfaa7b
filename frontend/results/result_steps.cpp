#include "frontend/results/result_steps.h"

#include <algorithm>

#include "frontend/results/result_presentation.h"

namespace pfac::frontend {

namespace {

using explain::Expression;
using Kind = explain::Expression::Kind;

// The reason of a step stands after its expression in full-width brackets,
// which no expression uses.
constexpr char kReasonOpen[] = " （";
constexpr char kReasonClose[] = "）";

// The first and the last leaf of a text, which a bracket or a sign joins.
Breakable& FirstLeaf(Breakable& text) { return text.parts.empty() ? text : FirstLeaf(text.parts.front()); }
Breakable& LastLeaf(Breakable& text) { return text.parts.empty() ? text : LastLeaf(text.parts.back()); }

Breakable Around(Breakable text, const std::string& before, const std::string& after) {
  FirstLeaf(text).text.insert(0, before);
  LastLeaf(text).text += after;
  return text;
}

bool OneTerm(const Expression& e) { return e.kind == Kind::Polynomial && e.polynomial.terms.size() == 1; }

bool NegativeTerm(const explain::RationalTerm& term) {
  return !term.coefficient.empty() && term.coefficient.front() == '-';
}

// Writes expressions in the variables' letters.
class Writer {
 public:
  explicit Writer(const std::string& letters) : letters_(letters) {}

  Breakable Write(const Expression& e) const {
    switch (e.kind) {
      case Kind::Polynomial: return Terms(e.polynomial);
      case Kind::Product: return Product(e.parts);
      case Kind::Sum: return SumShown(e.parts);
      case Kind::Power: return Factor(e);
    }
    return Leaf("");
  }

 private:
  // Each term a leaf: "x²", " - 5x", " + 6".
  Breakable Terms(const explain::RationalPolynomial& value) const {
    std::vector<Breakable> leaves;
    for (const std::string& text : StudentTerms(value, letters_)) leaves.push_back(Leaf(text));
    if (leaves.empty()) leaves.push_back(Leaf("0"));
    return Node(std::move(leaves));
  }

  // A number or monomial: "3xy", "-1", "1/4".
  std::string Monomial(const Expression& e) const { return Terms(e.polynomial).Text(); }

  // A part of a product: (x - 1), x², (2x)², (y - 1)², [a(x + y) + b(x + y)].
  Breakable Factor(const Expression& e) const {
    switch (e.kind) {
      case Kind::Polynomial:
        return Around(Terms(e.polynomial), "(", ")");
      case Kind::Power: {
        const std::string power = StudentPower(e.exponent);
        const Expression& base = e.parts.front();
        if (OneTerm(base)) {
          // x², 3², but (2x)², (xy)², (-1)².
          const bool bare = BareBeforePower(base.polynomial.terms.front());
          return Leaf(bare ? Monomial(base) + power : "(" + Monomial(base) + ")" + power);
        }
        return Around(Factor(base), "", power);
      }
      case Kind::Product: return Product(e.parts);
      case Kind::Sum: return Around(SumShown(e.parts), "[", "]");
    }
    return Leaf("");
  }

  // The parts side by side, a number or monomial first: 3xy(2x - 3y), -(x - 1)², 2y.
  Breakable Product(const std::vector<Expression>& parts) const {
    if (parts.size() == 1 && OneTerm(parts.front())) return Leaf(Monomial(parts.front()));
    std::vector<Breakable> factors;
    std::string front;
    for (size_t i = 0; i < parts.size(); ++i) {
      if (i == 0 && OneTerm(parts[i])) {
        front = Monomial(parts[i]);
        if (front == "1") front.clear();
        if (front == "-1") front = "-";
        continue;
      }
      factors.push_back(Around(Factor(parts[i]), front, ""));
      front.clear();
    }
    return Node(std::move(factors));
  }

  // A part that is subtracted: a product with a negative number or monomial
  // first, or a polynomial whose first term is negative.
  static bool Subtracted(const Expression& e) {
    if (e.kind == Kind::Product) return !e.parts.empty() && OneTerm(e.parts.front()) &&
                                        NegativeTerm(e.parts.front().polynomial.terms.front());
    return e.kind == Kind::Polynomial && !e.polynomial.terms.empty() && NegativeTerm(e.polynomial.terms.front());
  }

  static Expression Negated(Expression e) {
    explain::RationalPolynomial& value =
        e.kind == Kind::Product ? e.parts.front().polynomial : e.polynomial;
    for (explain::RationalTerm& term : value.terms) {
      term.coefficient = NegativeTerm(term) ? term.coefficient.substr(1) : "-" + term.coefficient;
    }
    return e;
  }

  // The parts added: a(x + y) + b(x + y), x² - (y - 1)².
  Breakable SumShown(const std::vector<Expression>& parts) const {
    std::vector<Breakable> shown;
    for (const Expression& part : parts) {
      const bool minus = !shown.empty() && Subtracted(part);
      const Expression& written = minus ? Negated(part) : part;
      Breakable text = written.kind == Kind::Power ? Factor(written) : Write(written);
      if (!shown.empty()) text = Around(std::move(text), minus ? " - " : " + ", "");
      shown.push_back(std::move(text));
    }
    return Node(std::move(shown));
  }

  const std::string& letters_;
};

std::string ReasonText(const explain::Reason& reason, const std::string& letters) {
  const Writer writer(letters);
  std::string text;
  for (const explain::ReasonPart& part : reason) {
    if (!part.math) {
      text += part.words;
      continue;
    }
    const std::string math = writer.Write(*part.math).Text();
    text += part.bracketed && !math.empty() && math.front() == '-' ? "(" + math + ")" : math;
  }
  return text;
}

// A reason breaks after its commas and colons and around " / ", never inside
// a formula: "十字: (-2) × (-3) = 6," / "(-2) + (-3) = -5".
std::vector<Breakable> ReasonLeaves(const std::string& text) {
  std::vector<Breakable> leaves;
  size_t start = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    const bool comma = (text[at] == ',' || text[at] == ':') && at + 1 < text.size() && text[at + 1] == ' ';
    const bool slash = text.compare(at, 3, " / ") == 0;
    if (comma || slash) {
      const size_t end = comma ? at + 1 : at;
      leaves.push_back(Leaf(text.substr(start, end - start)));
      start = end;
    }
  }
  leaves.push_back(Leaf(text.substr(start)));
  return leaves;
}

std::string MethodText(explain::Method method) {
  const explain::MethodName name = explain::NameOf(method);
  return std::string(name.chinese) + " / " + name.english;
}

}  // namespace

std::chrono::steady_clock::duration StepBudget(double engineSeconds) {
  if (engineSeconds <= 0) return kDefaultStepBudget;
  const auto run =
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(engineSeconds));
  return std::max<std::chrono::steady_clock::duration>(run, kLeastStepBudget);
}

ResultSteps ExplainResult(const ResultSource& source) { return ExplainResult(source, StepBudget(source.seconds)); }

ResultSteps ExplainResult(const ResultSource& source, std::chrono::steady_clock::duration budget) {
  ResultSteps steps;
  if (!source.complete) {
    steps.missing = kNotKnownComplete;
    return steps;
  }
  if (!source.value || !source.value->factored) {
    steps.missing = kNothingToExplain;
    return steps;
  }
  steps.letters = source.value->letters;
#ifdef PFAC_EXACT
  explain::Options options;
  options.budget = budget;
  std::string why;
  steps.explanation = explain::Explain(*source.value, options, &why);
  if (!steps.explanation) {
    steps.missing = kNothingToExplain;
  } else if (steps.explanation->steps.empty() && steps.explanation->irreducible.empty()) {
    steps.explanation.reset();
    steps.missing = kSingleTerm;
  }
#else
  (void)budget;
  steps.missing = kNoExplainer;
#endif
  return steps;
}

Breakable ExpressionShown(const explain::Expression& expression, const std::string& letters) {
  return Writer(letters).Write(expression);
}

std::vector<Breakable> StepLines(const ResultSteps& steps) {
  if (!steps.explanation) return {ProseText(steps.missing)};
  std::vector<Breakable> lines;
  int number = 0;
  for (const explain::Step& step : steps.explanation->steps) {
    const std::string method = std::to_string(++number) + ". " + MethodText(step.method) + ":";
    lines.push_back(Node({Leaf(method), Around(ExpressionShown(step.expression, steps.letters), " = ", ""),
                          Around(Node(ReasonLeaves(ReasonText(step.reason, steps.letters))), kReasonOpen,
                                 kReasonClose)}));
  }
  if (!steps.explanation->irreducible.empty()) {
    lines.push_back(Node(ReasonLeaves(ReasonText(steps.explanation->irreducible, steps.letters))));
  }
  return lines;
}

std::vector<Breakable> PrintedSteps(const ResultSource& source) {
  const ResultSteps steps = ExplainResult(source);
  return steps.explanation ? StepLines(steps) : std::vector<Breakable>{};
}

std::vector<std::string> StepTexts(const ResultSteps& steps) {
  if (!steps.explanation) return {steps.missing};
  std::vector<std::string> texts;
  for (const explain::Step& step : steps.explanation->steps) {
    texts.push_back(MethodText(step.method) + "\t= " + ExpressionShown(step.expression, steps.letters).Text() + "\t" +
                    ReasonText(step.reason, steps.letters));
  }
  if (!steps.explanation->irreducible.empty()) {
    texts.push_back(ReasonText(steps.explanation->irreducible, steps.letters));
  }
  return texts;
}

}  // namespace pfac::frontend
