// The factors of the constant term on the console and Eisenstein's criterion.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

struct Eisenstein : ::testing::Test {
  TempFolder folder;
  MemoryConsole console;
  FakeClock clock;
  Engine engine{console, clock, folder.path()};

  // Coefficients from a0 upward.
  void Test(std::vector<float> coefficients, int secondPass = 0) {
    engine.Dense.Image = coefficients;
    engine.Dense.ImageDegree = static_cast<int16_t>(coefficients.size() - 1);
    engine.Pass.SecondPass = static_cast<int16_t>(secondPass);
    engine.EisensteinTest();
  }
};

TEST_F(Eisenstein, WritesThePrimeFactorsAndLetsTheSearchRun) {
  Test({12, 1, 1});
  EXPECT_EQ(console.Transcript(), " 2 * 2 * 3 \n");
  EXPECT_FALSE(engine.Diverted());
}

TEST_F(Eisenstein, TheSignStaysWithTheLastFactor) {
  Test({-6, 1, 1});
  EXPECT_EQ(console.Transcript(), " 2 *-3 \n\n");
  EXPECT_FALSE(engine.Diverted());
}

TEST_F(Eisenstein, APrimeConstantIsWrittenAloneAndTried) {
  Test({7, 1, 1});
  EXPECT_EQ(console.Transcript(), " 7 \n\n");
  EXPECT_FALSE(engine.Diverted());
}

TEST_F(Eisenstein, UnitConstantWritesNothing) {
  Test({1, 3, 1});
  EXPECT_EQ(console.Transcript(), "");
  Test({-1, 3, 1});
  EXPECT_EQ(console.Transcript(), "");
  EXPECT_FALSE(engine.Diverted());
}

TEST_F(Eisenstein, ProvesIrreducibleAndEndsTheSearch) {
  Test({2, 2, 1});  // x^2 + 2x + 2
  EXPECT_EQ(console.Transcript(), " 2 \n");
  EXPECT_TRUE(engine.NextStep() == &Engine::CloseResultFile);

  console.ClearTranscript();
  Engine later{console, clock, folder.path()};
  later.Dense.Image = {3, 3, 2};  // 2x^2 + 3x + 3, on a later pass
  later.Dense.ImageDegree = 2;
  later.Pass.SecondPass = 1;
  later.EisensteinTest();
  EXPECT_EQ(console.Transcript(), " 3 \n");
  EXPECT_TRUE(later.NextStep() == &Engine::FinalOutput);
}

TEST_F(Eisenstein, ConstantTermsBeyondSixteenBitsAreExact) {
  // x^2 + 170170 (2*5*7*11*13*17): 2 divides a1 = 0 but not a2, and 4 does
  // not divide a0, so the first prime already proves it irreducible.
  Test({170170, 0, 1});
  EXPECT_EQ(console.Transcript(), "");
  EXPECT_TRUE(engine.NextStep() == &Engine::CloseResultFile);

  console.ClearTranscript();
  Engine wide{console, clock, folder.path()};
  wide.Dense.Image = {170170, 1, 1};
  wide.Dense.ImageDegree = 2;
  wide.EisensteinTest();
  EXPECT_EQ(console.Transcript(), " 2 * 5 * 7 * 11 * 13 * 17 \n");
  EXPECT_FALSE(wide.Diverted());
}

}  // namespace
}  // namespace pfac::testing
