// Exact arithmetic with rational numbers and polynomials with rational
// coefficients in a fixed list of variables: the one wrapper of FLINT's fmpq
// and fmpq_mpoly, in lexicographic order (the first variable the most
// significant). The multiplying out of brackets and the front end's explainer
// compute with it; it belongs to the FLINT library target (pfac_exact_flint),
// never to the engine's own library.
#pragma once

#include <flint/fmpq.h>
#include <flint/fmpq_mpoly.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

class Rational {
 public:
  Rational();
  explicit Rational(long numerator, long denominator = 1);
  Rational(const Rational& other);
  Rational& operator=(const Rational& other);
  ~Rational();

  // "p" or "p/q" with its sign; nullopt when the text is no rational number.
  static std::optional<Rational> FromText(const std::string& text);
  std::string Text() const;
  int Sign() const;
  Rational Abs() const;
  // The numerator (with the sign) and the denominator, when they fit a long.
  long Numerator() const;
  long Denominator() const;
  bool operator==(const Rational& other) const;
  bool operator<(const Rational& other) const;
  Rational operator+(const Rational& other) const;
  Rational operator-(const Rational& other) const;
  Rational operator*(const Rational& other) const;
  Rational operator/(const Rational& other) const;
  Rational operator-() const;

  fmpq_t value;
};

class Ring {
 public:
  explicit Ring(int variables);
  ~Ring();
  Ring(const Ring&) = delete;
  Ring& operator=(const Ring&) = delete;

  int Variables() const { return variables_; }

  fmpq_mpoly_ctx_t ctx;

 private:
  int variables_;
};

class Poly {
 public:
  explicit Poly(const Ring& ring);
  Poly(const Ring& ring, const Rational& constant);
  Poly(const Poly& other);
  Poly& operator=(const Poly& other);
  ~Poly();

  // c * x1^e1 * ... * xn^en.
  static Poly Monomial(const Ring& ring, const Rational& coefficient, const std::vector<long>& exponents);
  // nullopt when a coefficient is no rational number or the exponents do not
  // fit the ring.
  static std::optional<Poly> FromValue(const Ring& ring, const RationalPolynomial& value);
  RationalPolynomial Value() const;

  const Ring& ring() const { return *ring_; }
  int Length() const;
  bool IsZero() const;
  bool IsConstant() const;
  bool IsOne() const;
  // Term i, counted from the highest.
  Poly Term(int i) const;
  Rational Coefficient(int i) const;
  std::vector<long> Exponents(int i) const;
  long Degree(int variable) const;
  long TotalDegree() const;

  bool operator==(const Poly& other) const;
  bool operator!=(const Poly& other) const { return !(*this == other); }
  Poly operator+(const Poly& other) const;
  Poly operator-(const Poly& other) const;
  Poly operator*(const Poly& other) const;
  Poly operator-() const;
  Poly Scaled(const Rational& factor) const;
  Poly Power(int exponent) const;
  // The quotient when the division is exact.
  std::optional<Poly> DividedBy(const Poly& divisor) const;
  // The square root with a positive leading coefficient, when there is one.
  std::optional<Poly> SquareRoot() const;
  // The k-th root of a single term with rational coefficients (a negative one
  // for an odd k), when there is one.
  std::optional<Poly> TermRoot(int k) const;
  // The positive rational c that makes this / c integral with coprime
  // coefficients.
  Rational Content() const;

  fmpq_mpoly_t p;

 private:
  const Ring* ring_;
};

// The leading coefficient's sign times the content: what makes a polynomial
// primitive with a positive leading coefficient.
Rational UnitOf(const Poly& p);

// The sign of the leading coefficient, the content and the lowest power of
// each variable: 6x²y - 9xy² gives 3xy, -x + 1 gives -1.
Poly CommonFactorOf(const Poly& p);

}  // namespace pfac::exact
