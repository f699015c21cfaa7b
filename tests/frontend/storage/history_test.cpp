// The folder's history of results: added, shown again, printed, kept across a
// restart, a damaged file set aside.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "frontend/printing/page_layout.h"
#include "frontend/results/result_steps.h"
#include "frontend/storage/history.h"
#include "frontend/windows/main_window.h"
#include "tests/frontend/support/main_window_parts.h"
#include "tests/frontend/support/pdf_text.h"

namespace pfac::frontend {
namespace {

using testing::WorkFolder;

// The main window in a folder of its own, the real engine run when the engine
// box is double-clicked; the window can be closed and opened again there.
struct Fixture : testing::MainWindowParts {
  std::unique_ptr<PFAC1> window;

  Fixture() {
    runner.onStart = testing::RunRealEngine;
    Open();
  }
  void Open() {
    window = MakeMainWindow();
    testing::ShowAndWait(window.get());
  }

  QLineEdit* Text2() const { return window->findChild<QLineEdit*>("Text2"); }
  QListWidget* List() const { return window->findChild<QListWidget*>("History"); }
  QStringList Listed() const {
    QStringList items;
    for (int row = 0; row < List()->count(); ++row) items << List()->item(row)->text();
    return items;
  }
  QString Shown() const { return window->findChild<QLabel*>("ResultText")->text().remove('\n'); }
  QString Steps() const { return window->findChild<QLabel*>("StepsText")->text().replace('\n', ' '); }
  void Click(const char* button) { testing::ClickButton(window.get(), button); }
  void ClickEntry(int row) {
    QListWidgetItem* item = List()->item(row);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualItemRect(item).center());
  }
  // Typed, submitted, factored; the engine's window closed.
  void Factor(const QString& typed) {
    Text2()->setText(typed);
    Click("CmdWANCHANG");
    QTest::mouseDClick(window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
    runner.End();
    Click("Cmdshuru");
  }
};

const QString kSquares = QStringLiteral("x² - 1 = (x - 1)(x + 1)");
const QString kCourse = QStringLiteral("x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)");

class HistoryTest : public QObject {
  Q_OBJECT

 private slots:
  void resultsAddedShownAgainAndKept();
  void entryPrintedAloneMarkedFromTheHistory();
  void entryClickedWhileTheEngineRuns();
  void lastTwoHundredKept();
  void typedTextKept();
  void earlierEntryWithoutAnAnswerDropped();
  void damagedFileSetAside();
  void bestAnswerKept_data();
  void bestAnswerKept();
  void stoppedRunSaidInWords();
  void longHistoryKeepsTheWindowsSize();
};

void HistoryTest::resultsAddedShownAgainAndKept() {
  Fixture f;
  f.Factor("x^2-1");
  f.Factor("x^3-6x^2+4x+15");
  f.Factor(QStringLiteral("x²－1"));  // the same polynomial again: one entry, now the newest
  QCOMPARE(f.Listed(), (QStringList{kSquares, kCourse}));
  QVERIFY(f.folder.Exists(kHistoryFile));

  // Clicked: the polynomial back in the box, editable; its result in the
  // panel; the engine not run again, its box inactive.
  f.ClickEntry(1);
  QCOMPARE(f.Text2()->text(), QString("x^3-6x^2+4x+15"));
  QVERIFY(!f.Text2()->isReadOnly());
  QCOMPARE(f.Shown(), kCourse);
  QCOMPARE(f.runner.starts.size(), size_t{3});
  QVERIFY(!f.window->findChild<EngineBox*>("OLE1")->IsActive());
  QVERIFY(f.window->findChild<QPushButton*>("cmddayin")->isEnabled());
  // Finding: the focus stayed in the list with 输入多项式 greyed out.
  QTRY_COMPARE(f.window->focusWidget(), f.Text2());
  QVERIFY(f.window->findChild<QPushButton*>("Cmdshuru")->isEnabled());

  // Edited, the text is no longer the entry's: its result goes.
  QTest::keyClick(f.Text2(), Qt::Key_End);
  QTest::keyClicks(f.Text2(), "+x");
  QCOMPARE(f.Shown(), QString());
  QVERIFY(!f.window->findChild<QPushButton*>("cmddayin")->isEnabled());

  // A run cut off before its first result line neither adds a blank line
  // nor takes the place of the earlier answer.
  f.runner.onStart = [&f](const EngineStart&) { f.folder.Write("jg.dat", "x^ 3- 6 x^ 2+ 4 x+ 15 \r\n"); };
  f.Factor("x^3-6x^2+4x+15");
  QCOMPARE(f.Listed(), (QStringList{kSquares, kCourse}));
  f.runner.onStart = testing::RunRealEngine;

  // Closed and opened again in the folder: the same history.
  f.window.reset();
  f.Open();
  QCOMPARE(f.Listed(), (QStringList{kSquares, kCourse}));
  f.ClickEntry(0);
  QCOMPARE(f.Text2()->text(), QString("x^2-1"));
  QCOMPARE(f.Shown(), kSquares);
  QVERIFY2(f.Steps().startsWith(QStringLiteral("1. 公式法 / formulas: = (x - 1)(x + 1)")), qPrintable(f.Steps()));
  QVERIFY(f.dialogs.shown.empty());
}

// An entry keeps what was typed and shows it on the left after a restart;
// an entry of an earlier version, which kept only the text the engine was
// given, is shown as it is.
void HistoryTest::typedTextKept() {
  Fixture f;
  f.Factor("(x+1)^2-4");
  const QString typed = QStringLiteral("(x + 1)² - 4 = (x - 1)(x + 3)");
  QCOMPARE(f.Listed(), QStringList{typed});
  f.window.reset();
  f.Open();
  QCOMPARE(f.Listed(), QStringList{typed});
  f.ClickEntry(0);
  QCOMPARE(f.Shown(), typed);

  f.window.reset();
  QJsonObject root = QJsonDocument::fromJson(f.folder.Read(kHistoryFile)).object();
  QJsonArray entries = root.value("entries").toArray();
  QJsonObject entry = entries.at(0).toObject();
  QVERIFY(entry.contains("typed"));
  entry.remove("typed");
  entries.replace(0, entry);
  root.insert("entries", entries);
  f.folder.Write(kHistoryFile, QJsonDocument(root).toJson());
  f.Open();
  QCOMPARE(f.Listed(), QStringList{QStringLiteral("x² + 2x - 3 = (x - 1)(x + 3)")});
  QVERIFY(f.dialogs.shown.empty());
}

// "打印" after a click on an entry prints that result alone, without the
// working, which is not kept.
void HistoryTest::entryPrintedAloneMarkedFromTheHistory() {
  Fixture f;
  f.Factor("x^3-6x^2+4x+15");
  f.ClickEntry(0);
  f.dialogs.Answer({true});
  f.Click("cmddayin");
  QVERIFY(f.dialogs.AllAnswered());
  const QStringList text = testing::PdfText(f.folder, "jg-1.pdf");
  QVERIFY2(text.contains(QStringLiteral("x³ − 6x² + 4x + 15 = (x − 3)(x² − 3x − 5)")), qPrintable(text.join('\n')));
  QVERIFY2(text.contains(QString::fromUtf8(kPrintedFromHistory)), qPrintable(text.join('\n')));
  QVERIFY(!text.join('\n').contains(QString::fromUtf8(kWorkingHeading)));
  QVERIFY(text.contains(QString::fromUtf8(kStepsHeading)));
}

// The run's result goes into the history under its own polynomial; the panel
// keeps the entry that was clicked meanwhile.
void HistoryTest::entryClickedWhileTheEngineRuns() {
  Fixture f;
  f.Factor("x^2-1");
  f.Text2()->setText("x^2-4");
  f.Click("CmdWANCHANG");
  QTest::mouseDClick(f.window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
  f.ClickEntry(0);
  f.runner.End();
  QCOMPARE(f.Listed(), (QStringList{QStringLiteral("x² - 4 = (x - 2)(x + 2)"), kSquares}));
  QCOMPARE(f.Text2()->text(), QString("x^2-1"));
  QCOMPARE(f.Shown(), kSquares);
}

void HistoryTest::lastTwoHundredKept() {
  WorkFolder folder;
  History history;
  std::string notice;
  history.Load(folder.Path(), &notice);
  for (int i = 1; i <= 205; ++i) {
    RunResult result;
    result.source.polynomial = "x-" + std::to_string(i);
    result.source.factorisation = "x - " + std::to_string(i);
    QVERIFY(history.Add("x-" + std::to_string(i), result));
  }
  History again;
  again.Load(folder.Path(), &notice);
  QCOMPARE(again.Entries().size(), kHistoryLimit);
  QCOMPARE(again.Entries().front().text, std::string("x-6"));
  QCOMPARE(again.Entries().back().text, std::string("x-205"));
  QVERIFY(notice.empty());
}

// An earlier version kept runs that gave no factorisation: such an entry is
// not listed, and the rest of the file is read.
void HistoryTest::earlierEntryWithoutAnAnswerDropped() {
  WorkFolder folder;
  folder.Write(kHistoryFile,
               R"json({"pfac history": 1, "entries": [)json"
               R"json({"text": "x^2-9", "polynomial": "x^ 2- 9 ", "factorisation": "", "complete": false,)json"
               R"json( "end": "incomplete", "notes": []},)json"
               R"json({"text": "x^2-1", "polynomial": "x^ 2- 1 ", "factorisation": "(x - 1)(x + 1)",)json"
               R"json( "complete": true, "end": "certified", "notes": []}]})json");
  History history;
  std::string notice;
  history.Load(folder.Path(), &notice);
  QVERIFY(notice.empty());
  QCOMPARE(history.Entries().size(), size_t{1});
  QCOMPARE(history.Entries().front().text, std::string("x^2-1"));
}

// A history file that cannot be read is renamed, its bytes kept, and told;
// the history begins anew.
void HistoryTest::damagedFileSetAside() {
  testing::MainWindowParts parts;
  parts.runner.onStart = testing::RunRealEngine;
  const QByteArray damaged = "{\"pfac history\": 1, \"entries\": [{\"text\": ";
  parts.folder.Write(kHistoryFile, damaged);
  parts.folder.Write("pfac-history-damaged-1.json", "an earlier one");
  std::unique_ptr<PFAC1> window = parts.MakeMainWindow();
  testing::ShowAndWait(window.get());
  QCOMPARE(parts.dialogs.Messages().size(), size_t{1});
  QVERIFY2(QString::fromStdString(parts.dialogs.Messages()[0]).contains("pfac-history-damaged-2.json"),
           parts.dialogs.Messages()[0].c_str());
  QCOMPARE(parts.folder.Read("pfac-history-damaged-2.json"), damaged);
  QCOMPARE(parts.folder.Read("pfac-history-damaged-1.json"), QByteArray("an earlier one"));
  QCOMPARE(window->findChild<QListWidget*>("History")->count(), 0);

  window->findChild<QLineEdit*>("Text2")->setText("x^2-1");
  testing::ClickButton(window.get(), "CmdWANCHANG");
  QTest::mouseDClick(window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
  parts.runner.End();
  QCOMPARE(window->findChild<QListWidget*>("History")->count(), 1);
  History reread;
  std::string notice;
  reread.Load(parts.folder.Path(), &notice);
  QCOMPARE(reread.Entries().size(), size_t{1});
  QVERIFY(notice.empty());
}

// The results of x^32y^32-1296, one after another, as the history keeps them:
// "c" certified, "t" stopped by the time limit after a split, "x" stopped by
// the X key before any split ("P = (P)"). Typed twice, in two ways.
const QByteArray kCertified32 =
    "x^ 32y^ 32- 1296 \r\n=(x^ 32y^ 32- 1296)\r\n=(x^ 8y^ 8- 6)(x^ 8y^ 8+ 6)(x^ 16y^ 16+ 36)\r\n" +
    testing::kCompleteCertificate;
const QByteArray kStoppedBeforeSplit32 = "x^ 32y^ 32- 1296 \r\n=(x^ 32y^ 32- 1296)\r\n=....\r\n";

void HistoryTest::bestAnswerKept_data() {
  QTest::addColumn<QString>("runs");
  QTest::addColumn<QString>("kept");  // the end of the one entry kept; "-" for none
  QTest::newRow("certified stays") << "ct" << "certified";
  QTest::newRow("certified replaces") << "tc" << "certified";
  QTest::newRow("certified stays after X") << "cx" << "certified";
  QTest::newRow("stopped after a split kept") << "t" << "incomplete";
  QTest::newRow("stopped before any split not kept") << "x" << "-";
  QTest::newRow("no answer keeps the earlier one") << "tx" << "incomplete";
}

void HistoryTest::bestAnswerKept() {
  QFETCH(QString, runs);
  QFETCH(QString, kept);
  WorkFolder folder;
  History history;
  std::string notice;
  history.Load(folder.Path(), &notice);
  int typing = 0;
  for (QChar run : runs) {
    const QByteArray file = run == 'c'   ? kCertified32
                            : run == 't' ? testing::DataFile("stopped-by-time-limit.dat")
                                         : kStoppedBeforeSplit32;
    QVERIFY(history.Add(++typing % 2 ? "x32y32-1296" : "x^32 y^32 - 1296", ReadRunResult(testing::ResultLines(file))));
  }
  History reread;
  reread.Load(folder.Path(), &notice);
  if (kept == "-") {
    QVERIFY(reread.Entries().empty());
    return;
  }
  QCOMPARE(reread.Entries().size(), size_t{1});
  QCOMPARE(reread.Entries()[0].end, kept == "certified" ? RunEnd::Certified : RunEnd::Incomplete);
}

// Finding: a run stopped with the X key showed "P = (P)", which reads as an
// answer, and replaced the certified entry; the panel says it in words now,
// an unfinished entry is marked, and the certified one stays.
void HistoryTest::stoppedRunSaidInWords() {
  Fixture f;
  f.runner.onStart = [](const EngineStart& start) {
    QFile file(QDir(start.folder).filePath("jg.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kStoppedBeforeSplit32);
  };
  f.Text2()->setText("x32y32-1296");
  f.Click("CmdWANCHANG");
  QTest::mouseDClick(f.window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
  f.runner.End();
  QCOMPARE(f.Shown().remove(' '), QString::fromUtf8(kStoppedWithoutAnswer).remove(' '));
  QVERIFY(!f.window->findChild<QPushButton*>("Cmdfuzhi")->isEnabled());
  QCOMPARE(f.List()->count(), 0);

  f.runner.onStart = [](const EngineStart& start) {
    QFile file(QDir(start.folder).filePath("jg.dat"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(testing::DataFile("stopped-by-time-limit.dat"));
  };
  f.Click("Cmdshuru");
  f.Click("CmdWANCHANG");
  QTest::mouseDClick(f.window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
  f.runner.End();
  QCOMPARE(f.List()->count(), 1);
  QVERIFY2(f.Listed()[0].endsWith(QString::fromUtf8(kNotFinishedMark)), qPrintable(f.Listed()[0]));
}

// Finding: a history long enough for a scroll bar made the window taller. A
// window over twelve long entries has the size of one over none.
void HistoryTest::longHistoryKeepsTheWindowsSize() {
  testing::MainWindowParts empty;
  std::unique_ptr<PFAC1> first = empty.MakeMainWindow();
  testing::ShowAndWait(first.get());
  const QSize size = first->size();
  first.reset();

  testing::MainWindowParts parts;
  History history;
  std::string notice;
  history.Load(parts.folder.Path(), &notice);
  QString terms = "x^30";
  for (int i = 29; i >= 1; --i) terms += QString("+%1x^%2").arg(i).arg(i);
  for (int i = 1; i <= 12; ++i) {
    const QByteArray echo = (terms + QString("+%1").arg(i)).toUtf8();
    QVERIFY(history.Add(echo.toStdString(), ReadRunResult({echo.toStdString(), "=(" + echo.toStdString() + ")",
                                                          testing::kCompleteCertificate.trimmed().toStdString()})));
  }
  std::unique_ptr<PFAC1> window = parts.MakeMainWindow();
  testing::ShowAndWait(window.get());
  QCOMPARE(window->findChild<QListWidget*>("History")->count(), 12);
  QCOMPARE(window->size(), size);
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::HistoryTest)
#include "history_test.moc"
