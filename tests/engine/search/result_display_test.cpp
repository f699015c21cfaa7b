// The result read back from jg.dat and shown on the console.
#include <gtest/gtest.h>

#include "engine/platform/memory_console.h"
#include "engine/search/result_display.h"

namespace pfac::testing {
namespace {

struct Display : ::testing::Test {
  MemoryConsole console;

  // The console after the lines of jg, the fourth collapsed as a result line
  // when no split was reported.
  std::string Show(const std::string& jg, bool fourthLineIsResult = false) {
    InputFile file;
    file.OpenText(jg);
    ShowResultLines(console, file, fourthLineIsResult);
    return console.Transcript();
  }
};

constexpr char kHeader[] = "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n";

TEST_F(Display, EqualConsecutiveFactorsCollapse) {
  EXPECT_EQ(Show(std::string(kHeader) + "=(x + 1)(x + 1)(x + 1)\r\n"),
            "l1\nl2\nl3\nl4\nl5\n=(x + 1)^ 3 ");
}

TEST_F(Display, SeparatedFactorsStaySeparateAndLinesContinue) {
  EXPECT_EQ(Show(std::string(kHeader) + "=(x + 1)(x - 2)(x + 1)\r\n= 2 (a)(a)\r\nplain text\r\n"),
            "l1\nl2\nl3\nl4\nl5\n=(x + 1)(x - 2)(x + 1)= 2 (a)^ 2 \nplain text\n");
}

// A line 5 after it (the certificate of a square form) stands on its own line.
TEST_F(Display, LineFourIsProcessedOnlyWhileNoSplitWasReported) {
  const std::string jg = "l1\r\nl2\r\nl3\r\n=(x)(x)\r\nl5\r\n";
  EXPECT_EQ(Show(jg, true), "l1\nl2\nl3\n=(x)^ 2 \nl5\n");
  console.ClearTranscript();
  EXPECT_EQ(Show(jg, false), "l1\nl2\nl3\n=(x)(x)\nl5\n");
}

// The note on an exact factor and the certificate never continue a result
// line, and break at a blank before the right edge (row 1 of the certificate
// is 75 columns wide, its next word would end in column 85).
TEST_F(Display, NoteAndCertificateStandOnLinesOfTheirOwn) {
  const std::string certificate =
      "验证: 结果完整, 每个因式在有理数域上不可约 / verified: the factorisation is complete, every factor is "
      "irreducible over Q";
  const std::string shown =
      "验证: 结果完整, 每个因式在有理数域上不可约 / verified: the factorisation is\n"
      "complete, every factor is irreducible over Q\n";
  // Line 4 collapsed while no split was reported, the certificate as line 5.
  EXPECT_EQ(Show("l1\r\nl2\r\nl3\r\n=(x^ 2 + 1)=(x^ 2 + 1)\r\n" + certificate + "\r\n", true),
            "l1\nl2\nl3\n=(x^ 2 + 1)=(x^ 2 + 1)\n" + shown);
  console.ClearTranscript();
  // After the result line, a note and a "not complete" certificate with the
  // complete line, which collapses as any result line.
  const std::string note =
      "精确分解给出因式 x^24-x^12+1 / the factor x^24-x^12+1 was taken from the exact factorisation";
  const std::string incomplete =
      "验证: 结果不完整, 搜索到了时间限制 / not complete: the search reached its time limit; the complete "
      "factorisation follows";
  EXPECT_EQ(Show(std::string(kHeader) + "=(x - 1)(x^ 4 + 1)\r\n" + note + "\r\n" + incomplete +
                 "\r\n=(x - 1)(x + 1)(x + 1)\r\n"),
            "l1\nl2\nl3\nl4\nl5\n=(x - 1)(x^ 4 + 1)\n"
            "精确分解给出因式 x^24-x^12+1 / the factor x^24-x^12+1 was taken from the exact\n"
            "factorisation\n"
            "验证: 结果不完整, 搜索到了时间限制 / not complete: the search reached its time\n"
            "limit; the complete factorisation follows\n"
            "=(x - 1)(x + 1)^ 2 ");
}

TEST_F(Display, EmptyFileShowsNothing) { EXPECT_EQ(Show(""), ""); }

TEST_F(Display, UnclosedFactorsAndTrailingTextDoNotRunAway) {
  EXPECT_EQ(Show(std::string(kHeader) + "=(x + 1\r\n=(y)(y)tail\r\n=(z)tail\r\n"),
            "l1\nl2\nl3\nl4\nl5\n=(x + 1=(y)^ 2 tail=(z)tail");
}

}  // namespace
}  // namespace pfac::testing
