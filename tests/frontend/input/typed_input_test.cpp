// What a student types, turned into the engine's syntax: the forgiving forms,
// brackets multiplied out in this process (no process is started for them),
// what was typed kept as read beside its value, and the texts still refused,
// each with its message and the place marked in the text as typed.
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include "frontend/input/typed_input.h"

namespace pfac::frontend {
namespace {

class TypedInputTest : public QObject {
  Q_OBJECT

 private slots:
  void conversion_data();
  void conversion();
  void refusal_data();
  void refusal();
  void bracketsWithoutTheExactArithmetic();
  void bracketsStartNoProcess();
  void typedTreeBesideItsValue();
};

// The processes started while `work` runs in a child of this test, which
// traces it: each fork, vfork and exec of it or of its children is counted,
// its threads are not. -1 when `work` failed or the child did not end in order.
int ProcessStartsDuring(const std::function<bool()>& work) {
  const pid_t child = fork();
  if (child == 0) {
    ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
    raise(SIGSTOP);
    _exit(work() ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFSTOPPED(status)) return -1;
  ptrace(PTRACE_SETOPTIONS, child, nullptr,
         PTRACE_O_TRACEFORK | PTRACE_O_TRACEVFORK | PTRACE_O_TRACECLONE | PTRACE_O_TRACEEXEC | PTRACE_O_EXITKILL);
  ptrace(PTRACE_CONT, child, nullptr, nullptr);
  int starts = 0;
  bool inOrder = false;
  for (pid_t pid; (pid = waitpid(-1, &status, __WALL)) > 0;) {
    if (!WIFSTOPPED(status)) {
      if (pid == child) inOrder = WIFEXITED(status) && WEXITSTATUS(status) == 0;
      continue;
    }
    const int event = status >> 16;
    if (event == PTRACE_EVENT_FORK || event == PTRACE_EVENT_VFORK || event == PTRACE_EVENT_EXEC) ++starts;
    // A signal meant for the tracee is passed on; the stops of tracing are not.
    const int signal = event == 0 && WSTOPSIG(status) != SIGSTOP && WSTOPSIG(status) != SIGTRAP ? WSTOPSIG(status) : 0;
    ptrace(PTRACE_CONT, pid, nullptr, signal);
  }
  return inOrder ? starts : -1;
}

void TypedInputTest::conversion_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("text");
  QTest::newRow("engine syntax") << "x^3-6x^2+4x+15" << "x^3-6x^2+4x+15";
  QTest::newRow("exponents without ^") << "x4y+2x3y2-x2y-2xy2" << "x^4y+2x^3y^2-x^2y-2xy^2";
  QTest::newRow("fractions") << "1/2x^2-3/4x+1" << "1/2x^2-3/4x+1";
  QTest::newRow("exponent after '") << "X'2+x" << "x^2+x";
  QTest::newRow("blanks") << "x^2 + 3x + 2" << "x^2+3x+2";
  QTest::newRow("leading +") << "+x^2-1" << "x^2-1";
  QTest::newRow("trailing - is -1") << "x-" << "x-1";
  QTest::newRow("number * letter") << "2*x" << "2x";
  QTest::newRow("letter * number") << "x*3" << "3x";
  QTest::newRow("middle dot") << QStringLiteral("x·3y") << "3xy";
  QTest::newRow("multiplication sign") << QStringLiteral("2×x") << "2x";
  QTest::newRow("full-width") << QStringLiteral("ｘ＾２＋１") << "x^2+1";
  QTest::newRow("full-width minus and capitals") << QStringLiteral("Ｘ２－３ｘ＋２") << "x^2-3x+2";
  QTest::newRow("full-width blank and slash") << QStringLiteral("１／２ｘ　＋　１") << "1/2x+1";
  QTest::newRow("full-width apostrophe and asterisk") << QStringLiteral("ｘ＇３＊ｙ") << "x^3y";
  QTest::newRow("minus sign") << QStringLiteral("x\u22121") << "x-1";
  QTest::newRow("superscripts") << QStringLiteral("x³ − 6x² + 4x + 15") << "x^3-6x^2+4x+15";
  QTest::newRow("superscripts ¹ ⁰ ⁹") << QStringLiteral("x¹⁰ + x⁹ + x") << "x^10+x^9+x";
  QTest::newRow("capitals A to Z") << "A^2-Z" << "a^2-z";
  QTest::newRow("the largest exact coefficient") << "x+16777216" << "x+16777216";
  QTest::newRow("leading zeros") << "007x^02" << "7x^2";
  // Decimals are exact fractions in lowest terms.
  QTest::newRow("decimal quarter") << "0.25x^2-1" << "1/4x^2-1";
  QTest::newRow("decimal times a letter") << "1.5x+2.0" << "3/2x+2";
  QTest::newRow("negative decimal, trailing zeros") << "x-0.1250" << "x-1/8";
  QTest::newRow("decimal without its whole part") << "x^2-.5" << "x^2-1/2";
  QTest::newRow("full-width decimal") << QStringLiteral("０．２ｘ＋１２．３４") << "1/5x+617/50";
  QTest::newRow("decimal in brackets") << "(0.5x-1)^2" << "1/4x^2-x+1";
  // Multiplied out, letters alphabetical.
  QTest::newRow("brackets and a power")
      << "(x+1)(x+y+z)^2" << "x^3+2x^2y+2x^2z+x^2+xy^2+2xyz+2xy+xz^2+2xz+y^2+2yz+z^2";
  QTest::newRow("cube of a bracket") << "(2x-3)^3" << "8x^3-36x^2+54x-27";
  QTest::newRow("three factors") << "x(x-1)(x+1)" << "x^3-x";
  QTest::newRow("fractions in brackets") << "(1/2x-1/3)^2" << "1/4x^2-1/3x+1/9";
  QTest::newRow("negated square") << QStringLiteral("-(x+1)²") << "-x^2-2x-1";
  QTest::newRow("full-width brackets") << QStringLiteral("（ｘ＋１）（ｘ－１）") << "x^2-1";
  QTest::newRow("nested") << "((x+1)^2-1)y" << "x^2y+2xy";
  QTest::newRow("100 brackets deep") << QString(100, '(') + "x+1" + QString(100, ')') + "^2" << "x^2+2x+1";
  QTest::newRow("two numbers") << "2x*3y" << "6xy";
  QTest::newRow("letter twice") << "x*x+xyx" << "x^2y+x^2";
}

void TypedInputTest::conversion() {
  QFETCH(QString, typed);
  QFETCH(QString, text);
  const std::unique_ptr<Expander> expander = ExactExpander();
  const ConvertedText converted = ConvertTypedText(typed.toStdString(), expander.get());
  if (!expander && !converted.Accepted() && converted.refusal->message == kNoExpander) QSKIP("no exact factoriser");
  QVERIFY2(converted.Accepted(), converted.Accepted() ? "" : converted.refusal->message.c_str());
  QCOMPARE(QString::fromStdString(converted.text), text);
}

// Positions count characters of the text as typed, from 0.
void TypedInputTest::refusal_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("position");
  QTest::addColumn<int>("length");
  QTest::newRow("nothing") << "  " << kNothingTyped << -1 << 0;
  QTest::newRow("sign then *") << "x^2+*3" << "第 5 个字符 '*' 不能出现在这里 / character 5, '*', cannot stand here" << 4 << 1;
  QTest::newRow("full-width character shown as typed")
      << QStringLiteral("ｘ＋＊２") << QStringLiteral("第 3 个字符 '＊' 不能出现在这里 / character 3, '＊', cannot stand here")
      << 2 << 1;
  QTest::newRow("zero") << "0" << "第 1 个字符 '0': 系数不能为 0 / character 1, '0': a coefficient cannot be 0" << 0 << 1;
  QTest::newRow("zero exponent")
      << "x^0+1" << "第 3 个字符 '0': 指数必须是正整数 / character 3, '0': an exponent must be a whole number from 1 up"
      << 2 << 1;
  QTest::newRow("trailing +") << "x+"
                              << "第 2 个字符 '+' 后面还缺少内容 / something is missing after character 2, '+'" << 1 << 1;
  QTest::newRow("two numbers apart") << "x 2" << "第 3 个字符 '2' 不能出现在这里 / character 3, '2', cannot stand here"
                                     << 2 << 1;
  QTest::newRow("number after a bracket") << "(x+1)2" << "第 6 个字符 '2' 不能出现在这里 / character 6, '2', cannot stand here"
                                          << 5 << 1;
  QTest::newRow("division by a number") << "x/2" << "第 2 个字符 '/' 不能出现在这里 / character 2, '/', cannot stand here"
                                        << 1 << 1;
  QTest::newRow("power of a number") << "2^3x" << "第 2 个字符 '^' 不能出现在这里 / character 2, '^', cannot stand here"
                                     << 1 << 1;
  QTest::newRow("two signs") << "x+-1" << "第 3 个字符 '-' 不能出现在这里 / character 3, '-', cannot stand here" << 2 << 1;
  QTest::newRow("unclosed") << "2(x+1" << "第 2 个字符 '(' 没有对应的 ')' / character 2, '(', has no matching ')'" << 1 << 1;
  QTest::newRow("unopened") << "x+1)" << "第 4 个字符 ')' 没有对应的 '(' / character 4, ')', has no matching '('" << 3 << 1;
  QTest::newRow("decimal point without a digit")
      << "2.x" << "第 2 个字符 '.': 小数点后面缺少数字 / character 2, '.': a decimal point needs a digit after it" << 1
      << 1;
  QTest::newRow("full-width decimal point without a digit")
      << QStringLiteral("2．x")
      << QStringLiteral("第 2 个字符 '．': 小数点后面缺少数字 / character 2, '．': a decimal point needs a digit after it")
      << 1 << 1;
  QTest::newRow("decimal exponent")
      << "x^2.5+1" << "第 3 个字符起的指数 2.5 不是正整数 / the exponent 2.5 at character 3 is not a whole number" << 2
      << 3;
  QTest::newRow("decimal exponent without ^")
      << QStringLiteral("ｘ０．５") << "第 2 个字符起的指数 0.5 不是正整数 / the exponent 0.5 at character 2 is not a whole number"
      << 1 << 3;
  QTest::newRow("decimal over a number")
      << "0.5/3x" << "第 1 个字符起的小数 0.5 不能写在分数中 / the decimal 0.5 at character 1 cannot stand in a fraction"
      << 0 << 3;
  QTest::newRow("number over a decimal")
      << "1/2.5x" << "第 3 个字符起的小数 2.5 不能写在分数中 / the decimal 2.5 at character 3 cannot stand in a fraction"
      << 2 << 3;
  QTest::newRow("decimal of 1001 places")
      << "0." + QString(1001, '3') + "x"
      << "第 1 个字符起的小数的小数位多于 1000 位 / the decimal at character 1 has more than 1000 digits after the point"
      << 0 << 1003;
  QTest::newRow("decimal zero") << "0.00x+1"
                                << "第 1 个字符 '0': 系数不能为 0 / character 1, '0': a coefficient cannot be 0" << 0 << 4;
  QTest::newRow("101 brackets deep")
      << QString(101, '(') + "x" + QString(101, ')')
      << "第 101 个字符 '(': 括号嵌套超过 100 层 / character 101, '(': brackets are nested more than 100 deep" << 100 << 1;
  QTest::newRow("100,000 brackets deep, unclosed")
      << QString(100000, '(') + "x"
      << "第 101 个字符 '(': 括号嵌套超过 100 层 / character 101, '(': brackets are nested more than 100 deep" << 100 << 1;
  QTest::newRow("exponent beyond reach")
      << "x^100001-1"
      << "第 3 个字符起的指数 100001 超过 100000, 太大无法计算 / the exponent 100001 at character 3 exceeds 100000, too "
         "large to compute"
      << 2 << 6;
  QTest::newRow("exponent of the expansion beyond reach")
      << "(x^50000+1)^3"
      << "展开后的指数 150000 超过 100000, 太大无法计算 / the expansion has the exponent 150000, beyond 100000, too large "
         "to compute"
      << -1 << 0;
  QTest::newRow("zero denominator") << "3/0x+1"
                                    << "第 3 个字符 '0': 分母不能为 0 / character 3, '0': a denominator cannot be 0" << 2 << 1;
  QTest::newRow("exponent too large")
      << "x^40000" << "第 3 个字符起的指数 40000 超过 32767 / the exponent 40000 at character 3 exceeds 32767" << 2 << 5;
  // A number of 20 digits is shown whole, a longer one cut short.
  QTest::newRow("coefficient of 20 digits")
      << "x+12345678901234567890"
      << "第 3 个字符起的系数 12345678901234567890 超过 16777216 / the coefficient 12345678901234567890 at "
         "character 3 exceeds 16777216"
      << 2 << 20;
  QTest::newRow("coefficient of 21 digits")
      << "x+123456789012345678901"
      << QStringLiteral("第 3 个字符起的系数 123456789012…(21 位 digits) 超过 16777216 / the coefficient "
                        "123456789012…(21 位 digits) at character 3 exceeds 16777216")
      << 2 << 21;
  QTest::newRow("coefficient too large")
      << "x+16777217"
      << "第 3 个字符起的系数 16777217 超过 16777216 / the coefficient 16777217 at character 3 exceeds 16777216"
      << 2 << 8;
  QString thirtyOne = "x^31";
  for (int i = 30; i >= 1; --i) thirtyOne += QString("+x^%1").arg(i);
  QTest::newRow("31 terms") << thirtyOne << "项数 31 超过 30 / 31 terms, at most 30" << int(thirtyOne.size() - 4)
                            << 4;
  QTest::newRow("9 variables") << "a+b+c+d+f+g+h+i+j"
                               << "第 17 个字符 'j' 是第 9 个变量, 最多 8 个 / character 17, 'j', is a 9th variable; at most 8"
                               << 16 << 1;
  QTest::newRow("7 variables in a term")
      << "abcdfgh+1" << "第 7 个字符 'h': 一项中的变量多于 6 个 / character 7, 'h': a term names more than 6 variables" << 6
      << 1;
  // After multiplying out: the expansion's limits have no place in the text.
  QTest::newRow("32 terms once multiplied out") << "(x+1)^31" << "项数 32 超过 30 / 32 terms, at most 30" << -1 << 0;
  QTest::newRow("coefficient of the expansion")
      << "(2x+3)^20"
      << "展开后的系数 31457280 超过 16777216 / the coefficient 31457280 of the expansion exceeds 16777216"
      << -1 << 0;
  QTest::newRow("zero once multiplied out") << "(x-1)(x+1)-x^2+1"
                                            << "展开后多项式为 0 / the polynomial is 0 once multiplied out" << -1 << 0;
  QTest::newRow("too large to multiply out")
      << "(x+y+z+w)^1000" << "展开后的多项式太大, 无法计算 / multiplied out, the polynomial is too large to compute" << 0
      << 1;
}

void TypedInputTest::refusal() {
  QFETCH(QString, typed);
  QFETCH(QString, message);
  QFETCH(int, position);
  QFETCH(int, length);
  const std::unique_ptr<Expander> expander = ExactExpander();
  const ConvertedText converted = ConvertTypedText(typed.toStdString(), expander.get());
  QVERIFY2(!converted.Accepted(), converted.text.c_str());
  if (!expander && converted.refusal->message == kNoExpander) QSKIP("no exact factoriser");
  QCOMPARE(QString::fromStdString(converted.refusal->message), message);
  QCOMPARE(converted.refusal->position, position);
  QCOMPARE(converted.refusal->length, length);
}

// A build without the exact arithmetic refuses what must be multiplied out, at its
// first bracket or product, and takes everything else.
void TypedInputTest::bracketsWithoutTheExactArithmetic() {
  const struct {
    const char* typed;
    int position;
  } cases[] = {{"(x+1)^2", 0}, {"3x+2(x+1)", 4}, {"2x*3", 3}, {"x^2yx", 4}};
  for (const auto& c : cases) {
    const ConvertedText converted = ConvertTypedText(c.typed, nullptr);
    QVERIFY2(!converted.Accepted(), c.typed);
    QCOMPARE(converted.refusal->message, std::string(kNoExpander));
    QCOMPARE(converted.refusal->position, c.position);
  }
  QCOMPARE(ConvertTypedText("x*3+y", nullptr).text, std::string("3x+y"));
}

// Brackets are multiplied out in this process: converting texts with
// brackets, powers of brackets and products starts no process (the count
// itself sees the one that a shell command starts).
void TypedInputTest::bracketsStartNoProcess() {
  const std::unique_ptr<Expander> expander = ExactExpander();
  if (!expander) QSKIP("no exact factoriser");
  QVERIFY(ProcessStartsDuring([] { return std::system("true") == 0; }) > 0);
  const int starts = ProcessStartsDuring([&expander] {
    const std::pair<const char*, bool> cases[] = {
        {"(x+1)(x+y+z)^2", true}, {"(2x-3)^3", true}, {"x(x-1)(x+1)", true}, {"2x*3y", true},
        {"(x+y+z+w)^1000", false},  // too large, refused before it is computed
    };
    for (const auto& [typed, accepted] : cases) {
      if (ConvertTypedText(typed, expander.get()).Accepted() != accepted) return false;
    }
    return true;
  });
  QCOMPARE(starts, 0);
}

// What was typed stays as read, brackets and powers of brackets, beside the
// value that the converted text writes.
void TypedInputTest::typedTreeBesideItsValue() {
  const std::unique_ptr<Expander> expander = ExactExpander();
  if (!expander) QSKIP("no exact factoriser");
  const ConvertedText converted = ConvertTypedText("-(x+1)(x+y)^2", expander.get());
  QVERIFY(converted.Accepted());
  QCOMPARE(converted.typed.size(), size_t{1});
  const TypedTerm& term = converted.typed.front();
  QVERIFY(term.negative);
  QCOMPARE(term.factors.size(), size_t{2});
  QCOMPARE(term.factors[0].kind, TypedFactor::Kind::Bracket);
  QCOMPARE(term.factors[0].inner.size(), size_t{2});
  QCOMPARE(term.factors[1].kind, TypedFactor::Kind::Bracket);
  QCOMPARE(term.factors[1].exponent, 2);
  QCOMPARE(term.factors[1].at, 6);
  QCOMPARE(converted.text, std::string("-x^3-2x^2y-x^2-xy^2-2xy-y^2"));
  QCOMPARE(converted.letters, std::string("xy"));
  QStringList terms;
  for (const format::RationalTerm& t : converted.value.terms) {
    terms << QStringLiteral("%1:%2,%3").arg(QString::fromStdString(t.coefficient)).arg(t.exponents[0]).arg(t.exponents[1]);
  }
  QCOMPARE(terms, (QStringList{"-1:3,0", "-2:2,1", "-1:2,0", "-1:1,2", "-2:1,1", "-1:0,2"}));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::TypedInputTest)
#include "typed_input_test.moc"
