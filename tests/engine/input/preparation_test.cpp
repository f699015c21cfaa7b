// The preparation from merging like terms to the hand-over to the search.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The monomial factor and the rational content taken out, like terms merged
// and absent variables dropped: the result, as the certificate judges it,
// holds them as its common factor, and the polynomial prepared for the search
// as its factors.
TEST(Preparation, CommonFactorsAreTakenOutAndLikeTermsMerged) {
  const std::pair<const char*, const char*> cases[] = {
      {"6x^2+4x", "2/1 x (3x+2)"},
      {"-6x^2+4x", "-2/1 x (3x-2)"},  // the sign stays with the polynomial
      // Integral 4, -6, 8 over 8: content 2 and 8 reduce to 1 and 4.
      {"1/2x^2-3/4x+1", "1/4 (2x^2-3x+4)"},
      // 16, 3 and 5 times 2^20 - 1: far too many trials to count down.
      {"16777200x^2+3145725x+5242875", "1048575/1 (16x^2+3x+5)"},
      {"-6x^2+4x+2", "-2/1 (x-1)(3x+1)"},
      {"x^2+3x-x^2+y-y+2", "1/1 (3x+2)"},
      // x^2 y + x y: the common monomial x y is out, y no longer occurs.
      {"x^2y+xy", "1/1 xy (x+1)"},
  };
  for (const auto& [polynomial, values] : cases) {
    EngineRun run;
    run.Factor(polynomial);
    EXPECT_EQ(ValuesText(run.engine->Result.Judged()), values) << polynomial << "\n" << run.Result();
  }
  // The echo stands in jg.dat before anything is taken out.
  HandedOver run("6x^2+4x");
  run.e().CloseAllFiles();
  EXPECT_EQ(run.Result(), " 6 x^ 2+ 4 x");
}

TEST(Preparation, CancellingTermsGiveZero) {
  EngineRun run;
  run.Factor("x-x");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.Result(), "x-x=0\r\n");
  EXPECT_NE(run.Transcript().find("\nx-x=0\n结束!\n"), std::string::npos) << run.Transcript();
  EXPECT_EQ(run.console.KeyWaits(), 1);
}

TEST(Preparation, SingleTermIsItsOwnResult) {
  EngineRun run;
  run.Factor("4x^3");
  EXPECT_EQ(run.Result(), " 4 x^ 3= 4x^ 3");
  EXPECT_NE(run.Transcript().find(" 4 x^ 3 = 4 x^ 3 \n结束!\n"), std::string::npos) << run.Transcript();

  EngineRun negative;
  negative.Factor("-2x^2y^3");
  EXPECT_EQ(negative.Result(), "- 2 x^ 2y^ 3= - 2x^ 2y^ 3");
  EXPECT_FALSE(EndsWith(negative.Transcript(), "ok!\n"));

  // A constant left after like terms cancel is the whole result, in jg.dat too.
  for (const auto& [polynomial, result] : {std::pair{"x^2-x^2+1", "x^ 2-x^ 2+ 1 = 1"},
                                           std::pair{"x^2-x^2-1", "x^ 2-x^ 2- 1 = - 1"},
                                           std::pair{"x^3-x^3+2", "x^ 3-x^ 3+ 2 = 2"}}) {
    EngineRun constant;
    constant.Factor(polynomial);
    EXPECT_EQ(constant.Result(), result) << polynomial;
  }
}

TEST(Preparation, DegreeAboveTheLimitIsOnlyAWarning) {
  HandedOver run("x^4001+1");
  EXPECT_NE(run.Transcript().find("\n次数太高了!\n"), std::string::npos);

  HandedOver limit("x^4000+1");
  EXPECT_EQ(limit.Transcript().find("次数太高了!"), std::string::npos);
}

// Like terms may add up to 16,777,216, the largest coefficient the input
// takes; a sum beyond it stops the run with the exact-range message.
TEST(Preparation, LikeTermsAddUpToTheEdgeOfTheExactRange) {
  const std::pair<const char*, const char*> cases[] = {
      {"16777215x+x+1", " 16777215 x+x+ 1 \r\n=( 16777216x + 1)=( 16777216x + 1)\r\n"},
      {"8388608x+8388608x+3", " 8388608 x+ 8388608 x+ 3 \r\n=( 16777216x + 3)=( 16777216x + 3)\r\n"},
      {"-16777215x-x+1", "- 16777215 x-x+ 1 \r\n=-( 16777216x - 1)=-( 16777216x - 1)\r\n"},
      {"16777215x+2x+1", " 16777215 x+ 2 x+ 1 \r\nStopped: like terms add up beyond the exact range.\r\n"},
      {"-8388609x-8388608x+1", "- 8388609 x- 8388608 x+ 1 \r\nStopped: like terms add up beyond the exact range.\r\n"},
  };
  for (const auto& [polynomial, result] : cases) {
    EngineRun run;
    run.Factor(polynomial);
    EXPECT_EQ(run.status, 0) << polynomial;
    EXPECT_EQ(run.Result(), result) << polynomial << "\n" << run.Transcript();
    const bool stopped = std::string(result).find("Stopped") != std::string::npos;
    EXPECT_EQ(run.Transcript().find("beyond 16777216") != std::string::npos, stopped) << polynomial;
  }
}

TEST(EngineBinary, WritesTheResultsThatEndBeforeTheSearch) {
  const std::pair<const char*, const char*> cases[] = {
      {"x-x", "x-x=0\r\n"},
      {"4x^3", " 4 x^ 3= 4x^ 3"},
      {"-2x^2y^3", "- 2 x^ 2y^ 3= - 2x^ 2y^ 3"},
  };
  for (const auto& [polynomial, result] : cases) {
    TempFolder folder;
    folder.Write("DXS.DAT", QuotedLine(polynomial));
    ProcessResult run = RunEngineBinary(folder.path());
    EXPECT_EQ(run.status, 0) << polynomial;
    EXPECT_EQ(folder.Read("jg.dat"), CertifiedByBinary(result)) << polynomial;
    EXPECT_NE(run.output.find("Use the mouse to close the window"), std::string::npos);
  }
}

}  // namespace
}  // namespace pfac::testing
