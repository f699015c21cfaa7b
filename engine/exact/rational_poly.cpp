#include "engine/exact/rational_poly.h"

#include <flint/fmpz.h>

#include <algorithm>
#include <memory>

namespace pfac::exact {

namespace {

// The k-th root of an integer, when it is one; the root of a negative number
// only for an odd k.
bool IntegerRoot(fmpz_t root, const fmpz_t value, int k) {
  if (fmpz_sgn(value) < 0 && k % 2 == 0) return false;
  fmpz_t magnitude, power;
  fmpz_init(magnitude);
  fmpz_init(power);
  fmpz_abs(magnitude, value);
  fmpz_root(root, magnitude, k);
  fmpz_pow_ui(power, root, static_cast<ulong>(k));
  const bool exact = fmpz_equal(power, magnitude);
  if (fmpz_sgn(value) < 0) fmpz_neg(root, root);
  fmpz_clear(magnitude);
  fmpz_clear(power);
  return exact;
}

}  // namespace

Rational::Rational() { fmpq_init(value); }

Rational::Rational(long numerator, long denominator) {
  fmpq_init(value);
  fmpq_set_si(value, numerator, static_cast<ulong>(denominator));
  fmpq_canonicalise(value);
}

Rational::Rational(const Rational& other) {
  fmpq_init(value);
  fmpq_set(value, other.value);
}

Rational& Rational::operator=(const Rational& other) {
  fmpq_set(value, other.value);
  return *this;
}

Rational::~Rational() { fmpq_clear(value); }

std::optional<Rational> Rational::FromText(const std::string& text) {
  Rational r;
  if (text.empty() || fmpq_set_str(r.value, text.c_str(), 10) != 0 || fmpz_is_zero(fmpq_denref(r.value))) {
    return std::nullopt;
  }
  fmpq_canonicalise(r.value);
  return r;
}

std::string Rational::Text() const {
  std::unique_ptr<char, void (*)(void*)> text(fmpq_get_str(nullptr, 10, value), flint_free);
  return text.get();
}

int Rational::Sign() const { return fmpq_sgn(value); }

Rational Rational::Abs() const {
  Rational r;
  fmpq_abs(r.value, value);
  return r;
}

long Rational::Numerator() const { return fmpz_get_si(fmpq_numref(value)); }
long Rational::Denominator() const { return fmpz_get_si(fmpq_denref(value)); }

bool Rational::operator==(const Rational& other) const { return fmpq_equal(value, other.value) != 0; }
bool Rational::operator<(const Rational& other) const { return fmpq_cmp(value, other.value) < 0; }

Rational Rational::operator+(const Rational& other) const {
  Rational r;
  fmpq_add(r.value, value, other.value);
  return r;
}

Rational Rational::operator-(const Rational& other) const {
  Rational r;
  fmpq_sub(r.value, value, other.value);
  return r;
}

Rational Rational::operator*(const Rational& other) const {
  Rational r;
  fmpq_mul(r.value, value, other.value);
  return r;
}

Rational Rational::operator/(const Rational& other) const {
  Rational r;
  fmpq_div(r.value, value, other.value);
  return r;
}

Rational Rational::operator-() const {
  Rational r;
  fmpq_neg(r.value, value);
  return r;
}

Ring::Ring(int variables) : variables_(variables) { fmpq_mpoly_ctx_init(ctx, variables, ORD_LEX); }

Ring::~Ring() { fmpq_mpoly_ctx_clear(ctx); }

Poly::Poly(const Ring& ring) : ring_(&ring) { fmpq_mpoly_init(p, ring_->ctx); }

Poly::Poly(const Ring& ring, const Rational& constant) : Poly(ring) { fmpq_mpoly_set_fmpq(p, constant.value, ring_->ctx); }

Poly::Poly(const Poly& other) : ring_(other.ring_) {
  fmpq_mpoly_init(p, ring_->ctx);
  fmpq_mpoly_set(p, other.p, ring_->ctx);
}

Poly& Poly::operator=(const Poly& other) {
  if (this != &other) {
    fmpq_mpoly_clear(p, ring_->ctx);
    ring_ = other.ring_;
    fmpq_mpoly_init(p, ring_->ctx);
    fmpq_mpoly_set(p, other.p, ring_->ctx);
  }
  return *this;
}

Poly::~Poly() { fmpq_mpoly_clear(p, ring_->ctx); }

Poly Poly::Monomial(const Ring& ring, const Rational& coefficient, const std::vector<long>& exponents) {
  Poly m(ring);
  std::vector<ulong> e(exponents.begin(), exponents.end());
  fmpq_mpoly_push_term_fmpq_ui(m.p, coefficient.value, e.data(), ring.ctx);
  fmpq_mpoly_sort_terms(m.p, ring.ctx);
  fmpq_mpoly_combine_like_terms(m.p, ring.ctx);
  return m;
}

std::optional<Poly> Poly::FromValue(const Ring& ring, const RationalPolynomial& value) {
  Poly sum(ring);
  std::vector<ulong> e(static_cast<size_t>(ring.Variables()));
  for (const RationalTerm& term : value.terms) {
    const std::optional<Rational> c = Rational::FromText(term.coefficient);
    if (!c || static_cast<int>(term.exponents.size()) != ring.Variables()) return std::nullopt;
    for (size_t v = 0; v < e.size(); ++v) {
      if (term.exponents[v] < 0) return std::nullopt;
      e[v] = static_cast<ulong>(term.exponents[v]);
    }
    fmpq_mpoly_push_term_fmpq_ui(sum.p, c->value, e.data(), ring.ctx);
  }
  fmpq_mpoly_sort_terms(sum.p, ring.ctx);
  fmpq_mpoly_combine_like_terms(sum.p, ring.ctx);
  return sum;
}

RationalPolynomial Poly::Value() const {
  RationalPolynomial value;
  value.variables = ring_->Variables();
  for (int i = 0; i < Length(); ++i) {
    RationalTerm term{Coefficient(i).Text(), {}};
    for (long e : Exponents(i)) term.exponents.push_back(static_cast<int32_t>(e));
    value.terms.push_back(std::move(term));
  }
  return value;
}

int Poly::Length() const { return static_cast<int>(fmpq_mpoly_length(p, ring_->ctx)); }
bool Poly::IsZero() const { return fmpq_mpoly_is_zero(p, ring_->ctx) != 0; }
bool Poly::IsConstant() const { return fmpq_mpoly_is_fmpq(p, ring_->ctx) != 0; }
bool Poly::IsOne() const { return fmpq_mpoly_is_one(p, ring_->ctx) != 0; }

Poly Poly::Term(int i) const {
  Poly t(*ring_);
  fmpq_mpoly_get_term(t.p, p, i, ring_->ctx);
  return t;
}

Rational Poly::Coefficient(int i) const {
  Rational c;
  fmpq_mpoly_get_term_coeff_fmpq(c.value, p, i, ring_->ctx);
  return c;
}

std::vector<long> Poly::Exponents(int i) const {
  std::vector<slong> e(static_cast<size_t>(ring_->Variables()));
  fmpq_mpoly_get_term_exp_si(e.data(), p, i, ring_->ctx);
  return std::vector<long>(e.begin(), e.end());
}

long Poly::Degree(int variable) const { return fmpq_mpoly_degree_si(p, variable, ring_->ctx); }
long Poly::TotalDegree() const { return fmpq_mpoly_total_degree_si(p, ring_->ctx); }

bool Poly::operator==(const Poly& other) const { return fmpq_mpoly_equal(p, other.p, ring_->ctx) != 0; }

Poly Poly::operator+(const Poly& other) const {
  Poly r(*ring_);
  fmpq_mpoly_add(r.p, p, other.p, ring_->ctx);
  return r;
}

Poly Poly::operator-(const Poly& other) const {
  Poly r(*ring_);
  fmpq_mpoly_sub(r.p, p, other.p, ring_->ctx);
  return r;
}

Poly Poly::operator*(const Poly& other) const {
  Poly r(*ring_);
  fmpq_mpoly_mul(r.p, p, other.p, ring_->ctx);
  return r;
}

Poly Poly::operator-() const {
  Poly r(*ring_);
  fmpq_mpoly_neg(r.p, p, ring_->ctx);
  return r;
}

Poly Poly::Scaled(const Rational& factor) const {
  Poly r(*ring_);
  fmpq_mpoly_scalar_mul_fmpq(r.p, p, factor.value, ring_->ctx);
  return r;
}

Poly Poly::Power(int exponent) const {
  Poly r(*ring_);
  fmpq_mpoly_pow_ui(r.p, p, static_cast<ulong>(exponent), ring_->ctx);
  return r;
}

std::optional<Poly> Poly::DividedBy(const Poly& divisor) const {
  if (divisor.IsZero()) return std::nullopt;
  Poly q(*ring_);
  if (!fmpq_mpoly_divides(q.p, p, divisor.p, ring_->ctx)) return std::nullopt;
  return q;
}

std::optional<Poly> Poly::SquareRoot() const {
  Poly root(*ring_);
  if (IsZero() || !fmpq_mpoly_sqrt(root.p, p, ring_->ctx)) return std::nullopt;
  if (root.Coefficient(0).Sign() < 0) root = -root;
  return root;
}

std::optional<Poly> Poly::TermRoot(int k) const {
  if (Length() != 1) return std::nullopt;
  std::vector<long> exponents = Exponents(0);
  for (long& e : exponents) {
    if (e % k != 0) return std::nullopt;
    e /= k;
  }
  const Rational c = Coefficient(0);
  Rational root;
  if (!IntegerRoot(fmpq_numref(root.value), fmpq_numref(c.value), k) ||
      !IntegerRoot(fmpq_denref(root.value), fmpq_denref(c.value), k)) {
    return std::nullopt;
  }
  return Monomial(*ring_, root, exponents);
}

Rational Poly::Content() const {
  Rational c;
  fmpq_mpoly_content(c.value, p, ring_->ctx);
  return c;
}

Rational UnitOf(const Poly& p) {
  const Rational content = p.Content();
  return p.Coefficient(0).Sign() < 0 ? -content : content;
}

Poly CommonFactorOf(const Poly& p) {
  const Ring& ring = p.ring();
  if (p.IsZero()) return Poly(ring, Rational(1));
  std::vector<long> lowest = p.Exponents(0);
  for (int i = 1; i < p.Length(); ++i) {
    const std::vector<long> e = p.Exponents(i);
    for (size_t v = 0; v < e.size(); ++v) lowest[v] = std::min(lowest[v], e[v]);
  }
  return Poly::Monomial(ring, UnitOf(p), lowest);
}

}  // namespace pfac::exact
