// What a test puts around the main window: a working folder of its own,
// scripted message boxes, a printer that writes PDF files there, and an
// engine runner that records what it was asked to do; a test ends the run
// (closes the engine's window) when it likes.
#pragma once

#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "frontend/engine_link/engine_launcher.h"
#include "frontend/printing/document_printer.h"
#include "frontend/windows/broken_lines_label.h"
#include "frontend/windows/engine_box.h"
#include "frontend/windows/main_window.h"
#include "tests/frontend/support/fakes.h"
#include "tests/frontend/support/result_files.h"

namespace pfac::frontend::testing {

class FakeEngineRunner : public EngineRunner {
 public:
  bool Start(const EngineStart& start, QString* error) override {
    starts.push_back(start);
    *error = launchError;
    if (!launchError.isEmpty()) return false;
    running = true;
    if (onStart) onStart(start);
    return true;
  }
  bool IsRunning() const override { return running; }
  void BringToFront() override { ++broughtToFront; }
  bool Stop() override {
    ++stops;
    if (refuseStop) return false;
    running = false;
    return true;
  }
  // The engine's window closes.
  void End() {
    running = false;
    Ended();
  }

  std::vector<EngineStart> starts;  // every engine start asked for
  QString launchError;              // when set, starting the engine fails with it
  std::function<void(const EngineStart&)> onStart;  // what the engine does in its folder
  bool running = false;
  int broughtToFront = 0;
  int stops = 0;
  bool refuseStop = false;  // when set, the engine does not stop
};

// The real engine on what DXS.DAT holds in the folder it was started in.
inline void RunRealEngine(const EngineStart& start) { RunEngineIn(start.folder); }

struct MainWindowParts {
  WorkFolder folder;
  ScriptedDialogs dialogs;
  DocumentPrinter printer{DocumentPrinter::Target::PdfFile};
  FakeEngineRunner runner;

  std::unique_ptr<PFAC1> MakeMainWindow() { return std::make_unique<PFAC1>(dialogs, printer, runner); }
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
