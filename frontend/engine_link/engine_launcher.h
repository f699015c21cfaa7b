// Starting the engine in a terminal window of its own, one at a time, and
// learning when that window has gone.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace pfac::frontend {

// The engine's program file name, beside the front end's.
inline constexpr char kEngineProgram[] = "pfac-engine";

// Which engine to start, the folder it works in (the one that holds DXS.DAT
// and jg.dat), and where the top left corner of its window goes (null: where
// the desktop puts it).
struct EngineStart {
  QString program;
  QString folder;
  QPoint place;
  int pointSize = 0;  // of the terminal's font; 0 for the usual size
};

// The engine as the main window sees it: started on a double-click, brought to
// the front when it is double-clicked again, and told to the window when its
// terminal window has closed.
class EngineRunner {
 public:
  virtual ~EngineRunner() = default;
  // Starts the engine without waiting for it. False, with the reason in
  // *error, when it cannot be started.
  virtual bool Start(const EngineStart& start, QString* error) = 0;
  // True from a start until its window has closed and the engine has ended.
  virtual bool IsRunning() const = 0;
  virtual void BringToFront() = 0;
  // Ends the engine, as closing its window does (it notes in jg.dat that it
  // was stopped), and its window, and returns once both have ended: true
  // then, false when they could not be ended. The end is not reported to
  // SetOnEnded's function.
  virtual bool Stop() = 0;
  // Called once for each start, when the window has closed and the engine
  // has ended (jg.dat is complete then).
  void SetOnEnded(std::function<void()> onEnded) { onEnded_ = std::move(onEnded); }

 protected:
  void Ended() {
    if (onEnded_) onEnded_();
  }

 private:
  std::function<void()> onEnded_;
};

// The engine beside the running front end, working in the current folder.
EngineStart EngineBesideFrontEnd();

// The terminal's arguments: an 80 x 25 window at the place given, UTF-8,
// white on black, a monospace font with a Chinese font for double-width
// characters. The terminal runs the engine through a shell that keeps the
// window open after the engine has ended, so that its last lines can be read,
// and that ends with the engine when the window's × is clicked: one click then
// closes it, whatever the engine is doing.
QStringList TerminalArguments(const QString& engineProgram, const QPoint& place = {}, int pointSize = 0);

// The sizes of the terminal's font, the usual one first, then smaller ones
// for a screen without room for it.
inline constexpr int kTerminalPointSizes[] = {12, 11, 10, 9, 8};

// The size of the terminal's window, frame included when frame margins are
// given: 80 x 25 characters of its font (0: the usual size).
QSize TerminalSize(const QMargins& frame = {}, int pointSize = 0);

// Where the terminal of the size goes beside the window on the screen, and
// where the window goes for that (the top left corners of their frames).
// Right of the window, else left, else below, else above; where none of these
// fits, the window moves aside as little as makes room on its right, else
// below; where the screen cannot hold both, the terminal goes where it covers
// the least of the window.
struct Arrangement {
  QPoint window;
  QPoint terminal;
};
Arrangement ArrangeBeside(const QRect& window, const QRect& screen, const QSize& size);

// The terminal beside the window with the largest font whose window fits
// there (ArrangeBeside, covering nothing of the window); where none fits, with
// the smallest, where it covers the least of `keep` (the input box and the
// result panel), the window moved up to the top of the screen where that
// makes room below them.
struct TerminalPlacement {
  Arrangement arrangement;
  int pointSize;
};
TerminalPlacement PlaceTerminal(const QRect& window, const QRect& screen, const QMargins& frame, const QRect& keep);

// The processes of the engine program at work in the folder (their current
// folder), as the system lists them: the engine a front end started there,
// which goes on after its window has gone until it has closed its files.
std::vector<qint64> EnginesWorkingIn(const QString& program, const QString& folder);

// The engine in a new window of the terminal program (xterm, looked up in
// PATH). Its end is the end of both the window and the engine working in the
// folder: closing the window hangs the engine up, and the engine may still be
// writing jg.dat when the window has gone.
class TerminalEngineRunner : public EngineRunner {
 public:
  explicit TerminalEngineRunner(QString terminal = QStringLiteral("xterm"));
  ~TerminalEngineRunner() override;

  bool Start(const EngineStart& start, QString* error) override;
  bool IsRunning() const override { return pid_ > 0 || waitingForEngine_; }
  void BringToFront() override;
  bool Stop() override;

 private:
  void Watch();
  void TerminalEnded();
  void StopWatching();
  bool EngineWorks() const { return !EnginesWorkingIn(program_, folder_).empty(); }

  QString terminal_;
  QString program_;  // the engine started, and its folder
  QString folder_;
  qint64 pid_ = 0;                // the terminal's; 0 once it has ended
  bool waitingForEngine_ = false;  // the terminal has ended, the engine not yet
  int exitNotice_ = -1;           // readable when the terminal has ended
  QObject* watcher_ = nullptr;    // the notifier or timer that watches it
};

}  // namespace pfac::frontend
