// Plain data of the exact factoriser: a polynomial with integer coefficients
// in a fixed list of variables, and its factorisation over the integers; a
// polynomial with rational coefficients. The
// coefficients are decimal texts, since the factors of a polynomial whose
// coefficients the engine holds exactly may have coefficients of any size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// presents and explains.
struct RationalTerm {
  // "p" or "p/q": p with its sign and never 0, q above 1, in lowest terms
  // (a polynomial as entered keeps its fractions as the user wrote them).
  std::string coefficient;
  std::vector<int32_t> exponents;  // one per variable
};

struct RationalPolynomial {
  int variables = 0;
  std::vector<RationalTerm> terms;  // none for the zero polynomial
};

// polynomial = content * product of factor^multiplicity.
struct Factorisation {
  std::string content;  // decimal, with its sign
  std::vector<Factor> factors;
};

}  // namespace pfac::exact
