// Texts just inside each of the search's limits are factored by the engine's
// search; just beyond, by the exact factoriser (pfac-exact, a process of its
// own), with the note that says so and the certificate. A worksheet run
// cancelled while the exact factoriser works, and one that passes its time
// limit, end with the line stopped and said so.
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "frontend/engine_link/batch_run.h"
#include "frontend/engine_link/exact_process.h"

namespace pfac::frontend {
namespace {

class BeyondSearchTest : public QObject {
  Q_OBJECT

 private slots:
  void eachLimitInsideAndBeyond();
  void cancelAndTimeLimitStopTheExactFactoriser();
  void explainSaysWhereTheAnswerCameFrom();
};

QString Terms(int n) {
  QString text = QStringLiteral("x^%1").arg(n - 1);
  for (int e = n - 2; e >= 1; --e) text += QStringLiteral("+x^%1").arg(e);
  return text + "+1";
}

bool HasNote(const Problem& problem) {
  return std::find(problem.result.notes.begin(), problem.result.notes.end(), std::string(kBeyondSearchNote)) !=
         problem.result.notes.end();
}

void BeyondSearchTest::eachLimitInsideAndBeyond() {
  const struct {
    QString inside;
    QString beyond;  // the same limit, one step past it
    QString shown;   // what the answer beyond it is, as presented
  } cases[] = {
      {Terms(30), Terms(31), ""},
      {"16777216x^2-1", "16777217x^2-1", QStringLiteral("16777217x² - 1 在有理数域上不可约 (irreducible over Q)")},
      {"(x+1)^24", "(x+2)^25", QStringLiteral("(x + 2)²⁵ = (x + 2)²⁵")},  // the problem as typed on the left
      {"x^32767-x^32766", "x^32768-x^32767", QStringLiteral(" = x³²⁷⁶⁷(x - 1)")},
      {"a+b+c+d+f+g+h+i", "a+b+c+d+f+g+h+i+j", ""},
      {"abcdef+abcdeg", "abcdefg+abcdefh", QStringLiteral("abcdefg + abcdefh = abcdef(g + h)")},
      {"1/4096x^2-1/4095", "1/4096x^2-1/4097",
       QStringLiteral("1/4096x² - 1/4097 = 1/16781312(4097x² - 4096), 4097x² - 4096 在有理数域上不可约")},
  };
  std::vector<std::string> lines;
  for (const auto& c : cases) {
    lines.push_back(c.inside.toStdString());
    lines.push_back(c.beyond.toStdString());
  }
  const std::unique_ptr<Expander> expander = ExactExpander();
  BatchRun run(QStringLiteral(PFAC_ENGINE_BINARY), expander.get());
  QSignalSpy finished(&run, &BatchRun::finished);
  QString error;
  QVERIFY2(run.Start(lines, &error), qPrintable(error));
  QVERIFY(finished.wait(240000));
  for (size_t i = 0; i < lines.size(); ++i) {
    const Problem& problem = run.Problems()[i];
    const bool beyond = i % 2 == 1;
    QVERIFY2(problem.state == ProblemState::Factored, problem.typed.c_str());
    QVERIFY2(problem.result.end == RunEnd::Certified, problem.typed.c_str());
    QVERIFY2(HasNote(problem) == beyond, problem.typed.c_str());
    if (beyond) {
      QCOMPARE(problem.result.notes.back(), std::string(kExactCertificate));
      const QString shown = QString::fromStdString(problem.result.presentation.shown.Text());
      QVERIFY2(shown.contains(cases[i / 2].shown), qPrintable(shown));
      QVERIFY2(problem.result.source.value.has_value(), problem.typed.c_str());
    }
  }
}

void BeyondSearchTest::cancelAndTimeLimitStopTheExactFactoriser() {
  const char* slow = "x^99999+2x^7-3x+5";
  const std::unique_ptr<Expander> expander = ExactExpander();
  BatchRun run(QStringLiteral(PFAC_ENGINE_BINARY), expander.get());
  QSignalSpy done(&run, &BatchRun::problemDone);
  QSignalSpy finished(&run, &BatchRun::finished);
  QString error;
  QVERIFY(run.Start({"x^2-1", slow, "x^2-4"}, &error));
  QVERIFY(done.wait(60000));
  QTRY_VERIFY(run.Problems()[1].state == ProblemState::Running);
  QTest::qWait(200);
  run.Cancel();
  QVERIFY(finished.count() == 1 || finished.wait(10000));
  QCOMPARE(run.Problems()[1].state, ProblemState::Stopped);
  QCOMPARE(run.Problems()[1].result.notes, std::vector<std::string>{"精确分解已取消 / the exact factorisation was cancelled"});
  QCOMPARE(run.Problems()[2].state, ProblemState::NotRun);

  // The window's time limit, as a shorter one here.
  ExactProcess exact(ExactProcess::BesideEngine(QStringLiteral(PFAC_ENGINE_BINARY)));
  QSignalSpy ended(&exact, &ExactProcess::finished);
  QVERIFY(exact.Start(ConvertTypedText(slow, expander.get()).value, 1000, &error));
  QVERIFY(ended.wait(30000));
  QVERIFY(!exact.Answer());
  QCOMPARE(exact.Why(), std::string("精确分解超过 1 秒, 已停止 / the exact factorisation passed 1 s and was stopped"));
}

// pfac --explain on a text beyond the search's limits: the steps, the
// factorisation, then the note and the certificate; exit status 0.
void BeyondSearchTest::explainSaysWhereTheAnswerCameFrom() {
  QProcess pfac;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  pfac.setProcessEnvironment(environment);
  pfac.start(QStringLiteral(PFAC_FRONTEND_BINARY), {"--explain", "x^32768-x^32767"});
  QVERIFY(pfac.waitForFinished(60000));
  QCOMPARE(pfac.exitCode(), 0);
  const QStringList lines = QString::fromUtf8(pfac.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  QVERIFY(lines.size() >= 3);
  QVERIFY2(lines[lines.size() - 3].endsWith(QStringLiteral(" = x³²⁷⁶⁷(x - 1)")), qPrintable(lines.join('\n')));
  QCOMPARE(lines[lines.size() - 2], QString::fromUtf8(kBeyondSearchNote));
  QCOMPARE(lines.back(), QString::fromUtf8(kExactCertificate));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::BeyondSearchTest)
#include "beyond_search_test.moc"
