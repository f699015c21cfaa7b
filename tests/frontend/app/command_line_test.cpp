// The front end from the command line, without a display: the worksheet
// (pfac --worksheet), the steps of one factorisation (pfac --explain), the
// graph of y = f(x) (pfac --graph), the usage, and the windows' start where
// there is no display.
#include <QCoreApplication>
#include <cmath>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTest>

#include "frontend/app/folder_lock.h"
#include "frontend/graph/graph_picture.h"
#include "frontend/input/typed_input.h"
#include "tests/frontend/support/fakes.h"
#include "tests/frontend/support/pdf_text.h"
#include "tests/frontend/support/worksheet_list.h"

namespace pfac::frontend {
namespace {

using testing::kProblems;
using testing::kRefusedRow;
using testing::ListText;
using testing::WorkFolder;

class CommandLineTest : public QObject {
  Q_OBJECT

 private slots:
  void commandLineWithoutDisplay();
  void stepsFromTheCommandLine();
  void graphPictures_data();
  void graphPictures();
  void optionsAnsweredWithoutWindowOrLock_data();
  void optionsAnsweredWithoutWindowOrLock();
  void noDisplayNoWindowNoWait();
  void overTheRealsFromTheCommandLine();
};

// The front end from the command line, without a display; its exit status
// (-1 when it did not end), and what it wrote to standard output.
int RunFrontEnd(const WorkFolder& folder, const QStringList& arguments, QByteArray* output = nullptr,
                QByteArray* errors = nullptr) {
  QProcess pfac;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  pfac.setProcessEnvironment(environment);
  pfac.setWorkingDirectory(folder.Path());
  pfac.start(QStringLiteral(PFAC_FRONTEND_BINARY), arguments);
  if (!pfac.waitForFinished(240000)) return -1;
  if (output != nullptr) *output = pfac.readAllStandardOutput();
  if (errors != nullptr) *errors = pfac.readAllStandardError();
  return pfac.exitStatus() == QProcess::NormalExit ? pfac.exitCode() : -1;
}

// pfac --worksheet LIST OUT: no display, a line for each problem, the PDF,
// and the exit status 1 when a line was refused, 0 when none was, 2 when the
// list cannot be read.
void CommandLineTest::commandLineWithoutDisplay() {
  WorkFolder folder;
  folder.Write("list.txt", ListText().toUtf8());
  folder.Write("good.txt", "x^2-1\n(x+1)^2\n");
  auto run = [&folder](const QStringList& arguments, QByteArray* output = nullptr) {
    return RunFrontEnd(folder, QStringList{"--worksheet"} + arguments, output);
  };
  QByteArray output;
  QCOMPARE(run({"list.txt", "list.pdf"}, &output), 1);
  const QList<QByteArray> lines = output.trimmed().split('\n');
  QCOMPARE(lines.size(), kProblems);
  QVERIFY2(lines[kRefusedRow].startsWith("18\tx^2+*3\t"), lines[kRefusedRow].constData());
  QVERIFY2(lines[2].contains(QStringLiteral("在有理数域上不可约").toUtf8()), lines[2].constData());
  QVERIFY(testing::PdfText(folder, "list.pdf").join('\n').contains(QStringLiteral("答案 / answer key")));

  QCOMPARE(run({"good.txt", "good.pdf"}), 0);
  QVERIFY(folder.Exists("good.pdf"));
  QVERIFY(!testing::PdfText(folder, "good.pdf").join('\n').contains(QStringLiteral("公式法")));
#ifdef PFAC_EXACT
  // The graphs of the answers in one letter in the key, when asked.
  QVERIFY(!testing::PdfText(folder, "good.pdf").join('\n').contains(QStringLiteral("y = x² − 1")));
  QCOMPARE(run({"--with-graphs", "good.txt", "graphs.pdf"}), 0);
  QVERIFY(testing::PdfText(folder, "graphs.pdf").join('\n').contains(QStringLiteral("y = x² − 1")));
#endif
  QCOMPARE(run({"--steps", "good.txt", "steps.pdf"}), 0);
  QVERIFY(testing::PdfText(folder, "steps.pdf").contains(
      QStringLiteral("2. 公式法 / formulas: = (x + 1)² （a² + 2ab + b², a = x, b = 1）")));
  QCOMPARE(run({"missing.txt", "missing.pdf"}), 2);
  QVERIFY(!folder.Exists("missing.pdf"));
  QCOMPARE(run({"good.txt"}), 2);
  QCOMPARE(run({"good.txt", "one.pdf", "two.pdf"}), 2);
  QVERIFY(!folder.Exists("one.pdf") && !folder.Exists("two.pdf"));

  // A list saved with CR LF line ends, and a line holding only a full-width
  // blank: two problems, both read.
  folder.Write("crlf.txt", "x^2-1\r\n\xe3\x80\x80\r\nx^2-4\r\n");
  QCOMPARE(run({"crlf.txt", "crlf.pdf"}, &output), 0);
  const QList<QByteArray> crlf = output.trimmed().split('\n');
  QCOMPARE(crlf.size(), 2);
  QVERIFY2(crlf[1].startsWith("2\tx^2-4\t"), crlf[1].constData());
}

// pfac --explain POLY: the steps, one a line, the method first, each step's
// detail indented under it, and the factorisation last; a text that cannot be read is refused.
void CommandLineTest::stepsFromTheCommandLine() {
  WorkFolder folder;
  QByteArray output;
  QCOMPARE(RunFrontEnd(folder, {"--explain", "x^3 - 6x^2 + 11x - 6"}, &output), 0);
  // The steps' lines; their detail stands indented under them.
  QStringList lines = QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts);
  QVERIFY(lines.contains(QStringLiteral("    f(1) = 0, 所以 x - 1 是因式 / so it is a factor")));
  lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("    ")); });
  QCOMPARE(lines,
           (QStringList{QStringLiteral("试根法 / rational root\t= (x - 1)(x² - 5x + 6)\tx = 1 使多项式为 0 / makes it 0"),
                        QStringLiteral("十字相乘法 / cross method\t= (x - 3)(x - 2)(x - 1)\t"
                                       "十字: (-2) × (-3) = 6, (-2) + (-3) = -5"),
                        QStringLiteral("x³ - 6x² + 11x - 6 = (x - 3)(x - 2)(x - 1)")}));
  QCOMPARE(RunFrontEnd(folder, {"--explain", "x^2+*3"}, &output), 1);
  QVERIFY(output.isEmpty());
  QCOMPARE(RunFrontEnd(folder, {"--explain"}), 2);
  QVERIFY(QDir(folder.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

// pfac --graph POLY OUT.png: the picture of y = f(x), checked by its pixels
// at the places the view gives: the x-axis drawn across, a mark at each real
// root and none elsewhere on the axis, the curve through a point of its own;
// the roots, exactly, on standard output.
void CommandLineTest::graphPictures_data() {
  QTest::addColumn<QString>("polynomial");
  QTest::addColumn<QList<double>>("roots");
  QTest::addColumn<QString>("said");
  QTest::addColumn<bool>("real");  // --real: roots with square roots labelled with them
  QTest::newRow("three roots") << "x^3-x" << QList<double>{-1, 0, 1}
                               << QStringLiteral("y = x³ − x\t实根 / real roots: −1, 0, 1") << false;
  QTest::newRow("a double root") << "(x-1)^2(x+2)" << QList<double>{-2, 1}
                                 << QStringLiteral("y = (x − 1)²(x + 2)\t实根 / real roots: −2, 1 (二重根)") << false;
  QTest::newRow("no real root") << "x^2+1" << QList<double>{} << QStringLiteral("y = x² + 1\t没有实根 / no real root")
                                << true;
  QTest::newRow("four roots") << "x^4-5x^2+4" << QList<double>{-2, -1, 1, 2}
                              << QStringLiteral("y = x⁴ − 5x² + 4\t实根 / real roots: −2, −1, 1, 2") << false;
  QTest::newRow("square roots over the reals")
      << "x^2-2x-1" << QList<double>{1 - std::sqrt(2.0), 1 + std::sqrt(2.0)}
      << QStringLiteral("y = x² − 2x − 1\t实根 / real roots: 1 − √2, 1 + √2") << true;
  QTest::newRow("square roots in decimals") << "x^2-2x-1" << QList<double>{1 - std::sqrt(2.0), 1 + std::sqrt(2.0)}
                                            << QStringLiteral("y = x² − 2x − 1\t实根 / real roots: −0.414, 2.414")
                                            << false;
  QTest::newRow("twelve roots, each labelled")
      << "(x-1)(x-2)(x-3)(x-4)(x-5)(x-6)(x-7)(x-8)(x-9)(x-10)(x-11)(x-12)"
      << QList<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}
      << QStringLiteral("y = (x − 1)(x − 2)(x − 3)(x − 4)(x − 5)(x − 6)(x − 7)(x − 8)(x − 9)(x − 10)(x − 11)(x − 12)\t"
                        "实根 / real roots: 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12")
      << false;
}

void CommandLineTest::graphPictures() {
#ifndef PFAC_EXACT
  QSKIP("the real roots are found with the exact arithmetic, which this build has not");
#endif
  QFETCH(QString, polynomial);
  QFETCH(QList<double>, roots);
  QFETCH(QString, said);
  QFETCH(bool, real);
  WorkFolder folder;
  QByteArray out;
  const QStringList field = real ? QStringList{"--real"} : QStringList{};
  QCOMPARE(RunFrontEnd(folder, QStringList{"--graph", polynomial, "graph.png"} + field, &out), 0);
  QCOMPARE(QString::fromUtf8(out).trimmed(), said);
  const QImage picture(QDir(folder.Path()).filePath("graph.png"));
  QCOMPARE(picture.size(), QSize(kPictureWidth, kPictureHeight));

  // Where the view puts the axis and the roots.
  std::string why;
  const ConvertedText read = ConvertTypedText(polynomial.toStdString(), ExactExpander().get());
  const std::optional<GraphData> graph = GraphOf(read.value, read.letters, {}, &why);
  QVERIFY2(graph, why.c_str());
  const GraphFrame frame(QRectF(picture.rect()), ChooseView(graph->roots), kPictureFontPixels);
  auto colourNear = [&picture](QPointF at, unsigned colour, int reach) {
    for (int dx = -reach; dx <= reach; ++dx) {
      for (int dy = -reach; dy <= reach; ++dy) {
        const QPoint p = at.toPoint() + QPoint(dx, dy);
        if (picture.rect().contains(p) && (picture.pixel(p) & 0xffffff) == colour) return true;
      }
    }
    return false;
  };
  const double axisY = frame.At(0, 0).y();
  const QRectF plot = frame.Plot();
  int axisColumns = 0, markColumns = 0;
  for (int x = static_cast<int>(plot.left()) + 2; x < static_cast<int>(plot.right()) - 40; ++x) {
    // The axis, or the curve where it lies along the axis (twelve roots close together).
    axisColumns += colourNear(QPointF(x, axisY), kAxisColour, 1) || colourNear(QPointF(x, axisY), kCurveColour, 1);
    markColumns += colourNear(QPointF(x, axisY), kRootColour, 0);
  }
  QVERIFY2(axisColumns > 0.8 * (plot.width() - 42), qPrintable(QString::number(axisColumns)));
  for (double root : roots) {
    QVERIFY2(colourNear(frame.At(root, 0), kRootColour, 2), qPrintable(QString::number(root)));
    // Inside the plot with room around it, not at its edge.
    const double px = frame.At(root, 0).x();
    QVERIFY2(px > plot.left() + 0.05 * plot.width() && px < plot.right() - 0.05 * plot.width(),
             qPrintable(QString::number(root)));
  }
  // A ring round a repeated root's mark, none round a simple one's: the
  // mark's colour half a letter's height below its place.
  for (const exact::LabelledRoot& root : graph->roots.roots) {
    const QPointF at = frame.At(root.value, 0);
    bool ring = false;
    for (double dy = 0.45 * kPictureFontPixels; dy <= 0.8 * kPictureFontPixels; dy += 1) {
      ring = ring || colourNear(at + QPointF(0, dy), kRootColour, 0);
    }
    QVERIFY2(ring == (root.multiplicity > 1), qPrintable(QString::fromStdString(root.label)));
  }
  // Every root labelled: the labels' colour in the plot.
  const QRgb labelColour = QColor::fromRgb(static_cast<QRgb>(kRootColour)).darker(130).rgb() & 0xffffff;
  int labelPixels = 0;
  for (int y = static_cast<int>(plot.top()); y < static_cast<int>(plot.bottom()); ++y) {
    for (int x = static_cast<int>(plot.left()); x < static_cast<int>(plot.right()); ++x) {
      labelPixels += (picture.pixel(x, y) & 0xffffff) == labelColour;
    }
  }
  QVERIFY2(roots.isEmpty() ? labelPixels == 0 : labelPixels > 0, qPrintable(QString::number(labelPixels)));
  // Marks only at the roots: each a few pixels wide.
  QVERIFY(roots.isEmpty() ? markColumns == 0 : markColumns < 20 * roots.size());
  // A point of the curve between marks.
  const double x = frame.View().xMin + 0.37 * (frame.View().xMax - frame.View().xMin);
  QVERIFY(colourNear(frame.At(x, ValueAt(graph->roots, x)), kCurveColour, 2));
}

// Findings: --help and any unknown option opened the windows and took the
// folder's lock, or aborted in Qt without a display. Each answers on its
// stream and ends, touching nothing in the folder.
void CommandLineTest::optionsAnsweredWithoutWindowOrLock_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("output");  // a piece of standard output; empty: nothing there
  QTest::addColumn<QString>("errors");  // a piece of standard error; empty: nothing there
  QTest::newRow("help") << QStringList{"--help"} << 0 << QStringLiteral("pfac --explain POLYNOMIAL") << "";
  QTest::newRow("version") << QStringList{"--version"} << 0 << "pfac 1." << "";
  QTest::newRow("unknown option") << QStringList{"--colour", "x"} << 2 << ""
                                  << QStringLiteral("不认识的参数 --colour / unknown option --colour");
  QTest::newRow("a file name") << QStringList{"list.txt"} << 2 << "" << QStringLiteral("用法 / usage");
  QTest::newRow("graph misused") << QStringList{"--graph", "x^2-1"} << 2 << ""
                                 << QStringLiteral("用法 / usage: pfac --graph POLYNOMIAL OUT.png|OUT.pdf [--real]");
  QTest::newRow("graph of two letters") << QStringList{"--graph", "x^2-y", "g.png"} << 1 << ""
                                        << QString::fromUtf8(kNotOneLetter);
  QTest::newRow("graph of a refused text") << QStringList{"--graph", "x^2+*3", "g.png"} << 1 << ""
                                           << QStringLiteral("第 5 个字符 '*' 不能出现在这里");
  QTest::newRow("graph in no picture format") << QStringList{"--graph", "x^2-1", "g.jpg"} << 2 << ""
                                              << QStringLiteral("must end in .png or .pdf");
  QTest::newRow("worksheet misused") << QStringList{"--worksheet", "a.txt"} << 2 << ""
                                     << QStringLiteral("用法 / usage: pfac --worksheet [--steps] [--with-graphs] LIST.txt OUT.pdf");
  // Qt's own complaint about the file stays out of what the user reads.
  QTest::newRow("unwritable worksheet") << QStringList{"--worksheet", "good.txt", "no/such/folder/out.pdf"} << 2
                                        << "1\tx^2-1" << QStringLiteral("无法创建文件");
}

void CommandLineTest::optionsAnsweredWithoutWindowOrLock() {
  QFETCH(QStringList, arguments);
  QFETCH(int, status);
  QFETCH(QString, output);
  QFETCH(QString, errors);
  WorkFolder folder;
  folder.Write("good.txt", "x^2-1\n");
  QByteArray out, err;
  QCOMPARE(RunFrontEnd(folder, arguments, &out, &err), status);
  QVERIFY2(output.isEmpty() ? out.isEmpty() : QString::fromUtf8(out).contains(output), out.constData());
  QVERIFY2(errors.isEmpty() ? err.isEmpty() : QString::fromUtf8(err).contains(errors), err.constData());
  QVERIFY2(!err.contains("QPainter") && !err.contains("Qt"), err.constData());
  QCOMPARE(QDir(folder.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"good.txt"});
}

// Without a display the windows cannot open: pfac says so and ends, and a
// second pfac in a folder another holds says that instead of waiting on a
// message box nobody sees.
void CommandLineTest::noDisplayNoWindowNoWait() {
  WorkFolder folder;
  QByteArray out, err;
  QCOMPARE(RunFrontEnd(folder, {}, &out, &err), 1);
  QVERIFY2(QString::fromUtf8(err).contains(QStringLiteral("图形显示")) && err.contains("graphical display"),
           err.constData());
  QVERIFY(!folder.Exists(kFolderLockFile));

  FolderLock held(folder.Path());
  std::string why;
  QVERIFY(held.Take(&why));
  QCOMPARE(RunFrontEnd(folder, {}, &out, &err), 1);
  QVERIFY2(QString::fromUtf8(err).contains(QStringLiteral("已经打开了一个因式分解程序")) &&
               err.contains(QByteArray::number(QCoreApplication::applicationPid())),
           err.constData());
}

// --real: the worksheet's task line says the field, its answers and steps
// have their square roots; the explanation ends in the steps over the reals
// and the answer over them.
void CommandLineTest::overTheRealsFromTheCommandLine() {
  WorkFolder folder;
  folder.Write("real.txt", "x^2-2\nx^2-2x-1\nx^2+1\nx^4-4\n");
  QByteArray output;
  QCOMPARE(RunFrontEnd(folder, {"--worksheet", "--steps", "real.txt", "real.pdf", "--real"}, &output), 0);
  const QList<QByteArray> lines = output.trimmed().split('\n');
  QCOMPARE(lines.size(), 4);
  QVERIFY2(lines[1].startsWith(QStringLiteral("2\tx^2-2x-1\tx² - 2x - 1 = (x - 1 - √2)(x - 1 + √2)\t").toUtf8()),
           lines[1].constData());
  const QString page = testing::PdfText(folder, "real.pdf").join('\n');
  QVERIFY2(page.contains(QStringLiteral("在实数范围内分解因式 / Factor over the reals:")), qPrintable(page));
  QVERIFY2(page.contains(QStringLiteral("公式法 / formulas: = (x − √2)(x + √2)")), qPrintable(page));
  // The step over the reals numbered on from those over Q.
  QVERIFY2(page.contains(QStringLiteral("2. 公式法 / formulas: = (x² + 2)(x − √2)(x + √2)")), qPrintable(page));
  QVERIFY2(page.contains(QStringLiteral("判别式 < 0, 在实数范围内不能再分解")), qPrintable(page));
  // The default sheet keeps its task line.
  QCOMPARE(RunFrontEnd(folder, {"--worksheet", "real.txt", "rational.pdf"}), 0);
  QVERIFY(testing::PdfText(folder, "rational.pdf").contains(QStringLiteral("在有理数域上分解因式 / Factor over the rationals:")));

  QCOMPARE(RunFrontEnd(folder, {"--explain", "--real", "x^4+1"}, &output), 0);
  const QStringList explained = QString::fromUtf8(output).split('\n', Qt::SkipEmptyParts);
  QVERIFY(explained.size() >= 2);
  QCOMPARE(explained[explained.size() - 2],
           QStringLiteral("配方 / completing the square\t= (x² - √2·x + 1)(x² + √2·x + 1)\tx⁴ + 1 = (x² + 1)² - (√2·x)²"));
  QVERIFY2(explained.back().startsWith(QStringLiteral("x⁴ + 1 = (x² - √2·x + 1)(x² + √2·x + 1), ")),
           qPrintable(explained.back()));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::CommandLineTest)
#include "command_line_test.moc"
