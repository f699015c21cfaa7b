// The console on standard output: pieces are kept and written together, at the
// latest when the keyboard is read (the search reads it every few
// milliseconds) or the console closes, in the order they were written.
#include "engine/platform/terminal_console.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "support/engine_harness.h"

namespace pfac {
namespace {

// Standard output sent into a pipe for the life of the object.
class CapturedOutput {
 public:
  CapturedOutput() {
    std::fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    int ends[2];
    if (pipe(ends) != 0) return;
    read_ = ends[0];
    fcntl(read_, F_SETFL, O_NONBLOCK);
    dup2(ends[1], STDOUT_FILENO);
    close(ends[1]);
  }
  ~CapturedOutput() {
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    close(read_);
  }
  // Everything that has reached the pipe so far.
  std::string Take() {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(read_, buffer, sizeof buffer)) > 0) text.append(buffer, n);
    return text;
  }

 private:
  int saved_ = -1;
  int read_ = -1;
};

TEST(TerminalConsole, OutputWaitsForTheNextKeyReadAndKeepsItsOrder) {
  CapturedOutput output;
  std::string seen;
  {
    TerminalConsole console;  // a pipe: plain text, no keyboard
    console.Locate(4, 3);
    console.WriteLine("ab");
    console.Write("c");
    seen = output.Take();
    EXPECT_EQ(console.ReadKey(), Console::kNoKey);
    seen += "|" + output.Take();
    console.Write("d");
    console.EndLine();
  }
  seen += "|" + output.Take();
  EXPECT_EQ(seen, "|  ab\nc|d\n");
}

TEST(TerminalConsole, AFullBufferIsWrittenWithoutWaiting) {
  CapturedOutput output;
  TerminalConsole console;
  std::string line(100, 'x');
  std::string written;
  for (int i = 0; i < 100; ++i) {
    console.WriteLine(line);
    written += line + "\n";
  }
  std::string seen = output.Take();
  EXPECT_GE(seen.size(), 4096u);
  EXPECT_EQ(seen, written.substr(0, seen.size()));
  console.ReadKey();
  seen += output.Take();
  EXPECT_EQ(seen, written);
}


// Whole runs of the real engine with its output piped, as a user reads them,
// line by line: the banner, the echo, the status line and its clearing, the
// reports, the results display with the times in their print zones, the
// closing lines (times of day shown as hh:mm:ss).
TEST(TerminalConsole, PipedRunsReadAsPlainText) {
  const std::string kCleared(80, ' ');
  const std::vector<std::string> kBanner = {"                             因 式 分 解 ",
                                            "                            -------------",
                                            "                                pfac - factoring over Q", ""};
  const std::vector<std::string> kClosing = {"", "用鼠标左键单击右上方 × 处关闭此窗口",
                                             "Use the mouse to close the window", ""};
  // How a run with a split and a complete certificate ends: the certificate
  // broken at a blank.
  const std::vector<std::string> kSplitAndCertified = {
      "验证: 结果完整, 每个因式在有理数域上不可约 / verified: the factorisation is",
      "complete, every factor is irreducible over Q",
      "", "hh:mm:ss      hh:mm:ss", "结束!", "End", "\a", "ok!", "阅读后按任一键", "Press any key after reading"};
  const struct {
    const char* polynomial;  // nullptr: no DXS.DAT
    std::vector<std::string> lines;  // between the banner and the closing lines
    bool splitAndCertified = false;  // kSplitAndCertified follows the lines
  } cases[] = {
      // the worked example: a search, two splits, the certificate
      {"x^3-6x^2+4x+15",
       {
           "x^3-6x^2+4x+15",
           "",
           "",
           "x^ 3 - 6 x^ 2 + 4 x+ 15 ",
           "",
           "",
           "",
           "",
           "=(x^ 3 - 6 x^ 2 + 4 x+ 15 )",
           " 3 * 5 ",
           "",
           "             程序正在运行. 按 X 键可退出分解(Press x to exit)",
           " *   ",
           kCleared,
           "~~",
           "=(x- 3 )(x^ 2 - 3 x- 5 )",
           "",
           "=(x- 3 )",
           "(-x^ 2 + 3 x+ 5 )",
           "",
           " 5 ",
           "",
           "     已有因式分出,正在继续分解.按 X 键可退出到下一步(Press x to exit)",
           " *   ",
           kCleared,
           "",
           "(x^ 2 - 3 x- 5 )",
           "",
           "",
           "x^ 3- 6 x^ 2+ 4 x+ 15 ",
           "=(x^ 3 - 6x^ 2 + 4x + 15)",
           "=[ 1*x^ 3+(-3 -3 )*x^ 2+( 9 -5 )*x+ 15]",
           "=[( 1 *x^ 3-3 *x^ 2)+(-3 *x^ 2+ 9 *x)+(-5 *x+ 15 )]",
           "=(x - 3)(x^ 2 - 3x - 5)",
           "=(x - 3)(x^ 2 - 3x - 5)",
       },
       true},
      // a square form: the factor collapsed, the certificate on its own line
      {"4x^2+12x+9",
       {
           "4x^2+12x+9",
           "",
           "",
           " 4 x^ 2 + 12 x+ 9 ",
           "",
           "",
           "",
           "",
           "=( 4 x^ 2 + 12 x+ 9 )",
           "=( 2 x^ 1 + 3 )^2 ",
           "=",
           "",
           "",
           "",
           "( 2 x+ 3 )",
           kCleared,
           "",
           "( 2 x+ 3 )",
           "",
           "",
           "",
           "( 2 x+ 3 )",
           kCleared,
           "",
           "( 2 x+ 3 )",
           "",
           "",
           " 4 x^ 2+ 12 x+ 9 ",
           "=( 4x^ 2 + 12x + 9)",
           "=( 2 x^ 1 + 3 )^2",
           "=( 2x + 3)^ 2 ",
       },
       true},
      // a syntax error
      {"x + 1",
       {
           "x + 1",
           "",
           "输入错误！",
       }},
      // no DXS.DAT
      {nullptr,
       {
           "找不到多项式文件 DXS.DAT. (The polynomial file DXS.DAT was not found.)",
       }},
      // terms that cancel
      {"x-x",
       {
           "x-x",
           "",
           "",
           "x-x=0",
           "验证: 结果完整, 每个因式在有理数域上不可约 / verified: the factorisation is",
           "complete, every factor is irreducible over Q",
           "结束!",
           "End",
           "\a",
           "阅读后按任一键",
           "Press any key after reading",
       }},
  };
  for (const auto& c : cases) {
    testing::TempFolder folder;
    if (c.polynomial) folder.Write("DXS.DAT", testing::QuotedLine(c.polynomial));
    const testing::ProcessResult run = testing::RunEngineBinary(folder.path());
    EXPECT_EQ(run.status, 0);
    std::vector<std::string> expected = kBanner;
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    if (c.splitAndCertified) expected.insert(expected.end(), kSplitAndCertified.begin(), kSplitAndCertified.end());
    expected.insert(expected.end(), kClosing.begin(), kClosing.end());
    std::vector<std::string> lines;
    const std::string output = testing::WithoutTimes(run.output);
    for (size_t at = 0; at <= output.size();) {
      const size_t end = std::min(output.find('\n', at), output.size());
      lines.push_back(output.substr(at, end - at));
      at = end + 1;
    }
    for (size_t i = 0; i < std::max(lines.size(), expected.size()); ++i) {
      const std::string shown = i < lines.size() ? lines[i] : "<end>";
      const std::string wanted = i < expected.size() ? expected[i] : "<end>";
      if (shown != wanted) {
        ADD_FAILURE() << (c.polynomial ? c.polynomial : "no DXS.DAT") << ", line " << i + 1 << "\n  shown:  \""
                      << shown << "\"\n  wanted: \"" << wanted << "\"\n" << run.output;
        break;
      }
    }
  }
}

}  // namespace
}  // namespace pfac
