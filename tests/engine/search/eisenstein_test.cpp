// The factors of the constant term on the console and Eisenstein's criterion,
// in whole runs without the exact factoriser: the line that follows the
// polynomial shown at the start of the pass, and whether the search ran.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

constexpr char kRunningLine[] = "程序正在运行. 按 X 键可退出分解(Press x to exit)\n";
constexpr char kLaterRunningLine[] = "已有因式分出,正在继续分解";

// The console line of the constant term's factors: when the criterion does not
// hold, the search runs right after it.
TEST(Eisenstein, FactorsOfTheConstantComeBeforeTheSearch) {
  const struct {
    const char* polynomial;
    const char* shown;   // the polynomial as the pass shows it
    const char* factors;  // what follows it
  } cases[] = {
      {"x^2+x+12", "=(x^ 2 +x+ 12 )\n", " 2 * 2 * 3 \n"},
      {"x^2+x-6", "=(x^ 2 +x- 6 )\n", " 2 *-3 \n\n"},  // the sign stays with the last factor
      {"x^2+x+7", "=(x^ 2 +x+ 7 )\n", " 7 \n\n"},      // a prime alone, then tried
      {"x^2+2x+4", "=(x^ 2 + 2 x+ 4 )\n", " 2 * 2 \n"},   // 2 divides a1, but its square a0
      {"x^2+3x+1", "=(x^ 2 + 3 x+ 1 )\n", ""},          // a unit constant writes nothing
      {"x^2+3x-1", "=(x^ 2 + 3 x- 1 )\n", ""},
      // Beyond 16 bits, exactly: 170170 = 2*5*7*11*13*17, none divides a1 = 1.
      {"x^2+x+170170", "=(x^ 2 +x+ 170170 )\n", " 2 * 5 * 7 * 11 * 13 * 17 \n"},
  };
  for (const auto& c : cases) {
    EngineRun run;
    run.Factor(c.polynomial);
    EXPECT_NE(run.Transcript().find(std::string(c.shown) + c.factors + kRunningLine), std::string::npos)
        << c.polynomial << "\n" << run.Transcript();
  }
}

// A proof of irreducibility on the first pass ends the run without a search:
// jg.dat is closed as it stands, its last line left open, without a mark.
TEST(Eisenstein, ProofOnTheFirstPassEndsTheRunWithoutASearch) {
  const struct {
    const char* polynomial;
    const char* shown;
    const char* factors;
    const char* jg;
  } cases[] = {
      // x^2 + 2x + 2: 2 is written as the rest and proves it.
      {"x^2+2x+2", "=(x^ 2 + 2 x+ 2 )\n", " 2 \n", "x^ 2+ 2 x+ 2 \r\n=(x^ 2 + 2x + 2)"},
      // 2 divides a1 = 0 but not a2, and 4 does not divide 170170: proved
      // before any factor is written.
      {"x^2+170170", "=(x^ 2 + 170170 )\n", "", "x^ 2+ 170170 \r\n=(x^ 2 + 170170)"},
  };
  for (const auto& c : cases) {
    EngineRun run;
    run.Factor(c.polynomial);
    EXPECT_NE(run.Transcript().find(std::string(c.shown) + c.factors + "\n"), std::string::npos)
        << c.polynomial << "\n" << run.Transcript();
    EXPECT_EQ(run.Transcript().find(kRunningLine), std::string::npos) << c.polynomial;
    EXPECT_EQ(run.Result(), c.jg) << c.polynomial;
  }
}

// On a later pass the proof makes the pass's polynomial the last factor at
// once (FinalOutput shows it again).
TEST(Eisenstein, ProofOnALaterPassEndsItsSearchBeforeItBegins) {
  EngineRun run;
  run.Factor("2x^3+5x^2+6x+3");  // (x + 1)(2x^2 + 3x + 3)
  EXPECT_NE(run.Transcript().find("( 2 x^ 2 + 3 x+ 3 )\n\n 3 \n( 2 x^ 2 + 3 x+ 3 )\n"), std::string::npos)
      << run.Transcript();
  EXPECT_EQ(run.Transcript().find(kLaterRunningLine), std::string::npos) << run.Transcript();
  EXPECT_EQ(run.FinalLine(), "=(x + 1)( 2x^ 2 + 3x + 3)");
}

}  // namespace
}  // namespace pfac::testing
