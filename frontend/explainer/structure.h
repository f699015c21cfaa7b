// What the student typed, used as a class uses it before anything is
// multiplied out: a bracket that every term has (a(x - y) + b(y - x), the
// sign changed where it is written the other way round), a bracket repeated
// as one letter (换元: (x² + x)² - 8(x² + x) + 12 with t = x² + x), a
// difference of squares of brackets, and four linear brackets paired outer
// with inner ((x + 1)(x + 2)(x + 3)(x + 4) - 24). Where none applies and
// the text has brackets, the first step multiplies them out.
#pragma once

#include <optional>
#include <vector>

#include "frontend/explainer/methods.h"

namespace pfac::explain {

// The steps the typed form gives: steps that only rewrite the whole
// expression, then the split of the whole polynomial that the explainer
// makes as it makes any other move.
struct TypedSteps {
  std::vector<Step> rewrites;
  std::optional<Move> move;
};

// The typed problem's steps, or nothing when its structure does not help.
std::optional<TypedSteps> StepsFromTyped(const Expression& typed, const Poly& polynomial, const Context& context);

// The substitution of a letter for t in a polynomial in t (its coefficients
// from the constant up) that splits by rational roots, t put back; nothing
// where it does not split.
std::optional<TypedSteps> SubstitutionOf(const Poly& t, const std::vector<Rational>& coefficients,
                                         const Poly& polynomial, const Context& context);

// Whether the typed problem has a bracket.
bool HasBrackets(const Expression& typed);

// A polynomial in one letter, the coefficients from the constant up, split
// by its rational roots: the leading number, the roots (each as often as it
// is one) and what is left (its coefficients; a number when all split).
struct RootSplit {
  Rational lead;
  std::vector<Rational> roots;
  std::vector<Rational> rest;  // the quotient without the leading number, monic
};
RootSplit SplitByRoots(std::vector<Rational> coefficients);

// The rational-root test written out for a polynomial in one letter (its
// coefficients from the constant up, whole numbers) whose root is `root`:
// the candidates ±p/q, those tried before it and their values, f(root) = 0,
// the synthetic division as a table and the quotient. `letter` names the
// variable ("x"); `unit` is the other letter of a homogeneous polynomial,
// which the root is a multiple of ("x = 2y"), or empty.
std::vector<Reason> RootTestDetails(const std::vector<Rational>& coefficients, const Rational& root,
                                    const std::string& letter, const std::string& unit);

// A polynomial in one letter written as a student writes it: "t² - 8t + 12".
std::string OneLetterText(const std::vector<Rational>& coefficients, const std::string& letter);

}  // namespace pfac::explain
