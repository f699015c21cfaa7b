#include "engine/exact/rational_factor.h"

#include "engine/exact/flint_factor.h"
#include "engine/exact/rational_poly.h"

namespace pfac::exact {

namespace {

// A polynomial of the ring whose coefficients are integers, as the exact
// factoriser takes it.
Polynomial IntegerPolynomial(const Poly& a) {
  Polynomial p;
  p.variables = a.ring().Variables();
  for (int i = 0; i < a.Length(); ++i) {
    Term term{a.Coefficient(i).Text(), {}};
    for (long e : a.Exponents(i)) term.exponents.push_back(static_cast<int32_t>(e));
    p.terms.push_back(std::move(term));
  }
  return p;
}

RationalPolynomial AsRational(const Polynomial& p) {
  RationalPolynomial value;
  value.variables = p.variables;
  for (const Term& t : p.terms) value.terms.push_back({t.coefficient, t.exponents});
  return value;
}

}  // namespace

std::optional<Polynomial> PrimitivePart(const RationalPolynomial& p, std::string* content) {
  if (p.variables < 1) return std::nullopt;
  const Ring ring(p.variables);
  const std::optional<Poly> a = Poly::FromValue(ring, p);
  if (!a || a->IsZero()) return std::nullopt;
  const Rational c = UnitOf(*a);
  *content = c.Text();
  return IntegerPolynomial(a->Scaled(Rational(1) / c));
}

RationalFactorisation WithContent(const std::string& content, const Factorisation& primitive) {
  RationalFactorisation answer;
  const std::optional<Rational> c = Rational::FromText(content);
  const std::optional<Rational> sign = Rational::FromText(primitive.content);
  answer.content = c && sign ? (*c * *sign).Text() : content;
  for (const Factor& f : primitive.factors) answer.factors.push_back({AsRational(f.polynomial), f.multiplicity});
  return answer;
}

std::optional<RationalFactorisation> FactorRationalExactly(const RationalPolynomial& p, std::string* why) {
  if (p.variables < 1) {
    *why = "the polynomial has no variable";
    return std::nullopt;
  }
  const Ring ring(p.variables);
  const std::optional<Poly> a = Poly::FromValue(ring, p);
  if (!a) {
    *why = "the polynomial is malformed";
    return std::nullopt;
  }
  if (a->IsZero()) {
    *why = "the polynomial is 0";
    return std::nullopt;
  }
  RationalFactorisation answer;
  if (a->IsConstant()) {
    answer.content = a->Coefficient(0).Text();
    return answer;
  }
  // a = c * (a / c) with a / c integral and primitive.
  const Rational content = a->Content();
  const std::optional<Factorisation> integral =
      FactorExactly(IntegerPolynomial(a->Scaled(Rational(1) / content)), why);
  if (!integral) return std::nullopt;
  const std::optional<Rational> sign = Rational::FromText(integral->content);
  if (!sign) {
    *why = "the content of the factorisation is malformed";
    return std::nullopt;
  }
  answer.content = (content * *sign).Text();
  for (const Factor& f : integral->factors) answer.factors.push_back({AsRational(f.polynomial), f.multiplicity});
  if (!MultipliesBack(p, answer)) {
    *why = "the factorisation does not multiply back to the polynomial";
    return std::nullopt;
  }
  return answer;
}

bool MultipliesBack(const RationalPolynomial& p, const RationalFactorisation& factorisation) {
  if (p.variables < 1) return false;
  const Ring ring(p.variables);
  const std::optional<Poly> a = Poly::FromValue(ring, p);
  const std::optional<Rational> content = Rational::FromText(factorisation.content);
  if (!a || !content) return false;
  Poly product(ring, *content);
  for (const RationalFactor& f : factorisation.factors) {
    const std::optional<Poly> factor = Poly::FromValue(ring, f.polynomial);
    if (!factor || f.multiplicity < 1 || factor->IsConstant()) return false;
    product = product * factor->Power(f.multiplicity);
  }
  return product == *a;
}

}  // namespace pfac::exact
