#include "engine/platform/files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

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

// DXS.DAT is read in pieces up to a limit: a file of several pieces comes whole,
// a limit inside a piece or on its edge cuts it there, and what is no file
// gives false.
TEST(Files, ReadFilePrefixReadsAcrossPiecesUpToItsLimit) {
  const char* name = "pfac-prefix-test.txt";
  std::string content;
  for (int i = 0; content.size() < 10000; ++i) content += std::to_string(i) + ",";
  {
    std::FILE* file = std::fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
  }
  std::string text = "left over";
  ASSERT_TRUE(ReadFilePrefix(name, 1 << 20, &text));
  EXPECT_EQ(text, content);
  for (size_t limit : {size_t{0}, size_t{1}, size_t{4095}, size_t{4096}, size_t{4097}, size_t{8192},
                       content.size() - 1, content.size(), content.size() + 1}) {
    ASSERT_TRUE(ReadFilePrefix(name, limit, &text)) << limit;
    EXPECT_EQ(text, content.substr(0, limit)) << limit;
  }
  std::remove(name);
  EXPECT_FALSE(ReadFilePrefix(name, 100, &text));
  EXPECT_FALSE(ReadFilePrefix(".", 100, &text));
}

TEST(Clock, RealClockTickComesBackAfterTheSearchTakesItDown) {
  RealClock clock;
  std::atomic<bool>* tick = clock.TickFlag();
  ASSERT_NE(tick, nullptr);
  EXPECT_TRUE(tick->load()) << "the first poll looks at once";
  tick->store(false);
  // The ticker raises it again within milliseconds; a few seconds is only the
  // point at which the test gives up.
  for (int i = 0; i < 5000 && !tick->load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(tick->load());
  EXPECT_EQ(clock.TickFlag(), tick) << "one ticker, whatever the number of requests";
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
