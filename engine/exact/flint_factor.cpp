// One variable: fmpz_poly_factor. Several: fmpz_mpoly_factor in lexicographic
// order. Both results are multiplied back in the same library before they are
// handed on.
#include "engine/exact/flint_factor.h"

#include "engine/exact/letter_poly.h"

#include <flint/flint.h>
#include <flint/fmpz.h>
#include <flint/fmpz_mpoly.h>
#include <flint/fmpz_mpoly_factor.h>
#include <flint/fmpz_poly.h>
#include <flint/fmpz_poly_factor.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace pfac::exact {

namespace {

std::string Text(const fmpz_t value) {
  std::unique_ptr<char, void (*)(void*)> text(fmpz_get_str(nullptr, 10, value), flint_free);
  return text.get();
}

bool Set(fmpz_t value, const std::string& text) { return fmpz_set_str(value, text.c_str(), 10) == 0; }

// Every term of p has one exponent per variable and a nonzero coefficient.
bool WellFormed(const Polynomial& p) {
  if (p.variables < 1 || p.terms.empty()) return false;
  for (const Term& t : p.terms) {
    if (static_cast<int>(t.exponents.size()) != p.variables) return false;
    for (int32_t e : t.exponents) {
      if (e < 0) return false;
    }
  }
  return true;
}

// Makes the factor's leading coefficient positive: negating a factor of odd
// multiplicity negates the content.
void NormaliseSign(Factor& f, bool& contentNegated) {
  if (f.polynomial.terms.empty() || f.polynomial.terms.front().coefficient[0] != '-') return;
  for (Term& t : f.polynomial.terms) t.coefficient = NegatedDecimal(t.coefficient);
  if (f.multiplicity % 2 == 1) contentNegated = !contentNegated;
}

// ---- one variable ------------------------------------------------------

struct Poly1 {
  fmpz_poly_t p;
  Poly1() { fmpz_poly_init(p); }
  ~Poly1() { fmpz_poly_clear(p); }
};

std::optional<Factorisation> FactorOne(const Polynomial& in, std::string* why) {
  Poly1 a;
  fmpz_t c;
  fmpz_init(c);
  for (const Term& t : in.terms) {
    if (!Set(c, t.coefficient)) {
      fmpz_clear(c);
      *why = "a coefficient is not an integer";
      return std::nullopt;
    }
    fmpz_t old;
    fmpz_init(old);
    fmpz_poly_get_coeff_fmpz(old, a.p, t.exponents[0]);
    fmpz_add(c, c, old);
    fmpz_poly_set_coeff_fmpz(a.p, t.exponents[0], c);
    fmpz_clear(old);
  }
  fmpz_clear(c);
  if (fmpz_poly_is_zero(a.p)) {
    *why = "the polynomial is zero";
    return std::nullopt;
  }
  fmpz_poly_factor_t fac;
  fmpz_poly_factor_init(fac);
  fmpz_poly_factor(fac, a.p);

  Factorisation out;
  Poly1 product, power;
  fmpz_poly_set_fmpz(product.p, &fac->c);
  bool negated = false;
  for (slong i = 0; i < fac->num; ++i) {
    fmpz_poly_pow(power.p, fac->p + i, static_cast<ulong>(fac->exp[i]));
    fmpz_poly_mul(product.p, product.p, power.p);
    Factor f;
    f.multiplicity = static_cast<int>(fac->exp[i]);
    f.polynomial.variables = 1;
    fmpz_t coefficient;
    fmpz_init(coefficient);
    for (slong e = fmpz_poly_degree(fac->p + i); e >= 0; --e) {
      fmpz_poly_get_coeff_fmpz(coefficient, fac->p + i, e);
      if (fmpz_is_zero(coefficient)) continue;
      f.polynomial.terms.push_back({Text(coefficient), {static_cast<int32_t>(e)}});
    }
    fmpz_clear(coefficient);
    NormaliseSign(f, negated);
    out.factors.push_back(std::move(f));
  }
  out.content = Text(&fac->c);
  if (negated) out.content = NegatedDecimal(out.content);
  const bool same = fmpz_poly_equal(product.p, a.p);
  fmpz_poly_factor_clear(fac);
  if (!same) {
    *why = "the factors do not multiply back to the polynomial";
    return std::nullopt;
  }
  return out;
}

// ---- several variables -------------------------------------------------

struct Context {
  fmpz_mpoly_ctx_t ctx;
  explicit Context(int variables) { fmpz_mpoly_ctx_init(ctx, variables, ORD_LEX); }
  ~Context() { fmpz_mpoly_ctx_clear(ctx); }
};

struct PolyN {
  fmpz_mpoly_t p;
  const Context& c;
  explicit PolyN(const Context& context) : c(context) { fmpz_mpoly_init(p, c.ctx); }
  ~PolyN() { fmpz_mpoly_clear(p, c.ctx); }
};

std::optional<Factorisation> FactorSeveral(const Polynomial& in, std::string* why) {
  const int n = in.variables;
  Context context(n);
  PolyN a(context);
  fmpz_t c;
  fmpz_init(c);
  std::vector<ulong> exponents(static_cast<size_t>(n));
  for (const Term& t : in.terms) {
    if (!Set(c, t.coefficient)) {
      fmpz_clear(c);
      *why = "a coefficient is not an integer";
      return std::nullopt;
    }
    for (int v = 0; v < n; ++v) exponents[v] = static_cast<ulong>(t.exponents[v]);
    fmpz_mpoly_push_term_fmpz_ui(a.p, c, exponents.data(), context.ctx);
  }
  fmpz_clear(c);
  fmpz_mpoly_sort_terms(a.p, context.ctx);
  fmpz_mpoly_combine_like_terms(a.p, context.ctx);
  if (fmpz_mpoly_is_zero(a.p, context.ctx)) {
    *why = "the polynomial is zero";
    return std::nullopt;
  }
  fmpz_mpoly_factor_t fac;
  fmpz_mpoly_factor_init(fac, context.ctx);
  if (!fmpz_mpoly_factor(fac, a.p, context.ctx)) {
    fmpz_mpoly_factor_clear(fac, context.ctx);
    *why = "the library could not factor the polynomial";
    return std::nullopt;
  }
  Factorisation out;
  PolyN product(context), power(context);
  fmpz_mpoly_set_fmpz(product.p, fac->constant, context.ctx);
  bool negated = false;
  fmpz_t coefficient;
  fmpz_init(coefficient);
  bool good = true;
  for (slong i = 0; i < fac->num && good; ++i) {
    if (!fmpz_fits_si(fac->exp + i) || fmpz_get_si(fac->exp + i) < 1) {
      good = false;
      break;
    }
    const slong m = fmpz_get_si(fac->exp + i);
    fmpz_mpoly_pow_ui(power.p, fac->poly + i, static_cast<ulong>(m), context.ctx);
    fmpz_mpoly_mul(product.p, product.p, power.p, context.ctx);
    Factor f;
    f.multiplicity = static_cast<int>(m);
    f.polynomial.variables = n;
    const slong length = fmpz_mpoly_length(fac->poly + i, context.ctx);
    for (slong j = 0; j < length; ++j) {
      fmpz_mpoly_get_term_coeff_fmpz(coefficient, fac->poly + i, j, context.ctx);
      fmpz_mpoly_get_term_exp_ui(exponents.data(), fac->poly + i, j, context.ctx);
      Term t{Text(coefficient), std::vector<int32_t>(static_cast<size_t>(n))};
      for (int v = 0; v < n; ++v) t.exponents[v] = static_cast<int32_t>(exponents[v]);
      f.polynomial.terms.push_back(std::move(t));
    }
    NormaliseSign(f, negated);
    out.factors.push_back(std::move(f));
  }
  fmpz_clear(coefficient);
  out.content = Text(fac->constant);
  if (negated) out.content = NegatedDecimal(out.content);
  const bool same = good && fmpz_mpoly_equal(product.p, a.p, context.ctx);
  fmpz_mpoly_factor_clear(fac, context.ctx);
  if (!same) {
    *why = "the factors do not multiply back to the polynomial";
    return std::nullopt;
  }
  return out;
}

}  // namespace

std::optional<Factorisation> FactorExactly(const Polynomial& p, std::string* why) {
  if (!WellFormed(p)) {
    *why = "the polynomial is not well formed";
    return std::nullopt;
  }
  std::optional<Factorisation> result = p.variables == 1 ? FactorOne(p, why) : FactorSeveral(p, why);
  // The library keeps caches per thread; the caller's thread may be one that
  // ends soon or one that factors again, and both are fine after this.
  flint_cleanup();
  return result;
}

}  // namespace pfac::exact
