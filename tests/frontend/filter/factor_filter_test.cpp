// pfac --factor, the filter for scripts, run as a script runs it: without a
// display, in an empty folder. Its plain output is read back and multiplied
// out by the tests' own arithmetic; the formats, standard input, the exit
// statuses, the time limit, and no file left behind.
#include <QDir>
#include <QProcess>
#include <QTest>

#include "tests/frontend/support/fakes.h"
#include "tests/support/poly_check.h"

// Takes the exact factoriser far longer than the limit of the test.
#define SLOW_POLYNOMIAL "x^99999+2x^7-3x+5"

namespace pfac::frontend {
namespace {

using testing::WorkFolder;
namespace check = pfac::testing;

class FactorFilterTest : public QObject {
  Q_OBJECT

 private slots:
  void plainOutputMultipliesBack();
  void formats();
  void overTheReals();
  void standardInputAndExitStatus();
  void timeLimitStopsALine();
};

struct Run {
  int status = -1;  // -1 when it did not end in order
  QString out;
  QString err;
};

// pfac --factor ARGUMENTS in `folder`, without a display, fed `input`.
Run Filter(const WorkFolder& folder, const QStringList& arguments, const QByteArray& input = {}) {
  QProcess pfac;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  pfac.setProcessEnvironment(environment);
  pfac.setWorkingDirectory(folder.Path());
  pfac.start(QStringLiteral(PFAC_FRONTEND_BINARY), QStringList{"--factor"} + arguments);
  pfac.write(input);
  pfac.closeWriteChannel();
  Run run;
  if (!pfac.waitForFinished(240000)) return run;
  run.out = QString::fromUtf8(pfac.readAllStandardOutput());
  run.err = QString::fromUtf8(pfac.readAllStandardError());
  run.status = pfac.exitStatus() == QProcess::NormalExit ? pfac.exitCode() : -1;
  return run;
}

std::string WithoutStars(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '*'), text.end());
  return text;
}

// A product in the filter's plain syntax, "-1/2*x^2*(x-1)^2*(x+y)", as the
// tests' arithmetic reads it: pieces joined by '*' outside brackets, each a
// number, a power of a letter, or a bracket with its power.
std::optional<check::Rational> ReadPlainProduct(std::string text) {
  check::Rational product{check::Poly::Constant(1), 1};
  if (text.size() > 1 && text[0] == '-' && (text[1] == '(' || std::isalpha(static_cast<unsigned char>(text[1])))) {
    product.numerator = product.numerator.Scaled(-1);
    text.erase(0, 1);
  }
  std::vector<std::string> pieces(1);
  int depth = 0;
  for (const char c : text) {
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    if (c == '*' && depth == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  for (const std::string& piece : pieces) {
    std::string base = piece;
    int exponent = 1;
    if (!piece.empty() && piece[0] == '(') {
      const size_t close = piece.rfind(')');
      if (close == std::string::npos) return std::nullopt;
      base = piece.substr(1, close - 1);
      if (close + 1 < piece.size()) {
        if (piece[close + 1] != '^') return std::nullopt;
        exponent = std::stoi(piece.substr(close + 2));
      }
    }
    const std::optional<check::Rational> factor = check::ParseInput(WithoutStars(base));
    if (!factor) return std::nullopt;
    for (int k = 0; k < exponent; ++k) {
      product.numerator = product.numerator * factor->numerator;
      product.denominator *= factor->denominator;
    }
  }
  return product;
}

// One textbook case and one just beyond each of the search's limits; each
// plain line "POLY = PRODUCT": POLY is the polynomial typed, and the product
// multiplies out to it.
void FactorFilterTest::plainOutputMultipliesBack() {
  check::Poly power = check::Poly::Constant(1);
  for (int k = 0; k < 25; ++k) power = power * (check::Poly::Variable('x') + check::Poly::Constant(2));
  const struct {
    const char* typed;
    std::string value;  // in the engine's syntax
    int factors;        // the pieces of the product, '*' counted
  } cases[] = {
      {"x^3-6x^2+4x+15", "x^3-6x^2+4x+15", 2},
      {"-6x^3y+6xy", "-6x^3y+6xy", 5},
      {"0.25x^2-1", "1/4x^2-1", 3},
      {"6", "6", 1},
      {"123456789x^2-1", "123456789x^2-1", 1},           // a coefficient beyond 16777216
      {"(x+2)^25", power.Text(), 1},                     // an expanded coefficient beyond it
      {"x^32768-1", "x^32768-1", 16},                     // an exponent beyond 32767
      {"(x+y+z+w)^4", "", 1},                            // 35 terms
      {"a+b+c+d+f+g+h+i+j", "a+b+c+d+f+g+h+i+j", 1},     // a ninth letter
      {"abcdefg+abcdefh", "abcdefg+abcdefh", 7},         // seven letters in a term
      {"1/4096x^2-1/4097", "1/4096x^2-1/4097", 2},       // a common denominator beyond 16777216
  };
  WorkFolder folder;
  QStringList arguments{"--format", "plain"};
  for (const auto& c : cases) arguments << c.typed;
  const Run run = Filter(folder, arguments);
  QCOMPARE(run.status, 0);
  QCOMPARE(run.err, QString());
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), int(std::size(cases)));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string line = lines[int(i)].toStdString();
    const size_t equals = line.find(" = ");
    QVERIFY2(equals != std::string::npos, line.c_str());
    const auto entered = check::ParseInput(WithoutStars(line.substr(0, equals)));
    const auto product = ReadPlainProduct(line.substr(equals + 3));
    QVERIFY2(entered && product, line.c_str());
    std::string why;
    QVERIFY2(check::SameValue(*entered, *product), line.c_str());
    if (!cases[i].value.empty()) QVERIFY2(check::SameValue(*entered, *check::ParseInput(cases[i].value)), line.c_str());
    int depth = 0;
    int pieces = 1;
    for (const char c : line.substr(equals + 3)) {
      depth += c == '(' ? 1 : c == ')' ? -1 : 0;
      pieces += c == '*' && depth == 0;
    }
    QVERIFY2(pieces == cases[i].factors, line.c_str());
  }
  QCOMPARE(QDir(folder.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
}

void FactorFilterTest::formats() {
  WorkFolder folder;
  const struct {
    const char* format;
    QString line;
  } cases[] = {
      {"text", QStringLiteral("x² - 1 = (x - 1)(x + 1)")},
      {"plain", "x^2-1 = (x-1)*(x+1)"},
      {"latex", "x^{2}-1=(x-1)(x+1)"},
      {"json", R"({"input": "x^2 - 1", "content": "1", "factors": [{"factor": "x-1", "multiplicity": 1}, )"
               R"({"factor": "x+1", "multiplicity": 1}], "complete": true})"},
  };
  for (const auto& c : cases) {
    const Run run = Filter(folder, {QStringLiteral("--format=%1").arg(c.format), "x^2 - 1"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, c.line + "\n");
  }
  const Run json = Filter(folder, {"--format", "json", "-1/2x^3+1/2x"});
  QCOMPARE(json.out, QString(R"({"input": "-1/2x^3+1/2x", "content": "-1/2", "factors": [{"factor": "x", )"
                             R"("multiplicity": 1}, {"factor": "x-1", "multiplicity": 1}, {"factor": "x+1", )"
                             R"("multiplicity": 1}], "complete": true})"
                             "\n"));
  QCOMPARE(Filter(folder, {"(x-1)^3(x+y)"}).out, QStringLiteral("x⁴ + x³y - 3x³ - 3x²y + 3x² + 3xy - x - y = (x - 1)³(x + y)\n"));
}

// Over the reals: the textbook's exercises as a class writes them, the
// minus before the root first, and what is said of a factor left whole; each
// answer multiplied out exactly over the square roots before it is written.
void FactorFilterTest::overTheReals() {
  WorkFolder folder;
  const char* const exercises[] = {"x^2-2", "x^4-4", "x^2-2x-1", "2x^2-4x-1", "x^2-3y^2", "3x^3-6x", "2x^2-3",
                                   "x^4+1", "x^4-2x^2-1", "x^2-2xy-y^2", "x^2+x+1", "x^3-2", "x^3-3x+1", "-x^2+8"};
  const Run text = Filter(folder, QStringList{"--real"} + [&] {
    QStringList list;
    for (const char* e : exercises) list << e;
    return list;
  }());
  QCOMPARE(text.status, 0);
  QCOMPARE(text.err, QString());
  QCOMPARE(text.out.split('\n', Qt::SkipEmptyParts),
           QStringList({
               "x² - 2 = (x - √2)(x + √2)",
               "x⁴ - 4 = (x² + 2)(x - √2)(x + √2), x² + 2: 判别式 < 0, 在实数范围内不能再分解 (no real root)",
               "x² - 2x - 1 = (x - 1 - √2)(x - 1 + √2)",
               "2x² - 4x - 1 = 2(x - (2 - √6)/2)(x - (2 + √6)/2)",
               "x² - 3y² = (x - √3·y)(x + √3·y)",
               "3x³ - 6x = 3x(x - √2)(x + √2)",
               "2x² - 3 = 2(x - √6/2)(x + √6/2)",
               "x⁴ + 1 = (x² - √2·x + 1)(x² + √2·x + 1), x² - √2·x + 1, x² + √2·x + 1: 判别式 < 0, 在实数范围内不能再分解 "
               "(no real root)",
               "x⁴ - 2x² - 1 = (x² - 1 - √2)(x² - 1 + √2), x² - 1 - √2: 有 2 个实根, 这里不再分解 (2 real roots; not "
               "split further here), x² - 1 + √2: 判别式 < 0, 在实数范围内不能再分解 (no real root)",
               "x² - 2xy - y² = (x - y - √2·y)(x - y + √2·y)",
               "x² + x + 1 判别式 < 0, 在实数范围内不能再分解 (no real root)",
               "x³ - 2 有 1 个实根, 这里不再分解 (1 real root; not split further here)",
               "x³ - 3x + 1 有 3 个实根, 这里不再分解 (3 real roots; not split further here)",
               "-x² + 8 = -(x - 2√2)(x + 2√2)",
           }));
  const struct {
    const char* format;
    const char* polynomial;
    QString line;
  } cases[] = {
      {"plain", "x^2-3y^2", "x^2-3*y^2 = (x-sqrt(3)*y)*(x+sqrt(3)*y)"},
      {"plain", "2x^2-3", "2*x^2-3 = 2*(x-sqrt(6)/2)*(x+sqrt(6)/2)"},
      // Over a denominator in brackets, the minus before the root first as in the text.
      {"plain", "2x^2-4x-1", "2*x^2-4*x-1 = 2*(x-(2-sqrt(6))/2)*(x-(2+sqrt(6))/2)"},
      {"plain", "4x^2-4xy-y^2", "4*x^2-4*x*y-y^2 = 4*(x-(1-sqrt(2))/2*y)*(x-(1+sqrt(2))/2*y)"},
      {"plain", "x^2-2xy-y^2", "x^2-2*x*y-y^2 = (x+(-1-sqrt(2))*y)*(x+(-1+sqrt(2))*y)"},
      {"latex", "x^2-3y^2", R"(x^{2}-3y^{2}=(x-\sqrt{3}y)(x+\sqrt{3}y))"},
      {"latex", "2x^2-4x-1", R"(2x^{2}-4x-1=2(x-\frac{2-\sqrt{6}}{2})(x-\frac{2+\sqrt{6}}{2}))"},
      {"latex", "x^2+1", R"(x^{2}+1\ \text{has no real root})"},
      {"json", "x^4-4",
       R"j({"input": "x^4-4", "field": "real", "content": "1", "factors": [{"factor": "x^2+2", "multiplicity": 1, )j"
       R"j("note": "判别式 < 0, 在实数范围内不能再分解"}, {"factor": "x-sqrt(2)", "multiplicity": 1}, )j"
       R"j({"factor": "x+sqrt(2)", "multiplicity": 1}], "complete": true})j"},
  };
  for (const auto& c : cases) {
    const Run run = Filter(folder, {"--real", "--format", c.format, c.polynomial});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, c.line + "\n");
  }
}

// Standard input: blank lines and comments passed over, a refused line said on
// standard error with its line number, the others answered in order; the
// exit status 1 when a line was refused, 2 for a usage error.
void FactorFilterTest::standardInputAndExitStatus() {
  WorkFolder folder;
  const Run run = Filter(folder, {"--format", "plain"}, "# a list\n\nx^2-1\r\nx^2+*3\n  x^3-x  \n((x))\n(x+y+z+w)^1000\n");
  QCOMPARE(run.status, 1);
  QCOMPARE(run.out, QString("x^2-1 = (x-1)*(x+1)\nx^3-x = x*(x-1)*(x+1)\nx = x\n"));
  // The size guard stops the last line before it is multiplied out.
  QCOMPARE(run.err, QStringLiteral("pfac: 第 4 行 / line 4: 第 5 个字符 '*' 不能出现在这里 / character 5, '*', cannot stand "
                                   "here\npfac: 第 7 行 / line 7: 展开后的多项式太大, 无法计算 / multiplied out, the "
                                   "polynomial is too large to compute\n"));
  QCOMPARE(Filter(folder, {"--format", "plain"}, "x+1\n\n# nothing else\n").status, 0);
  for (const QStringList& usage : {QStringList{"--format", "pdf", "x"}, QStringList{"--time-limit", "-1", "x"},
                                   QStringList{"--format"}, QStringList{"--verbose", "x"}}) {
    const Run wrong = Filter(folder, usage);
    QCOMPARE(wrong.status, 2);
    QVERIFY2(wrong.err.contains("usage: pfac --factor"), qPrintable(wrong.err));
    QCOMPARE(wrong.out, QString());
  }
  QCOMPARE(QDir(folder.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
}

// A polynomial that takes far longer than its limit is stopped and said so;
// the lines after it are still answered.
void FactorFilterTest::timeLimitStopsALine() {
  WorkFolder folder;
  const Run run = Filter(folder, {"--time-limit", "0.2", "--format", "plain", "x^2-1", SLOW_POLYNOMIAL, "x^2-4"});
  QCOMPARE(run.status, 1);
  QCOMPARE(run.out, QString("x^2-1 = (x-1)*(x+1)\nx^2-4 = (x-2)*(x+2)\n"));
  QCOMPARE(run.err, QStringLiteral("pfac: 第 2 行 / line 2: 超过时间限制 0.2 秒, 已停止 / stopped at the time limit of 0.2 s\n"));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::FactorFilterTest)
#include "factor_filter_test.moc"
