// The console on standard output: pieces are kept and written together, at the
// latest when the keyboard is read (the search reads it every few
// milliseconds) or the console closes, in the order they were written.
#include "engine/platform/terminal_console.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>

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

}  // namespace
}  // namespace pfac
