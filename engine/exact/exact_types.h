// Plain data of the exact factoriser: a polynomial with integer coefficients
// in a fixed list of variables, and its factorisation over the integers. The
// coefficients are decimal texts, since the factors of a polynomial whose
// coefficients the engine holds exactly may have coefficients of any size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/result_format/polynomials.h"

namespace pfac::exact {

struct Term {
  std::string coefficient;         // decimal, "-" for a negative value, never "0"
  std::vector<int32_t> exponents;  // one per variable, in the polynomial's order
};

struct Polynomial {
  int variables = 0;
  std::vector<Term> terms;
};

struct Factor {
  Polynomial polynomial;  // irreducible over the integers, leading coefficient positive
  int multiplicity = 1;
};

// A polynomial with rational coefficients in a fixed list of variables: what
// brackets multiply out to, and the value of a result that the front end
// presents and explains (plain data of engine/result_format).
using format::RationalPolynomial;
using format::RationalTerm;

// polynomial = content * product of factor^multiplicity.
struct Factorisation {
  std::string content;  // decimal, with its sign
  std::vector<Factor> factors;
};

}  // namespace pfac::exact
