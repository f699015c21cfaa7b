// "打印" from the main window into a PDF file, read back with pdftotext, and
// the worksheet's layout checked before it is painted.
#include <QDate>
#include <QFont>
#include <QLineEdit>
#include <QPushButton>
#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <map>
#include <memory>
#include <set>

#include "frontend/commands/print_command.h"
#include "frontend/printing/page_layout.h"
#include "engine/result_format/factor_runs.h"
#include "frontend/results/result_steps.h"
#include "tests/frontend/support/main_window_parts.h"
#include "tests/frontend/support/pdf_text.h"

namespace pfac::frontend {
namespace {

using testing::CheckMargins;
using testing::PdfPages;
using testing::PdfText;
using testing::WorkFolder;

// The main window, shown, with a polynomial submitted so that "打印" is enabled.
struct Fixture : testing::MainWindowParts {
  std::unique_ptr<PFAC1> window = MakeMainWindow();

  Fixture() {
    testing::ShowAndWait(window.get());
    window->findChild<QLineEdit*>("Text2")->setText("x-1");
    Click("CmdWANCHANG");
  }

  void Click(const char* button) { testing::ClickButton(window.get(), button); }
  // The polynomial the result echoes is handed off and run, the run writing
  // the result as jg.dat; then "打印", answering the two questions.
  void Print(const QByteArray& result, bool printNow = true) {
    runner.onStart = [this, result](const EngineStart&) { folder.Write("jg.dat", result); };
    if (window->findChild<QPushButton*>("Cmdshuru")->isEnabled()) Click("Cmdshuru");
    const QString echo = QString::fromUtf8(result.left(result.indexOf('\r')).split('=').front()).remove(' ');
    window->findChild<QLineEdit*>("Text2")->setText(echo.isEmpty() ? QStringLiteral("x-1") : echo);
    Click("CmdWANCHANG");
    QTest::mouseDClick(window->findChild<EngineBox*>("OLE1"), Qt::LeftButton);
    runner.End();
    dialogs.Answer({printNow});
    Click("cmddayin");
  }
};

using testing::DataFile;
using testing::kCompleteCertificate;

// jg.dat of the course polynomial, as the engine writes it.
const QByteArray kCourse =
    "x^ 3- 6 x^ 2+ 4 x+ 15 \r\n=(x^ 3 - 6x^ 2 + 4x + 15)\r\n=[ 1*x^ 3+(-3 -3 )*x^ 2+( 9 -5 )*x+ 15]\r\n"
    "=[( 1 *x^ 3-3 *x^ 2)+(-3 *x^ 2+ 9 *x)+(-5 *x+ 15 )]\r\n=(x - 3)(x^ 2 - 3x - 5)\r\n=(x - 3)(x^ 2 - 3x - 5)\r\n" +
    kCompleteCertificate;

class PrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void worksheetPageInPdf();
  void layoutKeepsMarginsAndTerms();
  void answerKeyTallerThanAPage();
  void resultsOneUnderAnotherThenNewPages();
  void emptyResultFileGivesTitledPage();
  void openDocumentIsPrintedAtEnd();
  void onlyTheCurrentResultIsPrinted();
  void stoppedRunIsPrintedWithItsStopLine();
  void pdfIsMadeWhenTheDocumentEnds();
  void printDialogOnceADocument();
  void graphUnderItsSteps();
};

// The title line, the result as the panel shows it, the certificate in words,
// the working; a long working wrapped inside the margins.
void PrintingTest::worksheetPageInPdf() {
  Fixture f;
  f.Print(kCourse, false);
  f.Print(DataFile("late-mode.dat"));
  QCOMPARE(f.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(f.dialogs.Messages()[0]).contains("jg-1.pdf"));
  const QList<QStringList> pages = PdfPages(f.folder, "jg-1.pdf");
  QCOMPARE(pages.size(), 1);
  const QStringList& page = pages[0];
  QCOMPARE(page.value(0).simplified(), QStringLiteral("因式分解 ") + WorksheetDate(QDate::currentDate()));
  QCOMPARE(page.value(1), QStringLiteral("x³ − 6x² + 4x + 15 = (x − 3)(x² − 3x − 5)"));
  QVERIFY(page.value(2).startsWith(QStringLiteral("验证: 结果完整, 每个因式在有理数域上不可约")));
  // The steps between the certificate and the working.
  const int steps = page.indexOf(QStringLiteral("解题步骤 / steps"));
  const int working = page.indexOf(QStringLiteral("解题过程 / the search's working"));
  QVERIFY(steps > 2);
  QCOMPARE(page.value(steps + 1),
           QStringLiteral("1. 试根法 / rational root: = (x − 3)(x² − 3x − 5) （x = 3 使多项式为 0 / makes it 0）"));
  // Why the quadratic factor left does not split, on the lines after.
  QVERIFY2(page.value(steps + 2).startsWith(QStringLiteral("x² − 3x − 5 在有理数域上不可约")), qPrintable(page.join('\n')));
  QVERIFY(working > steps + 2 && working <= steps + 4);
  QCOMPARE(page.count(QStringLiteral("解题步骤 / steps")), 1);  // none for the late mode's result
  QCOMPARE(page.mid(working + 1, 6),
           (QStringList{"x^ 3- 6 x^ 2+ 4 x+ 15", "=(x^ 3 - 6x^ 2 + 4x + 15)", "=[ 1*x^ 3+(-3 -3 )*x^ 2+( 9 -5 )*x+ 15]",
                        "=[( 1 *x^ 3-3 *x^ 2)+(-3 *x^ 2+ 9 *x)+(-5 *x+ 15 )]", "=(x - 3)(x^ 2 - 3x - 5)",
                        page.value(working + 6)}));
  QVERIFY(page.contains(QStringLiteral("(x⁶ + 8x⁵ + 6x⁴ − 3x³ − 8x² + 9x − 7)")));
  QCOMPARE(page.count(QStringLiteral("解题过程 / the search's working")), 2);
  QCOMPARE(page.last(), "=...");
  CheckMargins(f.folder, "jg-1.pdf");
}

// The graph of an answer in one letter, shown in the panel, is printed under
// its steps, inside the margins and clear of every text; an answer printed
// while its graph was not shown has none.
void PrintingTest::graphUnderItsSteps() {
#ifndef PFAC_EXACT
  QSKIP("the real roots are found with the exact arithmetic, which this build has not");
#endif
  Fixture f;
  f.Print(kCourse, false);
  f.window->SetGraphShownFirst(true);
  f.Print(kCourse);
  QCOMPARE(PdfText(f.folder, "jg-1.pdf").join('\n').count(QStringLiteral("y = x³ − 6x² + 4x + 15")), 1);
  CheckMargins(f.folder, "jg-1.pdf");

  std::string why;
  PrintedResult printed{ReadRunResult(testing::ResultLines(kCourse)), {}, false, {}};
  printed.steps = StepLines(ExplainResult(printed.result.source));
  printed.graph = GraphOfResult(printed.result, &why);
  QVERIFY2(printed.graph, why.c_str());
  QPrinter printer(QPrinter::HighResolution);
  SetUpWorksheetPage(printer);
  const Worksheet sheet =
      LayOutWorksheet({printed, printed, printed}, "2025年3月14日", printer, printer.paperRect(QPrinter::DevicePixel));
  size_t graphs = 0;
  for (const WorksheetPage& page : sheet.pages) {
    for (const WorksheetGraph& graph : page.graphs) {
      ++graphs;
      QVERIFY(sheet.textArea.contains(graph.box));
      for (const WorksheetText& text : page.texts) QVERIFY2(!text.box.intersects(graph.box), qPrintable(text.text));
    }
  }
  QCOMPARE(graphs, size_t{3});
}

// The document before it is painted: every text inside margins of at least
// 20 mm, the result set in 14 points or more, a line of jg.dat broken only
// between terms, never inside one, its parts on one page, and every step
// whole on its lines.
void PrintingTest::layoutKeepsMarginsAndTerms() {
  std::vector<PrintedResult> results;
  const QByteArray late = DataFile("late-mode.dat");
  for (const QByteArray& file : {kCourse, late, DataFile("stopped-by-x-key.dat"), late, late}) {
    const std::vector<std::string> lines = testing::ResultLines(file);
    const RunResult result = ReadRunResult(lines);
    // Steps as if each were complete: the late mode's two factors come from
    // the exact factorisation, in a step wider than the page.
    ResultSource complete = result.source;
    complete.complete = true;
    results.push_back({result, format::PaperLines(lines), false, StepLines(ExplainResult(complete))});
  }
  WorkFolder folder;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QDir(folder.Path()).filePath("layout.pdf"));
  SetUpWorksheetPage(printer);
  const Worksheet sheet = LayOutWorksheet(results, "2025年3月14日", printer, printer.paperRect(QPrinter::DevicePixel));

  const double mm = printer.logicalDpiY() / 25.4;
  QCOMPARE(qRound(sheet.paper.width() / mm), 210);
  QCOMPARE(qRound(sheet.paper.height() / mm), 297);
  QVERIFY(sheet.textArea.left() - sheet.paper.left() >= 20 * mm);
  QVERIFY(sheet.paper.right() - sheet.textArea.right() >= 20 * mm);
  QVERIFY(sheet.textArea.top() - sheet.paper.top() >= 20 * mm);
  QVERIFY(sheet.paper.bottom() - sheet.textArea.bottom() >= 20 * mm);
  QVERIFY(WorksheetFont(WorksheetStyle::Result).pointSizeF() >= 14);

  QVERIFY(sheet.pages.size() >= 2);
  std::map<std::pair<int, int>, QStringList> pieces;  // of each line of each working
  std::map<std::pair<int, int>, std::set<size_t>> pages;  // where they stand
  std::map<int, QString> steps;  // the steps of each result, their lines joined
  for (size_t p = 0; p < sheet.pages.size(); ++p) {
    for (const WorksheetText& text : sheet.pages[p].texts) {
      QVERIFY2(sheet.textArea.contains(text.box), qPrintable(text.text));
      if (text.style == WorksheetStyle::Step) steps[text.result] += text.text;
      if (text.style != WorksheetStyle::Working) continue;
      pieces[{text.result, text.line}] << text.text;
      pages[{text.result, text.line}].insert(p);
    }
  }
  int broken = 0;
  for (const auto& [where, parts] : pieces) {
    const std::string& line = results[where.first].working[where.second];
    QCOMPARE(parts.join("").remove(' '), QString::fromStdString(line).remove(' '));
    if (parts.size() > 1) ++broken;
    QCOMPARE(pages[where].size(), size_t{1});
    const bool formula = where.second == 0 || QString::fromStdString(line).trimmed().startsWith('=');
    for (int i = 1; i < parts.size(); ++i) {
      const QString before = parts[i - 1].trimmed();
      const QString after = parts[i].trimmed();
      if (formula) {
        QVERIFY2(QStringLiteral("+-=([").contains(after.front()) && !before.endsWith('^'),
                 qPrintable(before + " | " + after));
      } else {
        QVERIFY2(QString::fromStdString(line).contains(before + " " + after.section(' ', 0, 0)),
                 qPrintable(before + " | " + after));
      }
    }
  }
  QVERIFY(broken >= 4);  // the long lines of late mode and of the 16th degree
  for (int r = 0; r < static_cast<int>(results.size()); ++r) {
    QString expected;
    for (const Breakable& step : results[static_cast<size_t>(r)].steps) expected += QString::fromStdString(step.Text());
    QCOMPARE(steps[r].remove(' '), expected.replace('-', QChar(0x2212)).remove(' '));
    QVERIFY(!expected.isEmpty());
  }
}

// An answer of the key whose steps are taller than a page goes on over the
// next page, inside the margins, every step line placed; the next answer
// follows it.
void PrintingTest::answerKeyTallerThanAPage() {
  std::vector<Breakable> steps;
  for (int i = 1; i <= 80; ++i) steps.push_back(Leaf(std::to_string(i) + ". 公式法 / formulas: = (x + 1)(x - 1)"));
  const std::vector<SheetProblem> problems{{Leaf("x^2-1"), Leaf("x² - 1 = (x + 1)(x - 1)"), {}, steps},
                                           {Leaf("x^2-4"), Leaf("x² - 4 = (x + 2)(x - 2)"), {}, {}}};
  QPrinter printer(QPrinter::HighResolution);
  SetUpWorksheetPage(printer);
  const Worksheet sheet =
      LayOutProblemSheet(problems, "2025年3月14日", printer, printer.paperRect(QPrinter::DevicePixel));
  int stepLines = 0;
  bool secondAnswer = false;
  for (const WorksheetPage& page : sheet.pages) {
    for (const WorksheetText& text : page.texts) {
      QVERIFY2(sheet.textArea.contains(text.box), qPrintable(text.text));
      stepLines += text.style == WorksheetStyle::Step;
      secondAnswer |= text.text.contains(QStringLiteral("(x + 2)(x − 2)"));
    }
  }
  QCOMPARE(stepLines, 80);
  QVERIFY(secondAnswer);
  QVERIFY(sheet.pages.size() >= 3);  // the problems, and the key on two pages
}

// Results printed one after another in a session go one under another; a
// page is begun only when the one before is full, and each has the title.
void PrintingTest::resultsOneUnderAnotherThenNewPages() {
  Fixture f;
  for (int i = 0; i < 2; ++i) f.Print(kCourse, false);
  f.Print(kCourse);
  QCOMPARE(PdfPages(f.folder, "jg-1.pdf").size(), 1);
  QCOMPARE(PdfText(f.folder, "jg-1.pdf").count(QStringLiteral("x³ − 6x² + 4x + 15 = (x − 3)(x² − 3x − 5)")), 3);

  QByteArray longRun = "x- 1 \r\nh2\r\nh3\r\n";
  for (int i = 1; i <= 150; ++i) longRun += "=[(x-" + QByteArray::number(i) + ")]\r\n";
  f.Print(longRun);
  const QList<QStringList> pages = PdfPages(f.folder, "jg-2.pdf");
  QVERIFY(pages.size() >= 2);
  int printed = 0;
  for (const QStringList& page : pages) {
    QVERIFY(page.value(0).startsWith(QStringLiteral("因式分解")));
    printed += page.filter(QRegularExpression(R"(^=\[\(x-\d+\)\]$)")).size();
  }
  QCOMPARE(printed, 150);
  QVERIFY(pages[0].size() > 60);  // the first page full before the second began
  CheckMargins(f.folder, "jg-2.pdf");
}

// A run that left jg.dat empty gave no result of its polynomial: nothing is
// printed, and the window says to run the engine.
void PrintingTest::emptyResultFileGivesTitledPage() {
  Fixture f;
  f.Print("x- 1 \r\n=(x - 1)=(x - 1)\r\n" + kCompleteCertificate, false);
  f.Print("");
  QCOMPARE(f.dialogs.Questions().size(), size_t{1});
  QCOMPARE(f.dialogs.Messages(), std::vector<std::string>{kNoResultYet});
  f.Click("Cmdtuichu");
  const QStringList text = PdfText(f.folder, "jg-1.pdf");
  QVERIFY(text.value(0).startsWith(QStringLiteral("因式分解")));
  QCOMPARE(text.count(QStringLiteral("x − 1 在有理数域上不可约 (irreducible over Q)")), 1);
}

void PrintingTest::openDocumentIsPrintedAtEnd() {
  Fixture f;
  f.Print("x- 1 \r\nrun one\r\n", false);
  QVERIFY(f.printer.HasOpenDocument());
  QVERIFY(f.dialogs.Messages().empty());
  f.Print("x- 2 \r\nrun two\r\n", false);

  // "退出" ends the document, which holds both runs.
  f.Click("Cmdtuichu");
  QVERIFY(!f.printer.HasOpenDocument());
  QCOMPARE(f.dialogs.Messages().size(), size_t{1});
  const QStringList text = PdfText(f.folder, "jg-1.pdf");
  QVERIFY(text.contains("run one") && text.contains("run two"));
}

// Findings: "打印" printed the previous polynomial's result, and asked about
// the printer before it said there was no result. Only a jg.dat written after
// the current DXS.DAT is printed; after a refused or empty text, what to do.
void PrintingTest::onlyTheCurrentResultIsPrinted() {
  Fixture f;  // x-1 submitted, no jg.dat
  f.Click("cmddayin");
  QCOMPARE(f.dialogs.Messages(), std::vector<std::string>{kNoResultYet});
  QVERIFY(f.dialogs.Questions().empty());

  // A result of this polynomial: printed.
  f.Print("x- 1 \r\n=(x - 1)=(x - 1)\r\n" + kCompleteCertificate);
  QVERIFY(PdfText(f.folder, "jg-1.pdf").contains(QStringLiteral("x − 1 在有理数域上不可约 (irreducible over Q)")));

  // Another text: DXS.DAT holds it now, and jg.dat is older.
  f.Click("Cmdshuru");
  f.window->findChild<QLineEdit*>("Text2")->setText("x^2 - 1");
  f.Click("CmdWANCHANG");
  f.Click("cmddayin");
  // A refused text: DXS.DAT still holds the previous polynomial, but the
  // window has none.
  f.Click("Cmdshuru");
  f.window->findChild<QLineEdit*>("Text2")->setText("x^2+*3");
  f.Click("CmdWANCHANG");
  f.Click("cmddayin");
  QCOMPARE(f.dialogs.Messages(), (std::vector<std::string>{kNoResultYet, f.dialogs.Messages()[1], kNoResultYet,
                                                           kNothingHandedOff}));
  QCOMPARE(f.dialogs.Questions().size(), size_t{1});
}

// Finding: a search ended by closing the engine's window left jg.dat empty,
// and an empty page was printed. Now its last line says the run was stopped.
void PrintingTest::stoppedRunIsPrintedWithItsStopLine() {
  Fixture f;
  f.Print(DataFile("stopped-by-signal.dat"));
  const QStringList printed = PdfText(f.folder, "jg-1.pdf");
  QCOMPARE(printed.value(1), QStringLiteral("x³²y³² − 1296"));
  QCOMPARE(printed.last(), QString("Stopped: the engine's window was closed (hang-up) before the run ended."));
}

// Finding: a No at "马上要印件吗？" left an empty jg-N.pdf, and the messages did
// not say where the file is.
void PrintingTest::pdfIsMadeWhenTheDocumentEnds() {
  Fixture f;
  f.Print("x- 1 \r\nrun one\r\n", false);
  QVERIFY(!f.folder.Exists("jg-1.pdf"));
  f.Print("x- 2 \r\nrun two\r\n", true);
  const QString pdf = QDir(f.folder.Path()).absoluteFilePath("jg-1.pdf");
  QCOMPARE(f.dialogs.Messages().size(), size_t{1});
  QVERIFY2(QString::fromStdString(f.dialogs.Messages()[0]).contains(pdf), f.dialogs.Messages()[0].c_str());
  const QStringList text = PdfText(f.folder, "jg-1.pdf");
  QVERIFY(text.contains("run one") && text.contains("run two"));
}

// Finding: printing offered no choice of printer or file and wrote jg-N.pdf
// in the folder. The dialog comes once for a document, with the results kept
// for the page together; without a printer it offers a PDF file; a file
// chosen there is where the page goes; cancelled, nothing is printed.
void PrintingTest::printDialogOnceADocument() {
  WorkFolder folder;
  std::vector<QString> offered;
  QString chosen;
  bool accept = true;
  DocumentPrinter printer(DocumentPrinter::Target::PrintDialog, [&](QPrinter& p) {
    offered.push_back(p.outputFormat() == QPrinter::PdfFormat ? p.outputFileName() : p.printerName());
    if (!chosen.isEmpty()) p.setOutputFileName(chosen);
    return accept;
  });
  const RunResult result = ReadRunResult(testing::ResultLines(kCourse));
  QVERIFY(printer.AddResult({result, {}, false, {}}));
  QVERIFY(printer.AddResult({result, {}, false, {}}));
  chosen = folder.Path() + "/chosen.pdf";
  QVERIFY(printer.EndDocument());
  QCOMPARE(offered.size(), size_t{1});
  if (QPrinterInfo::defaultPrinter().isNull()) QVERIFY2(offered[0].endsWith("jg-1.pdf"), qPrintable(offered[0]));
  QCOMPARE(QString::fromStdString(printer.DocumentFile()), chosen);
  QCOMPARE(PdfText(folder, "chosen.pdf").count(QStringLiteral("x³ − 6x² + 4x + 15 = (x − 3)(x² − 3x − 5)")), 2);

  accept = false;
  QVERIFY(printer.AddResult({result, {}, false, {}}));
  QVERIFY(printer.EndDocument());
  QVERIFY(printer.Cancelled());
  QCOMPARE(QDir(folder.Path()).entryList({"*.pdf"}), QStringList{"chosen.pdf"});
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::PrintingTest)
#include "printing_test.moc"
