// The exact factorisation of a polynomial with rational coefficients, as the
// front end asks for it where the search does not apply: its rational content
// and its irreducible factors over the integers, in this process, multiplied
// back with the rational arithmetic before it is handed on. The header names
// no library type, so that the front end may include it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

struct RationalFactor {
  RationalPolynomial polynomial;  // integer coefficients, primitive, leading coefficient positive
  int multiplicity = 1;
};

// polynomial = content * product of factor^multiplicity.
struct RationalFactorisation {
  std::string content;  // "p" or "p/q", with its sign
  std::vector<RationalFactor> factors;
};

// The factorisation of p (at least one variable; a constant has no factors);
// nullopt with the reason in *why for the zero polynomial, a malformed one, or
// an answer that does not multiply back to p.
std::optional<RationalFactorisation> FactorRationalExactly(const RationalPolynomial& p, std::string* why);

// p as content * q, q with integer coefficients, coprime, its leading
// coefficient positive: what the helper program pfac-exact factors. nullopt
// for the zero polynomial or a malformed one.
std::optional<Polynomial> PrimitivePart(const RationalPolynomial& p, std::string* content);

// The factorisation of p from the content of PrimitivePart and the
// factorisation of q.
RationalFactorisation WithContent(const std::string& content, const Factorisation& primitive);

// Whether content times the factors, each to its multiplicity, is p, in exact
// rational arithmetic.
bool MultipliesBack(const RationalPolynomial& p, const RationalFactorisation& factorisation);

}  // namespace pfac::exact
