// Whole runs through the factor search: the worked example, the bounds and
// pairs, the retries and limits, and results that multiply back exactly.
#include <gtest/gtest.h>

#include "support/engine_harness.h"
#include "support/poly_check.h"

namespace pfac::testing {
namespace {

// Runs the engine on a polynomial with the clock moving on by a second at
// every reading, so that every search reaches its time limit in a few
// thousand levels.
struct TimedRun : EngineRun {
  explicit TimedRun(const std::string& polynomial, long secondsPerReading = 1) {
    clock.SetStepPerReading(secondsPerReading);
    Factor(polynomial);
  }
};

// The final result line of jg.dat, multiplied back, equals the polynomial.
::testing::AssertionResult MultipliesBack(const std::string& polynomial, const EngineRun& run) {
  auto input = ParseInput(polynomial);
  if (!input) return ::testing::AssertionFailure() << "test input not understood: " << polynomial;
  std::string jg = run.Result();
  auto last = LastResultLine(jg);
  if (!last) return ::testing::AssertionFailure() << "no result line in jg.dat:\n" << jg;
  std::string why;
  if (!LineEquals(last->line, *input, &why)) {
    return ::testing::AssertionFailure() << polynomial << ": " << why << "\njg.dat:\n" << jg;
  }
  return ::testing::AssertionSuccess();
}

// x^2 + 3x + 2: B = L = 3, the pairs (2, 1) and (1, 2). Level 1 with the
// pair (2, 1) solves h0 g1 + g0 h1 = 3: the first solution from below is
// g1 = -1, h1 = 2, stepped to g1 = 1, h1 = 1, and the top coefficient is
// bounded by |a_n| = 1 at the last degree: the factor t + 2 comes first.
TEST(SearchRun, WorkedExampleFindsTheFactorOfTheFirstPair) {
  EngineRun run;
  run.Factor("x^2+3x+2");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(MultipliesBack("x^2+3x+2", run));
  // The echo, the polynomial after its common factor, the expanded product,
  // the products of the cofactor's terms, the two factors, and the result.
  EXPECT_EQ(run.Result(),
            "x^ 2+ 3 x+ 2 \r\n"
            "=(x^ 2 + 3x + 2)\r\n"
            "=[ 1*x^ 2+( 2  1 )*x+ 2]\r\n"
            "=[( 1 *x^ 2+ 2 *x)+( 1 *x+ 2 )]\r\n"
            "=(x + 2)(x + 1)\r\n"
            "=(x + 2)(x + 1)\r\n");
  EXPECT_NE(run.Transcript().find("ok!"), std::string::npos);
}

// The pairs run over every divisor g0 of the constant term, the largest
// first: of (x + 45)(x + 16)(x + 1), a0 = 720 with 30 divisors, the factor of
// the largest g0 is split off first, and each cofactor's pairs begin anew.
TEST(SearchRun, ConstantTermWithManyDivisorsTriesEveryPairLargestFirst) {
  const std::pair<const char*, const char*> cases[] = {
      {"x^3+62x^2+781x+720", "=(x + 45)(x + 16)(x + 1)"},
      {"x^3+720x^2+x+720", "=(x + 720)(x^ 2 + 1)"},
      {"x^3+16x^2+45x+720", "=(x + 16)(x^ 2 + 45)"},
  };
  for (const auto& [polynomial, result] : cases) {
    EngineRun run;
    run.Factor(polynomial);
    EXPECT_EQ(run.FinalLine(), result) << polynomial << "\n" << run.Result();
  }
}

// x^3 + 2x^2 + 2x + 1 = (x + 1)(x^2 + x + 1): the constant term 1 leaves the
// single pair (1, 1), searched without division.
TEST(SearchRun, UnitConstantTermUsesOnlyTheDivisionFreeVariant) {
  EngineRun run;
  run.Factor("x^3+2x^2+2x+1");
  EXPECT_TRUE(MultipliesBack("x^3+2x^2+2x+1", run));
  EXPECT_EQ(run.FinalLine(), "=(x + 1)(x^ 2 + x + 1)") << run.Result();
}

// 2x^3 + x^2 + 4x + 2 = (2x + 1)(x^2 + 2): with the pair (2, 1) the first
// solution of level 1 is g1 = 0, h1 = 2, and the factor 1 + 2t is found from
// the cofactor's side.
TEST(SearchRun, MirroredCheckFindsTheFactorFromTheCofactorSide) {
  TimedRun run("2x^3+x^2+4x+2");
  EXPECT_TRUE(MultipliesBack("2x^3+x^2+4x+2", run));
  EXPECT_NE(run.Result().find("\r\n=( 2x + 1)(x^ 2 + 2)\r\n"), std::string::npos) << run.Result();
}

TEST(SearchRun, DegreeOneIsNotSearched) {
  TimedRun run("2x+3");
  EXPECT_EQ(run.Transcript().find(" *   "), std::string::npos);
  EXPECT_TRUE(MultipliesBack("2x+3", run));
  EXPECT_EQ(run.Transcript().find("ok!"), std::string::npos);
}

// The X key on the first pass offers the retry; y or Y takes it, any other
// key ends the run.
TEST(SearchRun, RetriesAreOfferedUntilDeclined) {
  const std::string polynomial = "x^6+3x^5-x^4+7x^3+5x^2-x+11";  // B is 7 at first, H 28
  const long never = 1L << 40;  // keys answered only by the question
  EngineRun run;
  for (int key : {'x', 'y', 'x', 'Y', 'n'}) run.console.PressKey(key, key == 'x' ? 0 : never);
  run.Factor(polynomial);
  EXPECT_EQ(run.status, 0);
  size_t questions = 0;
  for (size_t at = 0; (at = run.Transcript().find("重新分解它吗  y/n ?\nDecompose again y/n ?\n", at)) != std::string::npos;
       ++at) {
    ++questions;
  }
  EXPECT_EQ(questions, 3u) << run.Transcript();
  // The retries write nothing more to jg.dat: the result, and the mark of a stop.
  EXPECT_EQ(run.Result(),
            "x^ 6+ 3 x^ 5-x^ 4+ 7 x^ 3+ 5 x^ 2-x+ 11 \r\n"
            "=(x^ 6 + 3x^ 5 - x^ 4 + 7x^ 3 + 5x^ 2 - x + 11)=(x^ 6 + 3x^ 5 - x^ 4 + 7x^ 3 + 5x^ 2 - x + 11)\r\n"
            "=....\r\n");
}

// What a retry changes shows in the factors it finds. (x^2 + 5x + 1)(x^2 + 7x
// + 1) has L = 37 and B = 6: stopped with X at its first level and retried,
// the search goes on with B = 5 and finds x^2 + 5x + 1. The factor x^2 + 5x +
// 1 of the degree-13 polynomial lies beyond its first B, 3: a search that ran
// to its end is retried from the first degree with B + 1, so the second
// retry finds it; after a stop has lowered B to 2, the next retry starts
// from the first B + 1 again.
TEST(SearchRun, RetriedSearchesFindWhatTheirNewBoundAdmits) {
  const long never = 1L << 40;  // keys answered only by the question
  const std::string quartic = "x^4+12x^3+37x^2+12x+1";
  const std::string thirteen = "x^13+4x^12-3x^11+3x^10-4x^9+3x^7-8x^6+4x^5+6x^4+2x^3+6x^2+6x+1";
  const struct {
    const std::string& polynomial;
    const char* keys;  // an "x" at the first poll, the others to the questions
    const char* factor;  // the factor found, or nullptr: none
  } cases[] = {
      {quartic, "xyn", "(x^ 2 + 5x + 1)"},
      {thirteen, "yn", nullptr},
      {thirteen, "yyn", "(x^ 2 + 5x + 1)"},
      {thirteen, "xyyn", nullptr},
      {thirteen, "xyyyn", "(x^ 2 + 5x + 1)"},
  };
  for (const auto& c : cases) {
    EngineRun run;
    run.clock.SetStepPerReadingMs(100);
    for (const char* key = c.keys; *key; ++key) run.console.PressKey(*key, *key == 'x' ? 0 : never);
    run.Factor(c.polynomial);
    EXPECT_EQ(run.status, 0) << c.polynomial;
    EXPECT_TRUE(MultipliesBack(c.polynomial, run));
    const std::string line = run.FinalLine();
    if (c.factor) {
      EXPECT_NE(line.find(c.factor), std::string::npos) << c.polynomial << " " << c.keys << "\n" << line;
    } else {
      EXPECT_EQ(line.find(")("), std::string::npos) << c.polynomial << " " << c.keys << "\n" << line;
    }
  }
}

TEST(SearchRun, StoppedRunsCarryTheirMarkAndStillMultiplyBack) {
  EngineRun run;
  run.console.PressKeys("xn");
  run.Factor("x^6+3x^5-x^4+7x^3+5x^2-x+11");
  EXPECT_EQ(run.status, 0);
  auto last = LastResultLine(run.Result());
  ASSERT_TRUE(last);
  EXPECT_TRUE(last->stopped) << run.Result();
  EXPECT_TRUE(MultipliesBack("x^6+3x^5-x^4+7x^3+5x^2-x+11", run));
}

TEST(SearchRun, LaterPassStoppedByItsLimitIsRetriedWithHalfTheBound) {
  // (x - 3) times an irreducible factor whose largest coefficient 49 gives
  // B = 7: the later passes stop at their one-minute limit and are retried
  // with B = 4, 2 and 1.
  Poly factor = ParseInput("x^14+49x^13-3x^11+5x^9-2x^7+3x^5+x^3-x+2")->numerator;
  Poly product = factor * ParseInput("x-3")->numerator;
  TimedRun run(product.Text());
  EXPECT_TRUE(MultipliesBack(product.Text(), run));
  size_t passes = 0;
  for (size_t at = 0; (at = run.Transcript().find("已有因式分出", at)) != std::string::npos; ++at) ++passes;
  EXPECT_EQ(passes, 4u) << run.Transcript();
  EXPECT_TRUE(LastResultLine(run.Result())->stopped);
}

TEST(SearchRun, LateModeAfterTwoMinutesSearchesOnlyTheTopDegree) {
  const std::string polynomial =
      "x^20+7x^19-11x^18+23x^17-5x^16+31x^15-17x^14+29x^13-3x^12+19x^11-37x^10+13x^9-41x^8+2x^7+"
      "43x^6-9x^5+47x^4-21x^3+33x^2-27x+1";
  TimedRun run(polynomial);
  EXPECT_NE(run.Transcript().find(" *   *\n"), std::string::npos) << run.Transcript();
  EXPECT_TRUE(MultipliesBack(polynomial, run));

  // In late mode a factor is found as a candidate of the top degree with zero
  // leading coefficients; a candidate that fails leaves the search where it
  // was, and the split still comes, ending the run with its mark.
  const std::string several = "9x^4y^5z^5+6x^5y^4z^4+6x^2y^6z^4-6x^5y^2z^4+4x^3y^5z^3-3x^3y^4z^2-4x^3y^3z^3-"
                              "2x^4y^3z+2x^4yz";
  EngineRun late;
  late.clock.SetStepPerReadingMs(100);
  late.Factor(several);
  auto last = LastResultLine(late.Result());
  ASSERT_TRUE(last) << late.Result();
  EXPECT_EQ(last->line, "=x^ 2yz( 2xy^ 2- 2x+ 3y^ 3z)( 3x^ 2yz^ 3- x+ 2y^ 2z^ 2)");
  EXPECT_TRUE(last->lateMode);
}

// A candidate is rejected as soon as a value of its trial division passes
// 3,000,000: x + 1 divides all three, but in the last the division passes
// through 3,000,001.
TEST(SearchRun, TrialDivisionStopsBeyondThreeMillion) {
  const std::pair<const char*, const char*> cases[] = {
      {"x^4+400001x^3+400001x^2+2x+1", "=(x + 1)(x^ 3 + 400000x^ 2 + x + 1)"},
      {"x^4+3000001x^3+3000001x^2+2x+1", "=(x + 1)(x^ 3 + 3000000x^ 2 + x + 1)"},
      {"x^4+3000002x^3+3000002x^2+2x+1",
       "=(x^ 4 + 3000002x^ 3 + 3000002x^ 2 + 2x + 1)=(x^ 4 + 3000002x^ 3 + 3000002x^ 2 + 2x + 1)"},
  };
  for (const auto& [polynomial, result] : cases) {
    EngineRun run;
    run.Factor(polynomial);
    EXPECT_EQ(run.FinalLine(), result) << polynomial;
  }
}

// The bounds of the trial factor's inner coefficients decide which factors
// the search finds; each case has a factor just inside or just outside them.
// The result is the factor named, or (nullptr) the polynomial left unsplit.
TEST(SearchRun, BoundsOfTheSearchDecideWhichFactorsAreFound) {
  const std::pair<const char*, const char*> cases[] = {
      // B is L, the largest coefficient, while L <= 8 and the degree n <= 12;
      // beyond either, the rounded square root of L (3 here).
      {"x^12+6x^11+4x^10-7x^9+7x^8-x^7+8x^6-4x^5-6x^4-x^3+x^2+5x+1", "(x^ 2 + 5x + 1)"},  // n 12, L 8
      {"x^13+4x^12-3x^11+3x^10-4x^9+3x^7-8x^6+4x^5+6x^4+2x^3+6x^2+6x+1", nullptr},      // n 13, L 8
      {"x^10+6x^9+7x^8+7x^7+4x^6-9x^5-4x^4-8x^3+9x^2+7x+1", nullptr},                  // n 10, L 9
      // B rises by 1 where the square root of |a0| passes it by more than 0.9:
      // L 20 gives B 4, and the root of 25 raises it to 5.
      {"x^5+3x^4-16x^3-20x+25", "(x^ 2 + 5x - 5)"},
      // A B of 1 is raised to 2 below degree 17.
      {"x^16+x^15+2x^14-x^12-2x^11+x^8-x^7+x^4+2x+1", "(x^ 3 + x^ 2 + 2x + 1)"},
      {"x^17+x^16+2x^15+2x^14+2x^12+x^10+x^9-x^8-x^6+x^5-x^2+x+1", nullptr},
      // From trial degree 5 on, above degree 19 a B above 8 is halved and
      // capped at 8 (B 9 becomes 4, B 20 becomes 8 here), and above degree 49
      // B is at most 2.
      {"x^20+10x^19+9x^18-7x^16+11x^15-x^14-89x^13+x^12+2x^10+x^9+9x^8+x^7-7x^6+11x^5+9x^4+x^3+x+1", nullptr},
      {"x^22+10x^21+8x^20-11x^19-3x^18-7x^17-8x^16+2x^15+11x^14-2x^13-12x^12+x^11+13x^10+9x^9-3x^8-2x^7-"
       "89x^6-808x^5+9x^4+180x^3-2x^2-90x+1",
       nullptr},
      {"x^49+3x^48+x^44+x^37+3x^36+x^32-9x^29-27x^28-9x^24+x^5+3x^4+1", "(x^ 5 + 3x^ 4 + 1)"},
      {"x^50+3x^49+x^45+x^38+3x^37+x^33-9x^30-27x^29-9x^25+x^5+3x^4+1", nullptr},
  };
  for (const auto& [polynomial, factor] : cases) {
    EngineRun run;
    run.clock.SetStepPerReadingMs(100);
    run.Factor(polynomial);
    EXPECT_TRUE(MultipliesBack(polynomial, run));
    const std::string line = run.FinalLine();
    if (factor) {
      EXPECT_NE(line.find(factor), std::string::npos) << polynomial << "\n" << line;
    } else {
      EXPECT_EQ(line.find(")("), std::string::npos) << polynomial << "\n" << line;
    }
  }
}

TEST(SearchRun, SquareAndCubeFormsMultiplyBack) {
  const char* cases[] = {"4x^2+12x+9", "x^2-2x+1", "4x^2+9", "x^4-1", "8x^3+27", "8x^3-27",
                         "x^3-4", "26x^2-1", "x^5-x", "2x^4-2", "-x^4+1", "x^2-y^2",
                         "x^3y-xy^3", "4x^2y^2-12xy+9", "x^6-y^6"};
  for (const char* polynomial : cases) {
    TimedRun run(polynomial);
    EXPECT_EQ(run.status, 0) << polynomial;
    EXPECT_TRUE(MultipliesBack(polynomial, run));
  }
}

TEST(SearchRun, SeveralVariablesMultiplyBack) {
  const char* cases[] = {"x^4y+2x^3y^2-x^2y-2xy^2", "x4y+2x3y2-x2y-2xy2", "x^2+2xy+y^2-z^2",
                         "x^2y+xy^2+x^2z+xz^2+y^2z+yz^2+2xyz", "6a^2-ab-2b^2", "1/2x^2y-1/8y"};
  for (const char* polynomial : cases) {
    TimedRun run(polynomial);
    EXPECT_EQ(run.status, 0) << polynomial;
    EXPECT_TRUE(MultipliesBack(polynomial, run));
  }
}

TEST(SearchRun, IrreducibleAndPlainResults) {
  const char* cases[] = {"x^2+1", "x^3-6x^2+4x+15", "x^2+2x+2", "2x^2+3x+3", "x^4+x^3+x^2+x+1",
                         "6x^2+4x", "1/2x^2-3/4x+1", "x^3-1", "x^8-1", "x^6-1"};
  for (const char* polynomial : cases) {
    TimedRun run(polynomial);
    EXPECT_EQ(run.status, 0) << polynomial;
    EXPECT_TRUE(MultipliesBack(polynomial, run));
  }
}

}  // namespace
}  // namespace pfac::testing
