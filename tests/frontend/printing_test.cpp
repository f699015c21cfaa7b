// "打印" from the main window into a PDF file, read back with pdftotext.
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

#include "tests/frontend/support/main_window_parts.h"

namespace pfac::frontend {
namespace {

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
  // Writes jg.dat and clicks "打印", answering the two questions.
  void Print(const QByteArray& result, bool printNow = true) {
    folder.Write("jg.dat", result);
    dialogs.Answer({true, printNow});
    Click("cmddayin");
  }
};

// The text of a PDF in the working folder, one entry a line, blanks at the
// ends of lines and empty lines dropped.
QStringList PdfText(const WorkFolder& folder, const QString& name) {
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) {
    QTest::qFail("pdftotext (poppler-utils) is not installed", __FILE__, __LINE__);
    return {};
  }
  QProcess process;
  process.start(pdftotext, {"-layout", "-enc", "UTF-8", QDir(folder.Path()).filePath(name), "-"});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    QTest::qFail(qPrintable("pdftotext failed on " + name), __FILE__, __LINE__);
    return {};
  }
  QStringList lines;
  for (QString line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
    line.remove('\f');
    while (line.endsWith(' ')) line.chop(1);
    if (!line.isEmpty()) lines << line;
  }
  return lines;
}

class PrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void collapsedFactorsAndPiecesInPdf();
  void lineFourBracketRuleInPdf();
  void emptyResultFileGivesEmptyPage();
  void longResultRunsOverPages();
  void openDocumentIsPrintedAtEnd();
  void onlyTheCurrentResultIsPrinted();
  void stoppedRunIsPrintedWithItsStopLine();
  void pdfIsMadeWhenTheDocumentEnds();
};

void PrintingTest::collapsedFactorsAndPiecesInPdf() {
  Fixture f;
  const QByteArray header = QByteArray("ABCDEFGHIJ").repeated(9);  // 90 characters
  f.Print("x^ 4 y+ 2 x^ 3 y^ 2- x^ 2 y- 2 x y^ 2 \r\n" + header +
          "\r\n因式分解结果:\r\n=x y(x+2 y)(x-1)(x-1)(x+1)\r\n3(x-1)(x-1)(x-1)\r\n");
  QCOMPARE(f.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(f.dialogs.Messages()[0]).contains("jg-1.pdf"));
  QCOMPARE(PdfText(f.folder, "jg-1.pdf"),
           (QStringList{"x^ 4 y+ 2 x^ 3 y^ 2- x^ 2 y- 2 x y^ 2", header.left(80), "ABCDEFGHIJ",
                        QStringLiteral("因式分解结果:"), "=x y(x+2 y)(x-1)^ 2(x+1)", "3(x-1)^ 3"}));
}

void PrintingTest::lineFourBracketRuleInPdf() {
  Fixture f;
  f.Print("h1\r\nh2\r\nh3\r\n[2](x+1)(x+1)\r\n[2](x+1)(x+1)\r\n");
  QCOMPARE(PdfText(f.folder, "jg-1.pdf"),
           (QStringList{"h1", "h2", "h3", "[2](x+1)(x+1)", "[2](x+1)^ 2"}));

  f.Print("h1\r\nh2\r\nh3\r\n(x+1)(x+1)\r\n");
  QCOMPARE(PdfText(f.folder, "jg-2.pdf"), (QStringList{"h1", "h2", "h3", "(x+1)^ 2"}));
}

void PrintingTest::emptyResultFileGivesEmptyPage() {
  Fixture f;
  f.Print("");
  QCOMPARE(f.dialogs.Questions().size(), size_t{2});
  QVERIFY(f.folder.Exists("jg-1.pdf"));
  QCOMPARE(PdfText(f.folder, "jg-1.pdf"), QStringList());
}

void PrintingTest::longResultRunsOverPages() {
  Fixture f;
  QByteArray result = "h1\r\nh2\r\nh3\r\n";
  QStringList expected{"h1", "h2", "h3"};
  for (int i = 1; i <= 150; ++i) {
    result += "(x-" + QByteArray::number(i) + ")\r\n";
    expected << QString("(x-%1)").arg(i);
  }
  f.Print(result);
  QCOMPARE(PdfText(f.folder, "jg-1.pdf"), expected);
}

void PrintingTest::openDocumentIsPrintedAtEnd() {
  Fixture f;
  f.Print("run one\r\n", false);
  QVERIFY(f.printer.HasOpenDocument());
  QVERIFY(f.dialogs.Messages().empty());
  f.Print("run two\r\n", false);

  // "退出" ends the document, which holds both runs.
  f.Click("Cmdtuichu");
  QVERIFY(!f.printer.HasOpenDocument());
  QCOMPARE(f.dialogs.Messages().size(), size_t{1});
  QCOMPARE(PdfText(f.folder, "jg-1.pdf"), (QStringList{"run one", "run two"}));
}

// Findings: "打印" printed the previous polynomial's result, and asked about
// the printer before it said there was no result. Only a jg.dat written after
// the current DXS.DAT is printed.
void PrintingTest::onlyTheCurrentResultIsPrinted() {
  Fixture f;  // x-1 submitted, no jg.dat
  f.Click("cmddayin");
  QCOMPARE(f.dialogs.Messages(), std::vector<std::string>{kNoResultYet});
  QVERIFY(f.dialogs.Questions().empty());

  // A result of this polynomial: printed.
  f.Print("x-1\r\n");
  QCOMPARE(PdfText(f.folder, "jg-1.pdf"), QStringList{"x-1"});

  // A refused text: DXS.DAT holds it now, and jg.dat is older.
  f.Click("Cmdshuru");
  f.window->findChild<QLineEdit*>("Text2")->setText("x^2 - 1");
  f.Click("CmdWANCHANG");
  f.Click("cmddayin");
  // An empty text: DXS.DAT still holds the previous polynomial, but the
  // window has none.
  f.Click("Cmdshuru");
  f.Click("CmdWANCHANG");
  f.Click("cmddayin");
  QCOMPARE(f.dialogs.Messages(), (std::vector<std::string>{kNoResultYet, f.dialogs.Messages()[1], kNoResultYet,
                                                           kNoResultYet}));
  QCOMPARE(f.dialogs.Questions().size(), size_t{2});
}

// Finding: a search ended by closing the engine's window left jg.dat empty,
// and an empty page was printed. Now its last line says the run was stopped.
void PrintingTest::stoppedRunIsPrintedWithItsStopLine() {
  Fixture f;
  QFile stopped(PFAC_FRONTEND_TEST_DATA "/stopped-by-signal.dat");
  QVERIFY(stopped.open(QIODevice::ReadOnly));
  f.Print(stopped.readAll());
  const QStringList printed = PdfText(f.folder, "jg-1.pdf");
  QCOMPARE(printed.size(), 5);
  QCOMPARE(printed.last(), QString("Stopped: the engine's window was closed (hang-up) before the run ended."));
}

// Finding: a No at "马上要印件吗？" left an empty jg-N.pdf, and the messages did
// not say where the file is.
void PrintingTest::pdfIsMadeWhenTheDocumentEnds() {
  Fixture f;
  f.Print("run one\r\n", false);
  QVERIFY(!f.folder.Exists("jg-1.pdf"));
  f.Print("run two\r\n", true);
  const QString pdf = QDir(f.folder.Path()).absoluteFilePath("jg-1.pdf");
  QCOMPARE(f.dialogs.Messages().size(), size_t{1});
  QVERIFY2(QString::fromStdString(f.dialogs.Messages()[0]).contains(pdf), f.dialogs.Messages()[0].c_str());
  QCOMPARE(PdfText(f.folder, "jg-1.pdf"), (QStringList{"run one", "run two"}));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::PrintingTest)
#include "printing_test.moc"
