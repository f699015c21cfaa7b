// Printing jg.dat without a printer: the piece printer, the collapsing of
// equal factors, and the print command's questions, lines and failures.
#include <QTest>

#include "frontend/file_table.h"
#include "frontend/result_printing.h"
#include "tests/frontend/support/fakes.h"

namespace pfac::frontend {
namespace {

using testing::ScriptedDialogs;
using testing::WorkFolder;

// A printer that keeps its documents as lists of lines.
class FakePrinter : public ResultPrinter {
 public:
  void SetFontName(const std::string& name) override { font = name; }
  bool PrintLine(const std::string& text) override {
    if (linesBeforeFailure == 0) return false;
    --linesBeforeFailure;
    open = true;
    document.push_back(text);
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

  std::string font;
  bool open = false;
  std::vector<std::string> document;               // the open document
  std::vector<std::vector<std::string>> ended;     // documents handed to the printer
  int linesBeforeFailure = -1;                     // -1: never fails
  std::string file;
};

using Lines = std::vector<std::string>;

struct Fixture {
  WorkFolder folder;
  FakePrinter printer;
  FileTable files;
  ScriptedDialogs dialogs;

  // Writes jg.dat, answers Yes to both questions and prints.
  Lines PrintFile(const QByteArray& content) {
    folder.Write("jg.dat", content);
    dialogs.Answer({true, true});
    PrintResults(printer, files, dialogs);
    return printer.ended.empty() ? Lines{} : printer.ended.back();
  }
};

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

class ResultPrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void pieces_data();
  void pieces();
  void collapseFactors_data();
  void collapseFactors();
  void printsHeadersInPiecesAndFactorsCollapsed();
  void emptyFileGivesTwoEmptyLines();
  void lineFourWithBracketIsNotCollapsed();
  void equalResultLinesArePrintedOnce();
  void linesWithoutFactorsAreNeverCut();
  void noAtFirstQuestionPrintsNothing();
  void noAtSecondQuestionLeavesDocumentOpen();
  void missingResultFileIsTold();
  void failingPrinterIsToldAndDocumentDropped();
  void documentInAFileIsNamed();
};

void ResultPrintingTest::pieces_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("expected");
  const QString eighty = QString("0123456789").repeated(8);
  QTest::newRow("empty") << "" << QStringList{""};
  QTest::newRow("short") << "x+1" << QStringList{"x+1"};
  QTest::newRow("79") << eighty.left(79) << QStringList{eighty.left(79)};
  QTest::newRow("80 ends with an empty piece") << eighty << QStringList{eighty, ""};
  QTest::newRow("81") << eighty + "a" << QStringList{eighty, "a"};
  QTest::newRow("160") << eighty + eighty << QStringList{eighty, eighty, ""};
  // Characters, not bytes: 80 Chinese characters are one piece.
  const QString chinese = QStringLiteral("因式分解").repeated(20);
  QTest::newRow("Chinese") << chinese + "x" << QStringList{chinese, "x"};
}

void ResultPrintingTest::pieces() {
  QFETCH(QString, text);
  QFETCH(QStringList, expected);
  QStringList actual;
  for (const std::string& piece : Pieces(text.toStdString())) actual << QString::fromStdString(piece);
  QCOMPARE(actual, expected);
}

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

void ResultPrintingTest::printsHeadersInPiecesAndFactorsCollapsed() {
  Fixture fixture;
  const std::string header(85, 'h');
  const Lines printed = fixture.PrintFile(QByteArray::fromStdString(
      "x^ 3- 6 x^ 2+ 4 x+ 15 \r\n" + header + "\r\n(a)(a)\r\n=(x+1)(x+1)(x-2)\r\n"));
  QCOMPARE(printed, (Lines{"", "x^ 3- 6 x^ 2+ 4 x+ 15 ", std::string(80, 'h'), "hhhhh", "(a)(a)",
                           "=(x+1)^ 2(x-2)", ""}));
  QCOMPARE(fixture.printer.font, std::string(kPrinterFont));
  QCOMPARE(fixture.dialogs.Questions(), (std::vector<std::string>{kPrinterReady, kPrintNow}));
  for (const auto& box : fixture.dialogs.shown) QCOMPARE(box.caption, std::string("注意"));
  QVERIFY(!fixture.files.IsOpen(3));
}

void ResultPrintingTest::emptyFileGivesTwoEmptyLines() {
  Fixture fixture;
  QCOMPARE(fixture.PrintFile(""), (Lines{"", ""}));
  QCOMPARE(fixture.dialogs.Questions().size(), size_t{2});
}

void ResultPrintingTest::lineFourWithBracketIsNotCollapsed() {
  Fixture fixture;
  const Lines withBracket = fixture.PrintFile("1\r\n2\r\n3\r\n[x](x)(x)\r\n[x](x)(x)\r\n");
  QCOMPARE(withBracket, (Lines{"", "1", "2", "3", "[x](x)(x)", "[x](x)^ 2", ""}));

  const Lines withoutBracket = fixture.PrintFile("1\r\n2\r\n3\r\n(x)(x)\r\n");
  QCOMPARE(withoutBracket, (Lines{"", "1", "2", "3", "(x)^ 2", ""}));

  // On lines 1 to 3 a "(" changes nothing either.
  const Lines header = fixture.PrintFile("(x)(x)\r\n");
  QCOMPARE(header, (Lines{"", "(x)(x)", ""}));
}

void ResultPrintingTest::equalResultLinesArePrintedOnce() {
  Fixture fixture;
  // Line 5 collapses to what line 4 printed; line 7 does too, but the line
  // without factors between does not count as printed.
  const Lines printed = fixture.PrintFile(
      "1\r\n2\r\n3\r\n(x-1)^ 2\r\n(x-1)(x-1)\r\nnote\r\n(x-1)(x-1)\r\n(x+1)\r\n(x-1)(x-1)\r\n");
  QCOMPARE(printed, (Lines{"", "1", "2", "3", "(x-1)^ 2", "note", "(x+1)", "(x-1)^ 2", ""}));

  // A header line counts as printed too.
  const Lines afterHeader = fixture.PrintFile("1\r\n2\r\n(x)^ 2\r\n(x)(x)\r\n");
  QCOMPARE(afterHeader, (Lines{"", "1", "2", "(x)^ 2", ""}));
}

void ResultPrintingTest::linesWithoutFactorsAreNeverCut() {
  Fixture fixture;
  const std::string longLine(200, 'n');
  const std::string longFactors = "(" + Repeat("x+", 60) + "1)";
  const Lines printed = fixture.PrintFile(
      QByteArray::fromStdString("1\r\n2\r\n3\r\n" + longLine + "\r\n" + longFactors + "\r\n"));
  QCOMPARE(printed, (Lines{"", "1", "2", "3", longLine, longFactors.substr(0, 80),
                           longFactors.substr(80), ""}));
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

  // The next run adds to it.
  fixture.folder.Write("jg.dat", "second\r\n");
  fixture.dialogs.Answer({true, true});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QCOMPARE(fixture.printer.ended.size(), size_t{1});
  QCOMPARE(fixture.printer.ended[0], (Lines{"", "first", "", "", "second", ""}));

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
  fixture.printer.linesBeforeFailure = 2;
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
