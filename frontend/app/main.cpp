// pfac: the desktop front end. Takes a polynomial, hands it to the engine in
// DXS.DAT, starts the engine in a terminal window, shows its result jg.dat
// and prints it. One front end works in a folder at a time.
//   pfac --worksheet [--steps] LIST.txt OUT.pdf   a worksheet without any window
//   pfac --explain POLYNOMIAL                     the steps of its factorisation
//   pfac --factor [OPTIONS] [POLY ...]            the filter for scripts, without Qt
#include <QApplication>
#include <QDir>

#include "frontend/app/command_line.h"
#include "frontend/app/folder_lock.h"
#include "frontend/app/translations.h"
#include "frontend/app/work_folder.h"
#include "frontend/filter/factor_filter.h"
#include "frontend/engine_link/engine_launcher.h"
#include "frontend/printing/document_printer.h"
#include "frontend/windows/main_window.h"
#include "frontend/windows/message_box_dialogs.h"
#include "frontend/windows/start_picture.h"
#include "frontend/windows/start_window.h"

int main(int argc, char* argv[]) {
  using namespace pfac::frontend;
  // The filter makes no Qt application: it runs anywhere a script does.
  if (argc > 1 && qstrcmp(argv[1], kFactorOption) == 0) return RunFactorCommand({argv + 2, argv + argc});
  const bool worksheet = argc > 1 && qstrcmp(argv[1], kWorksheetOption) == 0;
  const bool explain = argc > 1 && qstrcmp(argv[1], kExplainOption) == 0;
  // The commands show no window and need no display.
  if (worksheet || explain) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pfac"));
  if (worksheet) return RunWorksheetCommand(QApplication::arguments().mid(2));
  if (explain) return RunExplainCommand(QApplication::arguments().mid(2));

  QApplication::setDesktopFileName(QStringLiteral("pfac"));
  QApplication::setWindowIcon(AppIcon());
  QFont font = QApplication::font();
  font.setPointSizeF(10.5);  // Chinese captions are hard to read at the usual 9 points
  QApplication::setFont(font);
  InstallChineseTranslations();

  MessageBoxDialogs dialogs;
  QString error;
  if (!EnterWorkFolder(&error)) {
    dialogs.Tell(error.toStdString(), kNoticeCaption);
    return 1;
  }
  FolderLock lock(QDir::currentPath());
  std::string held;
  if (!lock.Take(&held)) {
    std::fprintf(stderr, "%s\n", held.c_str());
    dialogs.Tell(held, kNoticeCaption);
    return 1;
  }
  DocumentPrinter printer;
  TerminalEngineRunner runner;
  baozhForm start([&] { return std::make_unique<PFAC1>(dialogs, printer, runner); });
  start.show();
  return app.exec();
}
