// Structure before the general algorithm, in one variable. Every shortcut ends
// in factors irreducible by construction (Φ_n, and Φ_n made homogeneous in
// u x and v) or in the general algorithm on what is left; the caller
// multiplies the whole factorisation back before it is used.
#include "engine/exact/flint_structure.h"

#include <flint/fmpz_poly_factor.h>
#include <flint/nmod_poly.h>
#include <flint/ulong_extras.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace pfac::exact {

namespace {

void MakeLeadingPositive(IntPoly& p) {
  if (fmpz_sgn(fmpz_poly_lead(p.get())) < 0) fmpz_poly_neg(p.get(), p.get());
}

IntPoly Cyclotomic(ulong n) {
  IntPoly p;
  fmpz_poly_cyclotomic(p.get(), n);
  return p;
}

std::vector<ulong> Divisors(ulong n) {
  std::vector<ulong> out;
  for (ulong d = 1; d * d <= n; ++d) {
    if (n % d != 0) continue;
    out.push_back(d);
    if (d * d != n) out.push_back(n / d);
  }
  std::sort(out.begin(), out.end());
  return out;
}

// From this degree on, the general algorithm below factors modulo one prime.
constexpr slong kOnePrimeDegree = 200;
// The primes tried for it: beyond, the library's own algorithm takes over.
constexpr ulong kOnePrimeLimit = 1000;

// The general algorithm from one prime: g's factors modulo the first prime
// that keeps its degree and its constant term and leaves it square-free,
// lifted and recombined by lattice reduction (van Hoeij's method). The
// library's general algorithm factors g modulo three primes, to go on from
// the one with the fewest factors; at a degree of hundreds or thousands those
// factorisations modulo p are most of its time ((x^1500 - 2x + 3)(x^1500 +
// 2x + 3): 6 of its 7 s), and the recombination by lattice reduction, which
// it keeps for many factors, needs no fewest. False when no prime below
// kOnePrimeLimit serves or the factors found do not multiply back to g.
bool OnePrimeFactors(const IntPoly& g, std::vector<IntPoly>* out) {
  const slong length = g.get()->length;
  if (fmpz_is_zero(g.get()->coeffs)) return false;
  nmod_poly_factor_t local;
  nmod_poly_factor_init(local);
  ulong p = 2;
  bool found = false;
  for (; p < kOnePrimeLimit; p = n_nextprime(p, 0)) {
    nmod_poly_t image, derivative, common;
    nmod_poly_init(image, p);
    nmod_poly_init(derivative, p);
    nmod_poly_init(common, p);
    fmpz_poly_get_nmod_poly(image, g.get());
    // The lattice reduction divides by the lifted factors from their low end,
    // which needs their constant terms invertible modulo p.
    found = image->length == length && image->coeffs[0] != 0;
    if (found) {
      nmod_poly_derivative(derivative, image);
      nmod_poly_gcd(common, image, derivative);
      found = nmod_poly_is_one(common);
    }
    if (found) nmod_poly_factor(local, image);
    nmod_poly_clear(image);
    nmod_poly_clear(derivative);
    nmod_poly_clear(common);
    if (found) break;
  }
  std::vector<IntPoly> factors;
  if (found && local->num == 1) {
    factors.push_back(g);
  } else if (found) {
    fmpz_poly_factor_t lifted;
    fmpz_poly_factor_init(lifted);
    fmpz_poly_factor_van_hoeij(lifted, local, g.get(), 1, p);
    for (slong i = 0; i < lifted->num; ++i) {
      IntPoly f;
      fmpz_poly_set(f.get(), lifted->p + i);
      MakeLeadingPositive(f);
      factors.push_back(std::move(f));
    }
    fmpz_poly_factor_clear(lifted);
  }
  nmod_poly_factor_clear(local);
  if (!found) return false;
  IntPoly product;
  fmpz_poly_one(product.get());
  for (const IntPoly& f : factors) fmpz_poly_mul(product.get(), product.get(), f.get());
  if (!fmpz_poly_equal(product.get(), g.get())) return false;
  for (IntPoly& f : factors) out->push_back(std::move(f));
  return true;
}

// The irreducible factors of g by the general algorithm. g is primitive and
// square-free, of positive degree, with a positive leading coefficient; the
// factors come in no particular order (the caller sorts them).
void GeneralFactors(const IntPoly& g, std::vector<IntPoly>* out) {
  if (g.Degree() >= kOnePrimeDegree && OnePrimeFactors(g, out)) return;
  IntFactorisation general;
  FactorInGeneral(g, &general);
  for (IntFactor& f : general.factors) out->push_back(std::move(f.polynomial));
}

// Every order n that a cyclotomic factor of a polynomial of degree at most
// `degree` can have, with Euler's φ(n) <= degree; and whether the cyclotomic
// factors found have failed to divide a polynomial, which would be a fault.
struct OrderTable {
  ulong limit = 64;        // φ(n) > degree for every n > limit
  std::vector<ulong> phi;  // φ(n) for n <= limit
  bool fault = false;

  explicit OrderTable(slong degree) {
    // n / φ(n) < e^γ ln ln n + 3 / ln ln n for n >= 3 (Rosser and Schoenfeld),
    // and n over that bound grows with n from 64 on; the 1 spares the
    // floating-point rounding.
    constexpr double kExpGamma = 1.7810724179901979;
    for (;;) {
      const double loglog = std::log(std::log(static_cast<double>(limit)));
      if (static_cast<double>(limit) / (kExpGamma * loglog + 3 / loglog) > static_cast<double>(degree) + 1) break;
      limit *= 2;
    }
    phi.resize(limit + 1);
    std::iota(phi.begin(), phi.end(), ulong{0});
    for (ulong p = 2; p <= limit; ++p) {
      if (phi[p] != p) continue;  // p is prime: no smaller prime has touched it
      for (ulong m = p; m <= limit; m += p) phi[m] -= phi[m] / p;
    }
  }
};

// Whether Φ_n divides P, where P is a product of distinct Φ_m, every m at
// most `limit`: modulo a prime p > limit with p ≡ 1 (mod n), Φ_m vanishes
// exactly at the elements of order m, so P vanishes at one of order n only
// when Φ_n is among its factors.
bool HasRootOfOrder(const IntPoly& P, ulong n, ulong limit) {
  ulong k = limit / n + 1;
  while (!n_is_prime(k * n + 1)) ++k;
  const ulong p = k * n + 1;
  const ulong root = n_powmod2(n_primitive_root_prime(p), static_cast<slong>((p - 1) / n), p);
  return fmpz_poly_evaluate_mod(P.get(), root, p) == 0;
}

// g(-x).
IntPoly AtMinusX(const IntPoly& g) {
  IntPoly r;
  fmpz_poly_set(r.get(), g.get());
  for (slong i = 1; i <= r.Degree(); i += 2) fmpz_neg(r.get()->coeffs + i, r.get()->coeffs + i);
  return r;
}

// g(-x), with a positive leading coefficient.
IntPoly Reflected(const IntPoly& g) {
  IntPoly r = AtMinusX(g);
  MakeLeadingPositive(r);
  return r;
}

// Graeffe's transform: h with h(x^2) = ±g(x) g(-x), whose roots are the
// squares of g's roots.
IntPoly Graeffe(const IntPoly& g) {
  IntPoly product, h;
  fmpz_poly_mul(product.get(), g.get(), AtMinusX(g).get());
  fmpz_poly_deflate(h.get(), product.get(), 2);
  MakeLeadingPositive(h);
  return h;
}

// The product of the Φ_n with odd n that divide g: the largest part of g that
// the transform maps to itself. Its roots are then closed under squaring, so
// they are roots of unity, squaring permutes them, and their orders are odd;
// and Graeffe's transform maps each Φ_n with odd n to itself, so none is
// lost on the way.
IntPoly OddCyclotomicPart(IntPoly g) {
  while (g.Degree() >= 1) {
    IntPoly kept;
    fmpz_poly_gcd(kept.get(), g.get(), Graeffe(g).get());
    if (kept.Degree() == g.Degree()) break;
    g = std::move(kept);
  }
  return g;
}

// The orders n (times `scale`) of the factors of P, a product of distinct Φ_n
// with odd n. False when their degrees do not add up to P's.
bool OddOrders(const IntPoly& P, OrderTable& table, ulong scale, std::vector<ulong>* orders) {
  const slong degree = P.Degree();
  slong found = 0;
  for (ulong n = 1; n <= table.limit && found < degree; n += 2) {
    if (static_cast<slong>(table.phi[n]) > degree - found || !HasRootOfOrder(P, n, table.limit)) continue;
    orders->push_back(scale * n);
    found += static_cast<slong>(table.phi[n]);
  }
  if (found != std::max<slong>(degree, 0)) table.fault = true;
  return !table.fault;
}

// G with G(x^2) the largest factor of g in x^2: a factor in x^2 divides
// g(x) and g(-x), so their sum and difference, the even and odd halves.
IntPoly EvenOddGcd(const IntPoly& g) {
  IntPoly even, odd, G;
  for (slong i = 0; i <= g.Degree(); ++i) {
    fmpz_poly_set_coeff_fmpz(i % 2 == 0 ? even.get() : odd.get(), i / 2, g.get()->coeffs + i);
  }
  if (odd.Degree() < 0) return even;
  fmpz_poly_gcd(G.get(), even.get(), odd.get());
  return G;
}

// The orders of the cyclotomic factors of g (square-free, g(0) != 0), in any
// order. False when the parts found do not add up.
bool FindOrders(const IntPoly& g, OrderTable& table, std::vector<ulong>* orders) {
  if (!OddOrders(OddCyclotomicPart(g), table, 1, orders)) return false;
  // Φ_2m(x) = ±Φ_m(-x) for odd m.
  if (!OddOrders(OddCyclotomicPart(Reflected(g)), table, 2, orders)) return false;
  // Φ_4m(x) = Φ_2m(x^2).
  const IntPoly G = EvenOddGcd(g);
  if (G.Degree() < 1) return true;
  std::vector<ulong> inner;
  if (!FindOrders(G, table, &inner)) return false;
  for (ulong m : inner) {
    if (m % 2 == 0) orders->push_back(2 * m);
  }
  return true;
}

// The cyclotomic factors of g divided out, and the general algorithm on the
// rest. False, appending nothing, when g has none or they do not divide it.
bool CyclotomicFirst(const IntPoly& g, OrderTable& table, std::vector<IntPoly>* out) {
  std::vector<ulong> orders;
  if (!FindOrders(g, table, &orders) || orders.empty()) return false;
  std::vector<IntPoly> found;
  IntPoly product, rest;
  fmpz_poly_one(product.get());
  for (ulong n : orders) {
    found.push_back(Cyclotomic(n));
    fmpz_poly_mul(product.get(), product.get(), found.back().get());
  }
  if (!fmpz_poly_divides(rest.get(), g.get(), product.get())) {
    table.fault = true;
    return false;
  }
  if (rest.Degree() >= 1) GeneralFactors(rest, &found);
  for (IntPoly& f : found) out->push_back(std::move(f));
  return true;
}

void InflatedFactors(const IntPoly& f, ulong k, std::vector<IntPoly>* out);

// Whether g has two terms, u x^n and v.
bool IsBinomial(const IntPoly& g) {
  for (slong i = 1; i < g.Degree(); ++i) {
    if (!fmpz_is_zero(g.get()->coeffs + i)) return false;
  }
  return g.Degree() >= 1 && !fmpz_is_zero(g.get()->coeffs);
}

// Whether c is a p-th power of an integer, p prime.
bool IsPower(const fmpz_t c, ulong p) {
  fmpz_t root;
  fmpz_init(root);
  bool power = false;
  if (fmpz_sgn(c) >= 0) {
    power = fmpz_root(root, c, static_cast<slong>(p));
  } else if (p % 2 == 1) {
    fmpz_neg(root, c);
    power = fmpz_root(root, root, static_cast<slong>(p));
  }
  fmpz_clear(root);
  return power;
}

// Whether the binomial u x^n + v (u > 0) is irreducible, by Capelli's theorem:
// u^(n-1) (u x^n + v) is X^n - c in X = u x with c = -v u^(n-1), and X^n - c
// is irreducible exactly when c is no p-th power for a prime p dividing n, nor
// -4 times a fourth power when 4 divides n.
bool IrreducibleBinomial(const IntPoly& g) {
  const ulong n = static_cast<ulong>(g.Degree());
  fmpz_t c;
  fmpz_init(c);
  fmpz_pow_ui(c, fmpz_poly_lead(g.get()), n - 1);
  fmpz_mul(c, c, g.get()->coeffs);
  fmpz_neg(c, c);
  bool irreducible = true;
  for (ulong p = 2, rest = n; p <= rest && irreducible; ++p) {
    if (rest % p != 0) continue;
    while (rest % p == 0) rest /= p;
    irreducible = !IsPower(c, p);
  }
  if (irreducible && n % 4 == 0 && fmpz_sgn(c) < 0 && fmpz_divisible_si(c, 4)) {
    fmpz_divexact_si(c, c, -4);
    irreducible = !fmpz_root(c, c, 4);
  }
  fmpz_clear(c);
  return irreducible;
}

// u x^n + v with u = a^k and |v| = b^k for a divisor k > 1 of n: with y =
// x^(n/k), (a y)^k - b^k is the product of the Φ_d(a y, b) made homogeneous,
// for the divisors d of k, and (a y)^k + b^k the product for the d that
// divide 2k but not k. Each is irreducible when y is x, and factored in
// x^(n/k) otherwise. Any other binomial is irreducible when Capelli's theorem
// says so. False when g is none of these.
bool BinomialFactors(const IntPoly& g, std::vector<IntPoly>* out) {
  if (!IsBinomial(g)) return false;
  const slong n = g.Degree();
  fmpz_t a, b, v;
  fmpz_init(a);
  fmpz_init(b);
  fmpz_init(v);
  fmpz_abs(v, g.get()->coeffs);
  const bool negative = fmpz_sgn(g.get()->coeffs) < 0;
  const std::vector<ulong> divisors = Divisors(static_cast<ulong>(n));
  ulong k = 1;
  for (auto d = divisors.rbegin(); d != divisors.rend() && *d > 1; ++d) {
    if (fmpz_root(a, fmpz_poly_lead(g.get()), static_cast<slong>(*d)) &&
        fmpz_root(b, v, static_cast<slong>(*d))) {
      k = *d;
      break;
    }
  }
  std::vector<ulong> orders;
  for (ulong d : Divisors(negative ? k : 2 * k)) {
    if (negative || k % d != 0) orders.push_back(d);
  }
  bool found = true;
  if (orders.size() < 2) {
    // One order alone is g itself again (x^4 + 64 = (x^2)^2 + 8^2).
    found = IrreducibleBinomial(g);
    if (found) out->push_back(g);
  } else {
    const ulong stretch = static_cast<ulong>(n) / k;
    fmpz_t power;
    fmpz_init(power);
    for (ulong d : orders) {
      IntPoly piece = Cyclotomic(d);
      const slong degree = piece.Degree();
      for (slong i = 0; i <= degree; ++i) {
        fmpz_pow_ui(power, a, static_cast<ulong>(i));
        fmpz_mul(piece.get()->coeffs + i, piece.get()->coeffs + i, power);
        fmpz_pow_ui(power, b, static_cast<ulong>(degree - i));
        fmpz_mul(piece.get()->coeffs + i, piece.get()->coeffs + i, power);
      }
      InflatedFactors(piece, stretch, out);
    }
    fmpz_clear(power);
  }
  fmpz_clear(a);
  fmpz_clear(b);
  fmpz_clear(v);
  return found;
}

// x^n ± x ± 1, n > 2, by Selmer's theorem: x^n - x - 1 is irreducible for
// every n, and so is x^n + x + 1 unless n = 2 (mod 3), when it is x^2 + x + 1
// times an irreducible cofactor. The other two signs come to these by
// x -> -x (times (-1)^n). The general algorithm pays for these as for any
// polynomial without structure, seconds at degree 4000. False when g is none
// of them.
bool TrinomialFactors(const IntPoly& g, std::vector<IntPoly>* out) {
  const slong n = g.Degree();
  if (n <= 2 || !fmpz_is_one(fmpz_poly_lead(g.get()))) return false;
  for (slong i = 2; i < n; ++i) {
    if (!fmpz_is_zero(g.get()->coeffs + i)) return false;
  }
  const fmpz* linear = g.get()->coeffs + 1;
  const fmpz* constant = g.get()->coeffs;
  if (!fmpz_is_pm1(linear) || !fmpz_is_pm1(constant)) return false;
  const int a = fmpz_sgn(linear), b = fmpz_sgn(constant);
  const int turn = n % 2 == 0 ? 1 : -1;  // x -> -x gives x^n - turn a x + turn b
  const bool direct = a == 1 && b == 1;
  const bool turned = -turn * a == 1 && turn * b == 1;
  if (!(direct || turned) || n % 3 != 2) {
    out->push_back(g);
    return true;
  }
  IntPoly quadratic;  // x^2 + x + 1, or x^2 - x + 1 where x was turned
  fmpz_poly_set_coeff_si(quadratic.get(), 2, 1);
  fmpz_poly_set_coeff_si(quadratic.get(), 1, direct ? 1 : -1);
  fmpz_poly_set_coeff_si(quadratic.get(), 0, 1);
  IntPoly cofactor;
  if (!fmpz_poly_divides(cofactor.get(), g.get(), quadratic.get())) return false;
  out->push_back(quadratic);
  out->push_back(cofactor);
  return true;
}

// The factors of f(x^k), f irreducible. For f = Φ_m, the Φ_e with e | mk and
// e / gcd(e, k) = m (x^k has order m exactly when x has such an order e).
// Otherwise f(x^k) has no cyclotomic factor (the k-th power of a root of unity
// among its roots would be one among f's), and it is factored one prime p of
// k at a time: f(x^p), then each of its factors in x^(k/p).
void InflatedFactors(const IntPoly& f, ulong k, std::vector<IntPoly>* out) {
  if (k == 1) {
    out->push_back(f);
    return;
  }
  if (const ulong m = fmpz_poly_is_cyclotomic(f.get())) {
    for (ulong e : Divisors(m * k)) {
      if (e / std::gcd(e, k) == m) out->push_back(Cyclotomic(e));
    }
    return;
  }
  ulong p = 2;
  while (k % p != 0) ++p;
  IntPoly inflated;
  fmpz_poly_inflate(inflated.get(), f.get(), p);
  std::vector<IntPoly> pieces;
  if (!BinomialFactors(inflated, &pieces)) GeneralFactors(inflated, &pieces);
  for (const IntPoly& piece : pieces) InflatedFactors(piece, k / p, out);
}

// The irreducible factors of g (primitive, square-free, of positive degree,
// positive leading coefficient, g(0) != 0) through its structure. False,
// appending nothing, when it has none. A polynomial in x^k is factored as a
// polynomial in y = x^k first, then each factor in x^k: the cyclotomic ones
// come from the divisors.
bool StructuredFactors(const IntPoly& g, OrderTable& table, std::vector<IntPoly>* out) {
  if (BinomialFactors(g, out) || TrinomialFactors(g, out)) return true;
  const ulong k = fmpz_poly_deflation(g.get());
  if (k > 1) {
    IntPoly h;
    fmpz_poly_deflate(h.get(), g.get(), k);
    std::vector<IntPoly> inner;
    if (!StructuredFactors(h, table, &inner)) GeneralFactors(h, &inner);
    for (const IntPoly& f : inner) InflatedFactors(f, k, out);
    return true;
  }
  return CyclotomicFirst(g, table, out);
}

// Increasing degree, then the coefficients from the leading one down, the
// larger first (x + 1 before x - 1, as the general algorithm has them).
bool Before(const IntFactor& a, const IntFactor& b) {
  const slong degree = a.polynomial.Degree();
  if (degree != b.polynomial.Degree()) return degree < b.polynomial.Degree();
  for (slong i = degree; i >= 0; --i) {
    const int c = fmpz_cmp(a.polynomial.get()->coeffs + i, b.polynomial.get()->coeffs + i);
    if (c != 0) return c > 0;
  }
  return a.multiplicity < b.multiplicity;
}

}  // namespace

void FactorInGeneral(const IntPoly& a, IntFactorisation* out) {
  fmpz_poly_factor_t fac;
  fmpz_poly_factor_init(fac);
  fmpz_poly_factor(fac, a.get());
  fmpz_set(out->content, &fac->c);
  out->factors.clear();
  for (slong i = 0; i < fac->num; ++i) {
    IntFactor f;
    fmpz_poly_set(f.polynomial.get(), fac->p + i);
    f.multiplicity = static_cast<int>(fac->exp[i]);
    // Turning a factor of odd multiplicity round turns the content round.
    if (fmpz_sgn(fmpz_poly_lead(f.polynomial.get())) < 0) {
      fmpz_poly_neg(f.polynomial.get(), f.polynomial.get());
      if (f.multiplicity % 2 == 1) fmpz_neg(out->content, out->content);
    }
    out->factors.push_back(std::move(f));
  }
  fmpz_poly_factor_clear(fac);
}

Structure FactorWithStructure(const IntPoly& a, IntFactorisation* out) {
  if (a.Degree() < 1) return Structure::kNone;
  fmpz_t content;
  fmpz_init(content);
  fmpz_poly_content(content, a.get());
  if (fmpz_sgn(fmpz_poly_lead(a.get())) < 0) fmpz_neg(content, content);
  IntPoly primitive;
  fmpz_poly_scalar_divexact_fmpz(primitive.get(), a.get(), content);
  slong xPower = 0;
  while (fmpz_is_zero(primitive.get()->coeffs + xPower)) ++xPower;
  fmpz_poly_shift_right(primitive.get(), primitive.get(), xPower);

  std::vector<IntFactor> factors;
  bool structured = false;
  bool fault = false;
  if (primitive.Degree() >= 1) {
    OrderTable table(primitive.Degree());
    fmpz_poly_factor_t parts;
    fmpz_poly_factor_init(parts);
    fmpz_poly_factor_squarefree(parts, primitive.get());
    std::vector<IntPoly> part(static_cast<size_t>(parts->num));
    std::vector<std::vector<IntPoly>> found(part.size());
    std::vector<bool> done(part.size());
    for (slong i = 0; i < parts->num; ++i) {
      fmpz_poly_set(part[i].get(), parts->p + i);
      MakeLeadingPositive(part[i]);
      done[i] = StructuredFactors(part[i], table, &found[i]);
      structured = structured || done[i];
    }
    fault = table.fault;
    // The parts without structure by the general algorithm, once there is
    // some structure elsewhere: without any, the whole goes to it as it is.
    for (slong i = 0; i < parts->num && structured && !fault; ++i) {
      if (!done[i]) GeneralFactors(part[i], &found[i]);
    }
    for (slong i = 0; i < parts->num; ++i) {
      for (IntPoly& f : found[i]) factors.push_back({std::move(f), static_cast<int>(parts->exp[i])});
    }
    fmpz_poly_factor_clear(parts);
  }
  if (structured && !fault) {
    if (xPower > 0) {
      IntFactor x;
      fmpz_poly_set_coeff_ui(x.polynomial.get(), 1, 1);
      x.multiplicity = static_cast<int>(xPower);
      factors.push_back(std::move(x));
    }
    std::sort(factors.begin(), factors.end(), Before);
    fmpz_set(out->content, content);
    out->factors = std::move(factors);
  }
  fmpz_clear(content);
  return fault ? Structure::kFault : structured ? Structure::kFound : Structure::kNone;
}

bool FactorStructureFirst(const IntPoly& a, IntFactorisation* out, std::string* why) {
  const Structure structure = FactorWithStructure(a, out);
  if (structure == Structure::kFault) {
    *why = "the cyclotomic factors found do not divide the polynomial";
    return false;
  }
  if (structure == Structure::kNone) FactorInGeneral(a, out);
  return true;
}

}  // namespace pfac::exact
