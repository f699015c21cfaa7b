#include "frontend/results/result_steps.h"

#include <algorithm>

#include "frontend/input/typed_input.h"
#include "frontend/results/result_presentation.h"
#ifdef PFAC_EXACT
#include "engine/exact/rational_poly.h"
#endif

namespace pfac::frontend {

namespace {

using explain::Expression;
using Kind = explain::Expression::Kind;

// The reason of a step stands after its expression in full-width brackets,
// which no expression uses.
constexpr char kReasonOpen[] = " （";
constexpr char kReasonClose[] = "）";
// A step's detail stands indented under it: four blanks in plain text,
// two wide blanks on paper and in the panel (a line's leading blanks are
// not set there).
constexpr char kDetailIndent[] = "    ";
constexpr char kSetDetailIndent[] = "\u3000\u3000";

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

// The factorisation a step leaves when it is the product of a number or
// monomial and polynomials (each perhaps to a power), as the result holds one;
// nothing for a step with a sum in it.
std::optional<format::ResultValue> AsFactorisation(const Expression& e, const std::string& letters) {
  format::ResultValue value;
  value.letters = letters;
  value.factored = true;
  value.monomial.assign(letters.size(), 0);
  const std::vector<Expression> single{e};
  const std::vector<Expression>& parts = e.kind == Kind::Product ? e.parts : single;
  if (e.kind != Kind::Product && e.kind != Kind::Power) return std::nullopt;
  for (size_t i = 0; i < parts.size(); ++i) {
    const Expression& part = parts[i];
    if (i == 0 && OneTerm(part)) {
      value.content = part.polynomial.terms.front().coefficient;
      value.monomial = part.polynomial.terms.front().exponents;
      continue;
    }
    const bool power = part.kind == Kind::Power && part.parts.size() == 1;
    const Expression& base = power ? part.parts.front() : part;
    if (base.kind != Kind::Polynomial || base.polynomial.terms.size() < 2) return std::nullopt;
    for (int k = 0; k < (power ? part.exponent : 1); ++k) value.factors.push_back(base.polynomial);
  }
  if (value.factors.empty()) return std::nullopt;
  return value;
}

// A step's expression; the last one, the factorisation found, written as the
// answer is, so that the two read the same.
Breakable StepShown(const ResultSteps& steps, size_t index) {
  const Expression& e = steps.explanation->steps[index].expression;
  if (index + 1 == steps.explanation->steps.size()) {
    if (std::optional<format::ResultValue> value = AsFactorisation(e, steps.letters)) {
      return FactorisationShown(*value, steps.keepLeadingMinus);
    }
  }
  return ExpressionShown(e, steps.letters);
}

std::string MethodText(explain::Method method) {
  const explain::MethodName name = explain::NameOf(method);
  return std::string(name.chinese) + " / " + name.english;
}

#ifdef PFAC_EXACT
// The typed terms as the explainer reads them: each term a product of its
// number and letters in front and its brackets, each bracket a polynomial
// (its terms as typed) or a sum of such products.
Expression TypedTermsShown(const std::vector<TypedTerm>& terms, const std::string& letters);

Expression TypedTermShown(const TypedTerm& term, const std::string& letters) {
  exact::Rational number(term.negative ? -1 : 1);
  std::vector<int32_t> exponents(letters.size(), 0);
  std::vector<Expression> brackets;
  for (const TypedFactor& factor : term.factors) {
    switch (factor.kind) {
      case TypedFactor::Kind::Number: {
        const std::optional<exact::Rational> value = exact::Rational::FromText(
            factor.numerator + (factor.denominator.empty() ? "" : "/" + factor.denominator));
        for (int k = 0; k < factor.exponent && value; ++k) number = number * *value;
        break;
      }
      case TypedFactor::Kind::Letter: {
        const size_t at = letters.find(factor.letter);
        if (at != std::string::npos) exponents[at] += factor.exponent;
        break;
      }
      case TypedFactor::Kind::Bracket: {
        Expression inner = TypedTermsShown(factor.inner, letters);
        if (inner.kind == Kind::Polynomial) inner = Expression::ProductOf({std::move(inner)});
        brackets.push_back(factor.exponent == 1 ? std::move(inner) : Expression::PowerOf(std::move(inner), factor.exponent));
        break;
      }
    }
  }
  const Expression front = Expression::Of({static_cast<int>(letters.size()), {{number.Text(), exponents}}});
  if (brackets.empty()) return front;
  brackets.insert(brackets.begin(), front);
  return Expression::ProductOf(std::move(brackets));
}

Expression TypedTermsShown(const std::vector<TypedTerm>& terms, const std::string& letters) {
  std::vector<Expression> parts;
  bool plain = true;
  for (const TypedTerm& term : terms) {
    parts.push_back(TypedTermShown(term, letters));
    plain = plain && parts.back().kind == Kind::Polynomial;
  }
  if (plain) {
    explain::RationalPolynomial polynomial{static_cast<int>(letters.size()), {}};
    for (const Expression& part : parts) polynomial.terms.push_back(part.polynomial.terms.front());
    return Expression::Of(std::move(polynomial));
  }
  return Expression::SumOf(std::move(parts));
}

// The problem as typed, for the explainer; none where it is not known or
// not read in the result's letters.
std::optional<Expression> TypedProblem(const ResultSource& source) {
  if (source.typed.empty()) return std::nullopt;
  const std::unique_ptr<Expander> expander = ExactExpander();
  const ConvertedText converted = ConvertTypedText(source.typed, expander.get());
  if (!converted.Accepted() || converted.letters != source.value->letters) return std::nullopt;
  const exact::Ring ring(static_cast<int>(converted.letters.size()));
  const std::optional<exact::Poly> typed = exact::Poly::FromValue(ring, converted.value);
  const std::optional<exact::Poly> entered = exact::Poly::FromValue(ring, source.value->entered);
  if (!typed || !entered || *typed != *entered) return std::nullopt;
  return TypedTermsShown(converted.typed, converted.letters);
}
#endif

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
  steps.keepLeadingMinus = TypedStartsNegative(*source.value, source.typed);
#ifdef PFAC_EXACT
  explain::Options options;
  options.budget = budget;
  options.typed = TypedProblem(source);
  options.keepLeadingMinus = steps.keepLeadingMinus;
  std::string why;
  steps.explanation = explain::Explain(*source.value, options, &why);
  if (source.field == Field::kReal) steps.real = RealSteps(*source.value);
  if (!steps.explanation) {
    steps.missing = kNothingToExplain;
  } else if (steps.explanation->steps.empty() && steps.explanation->irreducible.empty() && steps.real.empty()) {
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

std::vector<Breakable> StepLines(const ResultSteps& steps, bool detail, bool markFolded) {
  if (!steps.explanation) return {ProseText(steps.missing)};
  std::vector<Breakable> lines;
  for (size_t i = 0; i < steps.explanation->steps.size(); ++i) {
    const explain::Step& step = steps.explanation->steps[i];
    const std::string method = std::to_string(i + 1) + ". " + MethodText(step.method) + ":";
    const bool folded = !detail && markFolded && !step.details.empty();
    lines.push_back(Node({Leaf(method), Around(StepShown(steps, i), " = ", ""),
                          Around(Node(ReasonLeaves(ReasonText(step.reason, steps.letters))), kReasonOpen,
                                 std::string(kReasonClose) + (folded ? kFolded : ""))}));
    if (!detail) continue;
    for (const explain::Reason& detail : step.details) {
      lines.push_back(Around(Node(ReasonLeaves(ReasonText(detail, steps.letters))), kSetDetailIndent, ""));
    }
  }
  for (const explain::Reason& reason : steps.explanation->finalReasons) {
    lines.push_back(Node(ReasonLeaves(ReasonText(reason, steps.letters))));
  }
  if (!steps.explanation->irreducible.empty()) {
    lines.push_back(Node(ReasonLeaves(ReasonText(steps.explanation->irreducible, steps.letters))));
  }
  for (size_t i = 0; i < steps.real.size(); ++i) {
    const RealStep& step = steps.real[i];
    const std::string method = std::to_string(steps.explanation->steps.size() + i + 1) + ". " + step.method + ":";
    lines.push_back(Node({Leaf(method), Around(step.expression, " = ", ""),
                          Around(Leaf(step.reason), kReasonOpen, kReasonClose)}));
  }
  return lines;
}

std::vector<Breakable> PrintedSteps(const ResultSource& source, bool detail) {
  const ResultSteps steps = ExplainResult(source);
  return steps.explanation ? StepLines(steps, detail) : std::vector<Breakable>{};
}

std::vector<std::string> StepTexts(const ResultSteps& steps) {
  if (!steps.explanation) return {steps.missing};
  std::vector<std::string> texts;
  for (size_t i = 0; i < steps.explanation->steps.size(); ++i) {
    const explain::Step& step = steps.explanation->steps[i];
    texts.push_back(MethodText(step.method) + "\t= " + StepShown(steps, i).Text() + "\t" +
                    ReasonText(step.reason, steps.letters));
    for (const explain::Reason& detail : step.details) {
      texts.push_back(kDetailIndent + ReasonText(detail, steps.letters));
    }
  }
  for (const explain::Reason& reason : steps.explanation->finalReasons) {
    texts.push_back(ReasonText(reason, steps.letters));
  }
  if (!steps.explanation->irreducible.empty()) {
    texts.push_back(ReasonText(steps.explanation->irreducible, steps.letters));
  }
  for (const RealStep& step : steps.real) {
    texts.push_back(step.method + "\t= " + step.expression.Text() + "\t" + step.reason);
  }
  return texts;
}

}  // namespace pfac::frontend
