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
  // True from a start until its window has closed.
  virtual bool IsRunning() const = 0;
  virtual void BringToFront() = 0;
  // Called once for each start, when the window has closed (the engine has
  // ended then, and jg.dat is complete).
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
QStringList TerminalArguments(const QString& engineProgram, const QPoint& place = {});

// The size of the terminal's window, frame included when frame margins are
// given: 80 x 25 characters of its font.
QSize TerminalSize(const QMargins& frame = {});

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

// The engine in a new window of the terminal program (xterm, looked up in
// PATH), independent of the front end: it goes on when the front end ends.
class TerminalEngineRunner : public EngineRunner {
 public:
  explicit TerminalEngineRunner(QString terminal = QStringLiteral("xterm"));
  ~TerminalEngineRunner() override;

  bool Start(const EngineStart& start, QString* error) override;
  bool IsRunning() const override { return pid_ > 0; }
  void BringToFront() override;

 private:
  void Watch();
  void TerminalEnded();

  QString terminal_;
  qint64 pid_ = 0;
  int exitNotice_ = -1;              // readable when the terminal has ended
  QObject* watcher_ = nullptr;  // the notifier or timer that watches it
};

}  // namespace pfac::frontend
