// One variable: the structure first (flint_structure.h), fmpz_poly_factor on
// what is left. Several: a polynomial in one of its variables, or homogeneous
// in two, as a polynomial in one (x^240 - y^240 as x^240 - 1, each factor
// made homogeneous again); any other by fmpz_mpoly_factor in lexicographic
// order. Every result is multiplied back in the same library before it is
// handed on.
#include "engine/exact/flint_factor.h"

#include "engine/exact/flint_structure.h"
#include "engine/exact/letter_poly.h"

#include <flint/flint.h>
#include <flint/fmpz.h>
#include <flint/fmpz_mpoly.h>
#include <flint/fmpz_mpoly_factor.h>
#include <flint/fmpz_poly.h>

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

// False with the reason in *why when the structure found is at fault.
bool FactorUnivariate(const IntPoly& a, Method method, IntFactorisation* out, std::string* why) {
  if (method == Method::kGeneralOnly) {
    FactorInGeneral(a, out);
    return true;
  }
  return FactorStructureFirst(a, out, why);
}

bool MultipliesBack(const IntPoly& a, const IntFactorisation& f) {
  IntPoly product, power;
  fmpz_poly_set_fmpz(product.get(), f.content);
  for (const IntFactor& factor : f.factors) {
    fmpz_poly_pow(power.get(), factor.polynomial.get(), static_cast<ulong>(factor.multiplicity));
    fmpz_poly_mul(product.get(), product.get(), power.get());
  }
  return fmpz_poly_equal(product.get(), a.get());
}

// The factor f of a polynomial in `variables` variables, its variable the one
// at `x`; made homogeneous in the one at `y` when there is one.
Polynomial Embedded(const IntPoly& f, int variables, int x, int y) {
  Polynomial p;
  p.variables = variables;
  const slong degree = f.Degree();
  for (slong e = degree; e >= 0; --e) {
    if (fmpz_is_zero(f.get()->coeffs + e)) continue;
    Term t{Text(f.get()->coeffs + e), std::vector<int32_t>(static_cast<size_t>(variables))};
    t.exponents[x] = static_cast<int32_t>(e);
    if (y >= 0) t.exponents[y] = static_cast<int32_t>(degree - e);
    p.terms.push_back(std::move(t));
  }
  return p;
}

Factorisation FromUnivariate(const IntFactorisation& u, int variables, int x, int y) {
  Factorisation out;
  out.content = Text(u.content);
  for (const IntFactor& f : u.factors) out.factors.push_back({Embedded(f.polynomial, variables, x, y), f.multiplicity});
  return out;
}

std::optional<Factorisation> FactorOne(const Polynomial& in, Method method, std::string* why) {
  IntPoly a;
  fmpz_t c, old;
  fmpz_init(c);
  fmpz_init(old);
  bool read = true;
  for (const Term& t : in.terms) {
    if (!Set(c, t.coefficient)) {
      read = false;
      break;
    }
    fmpz_poly_get_coeff_fmpz(old, a.get(), t.exponents[0]);
    fmpz_add(c, c, old);
    fmpz_poly_set_coeff_fmpz(a.get(), t.exponents[0], c);
  }
  fmpz_clear(c);
  fmpz_clear(old);
  if (!read) {
    *why = "a coefficient is not an integer";
    return std::nullopt;
  }
  if (fmpz_poly_is_zero(a.get())) {
    *why = "the polynomial is zero";
    return std::nullopt;
  }
  IntFactorisation f;
  if (!FactorUnivariate(a, method, &f, why)) return std::nullopt;
  if (!MultipliesBack(a, f)) {
    *why = "the factors do not multiply back to the polynomial";
    return std::nullopt;
  }
  return FromUnivariate(f, 1, 0, -1);
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

// The terms of `in` (like ones added up) into *out; false when a coefficient
// is not an integer.
bool ReadSeveral(const Polynomial& in, PolyN* out) {
  const fmpz_mpoly_ctx_struct* ctx = out->c.ctx;
  fmpz_t c;
  fmpz_init(c);
  std::vector<ulong> exponents(static_cast<size_t>(in.variables));
  bool read = true;
  fmpz_mpoly_zero(out->p, ctx);
  for (const Term& t : in.terms) {
    if (!Set(c, t.coefficient)) {
      read = false;
      break;
    }
    for (int v = 0; v < in.variables; ++v) exponents[v] = static_cast<ulong>(t.exponents[v]);
    fmpz_mpoly_push_term_fmpz_ui(out->p, c, exponents.data(), ctx);
  }
  fmpz_clear(c);
  fmpz_mpoly_sort_terms(out->p, ctx);
  fmpz_mpoly_combine_like_terms(out->p, ctx);
  return read;
}

// The variables that occur in a, and whether all its terms have one degree.
void Shape(const PolyN& a, std::vector<int>* occurring, bool* homogeneous) {
  const slong variables = fmpz_mpoly_ctx_nvars(a.c.ctx);
  const slong length = fmpz_mpoly_length(a.p, a.c.ctx);
  std::vector<ulong> exponents(static_cast<size_t>(variables));
  std::vector<bool> seen(static_cast<size_t>(variables));
  ulong degree = 0;
  *homogeneous = true;
  for (slong j = 0; j < length; ++j) {
    fmpz_mpoly_get_term_exp_ui(exponents.data(), a.p, j, a.c.ctx);
    ulong total = 0;
    for (slong v = 0; v < variables; ++v) {
      total += exponents[v];
      if (exponents[v] > 0) seen[v] = true;
    }
    if (j == 0) degree = total;
    if (total != degree) *homogeneous = false;
  }
  for (slong v = 0; v < variables; ++v) {
    if (seen[v]) occurring->push_back(static_cast<int>(v));
  }
}

// A polynomial in the variable at x alone, or homogeneous in the ones at x
// and y (x before y), factored as the polynomial in one variable that y = 1
// leaves: its factors of degree d made homogeneous again with y^(d - e) on
// each term x^e, and y itself as often as the degree dropped.
std::optional<Factorisation> FactorAsOne(const PolyN& a, int x, int y, Method method, std::string* why) {
  const slong variables = fmpz_mpoly_ctx_nvars(a.c.ctx);
  const slong length = fmpz_mpoly_length(a.p, a.c.ctx);
  std::vector<ulong> exponents(static_cast<size_t>(variables));
  IntPoly g;
  fmpz_t c;
  fmpz_init(c);
  ulong degree = 0;
  for (slong j = 0; j < length; ++j) {
    fmpz_mpoly_get_term_coeff_fmpz(c, a.p, j, a.c.ctx);
    fmpz_mpoly_get_term_exp_ui(exponents.data(), a.p, j, a.c.ctx);
    // Homogeneous: no two terms share the exponent of x.
    fmpz_poly_set_coeff_fmpz(g.get(), static_cast<slong>(exponents[x]), c);
    degree = exponents[x] + (y >= 0 ? exponents[y] : 0);
  }
  fmpz_clear(c);
  // FactorSeveral multiplies the homogeneous factors back against a itself.
  IntFactorisation u;
  if (!FactorUnivariate(g, method, &u, why)) return std::nullopt;
  Factorisation out = FromUnivariate(u, static_cast<int>(variables), x, y);
  const ulong yPower = degree - static_cast<ulong>(g.Degree());
  if (y >= 0 && yPower > 0) {
    Term t{"1", std::vector<int32_t>(static_cast<size_t>(variables))};
    t.exponents[y] = 1;
    Factor factor{{static_cast<int>(variables), {t}}, static_cast<int>(yPower)};
    // Among the factors of degree 1, after the others.
    auto degreeOne = std::find_if(out.factors.begin(), out.factors.end(), [x, y](const Factor& f) {
      const std::vector<int32_t>& top = f.polynomial.terms.front().exponents;
      return top[x] + top[y] > 1;
    });
    out.factors.insert(degreeOne, std::move(factor));
  }
  return out;
}

// The factorisation by fmpz_mpoly_factor.
std::optional<Factorisation> FactorInGeneralSeveral(const PolyN& a, std::string* why) {
  const Context& context = a.c;
  const int n = static_cast<int>(fmpz_mpoly_ctx_nvars(context.ctx));
  fmpz_mpoly_factor_t fac;
  fmpz_mpoly_factor_init(fac, context.ctx);
  if (!fmpz_mpoly_factor(fac, a.p, context.ctx)) {
    fmpz_mpoly_factor_clear(fac, context.ctx);
    *why = "the library could not factor the polynomial";
    return std::nullopt;
  }
  Factorisation out;
  bool negated = false;
  fmpz_t coefficient;
  fmpz_init(coefficient);
  std::vector<ulong> exponents(static_cast<size_t>(n));
  bool good = true;
  for (slong i = 0; i < fac->num; ++i) {
    if (!fmpz_fits_si(fac->exp + i) || fmpz_get_si(fac->exp + i) < 1) {
      good = false;
      break;
    }
    Factor f;
    f.multiplicity = static_cast<int>(fmpz_get_si(fac->exp + i));
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
  fmpz_mpoly_factor_clear(fac, context.ctx);
  if (!good) {
    *why = "the factors do not multiply back to the polynomial";
    return std::nullopt;
  }
  return out;
}

std::optional<Factorisation> FactorSeveral(const Polynomial& in, Method method, std::string* why) {
  Context context(in.variables);
  PolyN a(context);
  if (!ReadSeveral(in, &a)) {
    *why = "a coefficient is not an integer";
    return std::nullopt;
  }
  if (fmpz_mpoly_is_zero(a.p, context.ctx)) {
    *why = "the polynomial is zero";
    return std::nullopt;
  }
  std::vector<int> occurring;
  bool homogeneous = false;
  Shape(a, &occurring, &homogeneous);
  std::optional<Factorisation> out;
  if (method == Method::kStructureFirst && occurring.size() == 1) {
    out = FactorAsOne(a, occurring[0], -1, method, why);
  } else if (method == Method::kStructureFirst && occurring.size() == 2 && homogeneous) {
    out = FactorAsOne(a, occurring[0], occurring[1], method, why);
  } else {
    out = FactorInGeneralSeveral(a, why);
  }
  if (!out) return out;

  PolyN product(context), factor(context), power(context);
  fmpz_t content;
  fmpz_init(content);
  Set(content, out->content);
  fmpz_mpoly_set_fmpz(product.p, content, context.ctx);
  fmpz_clear(content);
  for (const Factor& f : out->factors) {
    ReadSeveral(f.polynomial, &factor);
    fmpz_mpoly_pow_ui(power.p, factor.p, static_cast<ulong>(f.multiplicity), context.ctx);
    fmpz_mpoly_mul(product.p, product.p, power.p, context.ctx);
  }
  if (!fmpz_mpoly_equal(product.p, a.p, context.ctx)) {
    *why = "the factors do not multiply back to the polynomial";
    return std::nullopt;
  }
  return out;
}

}  // namespace

std::optional<Factorisation> FactorExactly(const Polynomial& p, std::string* why, Method method) {
  if (!WellFormed(p)) {
    *why = "the polynomial is not well formed";
    return std::nullopt;
  }
  std::optional<Factorisation> result = p.variables == 1 ? FactorOne(p, method, why) : FactorSeveral(p, method, why);
  // The library keeps caches per thread; the caller's thread may be one that
  // ends soon or one that factors again, and both are fine after this.
  flint_cleanup();
  return result;
}

}  // namespace pfac::exact
