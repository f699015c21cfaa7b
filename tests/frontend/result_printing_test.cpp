// Printing jg.dat without a printer: the working's lines with equal factors
// collapsed, and the print command's questions, results and failures.
#include <QTest>

#include "frontend/file_table.h"
#include "frontend/result_printing.h"
#include "tests/frontend/support/fakes.h"

namespace pfac::frontend {
namespace {

using testing::ScriptedDialogs;
using testing::WorkFolder;

// A printer that keeps its documents as lists of results.
class FakePrinter : public ResultPrinter {
 public:
  bool AddResult(const PrintedResult& result) override {
    if (fails) return false;
    open = true;
    document.push_back(result);
    return true;
  }
  bool HasOpenDocument() const override { return open; }
  bool EndDocument() override {
    open = false;
    ended.push_back(document);
    document.clear();
    return true;
  }
  void DiscardDocument() override {
    open = false;
    document.clear();
  }
  std::string DocumentFile() const override { return file; }
  std::string LastError() const override { return "out of paper"; }

  bool open = false;
  std::vector<PrintedResult> document;               // the open document
  std::vector<std::vector<PrintedResult>> ended;     // documents handed to the printer
  bool fails = false;
  std::string file;
};

using Lines = std::vector<std::string>;

struct Fixture {
  WorkFolder folder;
  FakePrinter printer;
  FileTable files;
  ScriptedDialogs dialogs;

  // Writes jg.dat, answers Yes to both questions and prints: the working of
  // the one result printed.
  Lines PrintFile(const QByteArray& content) {
    folder.Write("jg.dat", content);
    dialogs.Answer({true, true});
    PrintResults(printer, files, dialogs);
    if (printer.ended.empty() || printer.ended.back().size() != 1) return {"(no document of one result)"};
    return printer.ended.back().front().working;
  }
};

class ResultPrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void collapseFactors_data();
  void collapseFactors();
  void workingLines_data();
  void workingLines();
  void printsTheResultAndItsWorking();
  void emptyFileGivesAResultWithoutWorking();
  void noAtFirstQuestionPrintsNothing();
  void noAtSecondQuestionLeavesDocumentOpen();
  void missingResultFileIsTold();
  void failingPrinterIsToldAndDocumentDropped();
  void documentInAFileIsNamed();
};

void ResultPrintingTest::collapseFactors_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("expected");
  QTest::newRow("one factor") << "(x+1)" << "(x+1)";
  QTest::newRow("different factors") << "(x+1)(x-2)" << "(x+1)(x-2)";
  QTest::newRow("run then other") << "(x+1)(x+1)(x-2)" << "(x+1)^ 2(x-2)";
  QTest::newRow("number before a run") << "3(x-1)(x-1)(x-1)" << "3(x-1)^ 3";
  QTest::newRow("run at the end") << "(x-2)(x+1)(x+1)" << "(x-2)(x+1)^ 2";
  QTest::newRow("separated equal factors") << "(x+1)(x-2)(x+1)" << "(x+1)(x-2)(x+1)";
  QTest::newRow("two runs") << "(x+y)(x+y)(x-y)(x-y)(x-y)" << "(x+y)^ 2(x-y)^ 3";
  QTest::newRow("ten") << QString("(x)").repeated(10) << "(x)^ 10";
  QTest::newRow("blank makes a different factor") << "(x+1)( x+1)" << "(x+1)( x+1)";
  QTest::newRow("open without close") << "3(x+1" << "3(x+1";
  QTest::newRow("trailing text") << "(x+1)(x+1) 完" << "(x+1)^ 2 完";
  QTest::newRow("trailing open") << "(x+1)(x-1)(x" << "(x+1)(x-1)(x";
}

void ResultPrintingTest::collapseFactors() {
  QFETCH(QString, line);
  QFETCH(QString, expected);
  QCOMPARE(QString::fromStdString(CollapseFactors(line.toStdString())), expected);
}

// jg.dat's lines, "|" for a line end, and the working printed from them.
void ResultPrintingTest::workingLines_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QStringList>("working");
  QTest::newRow("headers as they stand, factors collapsed")
      << "x^ 3- 6 x^ 2+ 4 x+ 15 |" + QString(85, 'h') + "|(a)(a)|=(x+1)(x+1)(x-2)"
      << QStringList{"x^ 3- 6 x^ 2+ 4 x+ 15 ", QString(85, 'h'), "(a)(a)", "=(x+1)^ 2(x-2)"};
  QTest::newRow("line 4 with a bracket as it stands") << "1|2|3|[x](x)(x)|[x](x)(x)"
                                                      << QStringList{"1", "2", "3", "[x](x)(x)", "[x](x)^ 2"};
  QTest::newRow("line 4 without a bracket collapsed") << "1|2|3|(x)(x)" << QStringList{"1", "2", "3", "(x)^ 2"};
  // Line 5 collapses to what line 4 printed; line 7 does too, but the line
  // without factors between does not count as printed.
  QTest::newRow("equal result lines once")
      << "1|2|3|(x-1)^ 2|(x-1)(x-1)|note|(x-1)(x-1)|(x+1)|(x-1)(x-1)"
      << QStringList{"1", "2", "3", "(x-1)^ 2", "note", "(x+1)", "(x-1)^ 2"};
  QTest::newRow("a header counts as printed") << "1|2|(x)^ 2|(x)(x)" << QStringList{"1", "2", "(x)^ 2"};
}

void ResultPrintingTest::workingLines() {
  QFETCH(QString, file);
  QFETCH(QStringList, working);
  Lines lines;
  for (const QString& line : file.split('|')) lines.push_back(line.toStdString());
  QStringList printed;
  for (const std::string& line : WorkingLines(lines)) printed << QString::fromStdString(line);
  QCOMPARE(printed, working);
}

void ResultPrintingTest::printsTheResultAndItsWorking() {
  Fixture fixture;
  const Lines working = fixture.PrintFile(
      "x^ 2- 1 \r\n=(x^ 2 - 1)\r\n=( 1 x^ 1 + 1 )( 1 x^ 1 - 1 )\r\n=(x + 1)(x - 1)\r\n");
  QCOMPARE(working, (Lines{"x^ 2- 1 ", "=(x^ 2 - 1)", "=( 1 x^ 1 + 1 )( 1 x^ 1 - 1 )", "=(x + 1)(x - 1)"}));
  QCOMPARE(QString::fromStdString(fixture.printer.ended[0][0].result.presentation.shown.Text()),
           QStringLiteral("x² - 1 = (x - 1)(x + 1)"));
  QCOMPARE(fixture.dialogs.Questions(), (std::vector<std::string>{"打印机准备就绪?", "马上要印件吗？"}));
  for (const auto& box : fixture.dialogs.shown) QCOMPARE(box.caption, std::string("注意"));
  QVERIFY(!fixture.files.IsOpen(3));
}

void ResultPrintingTest::emptyFileGivesAResultWithoutWorking() {
  Fixture fixture;
  QCOMPARE(fixture.PrintFile(""), Lines{});
  QCOMPARE(fixture.dialogs.Questions().size(), size_t{2});
}

void ResultPrintingTest::noAtFirstQuestionPrintsNothing() {
  Fixture fixture;
  fixture.dialogs.Answer({false});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);  // no jg.dat needed
  QVERIFY(!fixture.printer.HasOpenDocument());
  QVERIFY(fixture.printer.document.empty());
  QCOMPARE(fixture.dialogs.shown.size(), size_t{1});
}

void ResultPrintingTest::noAtSecondQuestionLeavesDocumentOpen() {
  Fixture fixture;
  fixture.folder.Write("jg.dat", "first\r\n");
  fixture.dialogs.Answer({true, false});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QVERIFY(fixture.printer.HasOpenDocument());
  QVERIFY(fixture.printer.ended.empty());

  // The next run adds its result below.
  fixture.folder.Write("jg.dat", "second\r\n");
  fixture.dialogs.Answer({true, true});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QCOMPARE(fixture.printer.ended.size(), size_t{1});
  QCOMPARE(fixture.printer.ended[0].size(), size_t{2});
  QCOMPARE(fixture.printer.ended[0][0].working, Lines{"first"});
  QCOMPARE(fixture.printer.ended[0][1].working, Lines{"second"});

  // Left open again, it is ended at the end of the program.
  fixture.dialogs.Answer({true, false});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  EndOpenDocument(fixture.printer, fixture.dialogs);
  QCOMPARE(fixture.printer.ended.size(), size_t{2});
  EndOpenDocument(fixture.printer, fixture.dialogs);  // nothing open: nothing happens
  QCOMPARE(fixture.printer.ended.size(), size_t{2});
}

void ResultPrintingTest::missingResultFileIsTold() {
  Fixture fixture;
  fixture.dialogs.Answer({true});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QCOMPARE(fixture.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(fixture.dialogs.Messages()[0]).contains("jg.dat"));
  QVERIFY(!fixture.printer.HasOpenDocument());
  QVERIFY(fixture.dialogs.AllAnswered());
}

void ResultPrintingTest::failingPrinterIsToldAndDocumentDropped() {
  Fixture fixture;
  fixture.printer.fails = true;
  fixture.folder.Write("jg.dat", "1\r\n2\r\n3\r\n");
  fixture.dialogs.Answer({true});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QVERIFY(!fixture.printer.HasOpenDocument());
  QVERIFY(fixture.printer.ended.empty());
  QCOMPARE(fixture.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(fixture.dialogs.Messages()[0]).contains("out of paper"));
  QVERIFY(!fixture.files.IsOpen(3));
}

void ResultPrintingTest::documentInAFileIsNamed() {
  Fixture fixture;
  fixture.printer.file = "jg-1.pdf";
  fixture.PrintFile("x\r\n");
  QCOMPARE(fixture.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(fixture.dialogs.Messages()[0]).contains("jg-1.pdf"));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::ResultPrintingTest)
#include "result_printing_test.moc"
