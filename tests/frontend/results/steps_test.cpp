// The steps of a factorisation as a class teaches them: textbook exercises
// factored by the real engine and explained, each with the methods it must
// use; the steps as the student reads them; a step that does not multiply
// out never shown; a spent budget; and random products, every step of which
// must multiply out to the polynomial, checked with arithmetic of the test's
// own.
#include <QTest>
#include <map>
#include <set>
#include <random>

#include "frontend/input/typed_input.h"
#include "frontend/results/result_steps.h"
#include "frontend/results/run_result.h"
#include "tests/frontend/support/result_files.h"
#include "tests/support/poly_check.h"

namespace pfac::frontend {
namespace {

using explain::Expression;
using explain::Method;

// A budget that only a fault can spend.
constexpr std::chrono::seconds kAmpleTime{20};

// The text the engine is given for what was typed (brackets multiplied out).
std::string EngineText(const std::string& typed) {
  const std::unique_ptr<Expander> expander = ExactExpander();
  return ConvertTypedText(typed, expander.get()).text;
}

// What the real engine certifies for the polynomial.
ResultSource Certified(const std::string& polynomial) {
  testing::WorkFolder folder;
  folder.Write("DXS.DAT", QByteArray::fromStdString("\"" + polynomial + "\"\r\n"));
  testing::RunEngineIn(folder.Path());
  return ReadRunResult(testing::ResultLines(folder.Read("jg.dat"))).source;
}

// The result of a problem as typed, the typed text kept with it.
RunResult CertifiedAsTyped(const std::string& typed) {
  testing::WorkFolder folder;
  folder.Write("DXS.DAT", QByteArray::fromStdString("\"" + EngineText(typed) + "\"\r\n"));
  testing::RunEngineIn(folder.Path());
  RunResult result = ReadRunResult(testing::ResultLines(folder.Read("jg.dat")));
  SetTyped(&result, typed);
  return result;
}

// --- Arithmetic of the test's own ---

::pfac::testing::Rational Times(const ::pfac::testing::Rational& a, const ::pfac::testing::Rational& b) {
  return {a.numerator * b.numerator, a.denominator * b.denominator};
}

::pfac::testing::Rational Plus(const ::pfac::testing::Rational& a, const ::pfac::testing::Rational& b) {
  return {a.numerator.Scaled(b.denominator) + b.numerator.Scaled(a.denominator), a.denominator * b.denominator};
}

// The expression multiplied out.
::pfac::testing::Rational ValueOf(const Expression& e, const std::string& letters) {
  using ::pfac::testing::Poly;
  ::pfac::testing::Rational value{Poly::Constant(e.kind == Expression::Kind::Sum ? 0 : 1), 1};
  switch (e.kind) {
    case Expression::Kind::Polynomial:
      value.numerator = Poly::Constant(0);
      for (const explain::RationalTerm& term : e.polynomial.terms) {
        const size_t slash = term.coefficient.find('/');
        Poly monomial = Poly::Constant(std::stoll(term.coefficient.substr(0, slash)));
        for (size_t v = 0; v < letters.size(); ++v) {
          if (term.exponents[v] > 0) monomial = monomial * Poly::Variable(letters[v], term.exponents[v]);
        }
        const ::pfac::testing::Integer denominator =
            slash == std::string::npos ? 1 : std::stoll(term.coefficient.substr(slash + 1));
        value = Plus(value, {monomial, denominator});
      }
      return value;
    case Expression::Kind::Product:
      for (const Expression& part : e.parts) value = Times(value, ValueOf(part, letters));
      return value;
    case Expression::Kind::Sum:
      for (const Expression& part : e.parts) value = Plus(value, ValueOf(part, letters));
      return value;
    case Expression::Kind::Power:
      for (int k = 0; k < e.exponent; ++k) value = Times(value, ValueOf(e.parts.front(), letters));
      return value;
  }
  return value;
}

// Every step multiplies out to the polynomial entered (in the engine's syntax).
void CheckEveryStep(const ResultSteps& steps, const std::string& polynomial) {
  const std::optional<::pfac::testing::Rational> entered = ::pfac::testing::ParseInput(polynomial);
  QVERIFY2(entered, polynomial.c_str());
  for (const explain::Step& step : steps.explanation->steps) {
    QVERIFY2(::pfac::testing::SameValue(ValueOf(step.expression, steps.letters), *entered),
             qPrintable(QString::fromStdString(polynomial + ": " + ExpressionShown(step.expression, steps.letters).Text())));
  }
}

// The lines of the steps themselves (the method, the expression, the
// reason), without their indented detail and the reasons after them.
std::vector<std::string> StepLinesOnly(const ResultSteps& steps) {
  std::vector<std::string> lines;
  for (const std::string& line : StepTexts(steps)) {
    if (line.rfind("    ", 0) != 0 && line.find('\t') != std::string::npos) lines.push_back(line);
  }
  return lines;
}

// The methods of the steps, by their Chinese names: "提公因式,公式法".
QString Methods(const explain::Explanation& explanation) {
  QStringList names;
  for (const explain::Step& step : explanation.steps) names << QString::fromUtf8(explain::NameOf(step.method).chinese);
  return names.join(',');
}

// Textbook exercises, each method alone and in combination, one and two
// variables (three where grouping reaches), contents, fractions and negative
// leading coefficients, and the methods their steps take, in order; no
// method for an irreducible polynomial, whose reason the steps give.
struct Exercise {
  const char* polynomial;
  const char* methods;
};
const Exercise kExercises[] = {
    // 提公因式
    {"6x^2y-9xy^2", "提公因式"},
    {"3a^2b-6ab^2+9ab", "提公因式"},
    {"-4x^3+8x^2-12x", "提公因式"},
    {"1/2x^2-1/4x", "提公因式"},
    {"x^3y^2-x^2y^3", "提公因式"},
    // 公式法
    {"4x^2-9", "公式法"},
    {"x^2-16y^2", "公式法"},
    {"x^2+6x+9", "公式法"},
    {"4x^2-12xy+9y^2", "公式法"},
    {"x^3-8", "公式法"},
    {"27a^3+b^3", "公式法"},
    {"x^3+3x^2+3x+1", "公式法"},
    {"8x^3-12x^2+6x-1", "公式法"},
    {"x^2y^2-1", "公式法"},
    {"x^4+2x^3+3x^2+2x+1", "公式法"},
    {"x^4-16", "公式法,公式法"},
    {"16x^4-81", "公式法,公式法"},
    {"a^4-2a^2b^2+b^4", "公式法,公式法"},
    {"x^4y^4-1", "公式法,公式法"},
    // 提公因式 and 公式法
    {"2x^3-8x", "提公因式,公式法"},
    {"3ax^2-6axy+3ay^2", "提公因式,公式法"},
    {"x^3-2x^2+x", "提公因式,公式法"},
    {"-x^2+4", "提公因式,公式法"},
    {"a^3b-ab^3", "提公因式,公式法"},
    {"-2x^3+4x^2-2x", "提公因式,公式法"},
    {"x^2y-4y", "提公因式,公式法"},
    {"1/4x^2-y^2", "提公因式,公式法"},
    {"1/2x^2-1/2", "提公因式,公式法"},
    {"1/9x^2-1/3x+1/4", "提公因式,公式法"},
    {"-3x^2+12", "提公因式,公式法"},
    {"2x^4-32", "提公因式,公式法,公式法"},
    {"x^5-x", "提公因式,公式法,公式法"},
    // 十字相乘法
    {"x^2+5x+6", "十字相乘法"},
    {"x^2-5x+6", "十字相乘法"},
    {"x^2-x-12", "十字相乘法"},
    {"2x^2-7x+3", "十字相乘法"},
    {"6x^2+x-2", "十字相乘法"},
    {"3x^2-10x+3", "十字相乘法"},
    {"6x^2-13x+6", "十字相乘法"},
    {"x^2-xy-6y^2", "十字相乘法"},
    {"2x^2+5xy-3y^2", "十字相乘法"},
    {"x^2y^2-3xy+2", "十字相乘法"},
    {"x^2+ax+bx+ab", "分组分解法,提公因式"},  // the middle term is a sum: no cross
    {"2x^2-4x-6", "提公因式,十字相乘法"},
    {"-x^2+2x+15", "提公因式,十字相乘法"},
    {"1/2x^2+3/2x+1", "提公因式,十字相乘法"},
    {"3x^3-12x^2+9x", "提公因式,十字相乘法"},
    {"x^4+x^2-2", "十字相乘法,公式法"},
    {"x^4-5x^2+4", "十字相乘法,公式法,公式法"},
    // 分组分解法
    {"ax+ay+bx+by", "分组分解法,提公因式"},
    {"x^3+x^2+x+1", "分组分解法,提公因式"},
    {"a^2-b^2+a-b", "分组分解法,提公因式"},
    {"2ax-10ay+5by-bx", "分组分解法,提公因式"},
    {"ab-a-b+1", "分组分解法,提公因式"},
    {"x^2-y^2-x-y", "分组分解法,提公因式"},
    {"x^3-x^2-x+1", "分组分解法,提公因式,公式法"},
    {"x^3+3x^2-4x-12", "分组分解法,提公因式,公式法"},
    {"x^4-y^4+x^2-y^2", "分组分解法,提公因式,公式法"},
    {"x^5+x^4+x^3+x^2+x+1", "分组分解法,提公因式,公式法"},
    {"2x^3-3x^2-3x+2", "分组分解法,提公因式,十字相乘法"},  // 2(x³ + 1) - 3x(x + 1)
    {"x^2-y^2+2y-1", "分组分解法,公式法"},
    {"x^2+2xy+y^2-z^2", "分组分解法,公式法"},
    {"x^2-2xy+y^2-9", "分组分解法,公式法"},
    {"4a^2-4a+1-b^2", "分组分解法,公式法"},
    {"a^2+2ab+b^2-4c^2", "分组分解法,公式法"},
    {"1-x^2+2xy-y^2", "分组分解法,公式法"},
    // 试根法
    {"x^3+x+2", "试根法"},
    {"x^3-x^2-4", "试根法"},
    {"x^3-6x^2+11x-6", "试根法,十字相乘法"},
    {"x^3-7x+6", "试根法,十字相乘法"},
    {"x^3+2x^2-5x-6", "试根法,十字相乘法"},
    {"x^3-3x+2", "试根法,十字相乘法"},
    {"x^3-6x^2y+11xy^2-6y^3", "试根法,十字相乘法"},
    {"x^4-x^3-7x^2+x+6", "试根法,试根法,十字相乘法"},
    {"-x^3+6x^2-11x+6", "提公因式,试根法,十字相乘法"},
    // 拆项添项/配方
    {"x^4+4", "拆项添项/配方,公式法"},
    {"x^4+x^2+1", "拆项添项/配方,公式法"},
    {"a^4+4b^4", "拆项添项/配方,公式法"},
    {"x^4+64", "拆项添项/配方,公式法"},
    {"4x^4+1", "拆项添项/配方,公式法"},
    {"x^4-7x^2y^2+9y^4", "拆项添项/配方,公式法"},
    // Irreducible, the reason given in the class's terms or by the exact
    // factorisation; and two that no method of the class splits.
    {"x^2+1", ""},
    {"x^2+x+1", ""},
    {"x^3+x+1", ""},
    {"x^4+1", ""},
    {"x^5+x^4+2x^3+2x^2+2x+1", "由精确分解得到"},
    {"x^2+2xy+y^2-4x-4y+3", "换元法"},  // t = x + y, found without brackets
    // What was typed: a common bracket (its sign changed where it is written
    // the other way round), a bracket as one letter, a difference of squares
    // of brackets, four brackets paired, and brackets that do not help,
    // multiplied out first.
    {"a(x-y)+b(y-x)", "提公因式,提公因式"},
    {"2m(a-b)-3n(b-a)", "提公因式,提公因式"},
    {"x(x-y)^2-y(y-x)^2", "提公因式,提公因式"},
    {"3a(x-y)+6b(x-y)", "提公因式,提公因式"},
    {"(x^2+x)^2-8(x^2+x)+12", "换元法,十字相乘法,十字相乘法"},
    {"(x+y)^2-3(x+y)-10", "换元法"},
    {"(a+b)^2-4(a+b)+4", "换元法"},
    {"(x^2+1)^2-4x^2", "公式法,公式法,公式法"},
    {"4(x+y)^2-9(x-y)^2", "公式法"},
    {"(x+1)(x+2)(x+3)(x+4)-24", "分组分解法,换元法,提公因式"},
    {"(x+1)(x+3)+1", "去括号,公式法"},
    {"(x+y)^2-4(x+y)+4", "换元法"},
    {"x^2(a-b)+y^2(b-a)", "提公因式,提公因式,公式法"},
    {"3(x-y)^2-6(y-x)", "提公因式,提公因式,提公因式"},
    {"(x^2+4)^2-16x^2", "公式法,公式法,公式法"},
    {"(2x+1)^2-(x-3)^2", "公式法"},
    {"(a^2+b^2)^2-4a^2b^2", "公式法,公式法,公式法"},
    {"(x-1)(x-2)(x-3)(x-4)-120", "分组分解法,换元法,十字相乘法"},
    {"x(x+1)(x+2)(x+3)+1", "去括号,公式法"},
    // The answer's order and sign: the last step reads as the answer, a
    // minus moved into a factor when the text starts with a positive term.
    {"y^2-x^2", "公式法"},
    {"1-x^2", "公式法"},
    {"6-11x+6x^2-x^3", "试根法,十字相乘法"},
    // A substitution found where nothing was bracketed: t the square root of
    // the highest part without its number.
    {"x^4+2x^3-7x^2-8x+12", "换元法,十字相乘法,十字相乘法"},
    {"x^2-2xy+y^2+2x-2y-3", "换元法"},
    {"4x^2+4xy+y^2-6x-3y+2", "换元法"},
    // 双十字相乘法: ax² + bxy + cy² + dx + ey + f.
    {"x^2+xy-2y^2+2x+7y-3", "双十字相乘法"},
    {"2x^2-7xy+3y^2+5x-5y+2", "双十字相乘法"},
    {"x^2-y^2+4x+2y+3", "双十字相乘法"},
    // Symmetric and cyclic: the formula a³ + b³ + c³ - 3abc, and a main
    // letter whose coefficients share a factor.
    {"a^3+b^3+c^3-3abc", "公式法"},
    {"x^3+y^3+3xy-1", "公式法"},
    {"(a-b)^3+(b-c)^3+(c-a)^3", "去括号,提公因式,主元法,提公因式,分组分解法,提公因式"},
    {"a^2(b-c)+b^2(c-a)+c^2(a-b)", "去括号,主元法,提公因式,分组分解法,提公因式"},
    {"ab(a-b)+bc(b-c)+ca(c-a)", "去括号,主元法,提公因式,分组分解法,提公因式"},
    {"a^3(b-c)+b^3(c-a)+c^3(a-b)", "去括号,主元法,提公因式,主元法,提公因式,分组分解法,提公因式"},
    {"a^2bc-ab^2c+a^2+ac-b^2-bc", "因式定理"},  // a = b makes it 0
    // Factors of degree 2 or more that the steps leave, each with its reason
    // (checked below): a discriminant with letters, no rational root of a
    // cubic, no quadratic factors of a quartic, linear in a letter.
    {"x^3-2x^2-2x+3", "试根法"},
    {"x^4+x^2y^2+y^4", "拆项添项/配方,公式法"},
    {"x^6-1", "公式法,公式法,公式法"},
    {"x^5-x^2", "提公因式,公式法"},
    {"x^2+y^2", ""},
    {"a^4-a^2b^2+b^4", ""},
    {"3ac-5b+1", ""},
    {"x^4+1", ""},
};

// Why the factors left do not split, for some of the exercises above: the
// reason's words for each factor of degree 2 or more.
const std::pair<const char*, const char*> kFinalReasons[] = {
    {"x^3-2x^2-2x+3", "x² - x - 3 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = 13, 不是完全平方"},
    {"x^2+y^2", "x² + y² 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -4y²"},
    {"a^4-a^2b^2+b^4", "(b, d) = (-1, -1), (1, 1) 都得不到整数 a, c"},
    {"x^4+1", "没有有理根 (候选根 ±1 都不是根)"},
    {"3ac-5b+1", "关于 a 是一次的"},
    {"x^5-x^2", "x² + x + 1 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -3 < 0"},
    {"x^3+x+1", "三次式, 没有有理根 (候选根 ±1 都不是根)"},
};

// Each exercise explained once, for the table and for the share that needs
// no exact factorisation.
struct ExplainedExercise {
  ResultSteps steps;
  std::string answer;  // the result line's right-hand side
  ResultSource source;
};

const ExplainedExercise& ExplainedWithAnswer(const std::string& polynomial) {
  static std::map<std::string, ExplainedExercise> explained;
  auto at = explained.find(polynomial);
  if (at == explained.end()) {
    const RunResult result = CertifiedAsTyped(polynomial);
    const std::string shown = result.presentation.shown.Text();
    const size_t equals = shown.find(" = ");
    at = explained
             .emplace(polynomial, ExplainedExercise{ExplainResult(result.source, kAmpleTime),
                                                   equals == std::string::npos ? "" : shown.substr(equals + 3),
                                                   result.source})
             .first;
  }
  return at->second;
}

const ResultSteps& Explained(const std::string& polynomial) { return ExplainedWithAnswer(polynomial).steps; }

class StepsTest : public QObject {
  Q_OBJECT

 private slots:
  void textbookExercises_data();
  void textbookExercises();
  void reasonForEveryFactorLeft();
  void mostExercisesWithoutTheExactFactorisation();
  void stepsAsTheStudentReadsThem_data();
  void stepsAsTheStudentReadsThem();
  void stepThatFailsTheCheckIsNeverShown();
  void spentBudgetLeavesTheRestToTheExactFactorisation();
  void noStepsWithoutACompleteFactorisation();
  void randomProductsStepByStep();
  void stepsOverTheReals();
};

void StepsTest::textbookExercises_data() {
  QTest::addColumn<QString>("polynomial");
  QTest::addColumn<QString>("methods");
  for (const Exercise& exercise : kExercises) {
    QTest::newRow(exercise.polynomial) << QString::fromLatin1(exercise.polynomial)
                                       << QString::fromUtf8(exercise.methods);
  }
}

void StepsTest::textbookExercises() {
  QFETCH(QString, polynomial);
  QFETCH(QString, methods);
  const ExplainedExercise& exercise = ExplainedWithAnswer(polynomial.toStdString());
  const ResultSteps& steps = exercise.steps;
  QVERIFY2(steps.explanation, steps.missing.c_str());
  QCOMPARE(Methods(*steps.explanation), methods);
  CheckEveryStep(steps, EngineText(polynomial.toStdString()));
  // The last step reads as the answer does: the same factors in the same
  // order, the same terms, the sign where the answer puts it.
  if (!steps.explanation->steps.empty() && steps.explanation->irreducible.empty()) {
    const std::string last = StepLinesOnly(steps).back();
    const size_t from = last.find("\t= ") + 3, to = last.find('\t', from);
    const std::string lastExpression = last.substr(from, to - from);
    QVERIFY2(exercise.answer.rfind(lastExpression, 0) == 0, (lastExpression + " against " + exercise.answer).c_str());
  }
  if (methods.isEmpty()) QVERIFY(!steps.explanation->irreducible.empty());
  // A step of the exact factorisation names its factor and why no method reached it.
  for (const std::string& line : StepTexts(steps)) {
    if (line.rfind(explain::NameOf(Method::Exact).chinese, 0) == 0) {
      QVERIFY2(line.find(": ") != std::string::npos && line.find(" / ", line.find(": ")) != std::string::npos,
               line.c_str());
    }
  }
}

// Every factor of degree 2 or more that the steps leave has its reason, in
// Chinese and in English; some reasons checked word for word.
void StepsTest::reasonForEveryFactorLeft() {
  for (const Exercise& exercise : kExercises) {
    const ResultSteps& steps = Explained(exercise.polynomial);
    const explain::Explanation& explanation = *steps.explanation;
    if (explanation.steps.empty()) continue;
    const std::string last = StepLinesOnly(steps).back();
    const std::string expression = last.substr(last.find('\t') + 1);
    std::set<std::string> reasoned;
    std::vector<explain::Reason> reasons = explanation.finalReasons;
    if (!explanation.irreducible.empty()) reasons.push_back(explanation.irreducible);
    for (const explain::Reason& reason : reasons) {
      ResultSteps alone;
      alone.letters = steps.letters;
      alone.explanation.emplace().irreducible = reason;
      const std::string text = StepTexts(alone).back();
      QVERIFY2(text.find(" / ") != std::string::npos, text.c_str());
      reasoned.insert(text.substr(0, text.find(" 在有理数域上不可约")));
    }
    // The factors in brackets of degree 2 or more: a superscript or a
    // product inside.
    const std::string shown = expression.substr(0, expression.find('\t'));
    for (size_t open = shown.find('('); open != std::string::npos; open = shown.find('(', open + 1)) {
      const std::string factor = shown.substr(open + 1, shown.find(')', open) - open - 1);
      const bool quadratic = factor.find("²") != std::string::npos || factor.find("³") != std::string::npos ||
                             factor.find("⁴") != std::string::npos || factor.find("xy") != std::string::npos;
      if (!quadratic || factor.find('(') != std::string::npos) continue;
      QVERIFY2(reasoned.count(factor) == 1, (std::string(exercise.polynomial) + ": no reason for " + factor).c_str());
    }
  }
  for (const auto& [polynomial, words] : kFinalReasons) {
    QStringList texts;
    for (const std::string& line : StepTexts(Explained(polynomial))) texts << QString::fromStdString(line);
    QVERIFY2(texts.join('\n').contains(QString::fromUtf8(words)), qPrintable(texts.join('\n')));
  }
}

void StepsTest::mostExercisesWithoutTheExactFactorisation() {
  int withoutExact = 0;
  QStringList withExact;
  for (const Exercise& exercise : kExercises) {
    const ResultSteps& steps = Explained(exercise.polynomial);
    QVERIFY2(steps.explanation, exercise.polynomial);
    withoutExact += !steps.explanation->UsesExactFactorisation();
    if (steps.explanation->UsesExactFactorisation()) withExact << QString::fromLatin1(exercise.polynomial);
  }
  const int count = static_cast<int>(std::size(kExercises));
  const QString share = QStringLiteral("%1 of %2 without the exact factorisation; with it: %3")
                            .arg(withoutExact)
                            .arg(count)
                            .arg(withExact.join(", "));
  qInfo("%s", qPrintable(share));
  // The time an explanation takes, measured on request (median of five
  // runs of each exercise; the slowest and the median of them).
  if (qEnvironmentVariableIsSet("PFAC_STEPS_TIMES")) {
    std::vector<double> medians;
    for (const Exercise& exercise : kExercises) {
      std::vector<double> runs;
      for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        ExplainResult(ExplainedWithAnswer(exercise.polynomial).source, kAmpleTime);
        runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
      }
      std::sort(runs.begin(), runs.end());
      medians.push_back(runs[2]);
    }
    std::sort(medians.begin(), medians.end());
    qInfo("explanations: median %.3f ms, slowest %.3f ms", medians[medians.size() / 2], medians.back());
  }
  QVERIFY(count >= 127);
  QVERIFY2(withoutExact * 100 >= count * 95, qPrintable(share));
}

// The lines of pfac --explain (the method first, the expression, the reason,
// the reasons for the factors left), with or without the detail.
void StepsTest::stepsAsTheStudentReadsThem_data() {
  QTest::addColumn<QString>("polynomial");
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<bool>("detail");  // the lines include the steps' indented detail
  QTest::newRow("grouping into a difference of squares")
      << "x^2-y^2+2y-1"
      << QStringList{QStringLiteral("分组分解法 / grouping\t= x² - (y - 1)²\t分组: x² - (y² - 2y + 1)"),
                     QStringLiteral("公式法 / formulas\t= (x - y + 1)(x + y - 1)\ta² - b², a = x, b = y - 1")} << false;
  QTest::newRow("grouping, then the common factor")
      << "x^3-x^2-x+1"
      << QStringList{QStringLiteral("分组分解法 / grouping\t= x²(x - 1) - (x - 1)\t分组: (x³ - x²) - (x - 1)"),
                     QStringLiteral("提公因式 / common factor\t= (x - 1)(x² - 1)\t公因式 (x - 1)"),
                     QStringLiteral("公式法 / formulas\t= (x - 1)²(x + 1)\ta² - b², a = x, b = 1")} << false;
  QTest::newRow("the whole cross")
      << "2x^2-7x+3"
      << QStringList{QStringLiteral("十字相乘法 / cross method\t= (x - 3)(2x - 1)\t"
                                    "十字: 2x × x = 2x², (-1) × (-3) = 3, 2x × (-3) + x × (-1) = -7x")} << false;
  QTest::newRow("a content, a root, a cross")
      << "-x^3+6x^2-11x+6"
      << QStringList{QStringLiteral("提公因式 / common factor\t= -(x³ - 6x² + 11x - 6)\t公因式 -1"),
                     QStringLiteral("试根法 / rational root\t= -(x - 1)(x² - 5x + 6)\tx = 1 使多项式为 0 / makes it 0"),
                     QStringLiteral("十字相乘法 / cross method\t= -(x - 3)(x - 2)(x - 1)\t"
                                    "十字: (-2) × (-3) = 6, (-2) + (-3) = -5")} << false;
  QTest::newRow("a square completed")
      << "x^4+4"
      << QStringList{QStringLiteral("拆项添项/配方 / completing the square\t= (x² + 2)² - (2x)²\t加上 4x² 再减去 4x² / added and taken away"),
                     QStringLiteral("公式法 / formulas\t= (x² - 2x + 2)(x² + 2x + 2)\ta² - b², a = x² + 2, b = 2x"),
                     QStringLiteral("x² + 2x + 2 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -4 < 0 / below 0 "
                                    "(irreducible over Q: quadratic in x)"),
                     QStringLiteral("x² - 2x + 2 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -4 < 0 / below 0 "
                                    "(irreducible over Q: quadratic in x)")} << false;
  QTest::newRow("the formula's letters are the polynomial's")
      << "27a^3+b^3"
      << QStringList{QStringLiteral("公式法 / formulas\t= (3a + b)(9a² - 3ab + b²)\tA³ + B³, A = 3a, B = b"),
                     QStringLiteral("9a² - 3ab + b² 在有理数域上不可约: 关于 a 的二次式, 判别式 Δ = -27b², 不是完全平方 / "
                                    "not a square (irreducible over Q: quadratic in a)")} << false;
  QTest::newRow("the formula's letters are the polynomial's, b alone")
      << "b^2-4" << QStringList{QStringLiteral("公式法 / formulas\t= (b - 2)(b + 2)\tA² - B², A = b, B = 2")} << false;
  // Typed from a positive term, the minus goes into b - a: the letters are
  // named as they stand there (b² - a² = (b + a)(b - a)).
  QTest::newRow("the formula's letters where the sign went into a factor")
      << "y^2-x^2" << QStringList{QStringLiteral("公式法 / formulas\t= (x + y)(y - x)\ta² - b², a = y, b = x")} << false;
  // Of the roots 2 and 1/2 and 3, a class tries the whole numbers first.
  QTest::newRow("a whole root before a fraction")
      << "2x^3-11x^2+17x-6"
      << QStringList{QStringLiteral("试根法 / rational root\t= (x - 2)(2x² - 7x + 3)\tx = 2 使多项式为 0 / makes it 0"),
                     QStringLiteral("十字相乘法 / cross method\t= (x - 3)(x - 2)(2x - 1)\t"
                                    "十字: 2x × x = 2x², (-1) × (-3) = 3, 2x × (-3) + x × (-1) = -7x")} << false;
  QTest::newRow("irreducible") << "2x^2+4x+6"
                               << QStringList{QStringLiteral("提公因式 / common factor\t= 2(x² + 2x + 3)\t公因式 2"),
                                              QStringLiteral("x² + 2x + 3 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = "
                                                             "-8 < 0 / below 0 (irreducible over Q: quadratic in x)")} << false;
  QTest::newRow("beyond the class's methods")
      << "x^5+x^4+2x^3+2x^2+2x+1"
      << QStringList{QStringLiteral("由精确分解得到 / from the exact factorisation\t= (x² + x + 1)(x³ + x + 1)\t"
                                    "x⁵ + x⁴ + 2x³ + 2x² + 2x + 1: 次数 5, 没有有理根 / degree 5, no rational root"),
                     QStringLiteral("x³ + x + 1 在有理数域上不可约: 三次式, 没有有理根 (候选根 ±1 都不是根) / no rational "
                                    "root (none of ±1 is one), 所以没有一次因式 / a cubic: so no factor of degree 1"),
                     QStringLiteral("x² + x + 1 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -3 < 0 / below 0 "
                                    "(irreducible over Q: quadratic in x)")} << false;
  // With the detail under its step, indented: the rational-root test written
  // out (the candidates, the one that failed, f(r) = 0, the synthetic
  // division and the quotient), the cross drawn, the square's split terms.
  QTest::newRow("a rational root")
      << "x^3+x+2"
      << QStringList{QStringLiteral("试根法 / rational root\t= (x + 1)(x² - x + 2)\tx = -1 使多项式为 0 / makes it 0"),
                     QStringLiteral("    候选根 ±p/q (p 整除常数项, q 整除首项系数) / candidates ±p/q (p divides the "
                                    "constant, q the leading coefficient): ±1, ±2"),
                     QStringLiteral("    试过 / tried: f(1) = 4 ≠ 0"),
                     QStringLiteral("    f(-1) = 0, 所以 x + 1 是因式 / so it is a factor"),
                     QStringLiteral("    综合除法 / synthetic division:"),
                     QStringLiteral("    -1 |    1    0    1    2"),
                     QStringLiteral("       |        -1    1   -2"),
                     QStringLiteral("       |    1   -1    2 |  0"),
                     QStringLiteral("    商 / quotient: x² - x + 2, 余数 / remainder 0"),
                     QStringLiteral("x² - x + 2 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -7 < 0 / below 0 "
                                    "(irreducible over Q: quadratic in x)")} << true;
  QTest::newRow("the cross drawn")
      << "2x^2-7x+3"
      << QStringList{QStringLiteral("十字相乘法 / cross method\t= (x - 3)(2x - 1)\t"
                                    "十字: 2x × x = 2x², (-1) × (-3) = 3, 2x × (-3) + x × (-1) = -7x"),
                     QStringLiteral("    十字图 / the cross:"), QStringLiteral("      2x      -1"),
                     QStringLiteral("          ╳"), QStringLiteral("      x      -3"),
                     QStringLiteral("    交叉相乘再相加 / crosswise products added: 2x × (-3) + x × (-1) = -7x")} << true;
  QTest::newRow("the square of a whole expression")
      << "x^4+2x^3+3x^2+2x+1"
      << QStringList{QStringLiteral("公式法 / formulas\t= (x² + x + 1)²\ta² + 2ab + b², a = x², b = x + 1"),
                     QStringLiteral("    a² = x⁴, 2ab = 2x³ + 2x², b² = x² + 2x + 1"),
                     QStringLiteral("    拆项 / the terms split: 3x² = 2x² + x²"),
                     QStringLiteral("x² + x + 1 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -3 < 0 / below 0 "
                                    "(irreducible over Q: quadratic in x)")} << true;
}

void StepsTest::stepsAsTheStudentReadsThem() {
  QFETCH(QString, polynomial);
  QFETCH(QStringList, lines);
  QFETCH(bool, detail);
  QStringList shown;
  for (const std::string& line : StepTexts(Explained(polynomial.toStdString()))) {
    // The table's figure spaces and the diagram's wide ones read as blanks.
    if (detail || line.rfind("    ", 0) != 0) {
      shown << QString::fromStdString(line).replace(QChar(0x2007), ' ').replace(QChar(0x3000), QStringLiteral("  "));
    }
  }
  QCOMPARE(shown, lines);
}

// A step whose expression does not multiply out to the polynomial is not
// shown: the factor it was about comes from the exact factorisation, saying
// so, and every step shown still multiplies out.
void StepsTest::stepThatFailsTheCheckIsNeverShown() {
  const std::optional<format::ResultValue> problem = Certified("x^3-6x^2+11x-6").value;
  QVERIFY(problem);
  explain::Options options;
  options.budget = kAmpleTime;
  // The cross's last factor written with a wrong sign: (x - 2)(x + 3).
  options.alterStep = [](explain::Step& step) {
    if (step.method != Method::Cross) return;
    explain::RationalTerm& constant = step.expression.parts.back().polynomial.terms.back();
    constant.coefficient = constant.coefficient.front() == '-' ? constant.coefficient.substr(1) : "-" + constant.coefficient;
  };
  std::string why;
  ResultSteps steps;
  steps.letters = problem->letters;
  steps.explanation = explain::Explain(*problem, options, &why);
  QVERIFY2(steps.explanation, why.c_str());
  QCOMPARE(Methods(*steps.explanation), QStringLiteral("试根法,由精确分解得到"));
  QVERIFY(StepTexts(steps).back().find(explain::kCheckFailed) != std::string::npos);
  CheckEveryStep(steps, "x^3-6x^2+11x-6");
}

// No time left: every factor not yet split is taken from the exact
// factorisation in one step that says so.
void StepsTest::spentBudgetLeavesTheRestToTheExactFactorisation() {
  const ResultSteps steps = ExplainResult(Certified("x^3-6x^2+11x-6"), std::chrono::seconds(0));
  QVERIFY(steps.explanation);
  QCOMPARE(Methods(*steps.explanation), QStringLiteral("由精确分解得到"));
  QCOMPARE(QString::fromStdString(StepTexts(steps).front()),
           QStringLiteral("由精确分解得到 / from the exact factorisation\t= (x - 3)(x - 2)(x - 1)\t") +
               QString::fromUtf8(explain::kTimeSpent));
  CheckEveryStep(steps, "x^3-6x^2+11x-6");
}

// A result not known complete, and one that is no factorisation, have no
// steps; the line says why.
void StepsTest::noStepsWithoutACompleteFactorisation() {
  ResultSource stopped = Certified("x^2-1");
  stopped.complete = false;
  QCOMPARE(StepTexts(ExplainResult(stopped)), std::vector<std::string>{kNotKnownComplete});
  QCOMPARE(StepTexts(ExplainResult({"x - x", "0", true, 0})), std::vector<std::string>{kNothingToExplain});
  QCOMPARE(StepTexts(ExplainResult({"4x^3", "4x^ 3", true, 0})), std::vector<std::string>{kSingleTerm});
  // A factorisation that does not multiply back is not explained.
  QCOMPARE(StepTexts(ExplainResult({"x^2-1", "(x - 1)(x + 2)", true, 0})),
           std::vector<std::string>{kNothingToExplain});
}

// Products of random factors of the kinds a class meets (a number times a
// letter and a number, binomials, quadratics, repeated factors, a content, a
// monomial), factored by the real engine: every step of every explanation
// multiplies out to the polynomial.
void StepsTest::randomProductsStepByStep() {
  using ::pfac::testing::Poly;
  std::mt19937 random(20261208);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto nonZero = [&](int bound) { return pick(1, bound) * (pick(0, 1) ? 1 : -1); };
  int explained = 0, exact = 0;
  for (int round = 0; round < 120; ++round) {
    const bool twoLetters = pick(0, 2) == 0;
    Poly product = Poly::Constant(pick(1, 4) == 1 ? pick(2, 6) : 1);
    if (pick(1, 5) == 1) product = product * Poly::Variable('x', pick(1, 2));
    const int factors = pick(2, 3);
    Poly last = Poly::Constant(1);
    for (int f = 0; f < factors; ++f) {
      Poly factor;
      switch (pick(0, 3)) {
        case 0:  // ax + b, or ax + by
          factor = Poly::Variable('x').Scaled(nonZero(3)) +
                   (twoLetters ? Poly::Variable('y').Scaled(nonZero(5)) : Poly::Constant(nonZero(5)));
          break;
        case 1:  // x^k ± b^k
          factor = Poly::Variable('x', pick(2, 3)) + Poly::Constant(nonZero(3));
          break;
        case 2:  // x² + bx + c
          factor = Poly::Variable('x', 2) + Poly::Variable('x').Scaled(pick(-4, 4)) +
                   (twoLetters ? Poly::Variable('y', 2).Scaled(nonZero(4)) : Poly::Constant(nonZero(6)));
          break;
        default:  // the factor before, again
          factor = f > 0 ? last : Poly::Variable('x') + Poly::Constant(1);
      }
      last = factor;
      product = product * factor;
    }
    if (product.terms.size() < 2) continue;
    const std::string polynomial = product.Text();
    const ResultSource source = Certified(polynomial);
    QVERIFY2(source.complete, polynomial.c_str());
    const ResultSteps steps = ExplainResult(source, kAmpleTime);
    QVERIFY2(steps.explanation, (polynomial + ": " + steps.missing).c_str());
    CheckEveryStep(steps, polynomial);
    ++explained;
    exact += steps.explanation->UsesExactFactorisation();
    if (qEnvironmentVariableIsSet("PFAC_STEPS_TRACE") && steps.explanation->UsesExactFactorisation()) {
      for (const std::string& line : StepTexts(steps)) qInfo("%s: %s", polynomial.c_str(), line.c_str());
    }
  }
  QVERIFY(explained >= 100);
  qInfo("%d products explained, %d with a step of the exact factorisation", explained, exact);
}

// Over the reals, after the steps over Q: each factor that square roots split
// gets a step of its own, the square named, the square completed or the
// discriminant and the roots of the formula, the whole product after it, and
// the last reads as the answer.
void StepsTest::stepsOverTheReals() {
  const struct {
    const char* polynomial;
    const char* step;  // the last line of the steps
  } cases[] = {
      {"x^2-2", "公式法 / formulas\t= (x - √2)(x + √2)\tx² - 2 = x² - (√2)²"},
      {"x^4-4", "公式法 / formulas\t= (x² + 2)(x - √2)(x + √2)\tx² - 2 = x² - (√2)²"},
      {"x^2-2x-1", "求根公式 / quadratic formula\t= (x - 1 - √2)(x - 1 + √2)\tΔ = 8 > 0, x = 1 + √2, 1 - √2"},
      {"2x^2-4x-1",
       "求根公式 / quadratic formula\t= 2(x - (2 - √6)/2)(x - (2 + √6)/2)\tΔ = 24 > 0, x = (2 - √6)/2, (2 + √6)/2"},
      {"x^2-3y^2", "公式法 / formulas\t= (x - √3·y)(x + √3·y)\tx² - 3y² = x² - (√3·y)²"},
      {"3x^3-6x", "公式法 / formulas\t= 3x(x - √2)(x + √2)\tx² - 2 = x² - (√2)²"},
      {"x^4+1", "配方 / completing the square\t= (x² - √2·x + 1)(x² + √2·x + 1)\tx⁴ + 1 = (x² + 1)² - (√2·x)²"},
      {"x^4-2x^2-1", "求根公式 / quadratic formula\t= (x² - 1 - √2)(x² - 1 + √2)\tΔ = 8 > 0, x² = 1 + √2, 1 - √2"},
      {"x^2-2xy-y^2",
       "求根公式 / quadratic formula\t= (x - y - √2·y)(x - y + √2·y)\tΔ = 8y² > 0, x = (1 + √2)y, (1 - √2)y"},
      {"x^2+x+1", "x² + x + 1 在有理数域上不可约: 关于 x 的二次式, 判别式 Δ = -3 < 0 / below 0 (irreducible over Q: "
                  "quadratic in x)"},
  };
  for (const auto& c : cases) {
    RunResult result = CertifiedAsTyped(c.polynomial);
    SetField(&result, Field::kReal);
    const std::vector<std::string> texts = StepTexts(ExplainResult(result.source, kAmpleTime));
    QVERIFY2(!texts.empty(), c.polynomial);
    QCOMPARE(QString::fromStdString(texts.back()), QString::fromUtf8(c.step));
    // The last step reads as the answer.
    const std::string answer = result.presentation.shown.Text();
    const std::string product = texts.back().substr(texts.back().find("\t= ") + 3);
    if (texts.back().find('\t') != std::string::npos) {
      QVERIFY2(answer.find(product.substr(0, product.find('\t'))) != std::string::npos, answer.c_str());
    }
  }
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::StepsTest)
#include "steps_test.moc"
