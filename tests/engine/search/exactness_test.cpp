// Polynomials with coefficients near 16,777,216, where 32-bit floats stop
// holding every integer: whatever the engine reports must still be exact. A
// run either ends with a result line that multiplies back exactly (computed in
// exact integers) and writes no number in the rounded exponent form anywhere
// in jg.dat, or it stops with a message. PFAC_LARGE_CASES sets the number of
// cases (300 by default), PFAC_LARGE_SEED the seed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "support/engine_harness.h"
#include "support/poly_check.h"

namespace pfac::testing {
namespace {

constexpr Integer kExact = 16777216;

long EnvNumber(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value ? std::atol(value) : fallback;
}

struct Generator {
  std::mt19937 random;
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  int Signed(int magnitude) { return Pick(0, 1) ? magnitude : -magnitude; }

  // A polynomial in x of the given degree with coefficients up to magnitude.
  Poly Dense(int degree, int magnitude) {
    Poly p;
    for (int e = 0; e <= degree; ++e) {
      int c = Pick(-magnitude, magnitude);
      if ((e == degree || e == 0) && c == 0) c = 1;
      p = p + Poly::Constant(c) * Poly::Variable('x', e);
    }
    return p;
  }

  // One case; its kinds take the engine to the edge of the exact range in the
  // preparation, the writers, the search and the forms.
  std::string Next() {
    switch (Pick(0, 7)) {
      case 0:  // two factors whose coefficients multiply to nearly 2^24
        return (Dense(Pick(1, 2), Pick(100, 4096)) * Dense(Pick(1, 2), Pick(100, 4096))).Text();
      case 1:  // a small factorisation times a content near 2^24
        return (Dense(Pick(1, 3), 5) * Dense(1, 3)).Scaled(Signed(Pick(100000, 1600000))).Text();
      case 2:  // coefficients anywhere in the exact range
        return Dense(Pick(2, 6), 16777216).Text();
      case 3: {  // a small factor times one with a huge coefficient
        Poly big = Dense(Pick(1, 3), 20) + Poly::Constant(Signed(Pick(1000000, 16000000)));
        return (Dense(1, 3) * big).Text();
      }
      case 4: {  // several variables with large coefficients
        Poly f = Poly::Constant(Signed(Pick(1, 4000))) * Poly::Variable('x', Pick(1, 2)) +
                 Poly::Constant(Signed(Pick(1, 4000))) * Poly::Variable('y', Pick(1, 2));
        Poly g = Poly::Constant(Signed(Pick(1, 4000))) * Poly::Variable('x') +
                 Poly::Constant(Signed(Pick(1, 4000))) * Poly::Variable('z') + Poly::Constant(Signed(Pick(1, 9)));
        return (f * g).Text();
      }
      case 5: {  // fractions whose denominators multiply to nearly 2^24
        int p = Pick(2, 4096), q = Pick(2, 4096);
        return std::to_string(Pick(1, 16777216)) + "/" + std::to_string(p) + "x^2-" +
               std::to_string(Pick(1, 4096)) + "/" + std::to_string(q) + "x+" + std::to_string(Pick(1, 4096));
      }
      case 6: {  // like terms that add up near the edge
        int a = Pick(8000000, 16777216), b = Pick(1, 16777216 - a + 99);
        return std::to_string(a) + "x^2+" + std::to_string(b) + "x^2-" + std::to_string(Pick(1, 99)) + "x+1";
      }
      default: {  // squares and cubes of bases with large coefficients
        int a = Pick(1, 4096), b = Pick(1, 4096);
        Poly base = Poly::Constant(a) * Poly::Variable('x', Pick(1, 3)) + Poly::Constant(Signed(b));
        if (Pick(0, 1)) return (base * base).Text();
        int c = Pick(1, 256), d = Pick(1, 256);
        return (Poly::Constant(c * c * c) * Poly::Variable('x', 3) + Poly::Constant(Signed(d * d * d))).Text();
      }
    }
  }
};

// Every number as written within the exact range and at most 30 terms: what
// the loader admits.
bool WithinLimits(const std::string& polynomial) {
  int terms = 1;
  Integer number = 0;
  for (char c : polynomial) {
    if (c >= '0' && c <= '9') {
      number = number * 10 + (c - '0');
      if (number > kExact) return false;
    } else {
      number = 0;
      terms += c == '+' || c == '-';
    }
  }
  return terms <= 30;
}

TEST(Exactness, LargeCoefficientsGiveExactResultsOrAMessage) {
  const long cases = EnvNumber("PFAC_LARGE_CASES", 300);
  Generator generator{std::mt19937(static_cast<unsigned>(EnvNumber("PFAC_LARGE_SEED", 16777216)))};
  long checked = 0, messages = 0;
  while (checked < cases) {
    std::string polynomial = generator.Next();
    if (!WithinLimits(polynomial)) continue;
    ++checked;
    EngineRun run;
    run.clock.SetStepPerReadingMs(5000);
    run.Factor(polynomial);
    ASSERT_EQ(run.status, 0) << polynomial << "\n" << run.Transcript();
    std::string jg = run.Result();
    if (jg.find("Stopped") != std::string::npos) {
      ++messages;
      continue;
    }
    EXPECT_EQ(jg.find("E+"), std::string::npos) << "a rounded number in jg.dat: " << polynomial << "\n" << jg;
    auto last = LastResultLine(jg);
    if (!last) continue;  // a single term or "=0", on the echo's line
    std::string why;
    ASSERT_TRUE(LineEquals(last->line, *ParseInput(polynomial), &why))
        << polynomial << "\n" << why << "\njg.dat:\n" << jg << "\n" << run.Transcript();
  }
  std::printf("%ld polynomials with large coefficients checked, %ld ended with a message\n", checked, messages);
}

// A factor whose product with its cofactor is exact still does not count
// when a coefficient of either lies beyond 16,777,216: it could be written only
// in the rounded exponent form. (x + 1)(16777218x + 2) is exact in floats.
TEST(Exactness, CandidateWithACoefficientBeyondTheExactRangeDoesNotCount) {
  Workbench w;
  Engine& e = w.e;
  e.Dense.ImageDegree = 2;
  SetVector(e.Dense.Image, {2, 16777220, 16777218});
  SetVector(e.Dense.Trial, {1, 1});
  SetVector(e.Dense.Cofactor, {2, 16777218});
  EXPECT_EQ(e.CheckProduct(e.Dense.Trial, 1, e.Dense.Cofactor), Engine::ProductCheck::kLowerPartDiffers);
  SetVector(e.Dense.Image, {2, 16777216, 16777214});
  SetVector(e.Dense.Cofactor, {2, 16777214});
  EXPECT_EQ(e.CheckProduct(e.Dense.Trial, 1, e.Dense.Cofactor), Engine::ProductCheck::kExact);
}

// The report of a split writes the product of every pair of terms of the two
// factors: (3991x + 4204)(3991x - 3990) has the pair 4204 x 3991 = 16,778,164,
// beyond the exact range of a float, in a polynomial whose coefficients are
// within it. (The search cannot find this split itself: its bounds there leave
// the exact range. The run is stopped at the report, and the split put in.)
TEST(Exactness, ReportWritesTheProductsOfTheFactorsTermsExactly) {
  EngineRun run;
  run.FactorUntil("x^2+3x+2", &Engine::ReportFactorisation);
  ASSERT_EQ(run.status, Engine::kStoppedBefore) << run.Transcript();
  Engine& e = *run.engine;
  SetVector(e.Dense.PassImage, {-16773960, 854074, 15928081});
  SetVector(e.Dense.Cofactor, {4204, 3991});
  SetVector(e.Dense.Trial, {-3990, 3991});
  e.Dense.PassDegree = 2;
  e.Dense.FirstDegree = 1;
  e.Dense.SecondDegree = 1;
  run.status = e.RunUntil(&Engine::ReportFactorisation, &Engine::ContinueAfterSplit);
  ASSERT_EQ(run.status, Engine::kStoppedBefore) << run.Transcript();
  e.CloseAllFiles();
  const std::string jg = run.Result();
  EXPECT_NE(jg.find("\r\n=[ 15928081*x^ 2+(-15924090  16778164 )*x-16773960]\r\n"
                    "=[( 15928081 *x^ 2-15924090 *x)+( 16778164 *x-16773960 )]\r\n"),
            std::string::npos)
      << jg;
  EXPECT_EQ(jg.find("E+"), std::string::npos) << jg;
}

}  // namespace
}  // namespace pfac::testing
