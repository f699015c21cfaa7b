// The expansion program run with the exact arithmetic of rational_poly.h, in
// lexicographic order. Before each step the size of its result is bounded
// from the sizes of its operands, so that a text such as (x+y+z+w)^1000 is
// refused at once instead of filling the memory.
#include "engine/exact/expansion.h"

#include <flint/fmpq.h>
#include <flint/fmpz.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/exact/rational_poly.h"

namespace pfac::exact {

namespace {

// The largest step result computed: terms, and terms times the bits of the
// longest coefficient (numerator and denominator), about 16 MB of digits.
// Beyond these a step takes longer than anyone waits for the box to fill.
constexpr double kMaxTerms = 200000;
constexpr double kMaxBits = double{1 << 27};
// Every exponent of the answer fits the 32-bit exponents of its terms.
constexpr double kMaxDegree = std::numeric_limits<int32_t>::max();

// What a polynomial holds, or what a step's result holds at most.
struct Size {
  double terms = 0;
  double bits = 0;              // of the longest coefficient, numerator and denominator
  std::vector<double> degrees;  // per variable; -1 for the zero polynomial
};

Size SizeOf(const Poly& a) {
  Size size;
  size.terms = a.Length();
  for (int v = 0; v < a.ring().Variables(); ++v) size.degrees.push_back(static_cast<double>(a.Degree(v)));
  for (int i = 0; i < a.Length(); ++i) {
    const Rational coefficient = a.Coefficient(i);
    const double bits =
        static_cast<double>(fmpz_bits(fmpq_numref(coefficient.value)) + fmpz_bits(fmpq_denref(coefficient.value)));
    size.bits = std::max(size.bits, bits);
  }
  return size;
}

// The number of monomials a result of these degrees can have at most.
double MonomialRoom(const std::vector<double>& degrees) {
  double room = 1;
  for (double d : degrees) room *= std::max(d, 0.0) + 1;
  return room;
}

Size SumSize(const Size& a, const Size& b) {
  Size s;
  s.terms = a.terms + b.terms;
  s.bits = a.bits + b.bits + 1;  // p/q + r/s = (ps + rq)/qs
  for (size_t v = 0; v < a.degrees.size(); ++v) s.degrees.push_back(std::max(a.degrees[v], b.degrees[v]));
  s.terms = std::min(s.terms, MonomialRoom(s.degrees));
  return s;
}

Size ProductSize(const Size& a, const Size& b) {
  Size s;
  if (a.terms == 0 || b.terms == 0) {
    s.degrees.assign(a.degrees.size(), -1);
    return s;
  }
  for (size_t v = 0; v < a.degrees.size(); ++v) s.degrees.push_back(a.degrees[v] + b.degrees[v]);
  s.terms = std::min(a.terms * b.terms, MonomialRoom(s.degrees));
  s.bits = a.bits + b.bits + std::log2(std::min(a.terms, b.terms)) + 1;
  return s;
}

// The number of monomials of a power k of a sum of n terms is at most the
// number of ways to choose k of them with repetition, C(k + n - 1, n - 1).
Size PowerSize(const Size& a, double k) {
  Size s;
  if (a.terms == 0) {
    s.degrees.assign(a.degrees.size(), -1);
    return s;
  }
  for (double d : a.degrees) s.degrees.push_back(d * k);
  const double n = a.terms;
  const double logChoices = std::lgamma(k + n) - std::lgamma(n) - std::lgamma(k + 1);
  const double choices = logChoices > 700 ? std::numeric_limits<double>::infinity() : std::exp(logChoices);
  s.terms = std::min(std::ceil(choices), MonomialRoom(s.degrees));
  s.bits = k * (a.bits + std::log2(n) + 1);
  return s;
}

bool Fits(const Size& s) {
  if (s.terms > kMaxTerms || s.terms * s.bits > kMaxBits) return false;
  return std::all_of(s.degrees.begin(), s.degrees.end(), [](double d) { return d <= kMaxDegree; });
}

// Runs the steps; the answer is left in *answer.
bool Run(const ExpansionProgram& program, const Ring& ring, RationalPolynomial* answer, std::string* why) {
  const int n = program.variables;
  std::vector<Poly> stack;
  auto fail = [&](const char* reason) {
    *why = reason;
    return false;
  };
  for (const ExpansionStep& step : program.steps) {
    switch (step.kind) {
      case ExpansionStep::Kind::Push: {
        const std::optional<Rational> coefficient = Rational::FromText(step.term.coefficient);
        if (static_cast<int>(step.term.exponents.size()) != n || !coefficient || coefficient->Sign() == 0) {
          return fail("the request is malformed");
        }
        std::vector<long> exponents;
        for (int32_t e : step.term.exponents) {
          if (e < 0) return fail("the request is malformed");
          exponents.push_back(e);
        }
        stack.push_back(Poly::Monomial(ring, *coefficient, exponents));
        break;
      }
      case ExpansionStep::Kind::Add:
      case ExpansionStep::Kind::Multiply: {
        if (stack.size() < 2) return fail("the request is malformed");
        Poly& a = stack[stack.size() - 2];
        const Poly& b = stack.back();
        const bool add = step.kind == ExpansionStep::Kind::Add;
        if (!Fits(add ? SumSize(SizeOf(a), SizeOf(b)) : ProductSize(SizeOf(a), SizeOf(b)))) {
          return fail(kExpansionTooLarge);
        }
        a = add ? a + b : a * b;
        stack.pop_back();
        break;
      }
      case ExpansionStep::Kind::Power: {
        if (stack.empty() || step.exponent < 1) return fail("the request is malformed");
        Poly& a = stack.back();
        if (!Fits(PowerSize(SizeOf(a), step.exponent))) return fail(kExpansionTooLarge);
        a = a.Power(step.exponent);
        break;
      }
    }
  }
  if (stack.size() != 1) return fail("the request is malformed");
  *answer = stack.back().Value();
  return true;
}

}  // namespace

std::optional<RationalPolynomial> ExpandExactly(const ExpansionProgram& program, std::string* why) {
  if (program.variables < 1 || program.variables > 26) {
    *why = "the request is malformed";
    return std::nullopt;
  }
  RationalPolynomial answer;
  const Ring ring(program.variables);
  if (!Run(program, ring, &answer, why)) return std::nullopt;
  return answer;
}

}  // namespace pfac::exact
