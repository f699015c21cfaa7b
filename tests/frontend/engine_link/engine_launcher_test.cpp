// The engine's terminal: what the real launcher refuses before it starts
// anything, the terminal's arguments, and where its window goes beside the
// main window.
#include <QCoreApplication>
#include <QTest>

#include "frontend/engine_link/engine_launcher.h"
#include "tests/frontend/support/fakes.h"

namespace pfac::frontend {
namespace {

using testing::WorkFolder;

class EngineLauncherTest : public QObject {
  Q_OBJECT

 private slots:
  void terminalLauncherRefusesWhatIsMissing();
  void terminalGoesBesideTheWindow_data();
  void terminalGoesBesideTheWindow();
  void smallScreenTerminalCoversNeitherBoxNorResult();
};

// The real launcher, only in cases where it must refuse before starting anything.
void EngineLauncherTest::terminalLauncherRefusesWhatIsMissing() {
  WorkFolder folder;
  QString error;
  TerminalEngineRunner runner;
  QVERIFY(!runner.Start({folder.Path() + "/pfac-engine", folder.Path(), {}}, &error));
  QVERIFY2(error.contains(folder.Path() + "/pfac-engine"), qPrintable(error));

  // An engine that exists (this test program stands in) but no terminal.
  error.clear();
  TerminalEngineRunner noTerminal("pfac-no-such-terminal");
  QVERIFY(!noTerminal.Start({QCoreApplication::applicationFilePath(), folder.Path(), {}}, &error));
  QVERIFY2(error.contains("pfac-no-such-terminal"), qPrintable(error));
  QVERIFY(!noTerminal.IsRunning());

  // The terminal runs the engine last, through the shell that holds the
  // window, 80 x 25 at the place given, in UTF-8, and without -hold (which
  // would take a second click on its ×).
  const QStringList arguments = TerminalArguments("/opt/pfac/pfac-engine", QPoint(900, 40));
  QCOMPARE(arguments.last(), QString("/opt/pfac/pfac-engine"));
  QCOMPARE(arguments.at(arguments.indexOf("-e") + 1), QString("/bin/sh"));
  QVERIFY(arguments.contains("-u8"));
  QVERIFY(!arguments.contains("-hold"));
  QCOMPARE(arguments.at(arguments.indexOf("-geometry") + 1), QString("80x25+900+40"));
  QCOMPARE(TerminalArguments("e").at(TerminalArguments("e").indexOf("-geometry") + 1), QString("80x25"));
}

// Finding: the engine's window opened over the main window's buttons. Right
// of the window, else left, below, above; else the window moves aside; else
// the terminal covers the least of it. The terminal here is 800 x 500.
void EngineLauncherTest::terminalGoesBesideTheWindow_data() {
  QTest::addColumn<QRect>("window");
  QTest::addColumn<QRect>("screen");
  QTest::addColumn<QPoint>("windowPlace");
  QTest::addColumn<QPoint>("terminalPlace");
  QTest::newRow("right") << QRect(50, 40, 900, 600) << QRect(0, 0, 1920, 1080) << QPoint(50, 40) << QPoint(958, 40);
  QTest::newRow("left") << QRect(1000, 100, 900, 600) << QRect(0, 0, 1920, 1080) << QPoint(1000, 100)
                        << QPoint(192, 100);
  QTest::newRow("below") << QRect(400, 0, 900, 400) << QRect(0, 0, 1280, 1024) << QPoint(400, 0) << QPoint(400, 408);
  QTest::newRow("window moves left") << QRect(560, 300, 800, 440) << QRect(0, 0, 1920, 1080) << QPoint(312, 300)
                                     << QPoint(1120, 300);
  QTest::newRow("window moves up") << QRect(300, 300, 1000, 400) << QRect(0, 0, 1280, 1024) << QPoint(300, 116)
                                   << QPoint(300, 524);
  QTest::newRow("least overlap") << QRect(100, 100, 1000, 700) << QRect(0, 0, 1280, 900) << QPoint(100, 100)
                                 << QPoint(480, 100);
}

void EngineLauncherTest::terminalGoesBesideTheWindow() {
  QFETCH(QRect, window);
  QFETCH(QRect, screen);
  QFETCH(QPoint, windowPlace);
  QFETCH(QPoint, terminalPlace);
  const Arrangement arrangement = ArrangeBeside(window, screen, QSize(800, 500));
  QCOMPARE(arrangement.window, windowPlace);
  QCOMPARE(arrangement.terminal, terminalPlace);
}

// Finding: on a 1366 x 768 screen the engine's window opened over the main
// window's input box and result. It goes beside with a smaller font; where
// even the smallest does not fit, it covers neither of them.
void EngineLauncherTest::smallScreenTerminalCoversNeitherBoxNorResult() {
  const QMargins frame(1, 20, 1, 1);
  const QRect window(314, 93, 742, 658);
  const QRect keep(330, 130, 710, 280);  // the input box down to the result panel
  const TerminalPlacement beside = PlaceTerminal(window, QRect(0, 0, 1366, 768), frame, keep);
  const QSize size = TerminalSize(frame, beside.pointSize);
  QVERIFY(beside.pointSize < kTerminalPointSizes[0]);
  QVERIFY(!QRect(beside.arrangement.terminal, size).intersects(QRect(beside.arrangement.window, window.size())));
  QVERIFY(QRect(0, 0, 1366, 768).contains(QRect(beside.arrangement.terminal, size)));

  // 1280 x 720, the window where the window manager put it: it moves up, and
  // the terminal goes below the box and the result.
  const QRect centred(270, 49, 742, 658);
  const QRect keepThere(286, 106, 710, 280);
  const TerminalPlacement over = PlaceTerminal(centred, QRect(0, 0, 1280, 720), frame, keepThere);
  QCOMPARE(over.pointSize, std::end(kTerminalPointSizes)[-1]);
  const QPoint shift = over.arrangement.window - centred.topLeft();
  QVERIFY(!QRect(over.arrangement.terminal, TerminalSize(frame, over.pointSize)).intersects(keepThere.translated(shift)));
  QVERIFY(QRect(0, 0, 1280, 720).contains(QRect(over.arrangement.terminal, TerminalSize(frame, over.pointSize))));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::EngineLauncherTest)
#include "engine_launcher_test.moc"
