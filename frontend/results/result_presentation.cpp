#include "frontend/results/result_presentation.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

#include "engine/result_format/factor_runs.h"
#include "frontend/input/typed_input.h"
#ifdef PFAC_EXACT
#include "engine/exact/rational_poly.h"
#include "engine/exact/real_split.h"
#endif

namespace pfac::frontend {

namespace {

// The three ways a result is written out.
enum class Style {
  Student,  // x³ - 6x² + 4x + 15: superscripts, blanks around "+" and "-"
  Plain,    // x^3-6x^2+4x+15
  Latex,    // x^{3}-6x^{2}+4x+15
};

constexpr char kLatexIrreducible[] = "\\ \\text{is irreducible over}\\ \\mathbb{Q}";
constexpr char kLatexMonomial[] = "\\ \\text{is a monomial: it needs no factoring}";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSmallLetter(char c) { return c >= 'a' && c <= 'z'; }
bool IsLetter(char c) { return IsSmallLetter(c) || (c >= 'A' && c <= 'Z'); }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// A term of the value as it is written out: its sign, the coefficient's
// digits and the powers of its letters, alphabetical.
struct Term {
  bool negative = false;
  std::string numerator = "1";  // the coefficient's digits
  std::string denominator;      // its denominator's digits; empty for an integer
  std::vector<std::pair<char, int>> powers;
  // Over the reals, a coefficient with a square root: numerator·√radicand /
  // denominator, or with a rational part, (rational ± numerator·√radicand) /
  // denominator, the sign inside given by innerMinus. Empty for a rational
  // coefficient.
  std::string radicand;
  std::string rational;
  bool innerMinus = false;

  bool UnitCoefficient() const { return numerator == "1" && denominator.empty() && radicand.empty(); }
  std::array<int, 26> Exponents() const {
    std::array<int, 26> exponents{};
    for (const auto& [letter, exponent] : powers) exponents[letter - 'a'] += exponent;
    return exponents;
  }
  int Degree() const {
    int degree = 0;
    for (const auto& power : powers) degree += power.second;
    return degree;
  }
  bool operator==(const Term& other) const = default;
};

using Sum = std::vector<Term>;

struct Factor {
  Sum terms;
  int multiplicity = 1;
};

// A factorisation: a sign, the rational content, a monomial, and factors.
struct Product {
  Term front;  // sign, content and monomial
  std::vector<Factor> factors;
};

// A coefficient "p" or "p/q" with its sign, and the exponents of `letters`.
Term TermOf(std::string_view coefficient, const std::vector<int32_t>& exponents, const std::string& letters) {
  Term term;
  term.negative = !coefficient.empty() && coefficient.front() == '-';
  if (term.negative) coefficient.remove_prefix(1);
  const size_t slash = coefficient.find('/');
  term.numerator = std::string(coefficient.substr(0, slash));
  if (slash != std::string_view::npos) term.denominator = std::string(coefficient.substr(slash + 1));
  for (size_t v = 0; v < letters.size() && v < exponents.size(); ++v) {
    if (exponents[v] > 0) term.powers.emplace_back(letters[v], exponents[v]);
  }
  return term;
}

Sum SumOf(const format::RationalPolynomial& polynomial, const std::string& letters) {
  Sum sum;
  for (const format::RationalTerm& term : polynomial.terms) sum.push_back(TermOf(term.coefficient, term.exponents, letters));
  return sum;
}

Product ProductOf(const format::ResultValue& value) {
  Product product;
  product.front = TermOf(value.content, value.monomial, value.letters);
  for (const format::RationalPolynomial& factor : value.factors) product.factors.push_back({SumOf(factor, value.letters), 1});
  return product;
}

// Numbers of any length, compared by value.
int CompareMagnitudes(std::string_view a, std::string_view b) {
  while (a.size() > 1 && a.front() == '0') a.remove_prefix(1);
  while (b.size() > 1 && b.front() == '0') b.remove_prefix(1);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

int CompareCoefficients(const Term& a, const Term& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  int order = CompareMagnitudes(a.numerator, b.numerator);
  if (order == 0) order = CompareMagnitudes(a.denominator, b.denominator);
  return a.negative ? -order : order;
}

// As a textbook writes a polynomial: by total degree, the highest first, and
// terms of one degree alphabetically (x² + 2xy + y² - 4x - 4y + 4).
bool LeadsByDegree(const Term& a, const Term& b) {
  if (a.Degree() != b.Degree()) return a.Degree() > b.Degree();
  return a.Exponents() > b.Exponents();
}

// Each factor's letters alphabetical, its terms by degree and its leading
// coefficient positive (a factor of odd multiplicity turned round turns the
// sign of the whole); equal factors under one exponent.
void Normalise(Product* product) {
  auto alphabetical = [](Term* term) { std::sort(term->powers.begin(), term->powers.end()); };
  alphabetical(&product->front);
  std::vector<Factor> combined;
  for (Factor& factor : product->factors) {
    for (Term& term : factor.terms) alphabetical(&term);
    std::stable_sort(factor.terms.begin(), factor.terms.end(), LeadsByDegree);
    if (factor.terms.front().negative) {
      for (Term& term : factor.terms) term.negative = !term.negative;
      if (factor.multiplicity % 2 == 1) product->front.negative = !product->front.negative;
    }
    auto same = std::find_if(combined.begin(), combined.end(),
                             [&](const Factor& other) { return other.terms == factor.terms; });
    if (same == combined.end()) {
      combined.push_back(std::move(factor));
    } else {
      same->multiplicity += factor.multiplicity;
    }
  }
  product->factors = std::move(combined);
}

std::string Superscript(std::string_view digits) {
  static const char* const kDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
  std::string out;
  for (char digit : digits) out += kDigits[digit - '0'];
  return out;
}

std::string Power(int exponent, Style style) {
  if (exponent <= 1) return {};
  const std::string digits = std::to_string(exponent);
  switch (style) {
    case Style::Student: return Superscript(digits);
    case Style::Plain: return "^" + digits;
    case Style::Latex: return "^{" + digits + "}";
  }
  return {};
}

// A number "p" or "p/q" (its digits; the denominator empty for an integer).
std::string NumberText(const std::string& numerator, const std::string& denominator, Style style) {
  if (denominator.empty()) return numerator;
  if (style == Style::Latex) return "\\frac{" + numerator + "}{" + denominator + "}";
  return numerator + "/" + denominator;
}

std::string Number(const Term& term, Style style) { return NumberText(term.numerator, term.denominator, style); }

std::string Monomial(const Term& term, Style style) {
  std::string out;
  for (const auto& [letter, exponent] : term.powers) out += letter + Power(exponent, style);
  return out;
}

// A multiple of a square root: "2√2", "√6" (plain "2*sqrt(2)", LaTeX
// "2\sqrt{2}").
std::string RootMultiple(const std::string& multiplier, const std::string& radicand, Style style) {
  const std::string coefficient = multiplier == "1" ? std::string() : multiplier;
  switch (style) {
    case Style::Student: return coefficient + "√" + radicand;
    case Style::Plain: return coefficient + (coefficient.empty() ? "" : "*") + "sqrt(" + radicand + ")";
    case Style::Latex: return coefficient + "\\sqrt{" + radicand + "}";
  }
  return {};
}

// A coefficient with a square root: "√6/2", "(2 - √6)/2".
std::string RootNumber(const Term& term, Style style) {
  std::string top = RootMultiple(term.numerator, term.radicand, style);
  if (!term.rational.empty()) {
    const std::string sign = style == Style::Student ? (term.innerMinus ? " - " : " + ") : (term.innerMinus ? "-" : "+");
    top = term.rational + sign + top;
    if (term.denominator.empty()) return style == Style::Latex ? "\\left(" + top + "\\right)" : "(" + top + ")";
  }
  if (term.denominator.empty()) return top;
  if (style == Style::Latex) return "\\frac{" + top + "}{" + term.denominator + "}";
  return (term.rational.empty() ? top : "(" + top + ")") + "/" + term.denominator;
}

// The term without its sign; the coefficient 1 is not written before letters.
// A square root is written before the letters with a dot (√3·y; plain
// sqrt(3)*y, LaTeX \sqrt{3}y), so that the root's bar ends before them.
std::string Magnitude(const Term& term, Style style) {
  if (!term.radicand.empty()) {
    const std::string monomial = Monomial(term, style);
    if (monomial.empty()) return RootNumber(term, style);
    const char* dot = style == Style::Student ? "·" : style == Style::Plain ? "*" : "";
    return RootNumber(term, style) + dot + monomial;
  }
  const bool written = !term.UnitCoefficient() || term.powers.empty();
  return (written ? Number(term, style) : std::string()) + Monomial(term, style);
}

// The sign that joins a term to the one before (the first's own sign).
std::string JoiningSign(bool first, bool negative, Style style) {
  if (first) return negative ? "-" : "";
  if (style == Style::Student) return negative ? " - " : " + ";
  return negative ? "-" : "+";
}

// Each term with the sign that joins it to the one before.
std::vector<std::string> TermTexts(const Sum& sum, Style style) {
  std::vector<std::string> texts;
  for (const Term& term : sum) texts.push_back(JoiningSign(texts.empty(), term.negative, style) + Magnitude(term, style));
  return texts;
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& text : texts) out += text;
  return out;
}

// The sign, the content and the monomial in front of the factors.
std::string FrontText(const Product& product, Style style) {
  const Term& front = product.front;
  std::string out = front.negative ? "-" : "";
  if (!front.UnitCoefficient() || (front.powers.empty() && product.factors.empty())) out += Number(front, style);
  return out + Monomial(front, style);
}

std::string FactorText(const Factor& factor, Style style) {
  return "(" + Joined(TermTexts(factor.terms, style)) + ")" + Power(factor.multiplicity, style);
}

std::string ProductText(const Product& product, Style style) {
  std::string out = FrontText(product, style);
  for (const Factor& factor : product.factors) out += FactorText(factor, style);
  return out;
}

// Fewer letters first, then lower degree, then the coefficients read from
// the leading term down, the smaller first (and fewer terms first), then the
// text: (x + 1)(x + y + z)², (2x - 3y)(2x + 3y), (x - 1)(x + 1).
bool ComesBefore(const Factor& a, const Factor& b) {
  auto letters = [](const Factor& f) {
    std::array<int, 26> used{};
    for (const Term& term : f.terms) {
      for (const auto& power : term.powers) used[power.first - 'a'] = 1;
    }
    return std::count(used.begin(), used.end(), 1);
  };
  auto degree = [](const Factor& f) {
    int degree = 0;
    for (const Term& term : f.terms) degree = std::max(degree, term.Degree());
    return degree;
  };
  if (letters(a) != letters(b)) return letters(a) < letters(b);
  if (degree(a) != degree(b)) return degree(a) < degree(b);
  for (size_t i = 0; i < a.terms.size() && i < b.terms.size(); ++i) {
    const int order = CompareCoefficients(a.terms[i], b.terms[i]);
    if (order != 0) return order < 0;
  }
  if (a.terms.size() != b.terms.size()) return a.terms.size() < b.terms.size();
  return FactorText(a, Style::Student) < FactorText(b, Style::Student);
}

// A factor turned round, written from a positive term: -x + y as y - x,
// -x² - x + 1 as 1 - x - x² (its terms the other way round where that starts
// with a positive one, otherwise its first positive term brought to the front).
void TurnRound(Factor* factor) {
  for (Term& term : factor->terms) term.negative = !term.negative;
  Sum& terms = factor->terms;
  if (!terms.front().negative) return;
  if (!terms.back().negative) {
    std::reverse(terms.begin(), terms.end());
    return;
  }
  auto positive = std::find_if(terms.begin(), terms.end(), [](const Term& t) { return !t.negative; });
  if (positive != terms.end()) std::rotate(terms.begin(), positive, positive + 1);
}

// The factors in the answer's order, and a minus in front of the whole moved
// into one factor when the polynomial was typed starting with a positive term
// (y² - x² = (x + y)(y - x)): the last factor of odd power that has a
// negative term takes it, turned round, and stands last; a factor whose last
// term is negative is preferred, since it reads from its own last term.
void InAnswerOrder(Product* product, bool keepLeadingMinus) {
  Normalise(product);
  std::stable_sort(product->factors.begin(), product->factors.end(), ComesBefore);
  if (!product->front.negative || keepLeadingMinus) return;
  std::optional<size_t> chosen;
  for (size_t i = product->factors.size(); i-- > 0;) {
    const Factor& factor = product->factors[i];
    const bool hasNegative =
        std::any_of(factor.terms.begin(), factor.terms.end(), [](const Term& t) { return t.negative; });
    if (factor.multiplicity % 2 == 0 || !hasNegative) continue;
    if (!chosen) chosen = i;
    if (factor.terms.back().negative) {
      chosen = i;
      break;
    }
  }
  if (!chosen) return;
  Factor turned = product->factors[*chosen];
  TurnRound(&turned);
  product->factors.erase(product->factors.begin() + static_cast<long>(*chosen));
  product->factors.push_back(std::move(turned));
  product->front.negative = false;
}

// Whether the polynomial as entered starts with a minus.
bool StartsNegative(const format::RationalPolynomial& entered) {
  return !entered.terms.empty() && !entered.terms.front().coefficient.empty() &&
         entered.terms.front().coefficient.front() == '-';
}

// The terms as leaves, the first with the text before it and the last with
// the text after it.
std::vector<Breakable> TermLeaves(const Sum& sum, const std::string& before, const std::string& after) {
  std::vector<Breakable> leaves;
  for (const std::string& text : TermTexts(sum, Style::Student)) leaves.push_back(Leaf(text));
  leaves.front().text = before + leaves.front().text;
  leaves.back().text += after;
  return leaves;
}

// The factors after "=", each a part of its own; the front stands with the
// first factor.
Breakable ProductParts(const Product& product, const std::string& after) {
  const std::string front = " " + FrontText(product, Style::Student);
  if (product.factors.empty()) return Leaf(front + after);
  std::vector<Breakable> factors;
  for (size_t i = 0; i < product.factors.size(); ++i) {
    const Factor& factor = product.factors[i];
    const bool last = i + 1 == product.factors.size();
    factors.push_back(Node(TermLeaves(factor.terms, (i == 0 ? front : std::string()) + "(",
                                      ")" + Power(factor.multiplicity, Style::Student) + (last ? after : ""))));
  }
  return Node(std::move(factors));
}

// Irreducible: a single factor once, or a single letter, times a constant.
const Sum* IrreducibleFactor(const Product& product) {
  if (!product.front.powers.empty()) return nullptr;
  if (product.factors.size() != 1 || product.factors.front().multiplicity != 1) return nullptr;
  return &product.factors.front().terms;
}

bool IsSingleLetter(const Product& product) {
  return product.factors.empty() && product.front.UnitCoefficient() && product.front.powers.size() == 1 &&
         product.front.powers.front().second == 1;
}

// A text not in the engine's form, shown as it stands.
Presentation AsItStands(std::string_view polynomial, std::string_view factorisation) {
  Presentation presentation;
  const std::string entered = StudentForm(polynomial);
  if (factorisation.empty()) {
    presentation.shown = FormulaText(entered);
    return presentation;
  }
  const std::string collapsed = format::CollapseForPaper(factorisation);
  presentation.shown = Node({FormulaText(entered + " ="), FormulaText(" " + StudentForm(collapsed))});
  presentation.plain = PlainForm(polynomial) + " = " + PlainForm(collapsed);
  return presentation;
}

// Blanks removed, and the coefficient 1 before a letter and the exponent 1
// dropped ("( 1 y^ 1 x^ 1 - 1 )" is "(yx-1)").
std::string Simplified(std::string_view text) {
  std::string s;
  for (char c : text) {
    if (c != ' ') s += c;
  }
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool nextIsLetter = i + 1 < s.size() && IsLetter(s[i + 1]);
    const bool partOfNumber = i > 0 && (IsDigit(s[i - 1]) || s[i - 1] == '/' || s[i - 1] == '^');
    if (c == '1' && nextIsLetter && !partOfNumber) continue;
    if (c == '^' && i + 1 < s.size() && s[i + 1] == '1' && (i + 2 == s.size() || !IsDigit(s[i + 2]))) {
      ++i;
      continue;
    }
    out += c;
  }
  return out;
}

// ---- the problem as typed ----

std::string TypedTermsText(const std::vector<TypedTerm>& terms, Style style);

// A number as typed: a decimal keeps its point (0.25x² - 1 is the problem the
// student set; the line "read as" gives its fraction).
std::string TypedNumber(const TypedFactor& factor, Style style) {
  if (!factor.decimal.empty()) return factor.decimal;
  return NumberText(factor.numerator, factor.denominator, style);
}

// A term as typed, without its sign: 2x(x - y)², 8(x² + x).
std::string TypedTermText(const TypedTerm& term, Style style) {
  std::string out;
  bool afterNumber = false;
  for (const TypedFactor& factor : term.factors) {
    switch (factor.kind) {
      case TypedFactor::Kind::Number: {
        if (afterNumber || (!out.empty() && factor.exponent == 1)) {
          out += style == Style::Latex ? "\\cdot " : style == Style::Plain ? "*" : "·";
        }
        const bool fraction =
            !factor.denominator.empty() && factor.decimal.empty() && factor.exponent > 1 && style != Style::Latex;
        out += fraction ? "(" + TypedNumber(factor, style) + ")" : TypedNumber(factor, style);
        out += Power(factor.exponent, style);
        afterNumber = true;
        continue;
      }
      case TypedFactor::Kind::Letter:
        out += std::string(1, factor.letter) + Power(factor.exponent, style);
        break;
      case TypedFactor::Kind::Bracket:
        out += (style == Style::Latex ? "\\left(" : "(") + TypedTermsText(factor.inner, style) +
               (style == Style::Latex ? "\\right)" : ")") + Power(factor.exponent, style);
        break;
    }
    afterNumber = false;
  }
  return out;
}

std::vector<std::string> TypedTermTexts(const std::vector<TypedTerm>& terms, Style style) {
  std::vector<std::string> texts;
  for (const TypedTerm& term : terms) {
    texts.push_back(JoiningSign(texts.empty(), term.negative, style) + TypedTermText(term, style));
  }
  return texts;
}

std::string TypedTermsText(const std::vector<TypedTerm>& terms, Style style) {
  return Joined(TypedTermTexts(terms, style));
}

// Whether two polynomials in the same letters are equal, like terms merged.
bool SamePolynomial(const format::RationalPolynomial& a, const format::RationalPolynomial& b) {
#ifdef PFAC_EXACT
  const exact::Ring ring(a.variables);
  const std::optional<exact::Poly> first = exact::Poly::FromValue(ring, a), second = exact::Poly::FromValue(ring, b);
  return a.variables == b.variables && first && second && *first == *second;
#else
  return a.variables == b.variables && a.terms.size() == b.terms.size() &&
         std::equal(a.terms.begin(), a.terms.end(), b.terms.begin(), [](const auto& s, const auto& t) {
           return s.coefficient == t.coefficient && s.exponents == t.exponents;
         });
#endif
}

// The left-hand side of a result: the problem as typed where it is known and
// read in the value's letters, otherwise the polynomial entered.
struct LeftSide {
  std::vector<std::string> student, plain, latex;
  bool startsNegative = false;
};

LeftSide LeftSideOf(const format::ResultValue& value, std::string_view typed) {
  LeftSide side;
  if (!typed.empty()) {
    const std::unique_ptr<Expander> expander = ExactExpander();
    const ConvertedText converted = ConvertTypedText(typed, expander.get());
    const bool read = converted.Accepted() || converted.beyondSearch;
    if (read && !converted.typed.empty() && converted.letters == value.letters &&
        SamePolynomial(converted.value, value.entered)) {
      side.student = TypedTermTexts(converted.typed, Style::Student);
      side.plain = TypedTermTexts(converted.typed, Style::Plain);
      side.latex = TypedTermTexts(converted.typed, Style::Latex);
      side.startsNegative = converted.typed.front().negative;
      return side;
    }
  }
  const Sum entered = SumOf(value.entered, value.letters);
  side.student = TermTexts(entered, Style::Student);
  side.plain = TermTexts(entered, Style::Plain);
  side.latex = TermTexts(entered, Style::Latex);
  side.startsNegative = StartsNegative(value.entered);
  return side;
}

std::vector<Breakable> SideLeaves(const std::vector<std::string>& texts, const std::string& after) {
  std::vector<Breakable> leaves;
  for (const std::string& text : texts) leaves.push_back(Leaf(text));
  if (leaves.empty()) leaves.push_back(Leaf(""));
  leaves.back().text += after;
  return leaves;
}


#ifdef PFAC_EXACT
// ---- over the reals ----

// A term's coefficient as a rational number.
exact::Rational RationalOf(const Term& term) {
  const std::string text = (term.negative ? "-" : "") + term.numerator +
                           (term.denominator.empty() ? std::string() : "/" + term.denominator);
  return exact::Rational::FromText(text).value_or(exact::Rational(1));
}

void SetNumber(Term* term, const exact::Rational& r) {
  term->negative = r.Sign() < 0;
  const std::string text = r.Abs().Text();
  const size_t slash = text.find('/');
  term->numerator = text.substr(0, slash);
  term->denominator = slash == std::string::npos ? std::string() : text.substr(slash + 1);
}

format::RationalPolynomial PolynomialOf(const Sum& sum, const std::string& letters) {
  format::RationalPolynomial p;
  p.variables = static_cast<int>(letters.size());
  for (const Term& term : sum) {
    format::RationalTerm t{RationalOf(term).Text(), std::vector<int32_t>(letters.size(), 0)};
    for (const auto& [letter, exponent] : term.powers) t.exponents[letters.find(letter)] += exponent;
    p.terms.push_back(std::move(t));
  }
  return p;
}

// The terms a coefficient with a square root is written as: one, or the
// rational part and the root's part as two ("x - 1 - √2"), or over their
// common denominator as one ("x - (2 - √6)/2").
std::vector<Term> TermsOf(const exact::Surd& surd, Term letters) {
  const exact::Rational a = exact::Rational::FromText(surd.rational).value_or(exact::Rational(0));
  const exact::Rational b = exact::Rational::FromText(surd.radical).value_or(exact::Rational(0));
  std::vector<Term> terms;
  if (b.Sign() == 0 || a.Sign() != 0) {
    Term rational = letters;
    SetNumber(&rational, a);
    if (b.Sign() == 0) return {rational};
    terms.push_back(rational);
  }
  Term root = letters;
  SetNumber(&root, b);
  root.radicand = surd.radicand;
  if (a.Sign() != 0 && (a.Denominator() != 1 || b.Denominator() != 1)) {
    const exact::Rational m(a.Denominator() * b.Denominator() / std::gcd(a.Denominator(), b.Denominator()));
    root.innerMinus = a.Sign() * b.Sign() < 0;
    root.rational = (a * m).Abs().Text();
    SetNumber(&root, (b * m).Abs());
    root.negative = a.Sign() < 0;
    root.denominator = m.Text() == "1" ? std::string() : m.Text();
    return {root};
  }
  terms.push_back(root);
  return terms;
}

Sum SumOf(const exact::RealPolynomial& p, const std::string& letters) {
  Sum sum;
  for (const exact::RealTerm& term : p.terms) {
    Term powers;
    for (size_t v = 0; v < letters.size() && v < term.exponents.size(); ++v) {
      if (term.exponents[v] > 0) powers.powers.emplace_back(letters[v], term.exponents[v]);
    }
    for (Term& t : TermsOf(term.coefficient, powers)) sum.push_back(std::move(t));
  }
  return sum;
}

// Whether a factor has rational coefficients only: those stand before the
// factors with square roots, as the steps reach them.
bool WithoutRoots(const Factor& f) {
  return std::none_of(f.terms.begin(), f.terms.end(), [](const Term& t) { return !t.radicand.empty(); });
}

// The check's factorisation over the reals, begun with the product's monomial
// in front (its number is the check's content).
exact::RealFactorisation CheckBegun(const Product& product, const std::string& letters) {
  Term monomial = product.front;
  SetNumber(&monomial, exact::Rational(1));
  const format::RationalPolynomial front = PolynomialOf({monomial}, letters);
  exact::RealFactorisation check;
  check.factors.push_back({front, 1, exact::SplitOverReals(front)});
  return check;
}

// What is said of a factor left whole over the reals, in the words of each
// style; empty where nothing is said.
struct RealNote {
  std::string chinese, english, latex;
};

std::optional<RealNote> NoteOf(const exact::RealPiece& piece) {
  switch (piece.outcome) {
    case exact::RealOutcome::kNoRealRoot:
      return RealNote{kRealNoRoot, kRealNoRootEnglish, "\\ \\text{has no real root}"};
    case exact::RealOutcome::kLeftWhole: {
      const std::string n = std::to_string(piece.realRoots);
      const std::string roots = n + (piece.realRoots == 1 ? " real root" : " real roots");
      return RealNote{RealLeftWholeNote(piece.realRoots), "(" + roots + "; not split further here)",
                      "\\ \\text{has " + roots + ", not split further here}"};
    }
    default: return std::nullopt;
  }
}

// The factorisation over Q (in the answer's order, the sign in front) with
// each factor split over the reals where square roots split it, and what is
// said of each factor left whole; none when the reals change nothing or the
// split does not multiply out exactly to the polynomial entered: the answer
// is then the one over Q.
std::optional<Presentation> OverReals(const format::ResultValue& value, const LeftSide& left) {
  Product product = ProductOf(value);
  InAnswerOrder(&product, true);
  exact::Rational content = RationalOf(product.front);
  Product real;
  real.front = product.front;
  std::vector<std::pair<Sum, RealNote>> notes;
  bool split = false;
  exact::RealFactorisation check = CheckBegun(product, value.letters);
  for (const Factor& factor : product.factors) {
    const format::RationalPolynomial polynomial = PolynomialOf(factor.terms, value.letters);
    const exact::RealSplit pieces = exact::SplitOverReals(polynomial);
    check.factors.push_back({polynomial, factor.multiplicity, pieces});
    const exact::Rational scale = exact::Rational::FromText(pieces.scale).value_or(exact::Rational(1));
    for (int m = 0; m < factor.multiplicity; ++m) content = content * scale;
    split = split || pieces.outcome == exact::RealOutcome::kSplit;
    for (const exact::RealPiece& piece : pieces.pieces) {
      Factor written{SumOf(piece.polynomial, value.letters), factor.multiplicity};
      if (const std::optional<RealNote> note = NoteOf(piece)) notes.emplace_back(written.terms, *note);
      real.factors.push_back(std::move(written));
    }
  }
  SetNumber(&real.front, content);
  check.content = content.Text();
  // Where the reals change nothing (no root splits a factor, nothing to say
  // of one), the answer is the one over Q.
  if (!split && notes.empty()) return std::nullopt;
  if (!exact::MultipliesOutOverReals(value.entered, check)) return std::nullopt;
  // The factors over Q that stay as they are first, then those with square
  // roots, as the steps reach them: x⁴ - 4 = (x² + 2)(x - √2)(x + √2).
  std::stable_partition(real.factors.begin(), real.factors.end(), WithoutRoots);
  std::stable_partition(notes.begin(), notes.end(), [](const auto& note) { return WithoutRoots({note.first, 1}); });

  const std::string enteredPlain = Joined(left.plain);
  const std::string enteredLatex = Joined(left.latex);
  Presentation presentation;
  // Factors that the same is said of share it: "x² - √2·x + 1, x² + √2·x + 1:
  // 判别式 < 0, …".
  std::vector<std::pair<std::vector<Sum>, RealNote>> said;
  for (const auto& [sum, note] : notes) {
    if (!said.empty() && said.back().second.chinese == note.chinese) {
      said.back().first.push_back(sum);
    } else {
      said.push_back({{sum}, note});
    }
  }
  std::string notesPlain, notesLatex;
  std::vector<Breakable> noteParts;
  for (size_t i = 0; i < said.size(); ++i) {
    const bool last = i + 1 == said.size();
    const std::vector<Sum>& factors = said[i].first;
    for (size_t k = 0; k < factors.size(); ++k) {
      const bool lastFactor = k + 1 == factors.size();
      noteParts.push_back(Node(TermLeaves(factors[k], " ", lastFactor ? ":" : ",")));
      notesPlain += ", " + Joined(TermTexts(factors[k], Style::Plain));
      notesLatex += ",\\ " + Joined(TermTexts(factors[k], Style::Latex));
    }
    const RealNote& note = said[i].second;
    const std::string latexNote = factors.size() > 1 ? std::string(note.latex).replace(note.latex.find("has"), 3, "have")
                                                     : note.latex;
    noteParts.push_back(Node({Leaf(" " + note.chinese), ProseText(" " + note.english + (last ? "" : ","))}));
    notesPlain += ": " + note.chinese;
    notesLatex += latexNote;
  }
  const bool alone = !split && real.factors.size() == 1 && real.factors.front().multiplicity == 1 &&
                     real.front.UnitCoefficient() && !real.front.negative && notes.size() == 1;
  if (alone) {
    // "x² + 1 判别式 < 0, 在实数范围内不能再分解"
    const RealNote& note = notes.front().second;
    presentation.shown = Node({Node(SideLeaves(left.student, "")),
                               Node({Leaf(" " + note.chinese), ProseText(" " + note.english)})});
    presentation.plain = enteredPlain + " " + note.chinese;
    presentation.latex = enteredLatex + note.latex;
    return presentation;
  }
  std::vector<Breakable> parts = {Node(SideLeaves(left.student, " =")), ProductParts(real, notes.empty() ? "" : ",")};
  for (Breakable& part : noteParts) parts.push_back(std::move(part));
  presentation.shown = Node(std::move(parts));
  presentation.plain = enteredPlain + " = " + ProductText(real, Style::Plain) + notesPlain;
  presentation.latex = enteredLatex + "=" + ProductText(real, Style::Latex) + notesLatex;
  return presentation;
}

// The factor written as a student writes it.
std::string StudentText(const Sum& sum) { return Joined(TermTexts(sum, Style::Student)); }

// The number a piece v - r·w or v² - r stands for: r, negated from its last
// term's coefficient.
exact::Surd Negated(const exact::Surd& s) {
  exact::Surd n = s;
  n.rational = (-exact::Rational::FromText(s.rational).value_or(exact::Rational(0))).Text();
  n.radical = (-exact::Rational::FromText(s.radical).value_or(exact::Rational(0))).Text();
  return n;
}

// A root or value as the reason writes it, the second letter after it:
// "1 + √2", "(1 - √2)y".
std::string RootText(const exact::Surd& s, const std::string& letter) {
  const std::string text = exact::SurdText(s);
  if (letter.empty()) return text;
  return (text.find(' ') != std::string::npos ? "(" + text + ")" : text == "1" ? "" : text == "-1" ? "-" : text) + letter;
}

// Why the factor splits as it does: the square named (x² - 2 = x² - (√2)²),
// the square completed (x⁴ + 1 = (x² + 1)² - (√2·x)²), or the discriminant
// and the roots of the formula.
RealStep StepOf(const Factor& factor, const exact::RealSplit& split, const std::string& letters) {
  RealStep step;
  const std::string f = StudentText(factor.terms);
  const Term& lead = factor.terms.front();
  const char main = lead.powers.front().first;
  const int degree = lead.Degree();
  std::string second;
  for (const Term& term : factor.terms) {
    for (const auto& power : term.powers) {
      if (power.first != main) second = std::string(1, power.first);
    }
  }
  // The coefficients of main² (or main⁴), main¹ (or main²) and main⁰.
  exact::Rational a(0), b(0), c(0);
  for (const Term& term : factor.terms) {
    int e = 0;
    for (const auto& power : term.powers) e += power.first == main ? power.second : 0;
    (e == degree ? a : e == 0 ? c : b) = RationalOf(term);
  }
  const std::string scale = split.scale == "1" ? std::string() : split.scale;
  const Sum first = SumOf(split.pieces.front().polynomial, letters);
  const std::string v = std::string(1, main) + (degree == 4 ? "²" : "");
  if (degree == 2 && b.Sign() == 0) {
    Sum root(first.begin() + 1, first.end());
    for (Term& term : root) term.negative = !term.negative;
    step.method = "公式法 / formulas";
    step.reason = f + " = " + scale + (scale.empty() ? "" : "(") + std::string(1, main) + "² - (" + StudentText(root) +
                  ")²" + (scale.empty() ? "" : ")");
    return step;
  }
  if (degree == 4 && split.pieces.front().outcome == exact::RealOutcome::kNoRealRoot && first.size() == 3) {
    Term t = first.back(), middle = first[1];
    t.negative = false;
    middle.negative = false;
    step.method = "配方 / completing the square";
    step.reason = f + " = " + scale + (scale.empty() ? "" : "(") + "(" + v + " + " + Magnitude(t, Style::Student) +
                  ")² - (" + Magnitude(middle, Style::Student) + ")²" + (scale.empty() ? "" : ")");
    return step;
  }
  const exact::Rational discriminant = b * b - exact::Rational(4) * a * c;
  std::string roots;
  for (const exact::RealPiece& piece : split.pieces) {
    roots += (roots.empty() ? "" : ", ") + RootText(Negated(piece.polynomial.terms.back().coefficient), second);
  }
  step.method = "求根公式 / quadratic formula";
  step.reason = "Δ = " + discriminant.Text() + (second.empty() ? "" : second + "²") + " > 0, " + v + " = " + roots;
  return step;
}

std::vector<RealStep> RealStepsOf(const format::ResultValue& value) {
  Product product = ProductOf(value);
  InAnswerOrder(&product, true);
  struct Entry {
    Factor factor;
    format::RationalPolynomial polynomial;
    exact::RealSplit split;
    bool done = false;
  };
  std::vector<Entry> entries;
  for (const Factor& factor : product.factors) {
    format::RationalPolynomial polynomial = PolynomialOf(factor.terms, value.letters);
    exact::RealSplit split = exact::SplitOverReals(polynomial);
    entries.push_back({factor, std::move(polynomial), std::move(split)});
  }
  std::vector<RealStep> steps;
  for (Entry& entry : entries) {
    if (entry.split.outcome != exact::RealOutcome::kSplit) continue;
    entry.done = true;
    exact::Rational content = RationalOf(product.front);
    Product now;
    now.front = product.front;
    exact::RealFactorisation check = CheckBegun(product, value.letters);
    for (const Entry& e : entries) {
      if (!e.done) {
        // Not yet split: the factor over Q as it stands.
        now.factors.push_back(e.factor);
        exact::RealSplit whole;
        whole.pieces.push_back({exact::AsReal(e.polynomial), exact::RealOutcome::kLinear, -1});
        check.factors.push_back({e.polynomial, e.factor.multiplicity, std::move(whole)});
        continue;
      }
      const exact::Rational scale = exact::Rational::FromText(e.split.scale).value_or(exact::Rational(1));
      for (int m = 0; m < e.factor.multiplicity; ++m) content = content * scale;
      for (const exact::RealPiece& piece : e.split.pieces) {
        now.factors.push_back({SumOf(piece.polynomial, value.letters), e.factor.multiplicity});
      }
      check.factors.push_back({e.polynomial, e.factor.multiplicity, e.split});
    }
    SetNumber(&now.front, content);
    check.content = content.Text();
    // A step that does not multiply out exactly is never shown.
    if (!exact::MultipliesOutOverReals(value.entered, check)) {
      entry.done = false;
      continue;
    }
    std::stable_partition(now.factors.begin(), now.factors.end(), WithoutRoots);
    RealStep step = StepOf(entry.factor, entry.split, value.letters);
    step.expression = ProductParts(now, "");
    Breakable* firstLeaf = &step.expression;
    while (!firstLeaf->parts.empty()) firstLeaf = &firstLeaf->parts.front();
    if (!firstLeaf->text.empty() && firstLeaf->text.front() == ' ') firstLeaf->text.erase(0, 1);
    steps.push_back(std::move(step));
  }
  return steps;
}
#endif

}  // namespace

Breakable TypedShown(std::string_view typed) {
  const std::unique_ptr<Expander> expander = ExactExpander();
  const ConvertedText converted = ConvertTypedText(typed, expander.get());
  if ((!converted.Accepted() && !converted.beyondSearch) || converted.typed.empty()) return Leaf(std::string(typed));
  return Node(SideLeaves(TypedTermTexts(converted.typed, Style::Student), ""));
}

bool TypedStartsNegative(const format::ResultValue& value, std::string_view typed) {
  return LeftSideOf(value, typed).startsNegative;
}

std::vector<std::string> StudentTerms(const format::RationalPolynomial& polynomial, const std::string& letters) {
  return TermTexts(SumOf(polynomial, letters), Style::Student);
}

Breakable FactorisationShown(const format::ResultValue& value, bool keepLeadingMinus) {
  Product product = ProductOf(value);
  InAnswerOrder(&product, keepLeadingMinus);
  Breakable parts = ProductParts(product, "");
  Breakable* first = &parts;
  while (!first->parts.empty()) first = &first->parts.front();
  if (!first->text.empty() && first->text.front() == ' ') first->text.erase(0, 1);
  return parts;
}

std::string StudentPower(int exponent) { return Power(exponent, Style::Student); }

std::string RealLeftWholeNote(int realRoots) { return "有 " + std::to_string(realRoots) + " 个实根, 这里不再分解"; }

std::vector<RealStep> RealSteps(const format::ResultValue& value) {
#ifdef PFAC_EXACT
  if (!value.factored) return {};
  return RealStepsOf(value);
#else
  (void)value;
  return {};
#endif
}

bool BareBeforePower(const format::RationalTerm& term) {
  int letters = 0, degree = 0;
  for (int32_t exponent : term.exponents) {
    letters += exponent > 0;
    degree += exponent;
  }
  const bool letter = term.coefficient == "1" && letters == 1 && degree == 1;
  const bool number = letters == 0 && term.coefficient.front() != '-' && term.coefficient.find('/') == std::string::npos;
  return letter || number;
}

std::string PlainForm(std::string_view engineText) { return Simplified(engineText); }

std::string StudentForm(std::string_view engineText) {
  const std::string s = Simplified(engineText);
  std::string out;
  bool afterOperand = false;  // a "+" or "-" here joins two terms
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '^' && i + 1 < s.size() && IsDigit(s[i + 1])) {
      size_t end = i + 1;
      while (end < s.size() && IsDigit(s[end])) ++end;
      out += Superscript(std::string_view(s).substr(i + 1, end - i - 1));
      i = end - 1;
      afterOperand = true;
    } else if ((c == '+' || c == '-') && i >= 2 && s[i - 1] == 'E' && IsDigit(s[i - 2])) {
      out += c;  // the sign of a number's power of ten: 1.677722E+07
    } else if (c == '+' || c == '-') {
      out += afterOperand ? std::string(" ") + c + " " : std::string(1, c);
      afterOperand = false;
    } else if (c == '=') {
      out += " = ";
      afterOperand = false;
    } else {
      out += c;
      afterOperand = IsDigit(c) || IsLetter(c) || c == ')';
    }
  }
  return out;
}

Presentation Present(std::string_view polynomial, std::string_view factorisation, bool complete) {
  factorisation = Trimmed(factorisation);
  return Present(format::ReadResultValue(polynomial, factorisation), polynomial, factorisation, complete);
}

Presentation Present(const std::optional<format::ResultValue>& value, std::string_view polynomial,
                     std::string_view factorisation, bool complete, std::string_view typed, Field field) {
  factorisation = Trimmed(factorisation);
  if (!value) return AsItStands(polynomial, factorisation);
  // The engine echoes a term's letters in the order they first appeared in
  // the text (ay after by reads "ya"); a student writes them alphabetically,
  // as the value holds them. The problem as typed stands on the left where
  // it is known.
  const LeftSide left = LeftSideOf(*value, typed);
  Product product = ProductOf(*value);
  Presentation presentation;
  if (!value->factored) {
    presentation.shown = Node(SideLeaves(left.student, ""));
    return presentation;
  }
  InAnswerOrder(&product, left.startsNegative);

  const std::string enteredPlain = Joined(left.plain);
  const std::string enteredLatex = Joined(left.latex);
  // The polynomial as typed, then what it is in words.
  auto inWords = [&](const char* words, const char* english, const char* latexWords) {
    presentation.shown = Node({Node(SideLeaves(left.student, "")),
                               Node({Leaf(std::string(" ") + words), ProseText(std::string(" ") + english)})});
    presentation.plain = enteredPlain + " " + words + " " + english;
    presentation.latex = enteredLatex + latexWords;
    return presentation;
  };
  const auto& terms = value->entered.terms;
  if (terms.size() == 1 && std::any_of(terms[0].exponents.begin(), terms[0].exponents.end(),
                                       [](int32_t e) { return e != 0; })) {
    // "2x 是单项式, 不需要分解 (a monomial needs no factoring)", whatever its
    // coefficient.
    return inWords(kMonomial, kMonomialEnglish, kLatexMonomial);
  }
#ifdef PFAC_EXACT
  if (field == Field::kReal && complete) {
    if (std::optional<Presentation> real = OverReals(*value, left)) return *real;
  }
#else
  (void)field;
#endif
  const Sum* irreducible = complete ? IrreducibleFactor(product) : nullptr;
  const bool unit = product.front.UnitCoefficient();
  const bool asTyped = left.student.size() == 1 || value->entered.terms.size() == left.student.size();
  if ((irreducible != nullptr && unit && asTyped) || (complete && IsSingleLetter(product))) {
    // "x² + 1 在有理数域上不可约 (irreducible over Q)"
    return inWords(kIrreducible, kIrreducibleEnglish, kLatexIrreducible);
  }
  const std::string productPlain = ProductText(product, Style::Plain);
  const std::string productLatex = ProductText(product, Style::Latex);
  if (irreducible != nullptr) {
    // "2x² + 4x + 6 = 2(x² + 2x + 3), x² + 2x + 3 在有理数域上不可约"
    presentation.shown = Node({Node(SideLeaves(left.student, " =")), ProductParts(product, ","),
                               Node(TermLeaves(*irreducible, " ", std::string(" ") + kIrreducible))});
    presentation.plain = enteredPlain + " = " + productPlain + ", " + Joined(TermTexts(*irreducible, Style::Plain)) +
                         " " + kIrreducible;
    presentation.latex = enteredLatex + "=" + productLatex + ",\\ " +
                         Joined(TermTexts(*irreducible, Style::Latex)) + kLatexIrreducible;
    return presentation;
  }
  presentation.shown = Node({Node(SideLeaves(left.student, " =")), ProductParts(product, "")});
  presentation.plain = enteredPlain + " = " + productPlain;
  presentation.latex = enteredLatex + "=" + productLatex;
  return presentation;
}

}  // namespace pfac::frontend
