#include "engine/exact/real_roots.h"

#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz.h>
#include <flint/fmpz_poly.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/exact/flint_structure.h"
#include "engine/exact/rational_poly.h"

namespace pfac::exact {

namespace {

// Bisections before an interval is given up as a fault: far beyond what
// separates the roots of any polynomial the reader takes, and beyond what a
// double's 53 bits need at any exponent a root can have.
constexpr slong kMaxDepth = 4000;
constexpr int kMaxRefinements = 2200;
// Decimals are written as they stand between these sizes; beyond them, as a
// multiple of a power of ten (three decimals of 10³⁰ say nothing, nor of 10⁻⁷).
constexpr double kLargestFixed = 1e6;
constexpr double kSmallestFixed = 1e-3;

// The minus sign a student writes, in place of the hyphen.
std::string StudentMinus(std::string text) {
  if (!text.empty() && text[0] == '-') text.replace(0, 1, "\u2212");
  return text;
}

// The sign of g at x.
int SignAt(const IntPoly& g, const Rational& x) {
  Rational value;
  fmpz_poly_evaluate_fmpq(value.value, g.get(), x.value);
  return value.Sign();
}

// The number of sign changes in q's coefficients, zeros passed over.
slong SignChanges(const IntPoly& q) {
  slong changes = 0;
  int last = 0;
  for (slong i = 0; i <= q.Degree(); ++i) {
    const int s = fmpz_sgn(q.get()->coeffs + i);
    if (s == 0) continue;
    if (last != 0 && s != last) ++changes;
    last = s;
  }
  return changes;
}

// Descartes' rule on (x + 1)^n q(1/(x + 1)), whose positive roots are q's
// roots in (0, 1): their number when it says 0 or 1, otherwise a bound of the
// same parity.
slong RootsInUnitBound(const IntPoly& q) {
  IntPoly r;
  fmpz_poly_reverse(r.get(), q.get(), q.Degree() + 1);
  fmpz_t one;
  fmpz_init_set_ui(one, 1);
  fmpz_poly_taylor_shift(r.get(), r.get(), one);
  fmpz_clear(one);
  return SignChanges(r);
}

// c * 2^e as a rational.
Rational Dyadic(const fmpz_t c, slong e) {
  Rational r;
  fmpz_set(fmpq_numref(r.value), c);
  fmpz_one(fmpq_denref(r.value));
  if (e >= 0) {
    fmpq_mul_2exp(r.value, r.value, static_cast<flint_bitcnt_t>(e));
  } else {
    fmpq_div_2exp(r.value, r.value, static_cast<flint_bitcnt_t>(-e));
  }
  return r;
}

// q(x) -> 2^(shift * i) times the coefficient of x^i, i.e. q(2^shift x).
void ScaleArgument(IntPoly* q, slong shift, bool alternate) {
  for (slong i = 0; i <= q->Degree(); ++i) {
    fmpz* c = q->get()->coeffs + i;
    if (shift > 0) fmpz_mul_2exp(c, c, static_cast<flint_bitcnt_t>(shift * i));
    if (alternate && i % 2 == 1) fmpz_neg(c, c);
  }
}

// The positive roots of g (square-free, g(0) != 0, no root that is a ratio of
// a bisection's ends: irreducible of degree 2 or more), each in an interval
// (a, b) of its own, by halving (0, 2^k) until Descartes' rule says 0 or 1 on
// each part. False when the halving went deeper than any separation needs.
bool IsolatePositive(const IntPoly& g, slong k, std::vector<std::pair<Rational, Rational>>* out) {
  // A part to look at: q, whose roots in (0, 1) are g's in (c, c + 1) *
  // 2^(k - depth), with c and depth.
  std::vector<std::pair<IntPoly, std::pair<Rational, slong>>> pending;
  IntPoly first = g;
  ScaleArgument(&first, k, false);
  fmpz_t c;
  fmpz_init(c);
  pending.push_back({first, {Rational(0), 0}});
  const slong n = g.Degree();
  bool sound = true;
  while (!pending.empty() && sound) {
    auto [q, where] = std::move(pending.back());
    pending.pop_back();
    const auto& [start, depth] = where;  // start = c, an integer
    const slong bound = RootsInUnitBound(q);
    if (bound == 0) continue;
    fmpz_set(c, fmpq_numref(start.value));
    if (bound == 1) {
      fmpz_t next;
      fmpz_init(next);
      fmpz_add_ui(next, c, 1);
      out->push_back({Dyadic(c, k - depth), Dyadic(next, k - depth)});
      fmpz_clear(next);
      continue;
    }
    if (depth >= kMaxDepth) {
      sound = false;
      break;
    }
    // 2^n q(x/2) has the left half's roots in (0, 1), its shift by 1 the right half's.
    IntPoly left = q;
    for (slong i = 0; i <= n; ++i) {
      fmpz* coefficient = left.get()->coeffs + i;
      fmpz_mul_2exp(coefficient, coefficient, static_cast<flint_bitcnt_t>(n - i));
    }
    IntPoly right;
    fmpz_t one;
    fmpz_init_set_ui(one, 1);
    fmpz_poly_taylor_shift(right.get(), left.get(), one);
    fmpz_clear(one);
    Rational leftStart, rightStart;
    fmpz_mul_2exp(fmpq_numref(leftStart.value), c, 1);
    fmpz_add_ui(fmpq_numref(rightStart.value), fmpq_numref(leftStart.value), 1);
    pending.push_back({std::move(right), {rightStart, depth + 1}});
    pending.push_back({std::move(left), {leftStart, depth + 1}});
  }
  fmpz_clear(c);
  return sound;
}

// The double nearest to g's only root in (a, b), where g has opposite signs
// at a and b: the interval halved until both ends round to the same double.
double Refined(const IntPoly& g, Rational a, Rational b) {
  const int signA = SignAt(g, a);
  for (int i = 0; i < kMaxRefinements && fmpq_get_d(a.value) != fmpq_get_d(b.value); ++i) {
    Rational middle = a + b;
    fmpq_div_2exp(middle.value, middle.value, 1);
    const int s = SignAt(g, middle);
    if (s == 0) return fmpq_get_d(middle.value);
    (s == signA ? a : b) = middle;
  }
  return fmpq_get_d(a.value);
}

// The real roots of g (irreducible, degree 2 or more), increasing; false
// when they could not be isolated.
bool IrrationalRoots(const IntPoly& g, std::vector<double>* out) {
  fmpz_t bound;
  fmpz_init(bound);
  fmpz_poly_bound_roots(bound, g.get());
  // 2^k above every root's size.
  const slong k = static_cast<slong>(fmpz_bits(bound)) + 1;
  fmpz_clear(bound);
  std::vector<std::pair<Rational, Rational>> positive, negative;
  IntPoly mirrored = g;  // g(-x)
  ScaleArgument(&mirrored, 0, true);
  if (!IsolatePositive(g, k, &positive) || !IsolatePositive(mirrored, k, &negative)) return false;
  std::vector<double> roots;
  for (const auto& [a, b] : negative) roots.push_back(-Refined(mirrored, a, b));
  for (const auto& [a, b] : positive) roots.push_back(Refined(g, a, b));
  if (static_cast<slong>(roots.size()) != fmpz_poly_num_real_roots(g.get())) return false;
  out->insert(out->end(), roots.begin(), roots.end());
  return true;
}

// The real roots of a with their multiplicities, a rational one exactly;
// false with *why when they could not be found.
struct FoundRoot {
  double value;
  int multiplicity;
  std::optional<Rational> rational = {};  // a root of a linear factor
};
bool RootsOf(const IntPoly& a, std::vector<FoundRoot>* out, std::string* why) {
  IntFactorisation factors;
  if (!FactorStructureFirst(a, &factors, why)) return false;
  for (const IntFactor& factor : factors.factors) {
    const IntPoly& g = factor.polynomial;
    if (g.Degree() == 1) {
      Rational root;
      fmpq_set_fmpz_frac(root.value, g.get()->coeffs, g.get()->coeffs + 1);
      fmpq_neg(root.value, root.value);
      out->push_back({fmpq_get_d(root.value), factor.multiplicity, root});
      continue;
    }
    std::vector<double> roots;
    if (!IrrationalRoots(g, &roots)) {
      *why = "the real roots of a factor could not be isolated as many as they are counted";
      return false;
    }
    for (double root : roots) out->push_back({root, factor.multiplicity});
  }
  // Two rational roots closer than a double tells apart are ordered exactly.
  std::stable_sort(out->begin(), out->end(), [](const FoundRoot& l, const FoundRoot& r) {
    if (l.value != r.value || !l.rational || !r.rational) return l.value < r.value;
    return *l.rational < *r.rational;
  });
  return true;
}

}  // namespace

std::string DecimalLabel(double value) {
  char text[64];
  const double size = std::fabs(value);
  if (size >= kLargestFixed || (size > 0 && size < kSmallestFixed)) {
    // 1.000×10³⁰, −2.500×10⁻⁷.
    const int exponent = static_cast<int>(std::floor(std::log10(size)));
    std::snprintf(text, sizeof text, "%.3f", value / std::pow(10.0, exponent));
    return StudentMinus(text) + TimesPowerOfTen(exponent);
  }
  std::snprintf(text, sizeof text, "%.3f", value);
  return StudentMinus(text);
}

std::optional<RealRootsFound> FindRealRoots(const RationalPolynomial& p, const std::vector<RootLabel>& labels,
                                       std::string* why) {
  if (p.variables != 1) {
    *why = "not a polynomial in one letter";
    return std::nullopt;
  }
  fmpq_poly_t rational;
  fmpq_poly_init(rational);
  bool wellFormed = true;
  for (const RationalTerm& term : p.terms) {
    const std::optional<Rational> c = Rational::FromText(term.coefficient);
    if (!c || term.exponents.size() != 1 || term.exponents[0] < 0) {
      wellFormed = false;
      break;
    }
    Rational sum;
    fmpq_poly_get_coeff_fmpq(sum.value, rational, term.exponents[0]);
    sum = sum + *c;
    fmpq_poly_set_coeff_fmpq(rational, term.exponents[0], sum.value);
  }
  RealRootsFound result;
  result.degree = static_cast<int>(fmpq_poly_degree(rational));
  for (slong i = 0; wellFormed && i <= fmpq_poly_degree(rational); ++i) {
    Rational c;
    fmpq_poly_get_coeff_fmpq(c.value, rational, i);
    result.coefficients.push_back(fmpq_get_d(c.value));
  }
  IntPoly a;
  fmpq_poly_get_numerator(a.get(), rational);
  fmpq_poly_clear(rational);
  if (!wellFormed) {
    *why = "a malformed polynomial";
    return std::nullopt;
  }
  if (a.Degree() < 1) {
    *why = "a constant has no roots to show";
    return std::nullopt;
  }

  std::vector<FoundRoot> roots;
  if (!RootsOf(a, &roots, why)) return std::nullopt;
  for (const FoundRoot& root : roots) {
    const bool rational = root.rational.has_value();
    result.roots.push_back({root.value, root.multiplicity, rational,
                            rational ? StudentMinus(root.rational->Text()) : DecimalLabel(root.value)});
  }
  // Every distinct real root once: as many as the count of the square-free part's.
  IntPoly derivative, common, squareFree;
  fmpz_poly_derivative(derivative.get(), a.get());
  fmpz_poly_gcd(common.get(), a.get(), derivative.get());
  fmpz_poly_div(squareFree.get(), a.get(), common.get());
  if (static_cast<slong>(result.roots.size()) != fmpz_poly_num_real_roots(squareFree.get())) {
    *why = "the real roots found are not as many as they are counted";
    return std::nullopt;
  }
  for (const RootLabel& label : labels) {
    for (LabelledRoot& root : result.roots) {
      if (std::fabs(root.value - label.value) <= kLabelMatch * std::max(1.0, std::fabs(root.value))) {
        root.label = label.text;
      }
    }
  }

  if (derivative.Degree() >= 1) {
    std::vector<FoundRoot> turning;
    if (!RootsOf(derivative, &turning, why)) return std::nullopt;
    for (const FoundRoot& point : turning) result.turningPoints.push_back(point.value);
  }
  return result;
}

}  // namespace pfac::exact
