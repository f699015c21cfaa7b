// The result under the polynomial box: what the main window shows when the
// engine's window closes, read from jg.dat files that the engine wrote (run
// here, or kept under data/ for runs that take minutes or keys), the steps
// under it, how it breaks and scrolls, "复制" and "复制 LaTeX", and the graph
// of an answer in one letter on the tab beside the steps.
#include <QClipboard>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "frontend/engine_link/exact_process.h"
#include "frontend/graph/graph_widget.h"
#include "frontend/results/result_steps.h"
#include "tests/frontend/support/pdf_text.h"
#include "frontend/results/run_result.h"
#include "frontend/windows/main_window.h"
#include "tests/frontend/support/main_window_parts.h"

namespace pfac::frontend {
namespace {

// The main window, shown, with an engine that either runs for real or leaves
// a jg.dat that an earlier real run wrote.
struct Fixture : testing::MainWindowParts {
  std::unique_ptr<PFAC1> window = MakeMainWindow();

  Fixture() { testing::ShowAndWait(window.get()); }

  BrokenLinesLabel* Label(const char* name) const { return window->findChild<BrokenLinesLabel*>(name); }
  // The result without its line breaks and blanks: how it reads is the
  // presentation's matter, tested on its own.
  QString Shown() const { return Label("ResultText")->text().remove('\n').remove(' '); }
  QString Notes() const { return Label("ResultNotes")->ShownLines().join(' '); }
  // The steps under the result, without their line breaks and blanks.
  QString Steps() const { return Label("StepsText")->text().remove('\n').remove(' '); }
  QPushButton* Copy() const { return window->findChild<QPushButton*>("Cmdfuzhi"); }
  QPushButton* CopyLaTeX() const { return window->findChild<QPushButton*>("CmdfuzhiLaTeX"); }
  QScrollArea* Scroll() const { return window->findChild<QScrollArea*>("ResultScroll"); }
  void Click(const char* button) { testing::ClickButton(window.get(), button); }

  // Types the polynomial, submits it, double-clicks the engine box and closes
  // the engine's window once the engine has done its part: the real engine
  // runs when there is no earlier run's jg.dat; the lines of the exact
  // factorisation are added to its end.
  void Factor(const QString& polynomial, const QByteArray& earlierRun = {}, const QByteArray& added = {}) {
    runner.onStart = [this, earlierRun, added](const EngineStart& start) {
      if (earlierRun.isEmpty()) testing::RunRealEngine(start);
      folder.Write("jg.dat", (earlierRun.isEmpty() ? folder.Read("jg.dat") : earlierRun) + added);
    };
    window->findChild<QLineEdit*>("Text2")->setText(polynomial);
    Click("CmdWANCHANG");
    QTest::mouseDClick(window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
    runner.End();
  }
};

using testing::DataFile;

// The lines the exact factorisation adds at the end of jg.dat.
const QByteArray kNotComplete =
    "验证: 结果不完整, 搜索的系数界限漏掉了因式 / not complete: the search's coefficient bounds left factors out; the "
    "complete factorisation follows\r\n=(x^ 2 - 4x + 8)(x^ 2 + 4x + 8)\r\n";
const QByteArray kInternalError = "内部错误: 结果与精确分解不一致 / internal error: the result line and the "
                                  "polynomial entered differ in value\r\n";
// jg.dat as the search alone writes it, for the lines above to follow.
const QByteArray kSearchOfQuartic = "x^ 4+ 64 \r\n=(x^ 4 + 64)=(x^ 4 + 64)\r\n";
const QByteArray kSearchOfCubic =
    "x^ 3- 6 x^ 2+ 4 x+ 15 \r\n=(x^ 3 - 6x^ 2 + 4x + 15)\r\n=[ 1*x^ 3+(-3 -3 )*x^ 2+( 9 -5 )*x+ 15]\r\n"
    "=[( 1 *x^ 3-3 *x^ 2)+(-3 *x^ 2+ 9 *x)+(-5 *x+ 15 )]\r\n=(x - 3)(x^ 2 - 3x - 5)\r\n=(x - 3)(x^ 2 - 3x - 5)\r\n";

// The polynomial of the run in late mode kept under data/.
const QString kLateModePolynomial =
    "x^13+16x^12+64x^11-x^10-55x^9-40x^8+170x^7+3x^6+63x^5-176x^4+48x^3+66x^2-117x+42";

class ResultPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void panelAfterTheEngineWindowCloses_data();
  void panelAfterTheEngineWindowCloses();
  void noStaleResultInPanel();
  void beyondTheSearchTheExactFactoriserAnswers();
  void typedProblemAndFoldedDetail();
  void longResultBreaksBetweenFactorsAndScrolls();
  void panelTakesTheWindowsNewSpace();
  void copiedUntilTheNextAction();
  void graphBesideTheSteps();
  void fieldBesideTheBoxAndInTheHistory();
};

// earlierRun empty: the real engine runs on the polynomial. notes: pieces of
// what the notes say.
void ResultPanelTest::panelAfterTheEngineWindowCloses_data() {
  QTest::addColumn<QString>("polynomial");
  QTest::addColumn<QByteArray>("earlierRun");
  QTest::addColumn<QByteArray>("added");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QStringList>("notes");
  QTest::addColumn<QString>("copied");
  QTest::addColumn<QString>("steps");  // what the steps under the result begin with
  const QByteArray none;
  const QString noSteps = QString::fromUtf8(kNotKnownComplete);
  // The real engine ends every result with its certificate.
  const QStringList certified{QString::fromUtf8(testing::kCompleteCertificate).trimmed()};

  QTest::newRow("split") << "x^3-6x^2+4x+15" << none << none
                         << QStringLiteral("x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)") << certified
                         << "x^3-6x^2+4x+15 = (x-3)(x^2-3x-5)"
                         << QStringLiteral("1. 试根法 / rational root: = (x - 3)(x² - 3x - 5) （x = 3 使多项式为 0 / makes it 0）");
  QTest::newRow("stopped by the time limit")
      << "x^32y^32-1296" << DataFile("stopped-by-time-limit.dat") << none
      << QStringLiteral("x³²y³² - 1296 = (x⁸y⁸ - 6)(x⁸y⁸ + 6)(x¹⁶y¹⁶ + 36)")
      << QStringList{QStringLiteral("搜索被中断"), "the last factor may split further"}
      << "x^32y^32-1296 = (x^8y^8-6)(x^8y^8+6)(x^16y^16+36)" << noSteps;
  QTest::newRow("window closed during the search")
      << "x^32y^32-1296" << DataFile("stopped-by-signal.dat") << none << QString::fromUtf8(kStoppedWithoutAnswer)
      << QStringList{QStringLiteral("运行被中止"), "Stopped: the engine's window was closed (hang-up)"} << ""
      << noSteps;
  QTest::newRow("late mode") << kLateModePolynomial << DataFile("late-mode.dat") << none
                             << QStringLiteral("x¹³ + 16x¹² + 64x¹¹ - x¹⁰ - 55x⁹ - 40x⁸ + 170x⁷ + 3x⁶ + 63x⁵ - 176x⁴ + "
                                               "48x³ + 66x² - 117x + 42 = (x⁶ + 8x⁵ + 6x⁴ - 3x³ - 8x² + 9x - 7)"
                                               "(x⁷ + 8x⁶ - 6x⁵ + 2x⁴ - 3x³ + 9x² + 9x - 6)")
                             << QStringList{QStringLiteral("提前结束"), "may split further"}
                             << "x^13+16x^12+64x^11-x^10-55x^9-40x^8+170x^7+3x^6+63x^5-176x^4+48x^3+66x^2-117x+42 = "
                                "(x^6+8x^5+6x^4-3x^3-8x^2+9x-7)(x^7+8x^6-6x^5+2x^4-3x^3+9x^2+9x-6)"
                             << noSteps;
  // With the lines of the exact factorisation at the end of jg.dat.
  QTest::newRow("incomplete, the complete one follows")
      << "x^4+64" << kSearchOfQuartic << kNotComplete << QStringLiteral("x⁴ + 64 = (x² - 4x + 8)(x² + 4x + 8)")
      << QStringList{QStringLiteral("验证: 结果不完整"), "the complete factorisation follows"}
      << "x^4+64 = (x^2-4x+8)(x^2+4x+8)" << QStringLiteral("1. 拆项添项/配方 / completing the square:");
  // The search stopped with the X key; the polynomial is irreducible.
  QTest::newRow("stopped, the complete one follows")
      << "x^16-136x^14+6476x^12-141912x^10+1513334x^8-7453176x^6+13950764x^4-5596840x^2+46225"
      << DataFile("stopped-by-x-key.dat")
      << QByteArray("验证: 结果不完整, 搜索被 X 键中断 / not complete: the X key stopped the search; the complete "
                    "factorisation follows\r\n=(x^ 16 - 136x^ 14 + 6476x^ 12 - 141912x^ 10 + 1513334x^ 8 - 7453176x^ 6 "
                    "+ 13950764x^ 4 - 5596840x^ 2 + 46225)\r\n")
      << QStringLiteral("x¹⁶ - 136x¹⁴ + 6476x¹² - 141912x¹⁰ + 1513334x⁸ - 7453176x⁶ + 13950764x⁴ - 5596840x² + 46225 "
                        "在有理数域上不可约 (irreducible over Q)")
      << QStringList{QStringLiteral("验证: 结果不完整")}
      << QStringLiteral("x^16-136x^14+6476x^12-141912x^10+1513334x^8-7453176x^6+13950764x^4-5596840x^2+46225 "
                        "在有理数域上不可约 (irreducible over Q)")
      << QStringLiteral("x¹⁶ - 136x¹⁴ + 6476x¹² - 141912x¹⁰ + 1513334x⁸ - 7453176x⁶ + 13950764x⁴ - 5596840x² + 46225 "
                        "在有理数域上不可约: 没有有理根 (候选根 ±1, ±5, ±25, ±43, ±215, ±1075, ±1849, ±9245, ±46225 "
                        "都不是根)");
  QTest::newRow("a factor from the exact factorisation")
      << "x^4+64" << none << none << QStringLiteral("x⁴ + 64 = (x² - 4x + 8)(x² + 4x + 8)")
      << QStringList{QStringLiteral("精确分解给出因式"), QStringLiteral("验证: 结果完整")}
      << "x^4+64 = (x^2-4x+8)(x^2+4x+8)" << QStringLiteral("1. 拆项添项/配方 / completing the square:");
  QTest::newRow("internal error") << "x^3-6x^2+4x+15" << kSearchOfCubic << kInternalError
                                  << QStringLiteral("x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)")
                                  << QStringList{QStringLiteral("内部错误"), "internal error"}
                                  << "x^3-6x^2+4x+15 = (x-3)(x^2-3x-5)" << noSteps;
}

void ResultPanelTest::panelAfterTheEngineWindowCloses() {
  QFETCH(QString, polynomial);
  QFETCH(QByteArray, earlierRun);
  QFETCH(QByteArray, added);
  QFETCH(QString, shown);
  QFETCH(QStringList, notes);
  QFETCH(QString, copied);
  QFETCH(QString, steps);
  Fixture f;
  f.Factor(polynomial, earlierRun, added);
  QCOMPARE(f.Shown(), shown.remove(' '));
  QVERIFY2(f.Steps().startsWith(steps.remove(' ')), qPrintable(f.Steps()));
  for (const QString& note : notes) QVERIFY2(f.Notes().contains(note), qPrintable(f.Notes()));
  if (notes.isEmpty()) QCOMPARE(f.Notes(), QString());
  // Once a complete factorisation is given, the search's own marks are not told.
  if (added.contains("complete")) QVERIFY2(!f.Notes().contains(QStringLiteral("搜索被中断")), qPrintable(f.Notes()));
  QCOMPARE(f.Copy()->isEnabled(), !copied.isEmpty());
  QCOMPARE(f.CopyLaTeX()->isEnabled(), !copied.isEmpty());
  QVERIFY(f.Label("ResultText")->textInteractionFlags() & Qt::TextSelectableByMouse);
  if (!copied.isEmpty()) {
    f.Click("Cmdfuzhi");
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
  }
}

// The problem as typed stands on the left of the result and of what is
// copied; a step's detail is folded under it until a click opens it.
void ResultPanelTest::typedProblemAndFoldedDetail() {
  Fixture f;
  f.Factor("(x^2+x)^2-8(x^2+x)+12");
  QCOMPARE(f.Shown(), QStringLiteral("(x²+x)²-8(x²+x)+12=(x-2)(x-1)(x+2)(x+3)"));
  QVERIFY2(f.Steps().startsWith(QStringLiteral("1.换元法/substitution:=(x²+x-2)(x²+x-6)")), qPrintable(f.Steps()));
  f.Click("Cmdfuzhi");
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("(x^2+x)^2-8(x^2+x)+12 = (x-2)(x-1)(x+2)(x+3)"));

  f.Click("Cmdshuru");
  f.Factor("x^3-6x^2+11x-6");
  QVERIFY2(f.Steps().contains(QStringLiteral("▸")) && !f.Steps().contains(QStringLiteral("综合除法")),
           qPrintable(f.Steps()));
  QTest::mouseClick(f.Label("StepsText"), Qt::LeftButton);
  QVERIFY2(f.Steps().contains(QStringLiteral("综合除法")) && f.Steps().contains(QStringLiteral("十字图")),
           qPrintable(f.Steps()));
  QTest::mouseClick(f.Label("StepsText"), Qt::LeftButton);
  QVERIFY(!f.Steps().contains(QStringLiteral("综合除法")));
}

// A result is shown only for the polynomial the window shows; a new input
// clears it.
void ResultPanelTest::noStaleResultInPanel() {
  Fixture f;
  f.Factor("x^2-1", QByteArray());
  QVERIFY(!f.Steps().isEmpty());
  f.Click("Cmdshuru");
  QCOMPARE(f.Shown(), QString());
  QCOMPARE(f.Steps(), QString());
  QVERIFY(!f.Copy()->isEnabled());

  // The engine's window closes after the user went on to a new polynomial.
  f.window->findChild<QLineEdit*>("Text2")->setText("x^2-4");
  f.Click("CmdWANCHANG");
  QTest::mouseDClick(f.window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
  f.Click("Cmdshuru");
  f.runner.End();
  QCOMPARE(f.Shown(), QString());
  QCOMPARE(f.Notes(), QString());

  // A run that writes no jg.dat (an engine that refuses its text leaves the
  // file as it was): the window says so.
  f.runner.onStart = [](const EngineStart&) {};
  f.window->findChild<QLineEdit*>("Text2")->setText("x^2-9");
  f.Click("CmdWANCHANG");
  QTest::mouseDClick(f.window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
  f.runner.End();
  QCOMPARE(f.Shown(), QString());
  QCOMPARE(f.Notes(), QString::fromUtf8(kNoResultWritten));
}

// A text beyond the search's limits: the engine box says the search does not
// apply, a double-click has the exact factoriser answer (no engine is
// started), with its note and certificate; the history keeps it, and 打印
// prints the answer without a search's working. A double-click while it
// works cancels it, and the window says so.
void ResultPanelTest::beyondTheSearchTheExactFactoriserAnswers() {
  if (!ExactExpander()) QSKIP("no exact factoriser");
  Fixture f;
  auto* box = f.window->findChild<EngineBox*>("OLE1");
  f.window->findChild<QLineEdit*>("Text2")->setText("(x+y+z+w)^4");
  f.Click("CmdWANCHANG");
  QVERIFY(box->IsActive());
  QVERIFY(box->findChild<QLabel*>()->text().contains(QStringLiteral("搜索不适用")));
  QTest::mouseDClick(box, Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(f.Shown().endsWith(QStringLiteral("=(w+x+y+z)⁴")), 30000);
  QVERIFY(f.runner.starts.empty());
  QCOMPARE(f.Notes(), QString::fromUtf8(kBeyondSearchNote) + " " + QString::fromUtf8(kExactCertificate));
  auto* history = f.window->findChild<QListWidget*>();
  QCOMPARE(history->count(), 1);
  QVERIFY(history->item(0)->text().endsWith(QStringLiteral("= (w + x + y + z)⁴")));

  f.dialogs.Answer({true, true});
  f.Click("cmddayin");
  const QString page = testing::PdfText(f.folder, "jg-1.pdf").join('\n');
  QVERIFY2(page.contains(QStringLiteral("(w + x + y + z)")), qPrintable(page));
  QVERIFY2(page.contains(QStringLiteral("超出搜索范围")), qPrintable(page));
  QVERIFY2(!page.contains(QStringLiteral("解题过程")), qPrintable(page));

  f.Click("Cmdshuru");
  f.window->findChild<QLineEdit*>("Text2")->setText("x^99999+2x^7-3x+5");
  f.Click("CmdWANCHANG");
  QTest::mouseDClick(box, Qt::LeftButton);
  QTRY_VERIFY(box->findChild<QLabel*>()->text().contains(QStringLiteral("取消")));
  QTest::mouseDClick(box, Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(f.Notes(), QStringLiteral("精确分解已取消 / the exact factorisation was cancelled"), 10000);
  QCOMPARE(f.Shown(), QString());
  QVERIFY(box->findChild<QLabel*>()->text().contains(QStringLiteral("搜索不适用")));
}

// A result wider and taller than the panel: its lines break between factors
// (each line's parentheses close on it), none is wider than the panel, the
// panel scrolls, and the window keeps its size.
void ResultPanelTest::longResultBreaksBetweenFactorsAndScrolls() {
  Fixture f;
  f.window->resize(f.window->minimumSize());
  QCoreApplication::processEvents();
  const QSize before = f.window->size();
  f.Factor("x^120-1");  // sixteen factors
  QTRY_VERIFY(f.Scroll()->verticalScrollBar()->maximum() > 0);
  QCOMPARE(f.window->size(), before);

  BrokenLinesLabel* text = f.Label("ResultText");
  const QStringList lines = text->ShownLines();
  QVERIFY2(lines.size() >= 3, qPrintable(lines.join('|')));
  const QFontMetricsF metrics(text->font());
  for (const QString& line : lines) {
    QVERIFY2(metrics.horizontalAdvance(line) <= text->contentsRect().width(), qPrintable(line));
    QVERIFY2(line.count('(') == line.count(')'), qPrintable(lines.join('|')));
  }
  QVERIFY(lines.last().endsWith(')'));
}

// Made larger by hand, the window gives its new height to the result panel
// and the steps under it, and a result breaks again at the new width.
void ResultPanelTest::panelTakesTheWindowsNewSpace() {
  Fixture f;
  f.Factor(kLateModePolynomial, DataFile("late-mode.dat"));
  QCoreApplication::processEvents();
  auto panels = [&f] { return f.Scroll()->height() + f.window->findChild<QScrollArea*>("StepsScroll")->height(); };
  const int panelHeight = f.Scroll()->height();
  const int panelsHeight = panels();
  const int pictureHeight = f.window->Picture1()->height();
  const int lines = f.Label("ResultText")->ShownLines().size();

  f.window->resize(f.window->width() + 300, f.window->height() + 200);
  QCoreApplication::processEvents();
  QVERIFY2(panels() >= panelsHeight + 190, qPrintable(QString::number(panels())));
  QVERIFY(f.Scroll()->height() >= panelHeight + 80);
  QCOMPARE(f.window->Picture1()->height(), pictureHeight);
  QVERIFY(f.Label("ResultText")->ShownLines().size() < lines);
}

// "复制" and "复制 LaTeX" say "已复制" until the next action.
void ResultPanelTest::copiedUntilTheNextAction() {
  Fixture f;
  f.Factor("x^3-6x^2+4x+15");
  f.Click("Cmdfuzhi");
  QCOMPARE(f.Copy()->text(), QStringLiteral("已复制"));
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("x^3-6x^2+4x+15 = (x-3)(x^2-3x-5)"));

  f.Click("CmdfuzhiLaTeX");
  QCOMPARE(f.Copy()->text(), QStringLiteral("复制"));
  QCOMPARE(f.CopyLaTeX()->text(), QStringLiteral("已复制"));
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("x^{3}-6x^{2}+4x+15=(x-3)(x^{2}-3x-5)"));

  f.Click("Cmdbangzhu");
  QCOMPARE(f.CopyLaTeX()->text(), QStringLiteral("复制 LaTeX"));
  f.Click("Cmdfuzhi");
  f.Click("Cmdshuru");
  QCOMPARE(f.Copy()->text(), QStringLiteral("复制"));
  QVERIFY(!f.Copy()->isEnabled());
}

// The graph of an answer in one letter shares the steps' space, on the tab
// beside them: chosen, it shows the roots found exactly, takes the history's
// place and the window keeps its size; an answer in two letters has no graph
// and the steps and history come back; asked to come first, or over the
// reals, the graph is shown at once.
void ResultPanelTest::graphBesideTheSteps() {
#ifndef PFAC_EXACT
  QSKIP("the real roots are found with the exact arithmetic, which this build has not");
#endif
  Fixture f;
  const QSize before = f.window->size();
  auto* tabs = f.window->findChild<QTabWidget*>("StepsPanel");
  auto* graph = f.window->findChild<GraphWidget*>("Graph");
  auto* history = f.window->findChild<QGroupBox*>("HistoryPanel");
  auto labels = [graph] {
    QStringList shown;
    if (graph->Graph()) {
      for (const exact::LabelledRoot& root : graph->Graph()->roots.roots) shown << QString::fromStdString(root.label);
    }
    return shown;
  };
  struct Row {
    const char* polynomial;
    bool shownFirst;   // the graph asked to come first
    bool hasGraph;     // one letter
    QStringList roots; // as the graph labels them, once shown
  };
  const Row rows[] = {
      {"x^3-x", false, true, {QStringLiteral("−1"), "0", "1"}},
      {"x^2-y^2", false, false, {}},
      {"x^2-2x+1", true, true, {"1"}},
      {"x^2+1", true, true, {}},
  };
  for (const Row& row : rows) {
    f.window->SetGraphShownFirst(row.shownFirst);
    f.Click("Cmdshuru");
    f.Factor(row.polynomial);
    QCOMPARE(tabs->isTabEnabled(1), row.hasGraph);
    QCOMPARE(f.window->GraphShown(), row.hasGraph && row.shownFirst);
    if (row.hasGraph && !row.shownFirst) {
      const QRect tab = tabs->tabBar()->tabRect(1);
      QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tab.center());
      QVERIFY(f.window->GraphShown());
    }
    if (row.hasGraph) QCOMPARE(labels(), row.roots);
    QCOMPARE(history->isVisible(), !row.hasGraph);
    QCoreApplication::processEvents();
    QCOMPARE(f.window->size(), before);
  }
  // Over the reals the graph comes first, its roots labelled with square roots.
  f.window->SetGraphShownFirst(false);
  auto* field = f.window->findChild<QComboBox*>("fieldChoice");
  field->setCurrentIndex(1);
  emit field->activated(1);
  f.Click("Cmdshuru");
  f.Factor("x^2-2x-1");
  QVERIFY(f.window->GraphShown());
  QCOMPARE(labels(), (QStringList{QStringLiteral("1 − √2"), QStringLiteral("1 + √2")}));
  QCOMPARE(f.window->size(), before);
}

// The field beside the box: over the reals the answer has its square roots in
// the panel, in "复制" and "复制 LaTeX"; chosen again, the result shown is
// given over the other field, and the history keeps both, each with its
// field, which a click on an entry brings back.
void ResultPanelTest::fieldBesideTheBoxAndInTheHistory() {
  if (!ExactExpander()) QSKIP("no exact factoriser");
  Fixture f;
  auto* field = f.window->findChild<QComboBox*>("fieldChoice");
  QVERIFY(field != nullptr);
  QCOMPARE(field->currentText(), QStringLiteral("有理数范围"));
  auto choose = [field](int index) {
    field->setCurrentIndex(index);
    emit field->activated(index);
  };
  choose(1);
  f.Factor("x^2-2x-1");
  // The panel draws the root's bar over the radicand only.
  const QString real = QStringLiteral("x²-2x-1=(x-1-√2\u0305)(x-1+√2\u0305)");
  QCOMPARE(f.Shown(), real);
  f.Click("Cmdfuzhi");
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("x^2-2x-1 = (x-1-sqrt(2))(x-1+sqrt(2))"));
  f.Click("CmdfuzhiLaTeX");
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("x^{2}-2x-1=(x-1-\\sqrt{2})(x-1+\\sqrt{2})"));
  // On paper as in the panel, with the steps over the reals.
  f.dialogs.Answer({true});
  f.Click("cmddayin");
  QVERIFY(f.dialogs.AllAnswered());
  const QStringList page = testing::PdfText(f.folder, "jg-1.pdf");
  QVERIFY2(page.contains(QStringLiteral("x² − 2x − 1 = (x − 1 − √2)(x − 1 + √2)")), qPrintable(page.join('\n')));
  QVERIFY2(page.join('\n').contains(QStringLiteral("求根公式 / quadratic formula")), qPrintable(page.join('\n')));

  choose(0);
  QCOMPARE(f.Shown(), QStringLiteral("x²-2x-1在有理数域上不可约(irreducibleoverQ)"));
  auto* history = f.window->findChild<QListWidget*>("History");
  QCOMPARE(history->count(), 2);
  QCOMPARE(history->item(0)->text().remove(' '), QStringLiteral("x²-2x-1在有理数域上不可约(irreducibleoverQ)"));
  QCOMPARE(history->item(1)->text().remove(' '), QStringLiteral("x²-2x-1=(x-1-√2)(x-1+√2)"));

  f.window->History_Click(1);
  QCOMPARE(field->currentText(), QStringLiteral("实数范围"));
  QCOMPARE(f.Shown(), real);
  // The same polynomial over the same field again replaces its entry.
  f.Click("Cmdshuru");
  f.Factor("x^2 - 2x - 1");
  QCOMPARE(history->count(), 2);
  QCOMPARE(f.folder.Read("pfac-history.json").count("\"field\": \"real\""), 1);
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::ResultPanelTest)
#include "result_panel_test.moc"
