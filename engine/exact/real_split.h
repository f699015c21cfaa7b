// Factoring over the real numbers with square roots of rationals, after the
// factorisation over Q: a quadratic factor in one letter (or a homogeneous
// one in two) with a positive discriminant is split into two linear factors,
// a biquadratic x⁴ + bx² + c into two quadratics where square roots of
// rationals reach; every other factor is left whole with what can be said
// of it (no real root, how many real roots). The arithmetic that checks the
// answer is this module's own: rationals with square-root parts, multiplied
// out exactly. The header names no library type, so that the front end and
// the filter may include it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/exact/rational_factor.h"

namespace pfac::exact {

// The real number rational + radical·√radicand: rational and radical "p" or
// "p/q" with their sign, radicand a square-free integer above 1; a rational
// number has radical "0" and radicand "1".
struct Surd {
  std::string rational = "0";
  std::string radical = "0";
  std::string radicand = "1";
  bool operator==(const Surd& other) const = default;
};

struct RealTerm {
  Surd coefficient;
  std::vector<int32_t> exponents;  // one per variable
};

// Terms from the highest, as the factor they come from orders them.
struct RealPolynomial {
  int variables = 0;
  std::vector<RealTerm> terms;
};

// A polynomial over Q as one over the reals, its coefficients without roots.
RealPolynomial AsReal(const RationalPolynomial& p);

// What became of a factor over the reals.
enum class RealOutcome {
  kSplit,                 // into the pieces, with square roots
  kLinear,                // of degree 1: there is nothing to split
  kNoRealRoot,            // a quadratic whose discriminant is negative
  kLeftWhole,             // degree 3 or more, or a quadratic in square roots, not split here; realRoots says more
  kSeveralLetters,        // not a polynomial in one letter nor a homogeneous one in two
};

struct RealPiece {
  RealPolynomial polynomial;
  RealOutcome outcome = RealOutcome::kLinear;  // of this piece: kLinear, kNoRealRoot or kLeftWhole
  int realRoots = -1;                          // counted for kLeftWhole; -1 where not counted
};

// factor = scale · the product of the pieces.
struct RealSplit {
  RealOutcome outcome = RealOutcome::kLinear;
  std::string scale = "1";        // the leading coefficient taken in front, "p" or "p/q"
  std::vector<RealPiece> pieces;  // in the order written; the factor itself when it is not split
  int realRoots = -1;             // of a factor left whole, counted exactly; -1 where not counted
};

// The split of a factor irreducible over Q with integer coefficients, its
// leading coefficient positive. Conjugate pieces stand with the one that
// writes a minus before its root first: (x - √2)(x + √2).
RealSplit SplitOverReals(const RationalPolynomial& factor);

// A factorisation over Q carried over to the reals: each factor with its
// split, the content times every scale taken in front.
struct RealFactor {
  RationalPolynomial factor;  // the factor over Q
  int multiplicity = 1;
  RealSplit split;
};

struct RealFactorisation {
  std::string content;  // "p" or "p/q", with its sign
  std::vector<RealFactor> factors;
};

RealFactorisation OverReals(const RationalFactorisation& factorisation);

// Whether the content times every piece, each to its factor's multiplicity,
// multiplies out to p: exactly, with the square roots kept as square roots.
bool MultipliesOutOverReals(const RationalPolynomial& p, const RealFactorisation& factorisation);

// A real root of a polynomial in one letter that a linear factor over the
// reals gives: its value, its text as a student writes it ("-3", "1/2",
// "1 + √2", "(2 - √6)/2", "-√2"), and how often it is a root.
struct RealRoot {
  double value = 0;
  std::string text;
  int multiplicity = 1;
};

// The roots that the linear factors over Q and the quadratic splits over the
// reals give, from the smallest; nullopt with the reason in *why when p is
// not a polynomial in one letter or cannot be factored.
std::optional<std::vector<RealRoot>> RealRootsOf(const RationalPolynomial& p, std::string* why);

// A surd as a student writes it, as a number standing alone: "1 + √2",
// "(2 - √6)/2", "-√6/2", "3/4".
std::string SurdText(const Surd& s);

}  // namespace pfac::exact
