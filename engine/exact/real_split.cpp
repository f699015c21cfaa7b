#include "engine/exact/real_split.h"

#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <flint/fmpz_poly.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "engine/exact/rational_poly.h"

namespace pfac::exact {

namespace {

// Radicands beyond this are not written: a class never meets them, and the
// check multiplies radicands as machine integers.
constexpr long kLargestRadicand = 1L << 30;
// The bits of the largest number whose square part is looked for.
constexpr ulong kLargestFactored = 160;

// ---- square roots of rationals ------------------------------------------

// √r = k·√d with k rational and d square-free: the square part of the
// numerator times the denominator taken out (√(3/2) = √6/2). nullopt for a
// negative r or a radicand beyond kLargestRadicand; d 1 for a square.
struct Root {
  Rational multiplier;
  long radicand = 1;
};

std::optional<Root> SquareRootOf(const Rational& r) {
  if (r.Sign() < 0) return std::nullopt;
  if (r.Sign() == 0) return Root{Rational(0), 1};
  fmpz_t n, square, free;
  fmpz_init(n);
  fmpz_init(square);
  fmpz_init(free);
  fmpz_mul(n, fmpq_numref(r.value), fmpq_denref(r.value));
  // Beyond this the square part is not looked for: factoring the number
  // could take longer than any student waits.
  if (fmpz_bits(n) > kLargestFactored) {
    fmpz_clear(n);
    fmpz_clear(square);
    fmpz_clear(free);
    return std::nullopt;
  }
  fmpz_one(square);
  fmpz_one(free);
  fmpz_factor_t factors;
  fmpz_factor_init(factors);
  fmpz_factor(factors, n);
  for (slong i = 0; i < factors->num; ++i) {
    fmpz_t power;
    fmpz_init(power);
    fmpz_pow_ui(power, factors->p + i, factors->exp[i] / 2);
    fmpz_mul(square, square, power);
    if (factors->exp[i] % 2 == 1) fmpz_mul(free, free, factors->p + i);
    fmpz_clear(power);
  }
  fmpz_factor_clear(factors);
  std::optional<Root> root;
  if (fmpz_cmp_si(free, kLargestRadicand) <= 0) {
    root = Root{};
    root->radicand = fmpz_get_si(free);
    fmpq_set_fmpz_frac(root->multiplier.value, square, fmpq_denref(r.value));
  }
  fmpz_clear(n);
  fmpz_clear(square);
  fmpz_clear(free);
  return root;
}

// ---- numbers a + b√d of one field, and sums over several radicands ------

struct Quadratic {
  Rational a, b;  // a + b√d, d the factor's one radicand
};

Surd SurdOf(const Quadratic& q, long radicand) {
  Surd s;
  s.rational = q.a.Text();
  if (q.b.Sign() != 0) {
    s.radical = q.b.Text();
    s.radicand = std::to_string(radicand);
  }
  return s;
}

// A number of Q(√d₁, √d₂, …): the rational coefficient of each square-free
// radicand (1 for the rational part).
using Element = std::map<long, Rational>;

void AddTo(Element* e, long radicand, const Rational& c) {
  if (c.Sign() == 0) return;
  auto [at, inserted] = e->emplace(radicand, c);
  if (!inserted) {
    at->second = at->second + c;
    if (at->second.Sign() == 0) e->erase(at);
  }
}

long Gcd(long a, long b) {
  while (b != 0) a = std::exchange(b, a % b);
  return a;
}

// √m·√n = g·√(m/g · n/g), g = gcd(m, n), for square-free m and n. nullopt
// when the radicand would not fit.
std::optional<Element> Times(const Element& x, const Element& y) {
  Element out;
  for (const auto& [m, c] : x) {
    for (const auto& [n, e] : y) {
      const long g = Gcd(m, n);
      const long rest = (m / g) * (n / g);
      if (m / g > kLargestRadicand || n / g > kLargestRadicand) return std::nullopt;
      AddTo(&out, rest, c * e * Rational(g));
    }
  }
  return out;
}

std::optional<Element> ElementOf(const Surd& s) {
  const std::optional<Rational> a = Rational::FromText(s.rational), b = Rational::FromText(s.radical);
  if (!a || !b) return std::nullopt;
  char* end = nullptr;
  const long d = std::strtol(s.radicand.c_str(), &end, 10);
  if (end == s.radicand.c_str() || *end != '\0' || d < 1 || d > kLargestRadicand) return std::nullopt;
  Element e;
  AddTo(&e, 1, *a);
  AddTo(&e, d, *b);
  return e;
}

// A polynomial over Q(√d₁, √d₂, …): the coefficient of each monomial.
using RealSum = std::map<std::vector<int32_t>, Element>;

std::optional<RealSum> Multiplied(const RealSum& x, const RealSum& y) {
  RealSum out;
  for (const auto& [m, c] : x) {
    for (const auto& [n, e] : y) {
      std::vector<int32_t> monomial = m;
      for (size_t v = 0; v < monomial.size() && v < n.size(); ++v) monomial[v] += n[v];
      const std::optional<Element> product = Times(c, e);
      if (!product) return std::nullopt;
      Element& into = out[monomial];
      for (const auto& [d, r] : *product) AddTo(&into, d, r);
      if (into.empty()) out.erase(monomial);
    }
  }
  return out;
}

// ---- a factor as a polynomial in one letter ------------------------------

// The factor as the coefficients of the powers of its main letter: in one
// letter, or homogeneous in two (the second's power making up the degree).
struct OneLetterView {
  int variables = 0;
  int main = -1;    // the variable of the letter written first
  int second = -1;  // the other letter of a homogeneous factor; -1 in one letter
  std::vector<Rational> coefficients;  // by the power of the main letter
  int Degree() const { return static_cast<int>(coefficients.size()) - 1; }
};

std::optional<OneLetterView> ViewOf(const RationalPolynomial& p) {
  OneLetterView view;
  view.variables = p.variables;
  std::vector<int> used;
  int degree = -1;
  for (const RationalTerm& term : p.terms) {
    int total = 0;
    for (int v = 0; v < p.variables; ++v) {
      total += term.exponents[v];
      if (term.exponents[v] > 0 && std::find(used.begin(), used.end(), v) == used.end()) used.push_back(v);
    }
    if (degree >= 0 && total != degree && used.size() > 1) return std::nullopt;
    degree = std::max(degree, total);
  }
  std::sort(used.begin(), used.end());
  if (used.empty() || used.size() > 2) return std::nullopt;
  view.main = used[0];
  if (used.size() == 2) view.second = used[1];
  view.coefficients.assign(static_cast<size_t>(degree) + 1, Rational(0));
  for (const RationalTerm& term : p.terms) {
    int total = 0;
    for (int32_t e : term.exponents) total += e;
    if (view.second >= 0 && total != degree) return std::nullopt;
    const std::optional<Rational> c = Rational::FromText(term.coefficient);
    if (!c) return std::nullopt;
    view.coefficients[static_cast<size_t>(term.exponents[view.main])] = *c;
  }
  return view;
}

// A piece from the coefficients of the powers of the main letter.
RealPolynomial PieceOf(const OneLetterView& view, const std::vector<Quadratic>& coefficients, long radicand) {
  RealPolynomial piece;
  piece.variables = view.variables;
  const int degree = static_cast<int>(coefficients.size()) - 1;
  for (int i = degree; i >= 0; --i) {
    const Quadratic& c = coefficients[static_cast<size_t>(i)];
    if (c.a.Sign() == 0 && c.b.Sign() == 0) continue;
    RealTerm term{SurdOf(c, radicand), std::vector<int32_t>(static_cast<size_t>(view.variables), 0)};
    term.exponents[static_cast<size_t>(view.main)] = i;
    if (view.second >= 0) term.exponents[static_cast<size_t>(view.second)] = degree - i;
    piece.terms.push_back(std::move(term));
  }
  return piece;
}

// Whether the piece's last term writes a minus before its root: "- √2" in
// x - √2, "(2 - √6)/2" in x - (2 - √6)/2 (the bracket is written when the
// surd has a rational part and a denominator). That one stands first.
bool MinusBeforeRoot(const Quadratic& last) {
  const bool bracketed = last.a.Sign() != 0 && (last.a.Denominator() != 1 || last.b.Denominator() != 1);
  return bracketed ? last.a.Sign() * last.b.Sign() < 0 : last.b.Sign() < 0;
}

long CountRealRoots(const OneLetterView& view) {
  fmpz_poly_t f;
  fmpz_poly_init(f);
  for (size_t i = 0; i < view.coefficients.size(); ++i) {
    fmpz_poly_set_coeff_fmpz(f, static_cast<slong>(i), fmpq_numref(view.coefficients[i].value));
  }
  const long count = fmpz_poly_num_real_roots(f);
  fmpz_poly_clear(f);
  return count;
}

// a·v² + b·v + c with a positive discriminant b² - 4ac = k²·d:
// a(v - (-b - k√d)/(2a))(v - (-b + k√d)/(2a)).
RealSplit QuadraticSplit(const OneLetterView& view, const RationalPolynomial& factor) {
  const Rational& a = view.coefficients[2];
  const Rational& b = view.coefficients[1];
  const Rational& c = view.coefficients[0];
  const Rational discriminant = b * b - Rational(4) * a * c;
  RealSplit split;
  split.pieces.push_back({AsReal(factor), RealOutcome::kNoRealRoot, 0});
  if (discriminant.Sign() < 0) {
    split.outcome = RealOutcome::kNoRealRoot;
    split.realRoots = 0;
    return split;
  }
  const std::optional<Root> root = SquareRootOf(discriminant);
  if (!root || root->radicand == 1) {
    split.outcome = RealOutcome::kLeftWhole;
    split.realRoots = 2;
    split.pieces.front() = {AsReal(factor), RealOutcome::kLeftWhole, 2};
    return split;
  }
  const Rational twiceA = Rational(2) * a;
  split.outcome = RealOutcome::kSplit;
  split.scale = a.Text();
  split.pieces.clear();
  for (int sign : {1, -1}) {
    // v - r with r = (-b + sign·k√d)/(2a): the last coefficient is -r.
    const Quadratic last{b / twiceA, Rational(-sign) * root->multiplier / twiceA};
    split.pieces.push_back({PieceOf(view, {last, {Rational(1), Rational(0)}}, root->radicand), RealOutcome::kLinear, 1});
    if (MinusBeforeRoot(last)) std::swap(split.pieces.front(), split.pieces.back());
  }
  return split;
}

// a·v⁴ + b·v² + c: with b' = b/a, c' = c/a and a positive b'² - 4c', the two
// quadratics v² - y for the roots y of y² + b'y + c'; with a negative one and
// c' = t², t rational, v² ∓ s·v + t with s² = 2t - b'. Otherwise whole.
RealSplit BiquadraticSplit(const OneLetterView& view, const RationalPolynomial& factor) {
  const Rational& a = view.coefficients[4];
  const Rational b = view.coefficients[2] / a, c = view.coefficients[0] / a;
  const Rational discriminant = b * b - Rational(4) * c;
  RealSplit whole;
  whole.outcome = RealOutcome::kLeftWhole;
  whole.realRoots = static_cast<int>(CountRealRoots(view));
  whole.pieces.push_back({AsReal(factor), RealOutcome::kLeftWhole, whole.realRoots});
  RealSplit split;
  split.outcome = RealOutcome::kSplit;
  split.scale = a.Text();
  const Quadratic zero{Rational(0), Rational(0)}, one{Rational(1), Rational(0)};
  if (discriminant.Sign() > 0) {
    const std::optional<Root> root = SquareRootOf(discriminant);
    if (!root || root->radicand == 1) return whole;
    for (int sign : {1, -1}) {
      // v² - y, y = (-b' + sign·√D)/2.
      const Quadratic last{b / Rational(2), Rational(-sign) * root->multiplier / Rational(2)};
      // y > 0 exactly when -last > 0: -a - b√d > 0.
      const Rational minusA = -last.a, minusB = -last.b;
      // Sign of minusA + minusB·√d, compared exactly through squares.
      int ySign;
      if (minusA.Sign() >= 0 && minusB.Sign() >= 0) {
        ySign = 1;
      } else if (minusA.Sign() <= 0 && minusB.Sign() <= 0) {
        ySign = -1;
      } else {
        const Rational left = minusA * minusA, right = minusB * minusB * Rational(root->radicand);
        ySign = (right < left) ? minusA.Sign() : minusB.Sign();
      }
      RealPiece piece{PieceOf(view, {last, zero, one}, root->radicand),
                      ySign > 0 ? RealOutcome::kLeftWhole : RealOutcome::kNoRealRoot, ySign > 0 ? 2 : 0};
      split.pieces.push_back(std::move(piece));
      if (MinusBeforeRoot(last)) std::swap(split.pieces.front(), split.pieces.back());
    }
    return split;
  }
  const std::optional<Root> t = SquareRootOf(c);
  if (!t || t->radicand != 1) return whole;
  const std::optional<Root> s = SquareRootOf(Rational(2) * t->multiplier - b);
  if (!s || s->radicand == 1) return whole;
  for (int sign : {-1, 1}) {
    const Quadratic middle{Rational(0), Rational(sign) * s->multiplier};
    split.pieces.push_back({PieceOf(view, {{t->multiplier, Rational(0)}, middle, one}, s->radicand),
                            RealOutcome::kNoRealRoot, 0});
  }
  return split;
}

}  // namespace

RealPolynomial AsReal(const RationalPolynomial& p) {
  RealPolynomial real;
  real.variables = p.variables;
  for (const RationalTerm& term : p.terms) real.terms.push_back({Surd{term.coefficient, "0", "1"}, term.exponents});
  return real;
}

RealSplit SplitOverReals(const RationalPolynomial& factor) {
  RealSplit split;
  const std::optional<OneLetterView> view = ViewOf(factor);
  if (!view) {
    split.outcome = RealOutcome::kSeveralLetters;
    split.pieces.push_back({AsReal(factor), RealOutcome::kSeveralLetters, -1});
    return split;
  }
  const int degree = view->Degree();
  if (degree <= 1) {
    split.outcome = RealOutcome::kLinear;
    split.pieces.push_back({AsReal(factor), RealOutcome::kLinear, 1});
    return split;
  }
  if (degree == 2) return QuadraticSplit(*view, factor);
  if (degree == 4 && view->coefficients[1].Sign() == 0 && view->coefficients[3].Sign() == 0) {
    return BiquadraticSplit(*view, factor);
  }
  split.outcome = RealOutcome::kLeftWhole;
  split.realRoots = static_cast<int>(CountRealRoots(*view));
  split.pieces.push_back({AsReal(factor), RealOutcome::kLeftWhole, split.realRoots});
  return split;
}

RealFactorisation OverReals(const RationalFactorisation& factorisation) {
  RealFactorisation real;
  Rational content = Rational::FromText(factorisation.content).value_or(Rational(1));
  for (const RationalFactor& f : factorisation.factors) {
    RealFactor entry{f.polynomial, f.multiplicity, SplitOverReals(f.polynomial)};
    const Rational scale = Rational::FromText(entry.split.scale).value_or(Rational(1));
    for (int m = 0; m < f.multiplicity; ++m) content = content * scale;
    real.factors.push_back(std::move(entry));
  }
  real.content = content.Text();
  return real;
}

bool MultipliesOutOverReals(const RationalPolynomial& p, const RealFactorisation& factorisation) {
  const std::optional<Rational> content = Rational::FromText(factorisation.content);
  if (!content || p.variables < 1) return false;
  RealSum product;
  AddTo(&product[std::vector<int32_t>(static_cast<size_t>(p.variables), 0)], 1, *content);
  for (const RealFactor& f : factorisation.factors) {
    for (const RealPiece& piece : f.split.pieces) {
      RealSum sum;
      for (const RealTerm& term : piece.polynomial.terms) {
        const std::optional<Element> e = ElementOf(term.coefficient);
        if (!e || term.exponents.size() != static_cast<size_t>(p.variables)) return false;
        for (const auto& [d, r] : *e) AddTo(&sum[term.exponents], d, r);
      }
      for (int m = 0; m < f.multiplicity; ++m) {
        std::optional<RealSum> next = Multiplied(product, sum);
        if (!next) return false;
        product = std::move(*next);
      }
    }
  }
  RealSum expected;
  for (const RationalTerm& term : p.terms) {
    const std::optional<Rational> c = Rational::FromText(term.coefficient);
    if (!c || term.exponents.size() != static_cast<size_t>(p.variables)) return false;
    AddTo(&expected[term.exponents], 1, *c);
    if (expected[term.exponents].empty()) expected.erase(term.exponents);
  }
  return product == expected;
}

std::string SurdText(const Surd& s) {
  const Rational a = Rational::FromText(s.rational).value_or(Rational(0));
  const Rational b = Rational::FromText(s.radical).value_or(Rational(0));
  if (b.Sign() == 0) return a.Text();
  // Over the common denominator m: (p ± q√d)/m.
  const Rational m(a.Denominator() / Gcd(a.Denominator(), b.Denominator()) * b.Denominator());
  const Rational p = a * m, q = (b * m).Abs();
  const std::string root = (q == Rational(1) ? std::string() : q.Text()) + "√" + s.radicand;
  const std::string over = m == Rational(1) ? std::string() : "/" + m.Text();
  if (a.Sign() == 0) return (b.Sign() < 0 ? "-" : "") + root + over;
  const std::string inner = p.Text() + (b.Sign() < 0 ? " - " : " + ") + root;
  return over.empty() ? inner : "(" + inner + ")" + over;
}

std::optional<std::vector<RealRoot>> RealRootsOf(const RationalPolynomial& p, std::string* why) {
  int letters = 0;
  for (int v = 0; v < p.variables; ++v) {
    letters += std::any_of(p.terms.begin(), p.terms.end(), [v](const RationalTerm& t) { return t.exponents[v] > 0; });
  }
  if (letters != 1) {
    *why = "not a polynomial in one letter";
    return std::nullopt;
  }
  const std::optional<RationalFactorisation> f = FactorRationalExactly(p, why);
  if (!f) return std::nullopt;
  const RealFactorisation real = OverReals(*f);
  std::vector<RealRoot> roots;
  for (const RealFactor& factor : real.factors) {
    for (const RealPiece& piece : factor.split.pieces) {
      if (piece.outcome != RealOutcome::kLinear || piece.polynomial.terms.empty()) continue;
      const RealTerm& lead = piece.polynomial.terms.front();
      Surd root;  // -constant / leading
      const Rational leading = Rational::FromText(lead.coefficient.rational).value_or(Rational(1));
      if (piece.polynomial.terms.size() > 1) {
        const Surd& last = piece.polynomial.terms.back().coefficient;
        root.rational = (-Rational::FromText(last.rational).value_or(Rational(0)) / leading).Text();
        root.radical = (-Rational::FromText(last.radical).value_or(Rational(0)) / leading).Text();
        root.radicand = last.radicand;
      }
      const double value = fmpq_get_d(Rational::FromText(root.rational)->value) +
                           fmpq_get_d(Rational::FromText(root.radical)->value) * std::sqrt(std::stod(root.radicand));
      roots.push_back({value, SurdText(root), factor.multiplicity});
    }
  }
  std::sort(roots.begin(), roots.end(), [](const RealRoot& x, const RealRoot& y) { return x.value < y.value; });
  return roots;
}

}  // namespace pfac::exact
