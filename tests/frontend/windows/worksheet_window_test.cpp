// The worksheet window: a list of polynomials factored by the real engine,
// one after another (its table, the PDF of problems and answer key read back
// with pdftotext, a cancel in the middle, the window closed while it runs).
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "frontend/input/typed_input.h"
#include "frontend/windows/worksheet_window.h"
#include "tests/frontend/support/fakes.h"
#include "tests/frontend/support/pdf_text.h"
#include "tests/frontend/support/worksheet_list.h"

namespace pfac::frontend {
namespace {

using testing::kList;
using testing::kProblems;
using testing::kRefusedRow;
using testing::ListText;
using testing::WorkFolder;

// A problem that keeps the engine busy for about two seconds: its search
// finds no split in its first second, twice.
const char kSlow[] =
    "-40x^5y^4z^2+20x^5y^3z^3-40x^4y^5z+20x^4y^4z^2-20x^4y^3z^3+10x^4y^2z^4-20x^5y^3z+10x^5y^2z^2-20x^4y^3z^2"
    "-50x^3y^4z-10x^3y^2z^3-10x^4y^2z-24x^3y^2z^2+12x^3yz^3-30x^2y^5-15x^2y^3z^2-15x^3y^3-24x^2y^3z+12x^2y^2z^2"
    "-12x^2yz^3+6x^2z^4-12x^3yz+6x^3z^2-12x^2yz^2-30xy^2z-6xz^3-6x^2z-18y^3-9yz^2-9xy";

// The lines of the pages with each run of blanks made one.
QStringList Simplified(const QList<QStringList>& pages) {
  QStringList lines;
  for (const QStringList& page : pages) {
    for (const QString& line : page) lines << line.simplified();
  }
  return lines;
}

struct Fixture {
  WorkFolder folder;
  testing::ScriptedDialogs dialogs;
  std::unique_ptr<Expander> expander = ExactExpander();
  BatchWindow window{dialogs, expander.get()};

  Fixture() {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }
  QTableWidget* Table() const { return window.findChild<QTableWidget*>("Table"); }
  QString Cell(int row, int column) const { return Table()->item(row, column)->text(); }
  void Click(const char* name) { QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton); }
  void Start(const QString& list) {
    window.findChild<QPlainTextEdit*>("List")->setPlainText(list);
    Click("Cmdkaishi");
  }
  bool WaitForEnd() {
    if (!window.Run().Running()) return true;
    QSignalSpy finished(&window.Run(), &BatchRun::finished);
    return finished.wait(240000);
  }
};

class WorksheetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void twentyProblemsTableAndPdf();
  void cancelInTheMiddle();
  void closingTheWindowStopsTheEngine();
  void listSavedWithByteOrderMark();
};

void WorksheetWindowTest::twentyProblemsTableAndPdf() {
  Fixture f;
  f.Start(ListText());
  QVERIFY(!f.window.findChild<QPushButton*>("Cmdkaishi")->isEnabled());
  QVERIFY(f.WaitForEnd());
  QVERIFY(f.dialogs.shown.empty());

  QCOMPARE(f.Table()->rowCount(), kProblems);
  QCOMPARE(f.window.findChild<QProgressBar*>("Progress")->value(), kProblems);
  int row = 0;
  for (const auto& [line, answer] : kList) {
    if (*line == '\0') continue;
    QCOMPARE(f.Cell(row, 1), QString::fromUtf8(answer));
    QCOMPARE(f.Cell(row, 2), row == kRefusedRow ? QStringLiteral("未读入 / refused") : QStringLiteral("完整 / complete"));
    QCOMPARE(f.Cell(row, 3).isEmpty(), row == kRefusedRow);
    ++row;
  }
  // The problem as typed, brackets and all.
  QCOMPARE(f.Cell(3, 0), QStringLiteral("4. (x + 1)(x + y + z)²"));

  // The PDF: the problems numbered, as a student writes them; then the key.
  QVERIFY(f.window.findChild<QPushButton*>("Cmdbaocun")->isEnabled());
  QVERIFY(f.window.SavePdf(f.folder.Path() + "/worksheet.pdf"));
  const QList<QStringList> pages = testing::PdfPages(f.folder, "worksheet.pdf");
  QVERIFY(pages.size() >= 3);
  int key = 0;
  while (key < pages.size() && !pages[key][0].startsWith(QStringLiteral("答案 / answer key"))) ++key;
  QVERIFY2(key < pages.size(), "no answer key");
  const QStringList problems = Simplified(pages.mid(0, key)), answers = Simplified(pages.mid(key));
  QVERIFY(problems[0].startsWith(QStringLiteral("因式分解练习 / worksheet")));
  QCOMPARE(problems[1], QStringLiteral("在有理数域上分解因式 / Factor over the rationals:"));
  QCOMPARE(problems[2], QStringLiteral("1. x² − 1"));
  // Finding: a refused line stood on the pupils' page as an exercise. It is
  // left off, the numbers going on without it, and the key lists it by its
  // line with the reason.
  QVERIFY2(!problems.join('\n').contains(QStringLiteral("x^2+*3")), qPrintable(problems.join('\n')));
  QCOMPARE(problems.last(), QStringLiteral("19. −x² + 1"));
  const QString problemText = problems.join('\n'), answerText = answers.join('\n');
  // The problems as typed, brackets kept; no answer among them.
  QVERIFY2(problems.contains(QStringLiteral("4. (x + 1)(x + y + z)²")), qPrintable(problemText));
  QVERIFY2(problems.contains(QStringLiteral("10. x(x − 1)(x + 1)")), qPrintable(problemText));
  QVERIFY2(!problemText.contains(QStringLiteral("= (x − 1)(x + 1)")), qPrintable(problemText));
  for (const QString& answer : {QStringLiteral("1. x² − 1 = (x − 1)(x + 1)"),
                                QStringLiteral("3. x⁴ + 1 在有理数域上不可约 (irreducible over Q)"),
                                QStringLiteral("19. −x² + 1 = −(x − 1)(x + 1)")}) {
    QVERIFY2(answers.contains(answer), qPrintable(answerText));
  }
  QVERIFY2(answerText.contains(QStringLiteral("(x + 1)(x + y + z)²")), qPrintable(answerText));
  QVERIFY2(answerText.contains(QStringLiteral("第 18 行 / line 18: x^2+*3\n未读入 / refused: 第 5 个字符 '*' 不能出现在这里")),
           qPrintable(answerText));
  QCOMPARE(answerText.count(QStringLiteral("验证: 结果完整")), kProblems - 1);
  QVERIFY(!answerText.contains(QStringLiteral("公式法")));
  testing::CheckMargins(f.folder, "worksheet.pdf");

  // Asked for, the key gives the steps under each answer.
  f.window.findChild<QCheckBox*>("WithSteps")->setChecked(true);
  QVERIFY(f.window.SavePdf(f.folder.Path() + "/steps.pdf"));
  const QString withSteps = Simplified(testing::PdfPages(f.folder, "steps.pdf")).join('\n');
  for (const QString& step :
       {QStringLiteral("1. 公式法 / formulas: = (x − 1)(x + 1) （a² − b², a = x, b = 1）"),
        QStringLiteral("1. 十字相乘法 / cross method: = (x − 3)(x − 2)\n（十字: (−2) × (−3) = 6, (−2) + (−3) = −5）"),
        QStringLiteral("x⁴ + 1 在有理数域上不可约: 没有有理根 (候选根 ±1 都不是根)")}) {
    QVERIFY2(withSteps.contains(step), qPrintable(withSteps));
  }
  testing::CheckMargins(f.folder, "steps.pdf");
#ifdef PFAC_EXACT
  QVERIFY(!withSteps.contains(QStringLiteral("y = x² − 1")));
  // And the graph of each answer in one letter.
  f.window.findChild<QCheckBox*>("WithGraphs")->setChecked(true);
  QVERIFY(f.window.SavePdf(f.folder.Path() + "/graphs.pdf"));
  const QString withGraphs = testing::PdfText(f.folder, "graphs.pdf").join('\n');
  QVERIFY2(withGraphs.contains(QStringLiteral("y = x² − 1")), qPrintable(withGraphs));
  testing::CheckMargins(f.folder, "graphs.pdf");
#endif
}

// Cancelled while the engine works on the first problem: it is stopped, the
// rest are not run, and both are marked so in the table and on the key.
void WorksheetWindowTest::cancelInTheMiddle() {
  Fixture f;
  f.Start(QString::fromLatin1(kSlow) + "\nx^2-1\nx^2-4\n");
  QTRY_VERIFY(f.window.Run().Problems()[0].state == ProblemState::Running);
  QVERIFY(f.window.findChild<QPushButton*>("Cmdquxiao")->isEnabled());
  f.Click("Cmdquxiao");
  QVERIFY(f.WaitForEnd());
  QCOMPARE(f.Cell(0, 2), QStringLiteral("已停止 / stopped"));
  QCOMPARE(f.Cell(1, 2), QStringLiteral("未运行 / not run"));
  QCOMPARE(f.Cell(2, 2), QStringLiteral("未运行 / not run"));
  // Finding: after 取消 the bar showed the full count.
  QCOMPARE(f.window.findChild<QProgressBar*>("Progress")->value(), 1);
  QVERIFY(f.window.SavePdf(f.folder.Path() + "/cancelled.pdf"));
  const QString text = testing::PdfText(f.folder, "cancelled.pdf").join('\n');
  QVERIFY2(text.contains(QStringLiteral("批量被取消, 分解已停止")), qPrintable(text));
  QCOMPARE(text.count(QStringLiteral("批量被取消, 没有分解")), 2);

  // Started again, the same window runs the list anew.
  f.Start("x^2-1\n");
  QVERIFY(f.WaitForEnd());
  QCOMPARE(f.Table()->rowCount(), 1);
  QCOMPARE(f.Cell(0, 2), QStringLiteral("完整 / complete"));
}

void WorksheetWindowTest::closingTheWindowStopsTheEngine() {
  Fixture f;
  f.Start(QString::fromLatin1(kSlow) + "\nx^2-1\n");
  QTRY_VERIFY(f.window.Run().Problems()[0].state == ProblemState::Running);
  f.window.close();
  QVERIFY(f.WaitForEnd());
  QCOMPARE(f.window.Run().Problems()[0].state, ProblemState::Stopped);
  QCOMPARE(f.window.Run().Problems()[1].state, ProblemState::NotRun);
}

// Finding: a list saved with a byte-order mark had its first problem refused
// for an invisible character.
void WorksheetWindowTest::listSavedWithByteOrderMark() {
  Fixture f;
  f.folder.Write("bom.txt", "\xEF\xBB\xBFx^2-1\r\nx^2-4\r\n");
  QVERIFY(f.window.LoadList(f.folder.Path() + "/bom.txt"));
  f.Click("Cmdkaishi");
  QVERIFY(f.WaitForEnd());
  QCOMPARE(f.Cell(0, 0), QStringLiteral("1. x² - 1"));
  QCOMPARE(f.Cell(0, 2), QStringLiteral("完整 / complete"));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::WorksheetWindowTest)
#include "worksheet_window_test.moc"
