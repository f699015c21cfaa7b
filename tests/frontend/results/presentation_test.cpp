// The result as the student reads it, copies it and a teacher pastes it into
// LaTeX: the jg.dat of a real run of the engine (or of an earlier one, for
// runs that take minutes or keys) read and presented.
#include <QTest>

#include "frontend/input/typed_input.h"
#include "frontend/results/result_presentation.h"
#include "frontend/results/run_result.h"
#include "tests/frontend/support/result_files.h"

namespace pfac::frontend {
namespace {

using testing::DataFile;
using testing::ResultLines;

// The lines of jg.dat after the real engine ran on the polynomial.
std::vector<std::string> RunEngine(const QString& polynomial) {
  testing::WorkFolder folder;
  folder.Write("DXS.DAT", "\"" + polynomial.toUtf8() + "\"\r\n");
  testing::RunEngineIn(folder.Path());
  return ResultLines(folder.Read("jg.dat"));
}

class PresentationTest : public QObject {
  Q_OBJECT

 private slots:
  void whatTheStudentSees_data();
  void whatTheStudentSees();
  void engineFormsAsTheyStand_data();
  void engineFormsAsTheyStand();
  void linesBreakBetweenFactorsAndTerms_data();
  void linesBreakBetweenFactorsAndTerms();
};

// run: the polynomial for the real engine, or the content of an earlier
// run's jg.dat. plain and latex: what "复制" and "复制 LaTeX" copy ("-" for
// nothing; an empty column is not checked).
void PresentationTest::whatTheStudentSees_data() {
  QTest::addColumn<QByteArray>("run");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("plain");
  QTest::addColumn<QString>("latex");
  QTest::newRow("course polynomial") << QByteArray("x^3-6x^2+4x+15")
                                     << QStringLiteral("x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)")
                                     << "x^3-6x^2+4x+15 = (x-3)(x^2-3x-5)" << "x^{3}-6x^{2}+4x+15=(x-3)(x^{2}-3x-5)";
  // (x+1)(x+y+z)², expanded: the letters alphabetical, the square combined
  // although the engine writes (x+1) between the two.
  QTest::newRow("(x+1)(x+y+z)^2")
      << QByteArray("x^3+2x^2y+2x^2z+x^2+xy^2+2xyz+2xy+xz^2+2xz+y^2+2yz+z^2")
      << QStringLiteral("x³ + 2x²y + 2x²z + x² + xy² + 2xyz + 2xy + xz² + 2xz + y² + 2yz + z² = (x + 1)(x + y + z)²")
      << "x^3+2x^2y+2x^2z+x^2+xy^2+2xyz+2xy+xz^2+2xz+y^2+2yz+z^2 = (x+1)(x+y+z)^2"
      << "x^{3}+2x^{2}y+2x^{2}z+x^{2}+xy^{2}+2xyz+2xy+xz^{2}+2xz+y^{2}+2yz+z^{2}=(x+1)(x+y+z)^{2}";
  QTest::newRow("difference of squares") << QByteArray("4x^2-9y^2") << QStringLiteral("4x² - 9y² = (2x - 3y)(2x + 3y)")
                                         << "4x^2-9y^2 = (2x-3y)(2x+3y)" << "";
  QTest::newRow("sign folded in front") << QByteArray("-x^2+1") << QStringLiteral("-x² + 1 = -(x - 1)(x + 1)")
                                        << "-x^2+1 = -(x-1)(x+1)" << "-x^{2}+1=-(x-1)(x+1)";
  // A text typed starting with a positive term has no minus in front of its
  // answer: one factor takes the sign, written from its positive term.
  QTest::newRow("sign into a factor") << QByteArray("y^2-x^2") << QStringLiteral("y² - x² = (x + y)(y - x)")
                                      << "y^2-x^2 = (x+y)(y-x)" << "y^{2}-x^{2}=(x+y)(y-x)";
  QTest::newRow("sign into a factor, a number first") << QByteArray("1-x^2")
                                                      << QStringLiteral("1 - x² = (x + 1)(1 - x)") << "" << "";
  QTest::newRow("sign into the last factor") << QByteArray("6-11x+6x^2-x^3")
                                             << QStringLiteral("6 - 11x + 6x² - x³ = (x - 3)(x - 2)(1 - x)") << ""
                                             << "";
  // The problem as typed on the left, brackets and all.
  QTest::newRow("typed, a common bracket")
      << QByteArray("a(x-y)+b(y-x)") << QStringLiteral("a(x - y) + b(y - x) = (a - b)(x - y)")
      << "a(x-y)+b(y-x) = (a-b)(x-y)" << "a\\left(x-y\\right)+b\\left(y-x\\right)=(a-b)(x-y)";
  QTest::newRow("typed, a bracket squared")
      << QByteArray("(x^2+x)^2-8(x^2+x)+12")
      << QStringLiteral("(x² + x)² - 8(x² + x) + 12 = (x - 2)(x - 1)(x + 2)(x + 3)") << "" << "";
  QTest::newRow("typed with a minus first") << QByteArray("-(x-1)(x+1)")
                                            << QStringLiteral("-(x - 1)(x + 1) = -(x - 1)(x + 1)") << "" << "";
  QTest::newRow("typed, starting positive") << QByteArray("4(x+y)^2-9(x-y)^2")
                                            << QStringLiteral("4(x + y)² - 9(x - y)² = (x - 5y)(y - 5x)") << ""
                                            << "";
  // A decimal stays as typed on the left; its fraction comes in the answer.
  QTest::newRow("typed, a decimal") << QByteArray("0.25x^2-1.5(x-1.5)")
                                    << QStringLiteral("0.25x² - 1.5(x - 1.5) = 1/4(x - 3)²") << "" << "";
  // Terms by degree, then alphabetically.
  QTest::newRow("terms by degree") << QByteArray("2x^2+4xy+2y^2-8x-8y+10")
                                   << QStringLiteral("2x² + 4xy + 2y² - 8x - 8y + 10 = 2(x² + 2xy + y² - 4x - 4y + 5), "
                                                     "x² + 2xy + y² - 4x - 4y + 5 在有理数域上不可约")
                                   << "" << "";
  QTest::newRow("x^4-1") << QByteArray("x^4-1") << QStringLiteral("x⁴ - 1 = (x - 1)(x + 1)(x² + 1)") << "" << "";
  QTest::newRow("x^6-1") << QByteArray("x^6-1")
                         << QStringLiteral("x⁶ - 1 = (x - 1)(x + 1)(x² - x + 1)(x² + x + 1)") << "" << "";
  QTest::newRow("content and irreducible factor")
      << QByteArray("2x^2+4x+6") << QStringLiteral("2x² + 4x + 6 = 2(x² + 2x + 3), x² + 2x + 3 在有理数域上不可约")
      << QStringLiteral("2x^2+4x+6 = 2(x^2+2x+3), x^2+2x+3 在有理数域上不可约")
      << "2x^{2}+4x+6=2(x^{2}+2x+3),\\ x^{2}+2x+3\\ \\text{is irreducible over}\\ \\mathbb{Q}";
  QTest::newRow("fractions") << QByteArray("1/2x^2-3/4x+1")
                             << QStringLiteral("1/2x² - 3/4x + 1 = 1/4(2x² - 3x + 4), 2x² - 3x + 4 在有理数域上不可约")
                             << QStringLiteral("1/2x^2-3/4x+1 = 1/4(2x^2-3x+4), 2x^2-3x+4 在有理数域上不可约")
                             << "\\frac{1}{2}x^{2}-\\frac{3}{4}x+1=\\frac{1}{4}(2x^{2}-3x+4),\\ 2x^{2}-3x+4\\ "
                                "\\text{is irreducible over}\\ \\mathbb{Q}";
  QTest::newRow("fraction and sign") << QByteArray("-1/2x^2+1/2")
                                     << QStringLiteral("-1/2x² + 1/2 = -1/2(x - 1)(x + 1)") << ""
                                     << "-\\frac{1}{2}x^{2}+\\frac{1}{2}=-\\frac{1}{2}(x-1)(x+1)";
  QTest::newRow("irreducible") << QByteArray("x^2+1") << QStringLiteral("x² + 1 在有理数域上不可约 (irreducible over Q)")
                               << QStringLiteral("x^2+1 在有理数域上不可约 (irreducible over Q)")
                               << "x^{2}+1\\ \\text{is irreducible over}\\ \\mathbb{Q}";
  // The engine writes (-x + y)(x + y): typed from a positive term, the sign
  // stays in the factor, turned round to start with its positive term.
  QTest::newRow("sign of a factor turned round")
      << QByteArray("y^2-x^2") << QStringLiteral("y² - x² = (x + y)(y - x)") << "y^2-x^2 = (x+y)(y-x)" << "";
  QTest::newRow("irreducible, sign of the whole")
      << QByteArray("y-x") << QStringLiteral("y - x 在有理数域上不可约 (irreducible over Q)") << "" << "";
  // Finding: "2x" ended "2x = 2x" while "-x" was called irreducible; every
  // monomial gets the same words.
  QTest::newRow("a letter") << QByteArray("x") << QStringLiteral("x 是单项式, 不需要分解 (a monomial needs no factoring)")
                            << "" << "";
  QTest::newRow("minus a letter") << QByteArray("-x")
                                  << QStringLiteral("-x 是单项式, 不需要分解 (a monomial needs no factoring)") << "" << "";
  QTest::newRow("zero") << QByteArray("x-x") << QStringLiteral("x - x = 0") << "x-x = 0" << "x-x=0";
  QTest::newRow("a power of a letter") << QByteArray("x^2") << QStringLiteral("x² 是单项式, 不需要分解 (a monomial needs no factoring)") << "" << "";
  QTest::newRow("one term") << QByteArray("4x^3") << QStringLiteral("4x³ 是单项式, 不需要分解 (a monomial needs no factoring)")
                            << "4x^3 是单项式, 不需要分解 (a monomial needs no factoring)"
                            << "4x^{3}\\ \\text{is a monomial: it needs no factoring}";
  QTest::newRow("monomial factor") << QByteArray("x4y+2x3y2-x2y-2xy2")
                                   << QStringLiteral("x⁴y + 2x³y² - x²y - 2xy² = xy(x - 1)(x + 1)(x + 2y)") << "" << "";
  // The engine echoes letters in the order they first appear (by, ay: "ya").
  QTest::newRow("letters of a term alphabetical") << QByteArray("by+ax+ay+bx")
                                                  << QStringLiteral("by + ax + ay + bx = (a + b)(x + y)") << "" << "";
  QTest::newRow("repeated factors") << QByteArray("x^4-2x^2+1") << QStringLiteral("x⁴ - 2x² + 1 = (x - 1)²(x + 1)²")
                                    << "x^4-2x^2+1 = (x-1)^2(x+1)^2" << "x^{4}-2x^{2}+1=(x-1)^{2}(x+1)^{2}";
  // Runs of an earlier engine. Stopped: said as before, no "irreducible".
  QTest::newRow("stopped by the time limit")
      << DataFile("stopped-by-time-limit.dat") << QStringLiteral("x³²y³² - 1296 = (x⁸y⁸ - 6)(x⁸y⁸ + 6)(x¹⁶y¹⁶ + 36)")
      << "" << "";
  QTest::newRow("window closed during the search") << DataFile("stopped-by-signal.dat")
                                                   << QStringLiteral("x³²y³² - 1296") << "-" << "-";
  QTest::newRow("no certificate") << QByteArray("x^ 2+ 1 \r\n=(x^ 2 + 1)=(x^ 2 + 1)\r\n")
                                  << QStringLiteral("x² + 1 = (x² + 1)") << "" << "";
  // Not complete: the complete factorisation that follows is presented.
  QTest::newRow("not complete") << QByteArray("x^ 4+ 64 \r\n=(x^ 4 + 64)=(x^ 4 + 64)\r\n"
                                              "验证: 结果不完整, 搜索的系数界限漏掉了因式 / not complete: the search's "
                                              "coefficient bounds left factors out; the complete factorisation "
                                              "follows\r\n=(x^ 2 + 4x + 8)(x^ 2 - 4x + 8)\r\n")
                                << QStringLiteral("x⁴ + 64 = (x² - 4x + 8)(x² + 4x + 8)") << "" << "";
  QTest::newRow("not complete, proved irreducible")
      << DataFile("stopped-by-x-key.dat") +
             "验证: 结果不完整, 搜索被 X 键停止 / not complete: the search was stopped with the X key; the complete "
             "factorisation follows\r\n=(x^ 16 - 136x^ 14 + 6476x^ 12 - 141912x^ 10 + 1513334x^ 8 - 7453176x^ 6 + "
             "13950764x^ 4 - 5596840x^ 2 + 46225)\r\n"
      << QStringLiteral("x¹⁶ - 136x¹⁴ + 6476x¹² - 141912x¹⁰ + 1513334x⁸ - 7453176x⁶ + 13950764x⁴ - 5596840x² + "
                        "46225 在有理数域上不可约 (irreducible over Q)")
      << "" << "";
  // A number the engine cannot write exactly is shown as it stands.
  QTest::newRow("inexact number") << QByteArray("x^ 2- 1.677722E+07 \r\n=(x - 4096)(x + 4096)\r\n" + testing::kCompleteCertificate)
                                  << QStringLiteral("x² - 1.677722E+07 = (x - 4096)(x + 4096)") << "x^2-1.677722E+07 = (x-4096)(x+4096)"
                                  << "-";
}

void PresentationTest::whatTheStudentSees() {
  QFETCH(QByteArray, run);
  QFETCH(QString, shown);
  QFETCH(QString, plain);
  QFETCH(QString, latex);
  const bool earlierRun = run.contains('\n');
  // A text with brackets is typed: the engine gets it multiplied out, and
  // the result shows it as typed.
  const bool typed = !earlierRun && (run.contains('(') || run.contains('.'));
  const std::unique_ptr<Expander> expander = ExactExpander();
  const QString text =
      typed ? QString::fromStdString(ConvertTypedText(run.toStdString(), expander.get()).text) : QString::fromUtf8(run);
  RunResult result = ReadRunResult(earlierRun ? ResultLines(run) : RunEngine(text));
  if (typed) SetTyped(&result, run.toStdString());
  if (!earlierRun) QCOMPARE(result.end, RunEnd::Certified);
  QCOMPARE(QString::fromStdString(result.presentation.shown.Text()), shown);
  if (!plain.isEmpty()) QCOMPARE(QString::fromStdString(result.presentation.plain), plain == "-" ? "" : plain);
  if (!latex.isEmpty()) QCOMPARE(QString::fromStdString(result.presentation.latex), latex == "-" ? "" : latex);
}

void PresentationTest::engineFormsAsTheyStand_data() {
  QTest::addColumn<QString>("engine");
  QTest::addColumn<QString>("student");
  QTest::addColumn<QString>("plain");
  QTest::newRow("echo") << "x^ 3- 6 x^ 2+ 4 x+ 15 " << QStringLiteral("x³ - 6x² + 4x + 15") << "x^3-6x^2+4x+15";
  QTest::newRow("leading minus") << "-(x - 1)(x + 1)" << "-(x - 1)(x + 1)" << "-(x-1)(x+1)";
  QTest::newRow("minus inside") << "(-3y+ 2x)( 3y+ 2x)" << "(-3y + 2x)(3y + 2x)" << "(-3y+2x)(3y+2x)";
  QTest::newRow("unit coefficient, exponent 1") << "( 1 y^ 1 x^ 1 -1 )" << "(yx - 1)" << "(yx-1)";
  QTest::newRow("exponent of a run") << "(x - 1)^ 2(x + 1)^ 12" << QStringLiteral("(x - 1)²(x + 1)¹²")
                                     << "(x-1)^2(x+1)^12";
  QTest::newRow("coefficients with 1") << " 11x^ 10+ 21 x- 1/ 2" << QStringLiteral("11x¹⁰ + 21x - 1/2")
                                       << "11x^10+21x-1/2";
}

void PresentationTest::engineFormsAsTheyStand() {
  QFETCH(QString, engine);
  QFETCH(QString, student);
  QFETCH(QString, plain);
  QCOMPARE(QString::fromStdString(StudentForm(engine.toStdString())), student);
  QCOMPARE(QString::fromStdString(PlainForm(engine.toStdString())), plain);
}

// Widths in characters. kind: "result" (the course polynomial's result),
// "jg.dat" (a line of jg.dat, the first one when first is set) or "words".
void PresentationTest::linesBreakBetweenFactorsAndTerms_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("width");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("one line") << "result" << "" << 41
                            << QStringList{QStringLiteral("x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)")};
  QTest::newRow("the factorisation on a line of its own")
      << "result" << "" << 24 << QStringList{QStringLiteral("x³ - 6x² + 4x + 15 ="), QStringLiteral("(x - 3)(x² - 3x - 5)")};
  // (x² - 3x - 5) alone is 13 characters: only it breaks inside.
  QTest::newRow("inside a factor only when it is wider than the line")
      << "result" << "" << 12
      << QStringList{QStringLiteral("x³ - 6x²"), QStringLiteral("+ 4x + 15 ="), QStringLiteral("(x - 3)(x²"),
                     QStringLiteral("- 3x - 5)")};
  QTest::newRow("jg.dat, outer terms first")
      << "jg.dat" << "=[ 1*x^ 3+(-3 -3 )*x^ 2+( 9 -5 )*x+ 15]" << 20
      << QStringList{"=[ 1*x^ 3", "+(-3 -3 )*x^ 2", "+( 9 -5 )*x+ 15]"};
  QTest::newRow("jg.dat, restated line") << "jg.dat" << "=(x^ 4 + 64)=(x^ 4 + 64)" << 16
                                         << QStringList{"=(x^ 4 + 64)", "=(x^ 4 + 64)"};
  QTest::newRow("jg.dat, the echo") << "first" << "x^ 3- 6 x^ 2+ 4 x+ 15 " << 12
                                    << QStringList{"x^ 3- 6 x^ 2", "+ 4 x+ 15"};
  QTest::newRow("jg.dat, words") << "jg.dat"
                                 << QStringLiteral("验证: 结果完整, 每个因式在有理数域上不可约 / verified: the "
                                                   "factorisation is complete")
                                 << 20
                                 << QStringList{QStringLiteral("验证: 结果完整,"), QStringLiteral("每个因式在有理数域上不可约 /"),
                                                "verified: the", "factorisation is", "complete"};
  QTest::newRow("a word wider than the line is cut") << "words" << "a abcdefghij b" << 4
                                                     << QStringList{"a", "abcd", "efgh", "ij b"};
}

void PresentationTest::linesBreakBetweenFactorsAndTerms() {
  QFETCH(QString, kind);
  QFETCH(QString, text);
  QFETCH(int, width);
  QFETCH(QStringList, lines);
  const std::string line = text.toStdString();
  Breakable breakable;
  if (kind == "result") {
    breakable = Present("x^ 3- 6 x^ 2+ 4 x+ 15 ", "(x - 3)(x^ 2 - 3x - 5)", true).shown;
  } else if (kind == "words") {
    breakable = ProseText(line);
  } else {
    breakable = ResultFileLine(line, kind == "first");
  }
  const Measure characters = [](std::string_view piece) { return static_cast<double>(CharacterCount(piece)); };
  QStringList broken;
  for (const std::string& piece : BreakLines(breakable, width, characters)) broken << QString::fromStdString(piece);
  QCOMPARE(broken, lines);
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::PresentationTest)
#include "presentation_test.moc"
