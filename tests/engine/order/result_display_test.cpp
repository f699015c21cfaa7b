// The result read back from jg.dat and shown on the console.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

struct Display : ::testing::Test {
  TempFolder folder;
  MemoryConsole console;
  FakeClock clock{10, 0, 5};
  Engine engine{console, clock, folder.path()};

  std::string Show(const std::string& jg, float reportPending = 0) {
    folder.Write("jg.dat", jg);
    engine.ReportPending = reportPending;
    engine.StartTime = "09:59:00";
    engine.ShowResults();
    return console.Transcript();
  }
};

constexpr char kHeader[] = "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n";

TEST_F(Display, EqualConsecutiveFactorsCollapse) {
  EXPECT_EQ(Show(std::string(kHeader) + "=(x + 1)(x + 1)(x + 1)\r\n"),
            "\nl1\nl2\nl3\nl4\nl5\n=(x + 1)^ 3 \n09:59:00      10:00:05\n");
  EXPECT_EQ(engine.EndTime, "10:00:05");
}

TEST_F(Display, SeparatedFactorsStaySeparateAndLinesContinue) {
  EXPECT_EQ(Show(std::string(kHeader) + "=(x + 1)(x - 2)(x + 1)\r\n= 2 (a)(a)\r\nplain text\r\n"),
            "\nl1\nl2\nl3\nl4\nl5\n=(x + 1)(x - 2)(x + 1)= 2 (a)^ 2 \nplain text\n\n"
            "09:59:00      10:00:05\n");
}

// A line 5 after it (the certificate of a square form) stands on its own line.
TEST_F(Display, LineFourIsProcessedOnlyWhileNoSplitWasReported) {
  const std::string jg = "l1\r\nl2\r\nl3\r\n=(x)(x)\r\nl5\r\n";
  EXPECT_EQ(Show(jg, 1), "\nl1\nl2\nl3\n=(x)^ 2 \nl5\n\n09:59:00      10:00:05\n");
  console.ClearTranscript();
  EXPECT_EQ(Show(jg, 0), "\nl1\nl2\nl3\n=(x)(x)\nl5\n\n09:59:00      10:00:05\n");
}

TEST_F(Display, EmptyFileShowsOnlyTheTimes) {
  EXPECT_EQ(Show(""), "\n\n09:59:00      10:00:05\n");
}

TEST_F(Display, UnclosedFactorsAndTrailingTextDoNotRunAway) {
  EXPECT_EQ(Show(std::string(kHeader) + "=(x + 1\r\n=(y)(y)tail\r\n=(z)tail\r\n"),
            "\nl1\nl2\nl3\nl4\nl5\n=(x + 1=(y)^ 2 tail=(z)tail\n09:59:00      10:00:05\n");
}

}  // namespace
}  // namespace pfac::testing
