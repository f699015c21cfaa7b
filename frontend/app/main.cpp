// pfac: the desktop front end. Takes a polynomial, hands it to the engine in
// DXS.DAT, starts the engine in a terminal window, shows its result jg.dat
// and prints it. One front end works in a folder at a time. The command
// line's modes (pfac --help) run without any window.
#include <xcb/xcb.h>

#include <QApplication>
#include <QDir>

#include "frontend/app/command_line.h"
#include "frontend/app/folder_lock.h"
#include "frontend/app/translations.h"
#include "frontend/app/work_folder.h"
#include "frontend/engine_link/engine_launcher.h"
#include "frontend/printing/document_printer.h"
#include "frontend/windows/focus_marks.h"
#include "frontend/windows/main_window.h"
#include "frontend/windows/message_box_dialogs.h"
#include "frontend/windows/start_picture.h"
#include "frontend/windows/start_window.h"

namespace {

constexpr char kNoDisplay[] =
    "pfac 的窗口需要图形显示, 这里没有。(命令行用法见 pfac --help。)\n"
    "(pfac's windows need a graphical display, and there is none here; see pfac --help for the command line.)";

// Whether the windows can be seen: a platform named in QT_QPA_PLATFORM that
// draws on a screen, or an X display that answers, or a Wayland one. Where
// none can, Qt's offscreen platform is chosen, so that the program can still
// say why it ends instead of aborting in Qt.
bool ChooseDisplay() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty()) return !platform.startsWith("offscreen") && !platform.startsWith("minimal");
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return true;
  if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (answers) return true;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace pfac::frontend;
  if (const std::optional<int> status = RunCommandLine(argc, argv)) return *status;

  const bool display = ChooseDisplay();
  KeepQtDiagnosticsQuiet();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pfac"));
  QApplication::setDesktopFileName(QStringLiteral("pfac"));
  QApplication::setWindowIcon(AppIcon());
  QFont font = QApplication::font();
  font.setPointSizeF(10.5);  // Chinese captions are hard to read at the usual 9 points
  QApplication::setFont(font);
  InstallChineseTranslations();
  InstallFocusMarks();

  // What ends the program before its windows is said on standard error, and
  // in a message box where there is a display to show it.
  MessageBoxDialogs dialogs;
  auto refuse = [&](const QString& why) {
    Say(stderr, why);
    if (display) dialogs.Tell(why.toStdString(), kNoticeCaption);
    return 1;
  };
  QString error;
  if (!EnterWorkFolder(&error)) return refuse(error);
  FolderLock lock(QDir::currentPath());
  std::string held;
  if (!lock.Take(&held)) return refuse(QString::fromStdString(held));
  if (!display) return refuse(QString::fromUtf8(kNoDisplay));
  DocumentPrinter printer;
  TerminalEngineRunner runner;
  baozhForm start([&] { return std::make_unique<PFAC1>(dialogs, printer, runner); });
  start.show();
  return app.exec();
}
