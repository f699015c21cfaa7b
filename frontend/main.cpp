// pfac: the desktop front end. Takes a polynomial, hands it to the engine in
// DXS.DAT, starts the engine in a terminal window and prints its result jg.dat.
#include <QApplication>

#include "frontend/PFAC1.h"
#include "frontend/baozhForm.h"
#include "frontend/document_printer.h"
#include "frontend/engine_launcher.h"
#include "frontend/toolkit.h"

int main(int argc, char* argv[]) {
  using namespace pfac::frontend;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pfac"));
  QFont font = QApplication::font();
  font.setPointSizeF(10.5);  // Chinese captions are hard to read at the usual 9 points
  QApplication::setFont(font);

  MessageBoxDialogs dialogs;
  DocumentPrinter printer;
  auto launcher = [](const EngineStart& start, QString* error) {
    return StartEngineInTerminal(start, error);
  };
  baozhForm start([&] { return std::make_unique<PFAC1>(dialogs, printer, launcher); });
  start.show();
  return app.exec();
}
