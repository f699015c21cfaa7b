#include "engine/platform/files.h"

#include <gtest/gtest.h>

#include "engine/platform/clock.h"

namespace pfac {
namespace {

TEST(Files, FirstFieldOfDxsDat) {
  EXPECT_EQ(FirstFieldOfFirstLine("\"x^2-1\"\r\n"), "x^2-1");
  EXPECT_EQ(FirstFieldOfFirstLine("x^2-1\r\n"), "x^2-1");
  EXPECT_EQ(FirstFieldOfFirstLine("  x^2-1  \r\nsecond"), "x^2-1");
  EXPECT_EQ(FirstFieldOfFirstLine("x^2-1,x\r\n"), "x^2-1");    // comma ends it
  EXPECT_EQ(FirstFieldOfFirstLine("\"x^2,-1\"\r\n"), "x^2,-1");  // not inside quotes
  EXPECT_EQ(FirstFieldOfFirstLine("\"x^2-1"), "x^2-1");         // quote never closed
  EXPECT_EQ(FirstFieldOfFirstLine("\r\n"), "");
}

TEST(Files, RecordFieldsLoseTheirQuotesButKeepInnerBlanks) {
  InputFile in;
  in.OpenText("\"-3\"\r\n\"x\"\r\n\" 2\"\r\n\"+\",\"+\"\r\n");
  EXPECT_EQ(in.ReadField(), "-3");
  EXPECT_EQ(in.ReadField(), "x");
  EXPECT_EQ(in.ReadField(), " 2");
  EXPECT_EQ(in.ReadField(), "+");
  EXPECT_FALSE(in.AtEnd());
  EXPECT_EQ(in.ReadField(), "+");
  EXPECT_TRUE(in.AtEnd());
}

// The three layouts of a pending-factor file read alike: numbers separated by
// blanks or line ends, then each letter as the rest of a line.
TEST(Files, PendingFactorLayoutsReadAlike) {
  const char* layouts[] = {
      " 2  1  1  0  3  0  1 x\r\ny\r\n",            // no line ends inside the numbers
      " 2 \r\n 1  1 \r\n 0  3  0  1 \r\nx\r\ny\r\n",  // line ends after nonzero exponents
  };
  for (const char* layout : layouts) {
    InputFile in;
    in.OpenText(layout);
    std::string numbers;
    for (int i = 0; i < 7; ++i) numbers += in.ReadNumberField() + ";";
    EXPECT_EQ(numbers, "2;1;1;0;3;0;1;") << layout;
    EXPECT_EQ(in.ReadRestOfLine(), "x") << layout;
    EXPECT_EQ(in.ReadRestOfLine(), "y") << layout;
  }
}

TEST(Files, OutputRecordsEndWithCrLf) {
  char name[] = "/tmp/pfac-files-XXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  OutputFile out;
  ASSERT_TRUE(out.Create(name));
  out.WriteRecord("x");
  out.WriteRecord("+", "+");
  out.Write("=");
  out.EndLine();
  EXPECT_TRUE(out.Close());
  std::string text;
  ASSERT_TRUE(ReadFilePrefix(name, 1000, &text));
  EXPECT_EQ(text, "\"x\"\r\n\"+\",\"+\"\r\n=\r\n");
  std::remove(name);
}

TEST(Clock, FakeClockFormatsAndMovesOn) {
  FakeClock clock(23, 59, 58);
  clock.SetStepPerReading(1);
  EXPECT_EQ(clock.TimeOfDay(), "23:59:58");
  EXPECT_EQ(clock.TimeOfDay(), "23:59:59");
  EXPECT_EQ(clock.TimeOfDay(), "00:00:00");
  clock.Set(9, 5, 0);
  clock.SetStepPerReading(0);
  clock.Advance(61);
  EXPECT_EQ(clock.TimeOfDay(), "09:06:01");
}

}  // namespace
}  // namespace pfac
