#include "frontend/engine_link/engine_launcher.h"

#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QMargins>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

namespace pfac::frontend {

namespace {

// The terminal's font: its size in points and its families.
constexpr int kTerminalPointSize = 12;
const char kTerminalFont[] = "DejaVu Sans Mono";
const char kTerminalWideFont[] = "WenQuanYi Micro Hei";
// The screen of the engine.
constexpr int kTerminalColumns = 80;
constexpr int kTerminalRows = 25;
// Room between the main window and the terminal.
constexpr int kGap = 8;

// The shell between the terminal and the engine. While the engine runs it
// ignores the signals that end the engine, so that it waits until the engine
// has finished its files; then it ends at once when the engine was ended by a
// hang-up (the window is closing), and otherwise keeps the window open until
// its × is clicked.
const char kHoldingShell[] =
    "trap '' HUP INT TERM QUIT; \"$0\"; [ $? -eq 129 ] && exit 129; "
    "trap - HUP INT TERM QUIT; exec sleep infinity";

// How often the terminal is looked at where the system cannot tell its end,
// and the engine after its window has gone.
constexpr int kPollMs = 500;
constexpr int kEnginePollMs = 100;
// How long a stopped engine is given to close its files, and then how long
// the system is given to end it.
constexpr int kStopGraceMs = 5000;
constexpr int kKillGraceMs = 2000;

// False once the process has ended (a zombie has ended too).
bool ProcessRuns(qint64 pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return kill(static_cast<pid_t>(pid), 0) == 0;
  const QByteArray line = stat.readAll();
  const qsizetype state = line.lastIndexOf(')') + 2;  // after "pid (name) "
  return state < line.size() && line[state] != 'Z' && line[state] != 'X';
}

// Waits, without taking events, until `done` or the time has passed.
template <typename Done>
bool WaitFor(Done done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    usleep(20000);
  }
  return true;
}

int Overlap(const QRect& a, const QRect& b) {
  const QRect common = a.intersected(b);
  return common.isEmpty() ? 0 : common.width() * common.height();
}

// The top level window of the process (its _NET_WM_PID), raised and made
// active through the window manager, or raised directly where there is none.
void RaiseWindowOfProcess(qint64 pid) {
  auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 == nullptr ? nullptr : x11->connection();
  if (connection == nullptr) return;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  auto atom = [connection](const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, strlen(name), name), nullptr), &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  };
  const xcb_atom_t clientList = atom("_NET_CLIENT_LIST");
  const xcb_atom_t wmPid = atom("_NET_WM_PID");
  const xcb_atom_t activeWindow = atom("_NET_ACTIVE_WINDOW");

  std::vector<xcb_window_t> windows;
  std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> list(
      xcb_get_property_reply(connection,
                             xcb_get_property(connection, 0, root, clientList, XCB_ATOM_WINDOW, 0, 4096),
                             nullptr),
      &free);
  if (list && xcb_get_property_value_length(list.get()) > 0) {
    auto* ids = static_cast<xcb_window_t*>(xcb_get_property_value(list.get()));
    windows.assign(ids, ids + xcb_get_property_value_length(list.get()) / 4);
  } else {
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr), &free);
    if (tree) {
      xcb_window_t* ids = xcb_query_tree_children(tree.get());
      windows.assign(ids, ids + xcb_query_tree_children_length(tree.get()));
    }
  }
  for (xcb_window_t window : windows) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> owner(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, wmPid, XCB_ATOM_CARDINAL, 0, 1),
                               nullptr),
        &free);
    if (!owner || xcb_get_property_value_length(owner.get()) != 4 ||
        *static_cast<uint32_t*>(xcb_get_property_value(owner.get())) != static_cast<uint32_t>(pid)) {
      continue;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = activeWindow;
    message.data.data32[0] = 2;  // asked for by the user's own action
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(connection);
    return;
  }
}

}  // namespace

std::vector<qint64> EnginesWorkingIn(const QString& program, const QString& folder) {
  const QString engine = QFileInfo(program).canonicalFilePath();
  const QString place = QFileInfo(folder).canonicalFilePath();
  std::vector<qint64> engines;
  if (engine.isEmpty() || place.isEmpty()) return engines;
  const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& process : processes) {
    bool number = false;
    const qint64 pid = process.toLongLong(&number);
    if (!number) continue;
    const QString base = QStringLiteral("/proc/") + process;
    if (QFileInfo(base + QStringLiteral("/exe")).symLinkTarget() == engine &&
        QFileInfo(base + QStringLiteral("/cwd")).symLinkTarget() == place && ProcessRuns(pid)) {
      engines.push_back(pid);
    }
  }
  return engines;
}

EngineStart EngineBesideFrontEnd() {
  return {QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kEngineProgram)),
          QDir::currentPath(), QPoint()};
}

QStringList TerminalArguments(const QString& engineProgram, const QPoint& place, int pointSize) {
  QString geometry = QStringLiteral("%1x%2").arg(kTerminalColumns).arg(kTerminalRows);
  if (!place.isNull()) {
    geometry += QStringLiteral("%1%2%3%4")
                    .arg(place.x() < 0 ? "-" : "+").arg(std::abs(place.x()))
                    .arg(place.y() < 0 ? "-" : "+").arg(std::abs(place.y()));
  }
  return {QStringLiteral("-u8"),
          QStringLiteral("-fa"), QString::fromLatin1(kTerminalFont),
          QStringLiteral("-fd"), QString::fromLatin1(kTerminalWideFont),
          QStringLiteral("-fs"), QString::number(pointSize > 0 ? pointSize : kTerminalPointSize),
          QStringLiteral("-geometry"), geometry,
          QStringLiteral("-bg"), QStringLiteral("black"),
          QStringLiteral("-fg"), QStringLiteral("grey"),
          QStringLiteral("-T"), QStringLiteral("因式分解 (pfac-engine)"),
          // -e takes the rest of the line as the command.
          QStringLiteral("-e"), QStringLiteral("/bin/sh"), QStringLiteral("-c"),
          QString::fromLatin1(kHoldingShell), engineProgram};
}

// The terminal sets its font at the display's resolution, at least 96 dots an
// inch, and gives each character a whole cell: the size is rather too large
// than too small, so that a window said to fit does.
QSize TerminalSize(const QMargins& frame, int pointSize) {
  QFont font(QString::fromLatin1(kTerminalFont));
  qreal dpi = 96;
  if (qGuiApp != nullptr && qGuiApp->primaryScreen() != nullptr) {
    dpi = std::max(dpi, qGuiApp->primaryScreen()->logicalDotsPerInchY());
  }
  font.setPixelSize(qRound((pointSize > 0 ? pointSize : kTerminalPointSize) * dpi / 72));
  const QFontMetricsF metrics(font);
  const int cellWidth = static_cast<int>(std::ceil(metrics.horizontalAdvance(QLatin1Char('M'))));
  const int cellHeight = static_cast<int>(std::ceil(metrics.height())) + 1;
  // The terminal's inner border and its window border, 2 pixels each side.
  const int borders = 8;
  return {cellWidth * kTerminalColumns + borders + frame.left() + frame.right(),
          cellHeight * kTerminalRows + borders + frame.top() + frame.bottom()};
}

Arrangement ArrangeBeside(const QRect& window, const QRect& screen, const QSize& size) {
  auto clampInto = [&](int x, int y) {
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - size.width()));
    y = std::max(screen.top(), std::min(y, screen.bottom() + 1 - size.height()));
    return QPoint(x, y);
  };
  auto free = [&](const QPoint& place) { return Overlap(QRect(place, size), window) == 0; };
  const std::array<QPoint, 4> beside{
      clampInto(window.right() + 1 + kGap, window.top()),             // right
      clampInto(window.left() - kGap - size.width(), window.top()),   // left
      clampInto(window.left(), window.bottom() + 1 + kGap),           // below
      clampInto(window.left(), window.top() - kGap - size.height()),  // above
  };
  for (const QPoint& place : beside) {
    if (free(place)) return {window.topLeft(), place};
  }
  if (window.width() + kGap + size.width() <= screen.width()) {
    const QPoint terminal = clampInto(screen.right() + 1 - size.width(), window.top());
    return {QPoint(terminal.x() - kGap - window.width(), window.top()), terminal};
  }
  if (window.height() + kGap + size.height() <= screen.height()) {
    const QPoint terminal = clampInto(window.left(), screen.bottom() + 1 - size.height());
    return {QPoint(window.left(), terminal.y() - kGap - window.height()), terminal};
  }
  QPoint best = beside[0];
  for (const QPoint& place : beside) {
    if (Overlap(QRect(place, size), window) < Overlap(QRect(best, size), window)) best = place;
  }
  return {window.topLeft(), best};
}

TerminalPlacement PlaceTerminal(const QRect& window, const QRect& screen, const QMargins& frame, const QRect& keep) {
  for (int pointSize : kTerminalPointSizes) {
    const QSize size = TerminalSize(frame, pointSize);
    const Arrangement arrangement = ArrangeBeside(window, screen, size);
    if (Overlap(QRect(arrangement.terminal, size), QRect(arrangement.window, window.size())) == 0) {
      return {arrangement, pointSize};
    }
  }
  // The smallest font, in a corner or at an edge of the screen, the window
  // where it stands or moved up to the top of the screen: the place that
  // covers least of the box and the result, then least of the window, the
  // window left where it stands when that is as good.
  const int smallest = std::end(kTerminalPointSizes)[-1];
  const QSize size = TerminalSize(frame, smallest);
  const QPoint far(screen.right() + 1 - size.width(), screen.bottom() + 1 - size.height());
  struct Choice {
    std::tuple<int, int, bool> cost;
    Arrangement arrangement;
  };
  std::optional<Choice> best;
  for (const QPoint& windowPlace : {window.topLeft(), QPoint(window.left(), screen.top())}) {
    const QPoint shift = windowPlace - window.topLeft();
    const QRect moved = window.translated(shift);
    const std::array<QPoint, 6> places{
        QPoint(far.x(), moved.top()),        // the right edge
        QPoint(screen.left(), moved.top()),  // the left edge
        far,                                 // the corners below
        QPoint(screen.left(), far.y()),
        QPoint(far.x(), screen.top()),       // the corners above
        screen.topLeft(),
    };
    for (const QPoint& place : places) {
      const QRect terminal(place, size);
      const Choice choice{{Overlap(terminal, keep.translated(shift)), Overlap(terminal, moved), !shift.isNull()},
                          {windowPlace, place}};
      if (!best || choice.cost < best->cost) best = choice;
    }
  }
  return {best->arrangement, smallest};
}

TerminalEngineRunner::TerminalEngineRunner(QString terminal) : terminal_(std::move(terminal)) {}

TerminalEngineRunner::~TerminalEngineRunner() { StopWatching(); }

void TerminalEngineRunner::StopWatching() {
  if (auto* notifier = qobject_cast<QSocketNotifier*>(watcher_)) notifier->setEnabled(false);
  if (watcher_ != nullptr) watcher_->deleteLater();
  watcher_ = nullptr;
  if (exitNotice_ >= 0) close(exitNotice_);
  exitNotice_ = -1;
}

bool TerminalEngineRunner::Start(const EngineStart& start, QString* error) {
  const QFileInfo engine(start.program);
  if (!engine.isFile() || !engine.isExecutable()) {
    *error = QStringLiteral("找不到分解程序 %1。\n(The engine %1 was not found.)").arg(start.program);
    return false;
  }
  const QString terminalPath = QStandardPaths::findExecutable(terminal_);
  if (terminalPath.isEmpty()) {
    *error = QStringLiteral("找不到终端程序 %1，无法启动分解程序。\n"
                            "(The terminal program %1 was not found; the engine cannot be started.)")
                 .arg(terminal_);
    return false;
  }
  qint64 pid = 0;
  if (!QProcess::startDetached(terminalPath, TerminalArguments(start.program, start.place, start.pointSize),
                               start.folder, &pid)) {
    *error = QStringLiteral("无法启动终端程序 %1。\n(The terminal program %1 could not be started.)")
                 .arg(terminalPath);
    return false;
  }
  pid_ = pid;
  program_ = start.program;
  folder_ = start.folder;
  waitingForEngine_ = false;
  Watch();
  return true;
}

// The terminal is no child of the front end (it goes on when the front end
// ends): its end is seen through a process descriptor, or by looking at it
// now and then where the system has none.
void TerminalEngineRunner::Watch() {
  StopWatching();
  exitNotice_ = static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid_), 0));
  if (exitNotice_ >= 0) {
    auto* notifier = new QSocketNotifier(exitNotice_, QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [this] { TerminalEnded(); });
    watcher_ = notifier;
    return;
  }
  auto* timer = new QTimer;
  timer->setInterval(kPollMs);
  QObject::connect(timer, &QTimer::timeout, [this] {
    if (!ProcessRuns(pid_)) TerminalEnded();
  });
  timer->start();
  watcher_ = timer;
}

// The window has gone; the engine, hung up, may still be closing its files:
// the run ends when it has.
void TerminalEngineRunner::TerminalEnded() {
  StopWatching();
  pid_ = 0;
  if (!EngineWorks()) {
    Ended();
    return;
  }
  waitingForEngine_ = true;
  auto* timer = new QTimer;
  timer->setInterval(kEnginePollMs);
  QObject::connect(timer, &QTimer::timeout, [this] {
    if (EngineWorks()) return;
    StopWatching();
    waitingForEngine_ = false;
    Ended();
  });
  timer->start();
  watcher_ = timer;
}

// The engine is hung up as when its window's × is clicked, so that it notes
// in jg.dat that it was stopped; once it has ended, its window is closed.
// What does not end in time is killed.
bool TerminalEngineRunner::Stop() {
  if (!IsRunning()) return true;
  auto windowGone = [this] { return pid_ == 0 || !ProcessRuns(pid_); };
  auto ended = [&] { return windowGone() && !EngineWorks(); };
  auto signalAll = [this](int engineSignal, int windowSignal) {
    for (qint64 engine : EnginesWorkingIn(program_, folder_)) kill(static_cast<pid_t>(engine), engineSignal);
    if (pid_ > 0) kill(static_cast<pid_t>(pid_), windowSignal);
  };
  for (qint64 engine : EnginesWorkingIn(program_, folder_)) kill(static_cast<pid_t>(engine), SIGHUP);
  WaitFor([this] { return !EngineWorks(); }, kStopGraceMs);
  if (pid_ > 0) kill(static_cast<pid_t>(pid_), SIGTERM);
  if (!WaitFor(ended, kStopGraceMs)) {
    signalAll(SIGKILL, SIGKILL);
    if (!WaitFor(ended, kKillGraceMs)) return false;
  }
  StopWatching();
  pid_ = 0;
  waitingForEngine_ = false;
  return true;
}

void TerminalEngineRunner::BringToFront() {
  if (IsRunning()) RaiseWindowOfProcess(pid_);
}

}  // namespace pfac::frontend
