// A result as a student writes it: the polynomial entered and its
// factorisation, the rational content first, the factors in a fixed order with
// their terms in descending order, equal factors under one exponent, a sign in
// front of the whole, and an irreducible polynomial said in words. The same
// presentation serves the result panel, "复制", "复制 LaTeX" and the printout.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/result_format/result_value.h"
#include "frontend/results/line_breaking.h"

namespace pfac::frontend {

// The words that say a polynomial is irreducible.
inline constexpr char kIrreducible[] = "在有理数域上不可约";
inline constexpr char kIrreducibleEnglish[] = "(irreducible over Q)";
// The words that say a monomial needs no factoring (2x, -x, x, 3x²y alike).
inline constexpr char kMonomial[] = "是单项式, 不需要分解";
inline constexpr char kMonomialEnglish[] = "(a monomial needs no factoring)";

// The field a polynomial is factored over: the rationals (the default), or
// the reals, where square roots of rationals split what they can.
enum class Field { kRational, kReal };

// What is said of a quadratic without a real root, in the real field.
inline constexpr char kRealNoRoot[] = "判别式 < 0, 在实数范围内不能再分解";
inline constexpr char kRealNoRootEnglish[] = "(no real root)";
// What is said of a factor left whole over the reals with its real roots
// counted: "有 2 个实根, 这里不再分解".
std::string RealLeftWholeNote(int realRoots);

struct Presentation {
  // What the student reads, with the places where it may break:
  // "x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)".
  Breakable shown;
  // "复制": "x^3-6x^2+4x+15 = (x-3)(x^2-3x-5)"; empty without a factorisation.
  std::string plain;
  // "复制 LaTeX": "x^{3}-6x^{2}+4x+15=(x-3)(x^{2}-3x-5)"; empty without a
  // factorisation.
  std::string latex;
};

// The result as one value (the polynomial entered and the factorisation the
// run gave, when it gave one) presented; where there is no value (a text not
// in the engine's form), the texts are shown as they stand, their blanks
// tidied and equal factors collapsed as on paper. Only a factorisation known
// to be complete says "irreducible"; a monomial is said to need no factoring.
// The problem as typed (`typed`, when known) is the left-hand side, written
// as read (blanks normalised, superscripts), and decides the sign rule: only
// a problem typed starting with a minus keeps a minus in front of the answer.
// Over the reals, a complete factorisation has every factor split with square
// roots where they split it ((x - √2)(x + √2)), the sign in front, and says
// of each factor left whole why.
Presentation Present(const std::optional<format::ResultValue>& value, std::string_view polynomial,
                     std::string_view factorisation, bool complete, std::string_view typed = {},
                     Field field = Field::kRational);

// A step over the reals: one factor over Q split with square roots, the
// whole product after it (in the answer's order), and why it splits so.
struct RealStep {
  std::string method;   // "公式法 / formulas", "求根公式 / quadratic formula", "配方 / completing the square"
  Breakable expression;
  std::string reason;   // "x² - 2 = x² - (√2)²", "Δ = 8 > 0, x = 1 + √2, 1 - √2"
};

// The steps over the reals after the factorisation over Q, one for each
// factor that square roots split, each multiplied out exactly over the
// square roots before it is kept.
std::vector<RealStep> RealSteps(const format::ResultValue& value);

// A problem as typed, written as read (blanks normalised, superscripts),
// breaking between its terms: "(x² + x)² - 8(x² + x) + 12"; a text that
// cannot be read as it stands.
Breakable TypedShown(std::string_view typed);

// Whether the problem as typed (or, where it is not known, as entered)
// starts with a minus.
bool TypedStartsNegative(const format::ResultValue& value, std::string_view typed);
// The same, the value read from the texts: the polynomial entered (the echo of
// jg.dat's first line) and the factorisation (a result line after its last
// "=", in the engine's form; empty when there is none).
Presentation Present(std::string_view polynomial, std::string_view factorisation, bool complete);

// A factorisation (the content, the monomial and the factors of the value,
// each as often as it stands) as the answer writes it: the factors in the
// answer's order, each by degree, and a minus in front of the whole moved
// into one factor unless keepLeadingMinus: "(x + y)(y - x)".
Breakable FactorisationShown(const format::ResultValue& value, bool keepLeadingMinus);

// A polynomial in `letters` as a student writes it, each term with the sign
// that joins it to the one before: "x²", " - 6x", " + 15".
std::vector<std::string> StudentTerms(const format::RationalPolynomial& polynomial, const std::string& letters);
// An exponent as a student writes it: "²", "¹²"; nothing for 1.
std::string StudentPower(int exponent);
// Whether a single term stands bare before an exponent: a letter (x²) or a
// positive whole number (3²); any other term is bracketed: (2x)², (-1)².
bool BareBeforePower(const format::RationalTerm& term);

// A polynomial or product in the engine's file form (" 2x^ 2 - 3x + 4",
// "(x - 1)^ 2") written as it stands, as a student writes it: "2x² - 3x + 4",
// "(x - 1)²".
std::string StudentForm(std::string_view engineText);
// The same as plain text without blanks: "2x^2-3x+4", "(x-1)^2".
std::string PlainForm(std::string_view engineText);

}  // namespace pfac::frontend
