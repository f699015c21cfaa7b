// The expansion program run with fmpq_mpoly in lexicographic order. Before
// each step the size of its result is bounded from the sizes of its operands,
// so that a text such as (x+y+z+w)^1000 is refused at once instead of filling
// the memory. Only the helper program pfac-exact and the tests link this.
#include "engine/exact/expansion.h"

#include <flint/flint.h>
#include <flint/fmpq.h>
#include <flint/fmpq_mpoly.h>
#include <flint/fmpz.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace pfac::exact {

namespace {

// The largest step result computed: terms, and terms times the bits of the
// longest coefficient (numerator and denominator), about 16 MB of digits.
// Beyond these a step takes longer than anyone waits for the box to fill.
constexpr double kMaxTerms = 200000;
constexpr double kMaxBits = double{1 << 27};
// Every exponent of the answer fits the protocol's 32-bit numbers.
constexpr double kMaxDegree = std::numeric_limits<int32_t>::max();

struct Context {
  fmpq_mpoly_ctx_t ctx;
  explicit Context(int variables) { fmpq_mpoly_ctx_init(ctx, variables, ORD_LEX); }
  ~Context() { fmpq_mpoly_ctx_clear(ctx); }
};

class Poly {
 public:
  explicit Poly(const Context& c) : c_(c) { fmpq_mpoly_init(p, c_.ctx); }
  ~Poly() { fmpq_mpoly_clear(p, c_.ctx); }
  Poly(const Poly&) = delete;
  Poly& operator=(const Poly&) = delete;

  fmpq_mpoly_t p;

 private:
  const Context& c_;
};

// What a polynomial holds, or what a step's result holds at most.
struct Size {
  double terms = 0;
  double bits = 0;              // of the longest coefficient, numerator and denominator
  std::vector<double> degrees;  // per variable; -1 for the zero polynomial
};

Size SizeOf(const Poly& a, const Context& c, int variables) {
  Size size;
  size.terms = static_cast<double>(fmpq_mpoly_length(a.p, c.ctx));
  std::vector<slong> degrees(static_cast<size_t>(variables));
  fmpq_mpoly_degrees_si(degrees.data(), a.p, c.ctx);
  size.degrees.assign(degrees.begin(), degrees.end());
  fmpq_t coefficient;
  fmpq_init(coefficient);
  for (slong i = 0; i < fmpq_mpoly_length(a.p, c.ctx); ++i) {
    fmpq_mpoly_get_term_coeff_fmpq(coefficient, a.p, i, c.ctx);
    const double bits = static_cast<double>(fmpz_bits(fmpq_numref(coefficient)) + fmpz_bits(fmpq_denref(coefficient)));
    size.bits = std::max(size.bits, bits);
  }
  fmpq_clear(coefficient);
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

bool SetCoefficient(fmpq_t value, const std::string& text) {
  if (fmpq_set_str(value, text.c_str(), 10) != 0 || fmpz_is_zero(fmpq_denref(value))) return false;
  fmpq_canonicalise(value);
  return !fmpq_is_zero(value);
}

std::string Text(const fmpq_t value) {
  std::unique_ptr<char, void (*)(void*)> text(fmpq_get_str(nullptr, 10, value), flint_free);
  return text.get();
}

// Runs the steps; the answer is left in *answer.
bool Run(const ExpansionProgram& program, const Context& c, RationalPolynomial* answer, std::string* why) {
  const int n = program.variables;
  std::vector<std::unique_ptr<Poly>> stack;
  fmpq_t coefficient;
  fmpq_init(coefficient);
  std::vector<ulong> exponents(static_cast<size_t>(n));
  auto fail = [&](const char* reason) {
    fmpq_clear(coefficient);
    *why = reason;
    return false;
  };
  for (const ExpansionStep& step : program.steps) {
    switch (step.kind) {
      case ExpansionStep::Kind::Push: {
        if (static_cast<int>(step.term.exponents.size()) != n || !SetCoefficient(coefficient, step.term.coefficient)) {
          return fail("the request is malformed");
        }
        for (int v = 0; v < n; ++v) {
          if (step.term.exponents[v] < 0) return fail("the request is malformed");
          exponents[v] = static_cast<ulong>(step.term.exponents[v]);
        }
        auto pushed = std::make_unique<Poly>(c);
        fmpq_mpoly_push_term_fmpq_ui(pushed->p, coefficient, exponents.data(), c.ctx);
        stack.push_back(std::move(pushed));
        break;
      }
      case ExpansionStep::Kind::Add:
      case ExpansionStep::Kind::Multiply: {
        if (stack.size() < 2) return fail("the request is malformed");
        Poly& a = *stack[stack.size() - 2];
        const Poly& b = *stack.back();
        const Size sa = SizeOf(a, c, n), sb = SizeOf(b, c, n);
        const bool add = step.kind == ExpansionStep::Kind::Add;
        if (!Fits(add ? SumSize(sa, sb) : ProductSize(sa, sb))) return fail(kExpansionTooLarge);
        if (add) {
          fmpq_mpoly_add(a.p, a.p, b.p, c.ctx);
        } else {
          fmpq_mpoly_mul(a.p, a.p, b.p, c.ctx);
        }
        stack.pop_back();
        break;
      }
      case ExpansionStep::Kind::Power: {
        if (stack.empty() || step.exponent < 1) return fail("the request is malformed");
        Poly& a = *stack.back();
        if (!Fits(PowerSize(SizeOf(a, c, n), step.exponent))) return fail(kExpansionTooLarge);
        if (!fmpq_mpoly_pow_ui(a.p, a.p, static_cast<ulong>(step.exponent), c.ctx)) return fail(kExpansionTooLarge);
        break;
      }
    }
  }
  if (stack.size() != 1) return fail("the request is malformed");

  const Poly& result = *stack.back();
  answer->variables = n;
  answer->terms.clear();
  std::vector<slong> signedExponents(static_cast<size_t>(n));
  for (slong i = 0; i < fmpq_mpoly_length(result.p, c.ctx); ++i) {
    fmpq_mpoly_get_term_coeff_fmpq(coefficient, result.p, i, c.ctx);
    fmpq_mpoly_get_term_exp_si(signedExponents.data(), result.p, i, c.ctx);
    RationalTerm term{Text(coefficient), {}};
    for (slong e : signedExponents) term.exponents.push_back(static_cast<int32_t>(e));
    answer->terms.push_back(std::move(term));
  }
  fmpq_clear(coefficient);
  return true;
}

}  // namespace

std::optional<RationalPolynomial> ExpandExactly(const ExpansionProgram& program, std::string* why) {
  if (program.variables < 1 || program.variables > 26) {
    *why = "the request is malformed";
    return std::nullopt;
  }
  RationalPolynomial answer;
  bool done = false;
  {
    Context context(program.variables);
    done = Run(program, context, &answer, why);
  }
  flint_cleanup();
  if (!done) return std::nullopt;
  return answer;
}

}  // namespace pfac::exact
