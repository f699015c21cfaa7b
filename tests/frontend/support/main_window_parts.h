// What a test puts around the main window: a working folder of its own,
// scripted message boxes, a printer that writes PDF files there, and an
// engine launcher that only records what it was asked to start.
#pragma once

#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "frontend/PFAC1.h"
#include "frontend/document_printer.h"
#include "frontend/engine_launcher.h"
#include "tests/frontend/support/fakes.h"

namespace pfac::frontend::testing {

struct MainWindowParts {
  WorkFolder folder;
  ScriptedDialogs dialogs;
  DocumentPrinter printer{DocumentPrinter::Target::PdfFile};
  std::vector<EngineStart> starts;  // every engine start asked for
  QString launchError;              // when set, starting the engine fails with it

  std::unique_ptr<PFAC1> MakeMainWindow() {
    return std::make_unique<PFAC1>(dialogs, printer, [this](const EngineStart& start, QString* error) {
      starts.push_back(start);
      *error = launchError;
      return launchError.isEmpty();
    });
  }
};

// Shows a window and waits until it can take clicks.
inline void ShowAndWait(QWidget* window) {
  window->show();
  if (!QTest::qWaitForWindowExposed(window)) qWarning("window %s not exposed", qPrintable(window->objectName()));
}

// Clicks the button of that name in the window.
inline void ClickButton(QWidget* window, const char* name) {
  QPushButton* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
  if (button == nullptr) qFatal("no button %s", name);
  QTest::mouseClick(button, Qt::LeftButton);
}

}  // namespace pfac::frontend::testing
