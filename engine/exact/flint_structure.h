// The structure of a polynomial in one variable that the factoring library's
// general algorithm pays dearly for, found first with the library's own
// primitives: binomials u^n x^n ± v^n, polynomials in x^k, and the cyclotomic
// factors Φ_n. Modulo every prime, a polynomial such as x^720 - 1 splits into
// hundreds of factors, and the general algorithm's recombination pays for each;
// its factors are known from the divisors of 720. Only the exact factoriser
// (flint_factor.cpp) and its tests include this.
#pragma once

#include <flint/fmpz.h>
#include <flint/fmpz_poly.h>

#include <string>
#include <vector>

namespace pfac::exact {

// An fmpz_poly that can be held in containers.
class IntPoly {
 public:
  IntPoly() { fmpz_poly_init(p_); }
  ~IntPoly() { fmpz_poly_clear(p_); }
  IntPoly(const IntPoly& other) : IntPoly() { fmpz_poly_set(p_, other.p_); }
  IntPoly(IntPoly&& other) noexcept : IntPoly() { fmpz_poly_swap(p_, other.p_); }
  IntPoly& operator=(IntPoly other) noexcept {
    fmpz_poly_swap(p_, other.p_);
    return *this;
  }
  fmpz_poly_struct* get() { return p_; }
  const fmpz_poly_struct* get() const { return p_; }
  slong Degree() const { return fmpz_poly_degree(p_); }

 private:
  fmpz_poly_t p_;
};

struct IntFactor {
  IntPoly polynomial;  // primitive, irreducible, positive leading coefficient
  int multiplicity = 1;
};

// a = content * product of factor^multiplicity, with the content's sign that
// of a's leading coefficient. a is not zero.
struct IntFactorisation {
  IntFactorisation() { fmpz_init(content); }
  ~IntFactorisation() { fmpz_clear(content); }
  IntFactorisation(const IntFactorisation&) = delete;
  IntFactorisation& operator=(const IntFactorisation&) = delete;
  fmpz_t content;
  std::vector<IntFactor> factors;
};

// The factorisation of a by the library's general algorithm alone, its
// factors in the library's order.
void FactorInGeneral(const IntPoly& a, IntFactorisation* out);

// The factorisation of a with its structure taken out first: the content, the
// powers of x, the square-free parts, and in each part the binomials, the
// polynomials in x^k and the cyclotomic factors; the general algorithm sees
// only what is left. The factors in increasing degree, those of equal degree
// by their coefficients from the leading one down, the smaller first. kNone,
// with *out untouched, when a has none of that structure: the general
// algorithm on the whole is then as fast. kFault when cyclotomic factors were
// found that do not divide a, or whose degrees do not add up: a fault of this
// code, never of the polynomial.
enum class Structure { kNone, kFound, kFault };
Structure FactorWithStructure(const IntPoly& a, IntFactorisation* out);

// The factorisation of a, its structure first and the general algorithm where
// there is none; false with the reason in *why when the structure found is at
// fault.
bool FactorStructureFirst(const IntPoly& a, IntFactorisation* out, std::string* why);

}  // namespace pfac::exact
