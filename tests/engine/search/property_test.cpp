// Random products of small polynomials through the whole engine: whatever the
// engine reports on the last result line of jg.dat must multiply back to the
// polynomial entered, computed in exact integers, and be the result the
// engine judged; with the exact factoriser at hand, every run must end with a
// "complete" certificate. PFAC_PROPERTY_CASES sets the
// number of cases (2,000 by default), PFAC_PROPERTY_SEED the seed, and
// PFAC_PROPERTY_TRACE=1 prints every polynomial with the steps its run took.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "support/engine_harness.h"
#ifdef PFAC_EXACT
#include "support/exact_fake.h"
#endif
#include "support/poly_check.h"

namespace pfac::testing {
namespace {

long EnvNumber(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value ? std::atol(value) : fallback;
}

// One random case: a product of two to four small factors in one, two or
// three variables (coefficients up to 20, in one variable degree up to 12 in
// all), with repeated factors, a content, a monomial factor and sometimes a
// rational factor. Empty when the product leaves the engine's
// limits (too many terms, coefficients beyond the exact range).
std::string RandomProduct(std::mt19937& random) {
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const char* letters = "xyz";
  int variables = pick(1, 10) <= 5 ? 1 : (pick(1, 10) <= 6 ? 2 : 3);
  Poly product = Poly::Constant(1);
  int factors = pick(2, 4);
  int degreeLeft = 12;
  Poly last;
  for (int f = 0; f < factors; ++f) {
    Poly factor;
    if (f > 0 && pick(1, 5) == 1) {
      factor = last;  // a repeated factor
    } else if (variables == 1) {
      int degree = std::min(pick(1, 4), degreeLeft);
      if (degree < 1) break;
      degreeLeft -= degree;
      for (int e = 0; e <= degree; ++e) {
        int c = pick(-20, 20);
        if (e == degree && c == 0) c = 1;
        if (e == 0 && c == 0 && pick(0, 1)) c = -1;
        factor = factor + Poly::Constant(c) * Poly::Variable('x', e);
      }
    } else {
      int terms = pick(2, 3);
      for (int t = 0; t < terms; ++t) {
        Poly term = Poly::Constant(pick(1, 20) * (pick(0, 1) ? 1 : -1));
        for (int v = 0; v < variables; ++v) {
          int e = pick(0, 2);
          if (e > 0) term = term * Poly::Variable(letters[v], e);
        }
        factor = factor + term;
      }
    }
    if (factor.IsZero()) continue;
    last = factor;
    product = product * factor;
  }
  if (pick(1, 4) == 1) product = product.Scaled(pick(2, 20));
  if (pick(1, 5) == 1) product = product * Poly::Variable(letters[pick(0, variables - 1)], pick(1, 3));
  if (product.terms.size() < 2 || product.terms.size() > 30) return "";
  for (const auto& [m, c] : product.terms) {
    if (c > 16777216 || c < -16777216) return "";
  }
  std::string text = product.Text();
  // A rational factor 1/q on a product of few terms, kept to the cases where
  // even the product of the written denominators (q to the number of terms)
  // would leave the integral coefficients within the exact range; the engine
  // itself needs only their least common multiple, q.
  const int q = pick(2, 6);
  Integer largest = 0, common = 1;
  for (const auto& [m, c] : product.terms) {
    largest = std::max(largest, c < 0 ? -c : c);
    common *= q;
  }
  if (product.terms.size() <= 4 && pick(1, 4) == 1 && largest * (common / q) <= 16777216) {
    std::string scaled;
    for (auto it = product.terms.rbegin(); it != product.terms.rend(); ++it) {
      Poly one;
      one.terms[it->first] = it->second;
      std::string t = one.Text();
      // Insert "/q" after the coefficient digits (a coefficient of 1 is written out).
      size_t sign = (t[0] == '-') ? 1 : 0;
      size_t digits = sign;
      while (digits < t.size() && std::isdigit(static_cast<unsigned char>(t[digits]))) ++digits;
      std::string coefficient = digits > sign ? t.substr(sign, digits - sign) : "1";
      std::string rest = t.substr(digits);
      scaled += (t[0] == '-' ? "-" : (scaled.empty() ? "" : "+")) + coefficient + "/" + std::to_string(q) + rest;
    }
    text = scaled;
  }
  return text;
}

TEST(Property, RandomProductsMultiplyBackExactly) {
  const long cases = EnvNumber("PFAC_PROPERTY_CASES", 2000);
  const long seed = EnvNumber("PFAC_PROPERTY_SEED", 20261207);
  const bool trace = EnvNumber("PFAC_PROPERTY_TRACE", 0) != 0;
  // The fake clock moves on by this much at every look, so that a search
  // reaches its time limit after some 270,000 polls.
  const long clockStep = EnvNumber("PFAC_PROPERTY_CLOCK_MS", 100);
  std::mt19937 random(static_cast<unsigned>(seed));
  long checked = 0, stopped = 0, messages = 0;
  while (checked < cases) {
    std::string polynomial = RandomProduct(random);
    if (polynomial.empty()) continue;
    ++checked;
#ifdef PFAC_EXACT
    FakeFactoriser factoriser(FakeFactoriser::Readiness::kAtStart);
    EngineRun run(&factoriser);
#else
    EngineRun run;
#endif
    run.clock.SetStepPerReadingMs(clockStep);
    run.Factor(polynomial);
    if (trace) std::printf("%s: %ld steps\n", polynomial.c_str(), run.engine->StepsTaken());
    ASSERT_EQ(run.status, 0) << polynomial << "\n" << run.Transcript();
    std::string jg = run.Result();
    if (!run.folder.Exists("jg.dat") || jg.find("Stopped") != std::string::npos) {
      ++messages;  // a run that ended with a message in place of a result
      continue;
    }
    auto last = LastResultLine(jg);
    ASSERT_TRUE(last) << polynomial << "\n" << jg;
    auto input = ParseInput(polynomial);
    ASSERT_TRUE(input) << polynomial;
    std::string why;
    ASSERT_TRUE(LineEquals(last->line, *input, &why))
        << polynomial << "\n" << why << "\njg.dat:\n" << jg << "\n" << run.Transcript();
    ASSERT_TRUE(JudgedIsPrinted(run.engine->Result.Judged(), jg, &why)) << polynomial << "\n" << why << "\n" << jg;
    if (run.engine->Status.ResultAbortMark == Engine::kStopMark) {
      ++stopped;
      ASSERT_TRUE(last->stopped) << "a stopped search marks jg.dat: " << polynomial << "\n" << jg;
    }
#ifdef PFAC_EXACT
    ASSERT_EQ(last->certificate, kCompleteCertificate) << polynomial << "\njg.dat:\n" << jg;
#endif
  }
  std::printf("%ld random products checked, %ld stopped by a limit, %ld ended with a message\n",
              checked, stopped, messages);
  EXPECT_LT(messages, checked / 100 + 1);
}

}  // namespace
}  // namespace pfac::testing
