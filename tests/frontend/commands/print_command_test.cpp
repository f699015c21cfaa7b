// The print command without a printer: its questions, the result and its
// working printed from jg.dat, and its failures.
#include <QTest>

#include "frontend/commands/print_command.h"
#include "frontend/storage/file_table.h"
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
  bool Cancelled() const override { return cancels; }
  std::string LastError() const override { return "out of paper"; }

  bool open = false;
  std::vector<PrintedResult> document;               // the open document
  std::vector<std::vector<PrintedResult>> ended;     // documents handed to the printer
  bool fails = false;
  bool cancels = false;  // the print dialog is cancelled
  std::string file;
};

using Lines = std::vector<std::string>;

struct Fixture {
  WorkFolder folder;
  FakePrinter printer;
  FileTable files;
  ScriptedDialogs dialogs;

  // Writes jg.dat, answers Yes to the question and prints: the working of
  // the one result printed.
  Lines PrintFile(const QByteArray& content) {
    folder.Write("jg.dat", content);
    dialogs.Answer({true});
    PrintResults(printer, files, dialogs);
    if (printer.ended.empty() || printer.ended.back().size() != 1) return {"(no document of one result)"};
    return printer.ended.back().front().working;
  }
};

class PrintCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void printsTheResultAndItsWorking();
  void emptyFileGivesAResultWithoutWorking();
  void cancelledPrintDialogIsTold();
  void noAtSecondQuestionLeavesDocumentOpen();
  void missingResultFileIsTold();
  void failingPrinterIsToldAndDocumentDropped();
  void documentInAFileIsNamed();
};

void PrintCommandTest::printsTheResultAndItsWorking() {
  Fixture fixture;
  const Lines working = fixture.PrintFile(
      "x^ 2- 1 \r\n=(x^ 2 - 1)\r\n=( 1 x^ 1 + 1 )( 1 x^ 1 - 1 )\r\n=(x + 1)(x - 1)\r\n");
  QCOMPARE(working, (Lines{"x^ 2- 1 ", "=(x^ 2 - 1)", "=( 1 x^ 1 + 1 )( 1 x^ 1 - 1 )", "=(x + 1)(x - 1)"}));
  QCOMPARE(QString::fromStdString(fixture.printer.ended[0][0].result.presentation.shown.Text()),
           QStringLiteral("x² - 1 = (x - 1)(x + 1)"));
  // Finding: it asked whether the printer was ready before it knew there was
  // one; the one question left says what each answer does to the page.
  QCOMPARE(fixture.dialogs.Questions(), std::vector<std::string>{kPrintNowQuestion});
  QVERIFY(QString::fromUtf8(kPrintNowQuestion).startsWith(QString::fromUtf8(kPrintNow)));
  for (const auto& box : fixture.dialogs.shown) QCOMPARE(box.caption, std::string("注意"));
  QVERIFY(!fixture.files.IsOpen(3));

  // Typed with brackets, the problem is printed as typed.
  fixture.dialogs.Answer({true});
  PrintResultLines(fixture.printer, fixture.dialogs, {"x^ 2- 1 ", "=(x + 1)(x - 1)"}, 0, "(x+1)^2-2(x+1)");
  QCOMPARE(QString::fromStdString(fixture.printer.ended.back().back().result.presentation.shown.Text()),
           QStringLiteral("(x + 1)² - 2(x + 1) = (x - 1)(x + 1)"));
}

void PrintCommandTest::emptyFileGivesAResultWithoutWorking() {
  Fixture fixture;
  QCOMPARE(fixture.PrintFile(""), Lines{});
  QCOMPARE(fixture.dialogs.Questions().size(), size_t{1});
}

void PrintCommandTest::cancelledPrintDialogIsTold() {
  Fixture fixture;
  fixture.printer.cancels = true;
  fixture.PrintFile("x\r\n");
  QVERIFY(!fixture.printer.HasOpenDocument());
  QCOMPARE(fixture.dialogs.Messages(), std::vector<std::string>{kNotPrinted});
}

void PrintCommandTest::noAtSecondQuestionLeavesDocumentOpen() {
  Fixture fixture;
  fixture.folder.Write("jg.dat", "first\r\n");
  fixture.dialogs.Answer({false});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QVERIFY(fixture.printer.HasOpenDocument());
  QVERIFY(fixture.printer.ended.empty());

  // The next run adds its result below.
  fixture.folder.Write("jg.dat", "second\r\n");
  fixture.dialogs.Answer({true});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QCOMPARE(fixture.printer.ended.size(), size_t{1});
  QCOMPARE(fixture.printer.ended[0].size(), size_t{2});
  QCOMPARE(fixture.printer.ended[0][0].working, Lines{"first"});
  QCOMPARE(fixture.printer.ended[0][1].working, Lines{"second"});

  // Left open again, it is ended at the end of the program.
  fixture.dialogs.Answer({false});
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  EndOpenDocument(fixture.printer, fixture.dialogs);
  QCOMPARE(fixture.printer.ended.size(), size_t{2});
  EndOpenDocument(fixture.printer, fixture.dialogs);  // nothing open: nothing happens
  QCOMPARE(fixture.printer.ended.size(), size_t{2});
}

void PrintCommandTest::missingResultFileIsTold() {
  Fixture fixture;
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QCOMPARE(fixture.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(fixture.dialogs.Messages()[0]).contains("jg.dat"));
  QVERIFY(!fixture.printer.HasOpenDocument());
  QVERIFY(fixture.dialogs.AllAnswered());
}

void PrintCommandTest::failingPrinterIsToldAndDocumentDropped() {
  Fixture fixture;
  fixture.printer.fails = true;
  fixture.folder.Write("jg.dat", "1\r\n2\r\n3\r\n");
  PrintResults(fixture.printer, fixture.files, fixture.dialogs);
  QVERIFY(!fixture.printer.HasOpenDocument());
  QVERIFY(fixture.printer.ended.empty());
  QCOMPARE(fixture.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(fixture.dialogs.Messages()[0]).contains("out of paper"));
  QVERIFY(!fixture.files.IsOpen(3));
}

void PrintCommandTest::documentInAFileIsNamed() {
  Fixture fixture;
  fixture.printer.file = "jg-1.pdf";
  fixture.PrintFile("x\r\n");
  QCOMPARE(fixture.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(fixture.dialogs.Messages()[0]).contains("jg-1.pdf"));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::PrintCommandTest)
#include "print_command_test.moc"
