// The console on a real terminal: ANSI escape sequences for the cursor and the
// colours, termios for unechoed key reads. Rows 1 to 24 scroll; row 25 is kept
// for the status line. Standard output that is not a terminal gets plain text
// without escape sequences; standard input that is not a terminal (or is at its
// end) gives no keys, and a wait for a key returns at once.
#pragma once

#include <termios.h>

#include <string>

#include "engine/platform/console.h"

namespace pfac {

class TerminalConsole : public Console {
 public:
  TerminalConsole();
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  void Clear() override;
  void Locate(int row, int column) override;
  void Write(std::string_view text) override;
  void EndLine() override;
  void SetColour(int foreground, int background) override;
  int ReadKey() override;
  int WaitKey() override;
  int Column() const override;

  bool Ansi() const { return ansi_; }

 private:
  int ReadByte();  // one byte of standard input, kNoKey at its end
  // Output is kept until a key is read or waited for, the buffer fills, or
  // the console closes: one write for many pieces.
  static constexpr size_t kFlushSize = 4096;
  void Emit(std::string_view bytes);
  void Flush();
  void FlushWhenFull();
  void Restore();

  bool ansi_ = false;        // standard output is a terminal
  bool keyboard_ = false;    // standard input is a terminal
  bool inputEnded_ = false;  // standard input reached its end
  bool statusRegion_ = false;
  bool onStatusRow_ = false;
  int position_ = 0;       // characters written since the start of the line
  int savedPosition_ = 0;  // of ordinary output, while on the status row
  termios savedModes_{};
  std::string buffer_;
};

}  // namespace pfac
