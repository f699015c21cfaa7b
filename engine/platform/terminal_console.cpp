#include "engine/platform/terminal_console.h"

#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/platform/run_signals.h"

namespace pfac {

namespace {

// What a signal handler needs to put the terminal back as it found it.
volatile sig_atomic_t gHaveModes = 0;
volatile sig_atomic_t gAnsi = 0;
termios gModes;

const char kResetSequence[] = "\x1b[r\x1b[0m\r\n";

void RestoreTerminalRaw() {
  if (gHaveModes) tcsetattr(STDIN_FILENO, TCSANOW, &gModes);
  if (gAnsi) {
    ssize_t ignored = write(STDOUT_FILENO, kResetSequence, sizeof kResetSequence - 1);
    (void)ignored;
  }
}

// A run signal is handled on the engine's thread, where it finishes the
// run's files; every signal then puts the terminal back and ends the engine
// as the signal would have.
void OnSignal(int signal_number) {
  if (IsRunSignal(signal_number)) {
    if (PassSignalToEngineThread(signal_number)) return;
    LeaveFilesAfterSignal(signal_number);
  }
  RestoreTerminalRaw();
  gHaveModes = 0;
  gAnsi = 0;
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT, SIGSEGV};

// Text palette index to the ANSI colour number (foreground 30-37, 90-97).
int AnsiColour(int palette) {
  static const int kMap[16] = {30, 34, 32, 36, 31, 35, 33, 37,
                               90, 94, 92, 96, 91, 95, 93, 97};
  return kMap[palette & 15];
}

}  // namespace

TerminalConsole::TerminalConsole() {
  ansi_ = isatty(STDOUT_FILENO) != 0;
  keyboard_ = isatty(STDIN_FILENO) != 0;
  if (keyboard_ && tcgetattr(STDIN_FILENO, &savedModes_) == 0) {
    gModes = savedModes_;
    gHaveModes = 1;
    termios raw = savedModes_;
    raw.c_lflag &= ~(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  } else {
    keyboard_ = false;
  }
  gAnsi = ansi_ ? 1 : 0;
  // While one handler runs, the other signals wait for it.
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (int s : kSignals) sigaddset(&action.sa_mask, s);
  MarkEngineThread();
  for (int s : kSignals) sigaction(s, &action, nullptr);
  if (ansi_) {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row >= kRows) {
      statusRegion_ = true;
      Emit("\x1b[1;24r");
    }
    Flush();
  }
}

TerminalConsole::~TerminalConsole() {
  Flush();
  Restore();
}

void TerminalConsole::Restore() {
  RestoreTerminalRaw();
  gHaveModes = 0;
  gAnsi = 0;
  for (int s : kSignals) ::signal(s, SIG_DFL);
}

void TerminalConsole::Emit(std::string_view bytes) { buffer_.append(bytes); }

void TerminalConsole::Flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t n = write(STDOUT_FILENO, buffer_.data() + done, buffer_.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  buffer_.clear();
}

void TerminalConsole::FlushWhenFull() {
  if (buffer_.size() >= kFlushSize) Flush();
}

void TerminalConsole::Clear() {
  if (ansi_) {
    Emit("\x1b[2J\x1b[H");
    Flush();
  }
  position_ = 0;
  onStatusRow_ = false;
}

void TerminalConsole::Locate(int row, int column) {
  if (row < 1) row = 1;
  if (row > kRows) row = kRows;
  if (column < 1) column = 1;
  if (column > kColumns) column = kColumns;
  if (!ansi_) {
    // Plain text: a new line when the cursor is not at a line start, then
    // blanks up to the column.
    if (position_ > 0) Emit("\n");
    Emit(std::string(column - 1, ' '));
    position_ = column - 1;
    FlushWhenFull();
    return;
  }
  if (row == kStatusRow && !onStatusRow_) {
    Emit("\x1b" "7");
    savedPosition_ = position_;
    onStatusRow_ = true;
  } else if (row != kStatusRow) {
    onStatusRow_ = false;
  }
  char sequence[32];
  std::snprintf(sequence, sizeof sequence, "\x1b[%d;%dH", row, column);
  Emit(sequence);
  position_ = column - 1;
  FlushWhenFull();
}

void TerminalConsole::Write(std::string_view text) {
  Emit(text);
  position_ += DisplayWidth(text);
  FlushWhenFull();
}

void TerminalConsole::EndLine() {
  if (ansi_ && onStatusRow_) {
    onStatusRow_ = false;
    Emit("\x1b" "8");
    position_ = savedPosition_;
  } else {
    Emit("\n");
    position_ = 0;
  }
  FlushWhenFull();
}

void TerminalConsole::SetColour(int foreground, int background) {
  if (!ansi_) return;
  char sequence[32];
  std::snprintf(sequence, sizeof sequence, "\x1b[0;%d;%dm", AnsiColour(foreground),
                AnsiColour(background) + 10);
  Emit(sequence);
}

// The search reads the keyboard every few milliseconds: what was written since
// reaches the screen then.
int TerminalConsole::ReadKey() {
  Flush();
  if (!keyboard_ || inputEnded_) return kNoKey;
  pollfd fd{STDIN_FILENO, POLLIN, 0};
  if (poll(&fd, 1, 0) <= 0 || !(fd.revents & (POLLIN | POLLHUP))) return kNoKey;
  return ReadByte();
}

int TerminalConsole::WaitKey() {
  Flush();
  if (!keyboard_ || inputEnded_) return kNoKey;
  return ReadByte();
}

int TerminalConsole::ReadByte() {
  unsigned char c = 0;
  ssize_t n;
  do {
    n = read(STDIN_FILENO, &c, 1);
  } while (n < 0 && errno == EINTR);
  if (n <= 0) {
    inputEnded_ = true;
    return kNoKey;
  }
  return c;
}

int TerminalConsole::Column() const {
  if (position_ == 0) return 1;
  return (position_ - 1) % kColumns + 2;
}

}  // namespace pfac
