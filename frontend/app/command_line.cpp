#include "frontend/app/command_line.h"

#include <QEventLoop>
#include <QFile>
#include <cstdio>
#include <functional>

#include "frontend/engine_link/batch_run.h"
#include "frontend/engine_link/engine_launcher.h"
#include "frontend/engine_link/exact_process.h"
#include "frontend/input/typed_input.h"
#include "frontend/input/problem_list.h"
#include "frontend/printing/answer_key.h"
#include "frontend/printing/document_printer.h"
#include "frontend/results/result_steps.h"

namespace pfac::frontend {

namespace {

void Say(std::FILE* stream, const QString& text) {
  std::fputs(text.toUtf8().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// Factors the lines one after another, as the worksheet window does, telling
// `done` of each problem as it ends. False, told, when the engine cannot be
// started.
bool FactorLines(BatchRun& run, const std::vector<std::string>& lines, const std::function<void(int)>& done) {
  QEventLoop loop;
  QObject::connect(&run, &BatchRun::problemDone, &loop, done);
  QObject::connect(&run, &BatchRun::finished, &loop, &QEventLoop::quit);
  QString error;
  if (!run.Start(lines, &error)) {
    Say(stderr, QStringLiteral("pfac: ") + error);
    return false;
  }
  loop.exec();
  return true;
}

}  // namespace

int RunWorksheetCommand(const QStringList& arguments) {
  QStringList files = arguments;
  const bool withSteps = !files.isEmpty() && files.front() == QLatin1String(kStepsOption);
  if (withSteps) files.removeFirst();
  if (files.size() != 2) {
    Say(stderr, QStringLiteral("usage: pfac --worksheet [--steps] LIST.txt OUT.pdf"));
    return 2;
  }
  QFile list(files[0]);
  if (!list.open(QIODevice::ReadOnly)) {
    Say(stderr, QStringLiteral("pfac: the list %1 cannot be read").arg(files[0]));
    return 2;
  }
  const std::vector<std::string> lines = ProblemLines(list.readAll().toStdString());
  if (lines.empty()) {
    Say(stderr, QStringLiteral("pfac: the list %1 holds no polynomial").arg(files[0]));
    return 2;
  }
  const std::unique_ptr<Expander> expander = ExactExpander();
  BatchRun run(EngineBesideFrontEnd().program, expander.get());
  const bool ran = FactorLines(run, lines, [&run](int index) {
    const Problem& problem = run.Problems()[static_cast<size_t>(index)];
    Say(stdout, QStringLiteral("%1\t%2\t%3\t%4\t%5")
                    .arg(index + 1)
                    .arg(QString::fromStdString(problem.typed), QString::fromStdString(AnswerShown(problem)),
                         QString::fromStdString(CertificateShown(problem)),
                         QString::fromStdString(TimeShown(problem))));
  });
  if (!ran) return 2;

  QString error;
  if (!SaveProblemSheet(SheetProblems(run.Problems(), withSteps), files[1], &error)) {
    Say(stderr, QStringLiteral("pfac: ") + error);
    return 2;
  }
  int refused = 0;
  for (const Problem& problem : run.Problems()) refused += problem.state == ProblemState::Refused;
  if (refused > 0) {
    Say(stderr, QStringLiteral("pfac: %1 of %2 lines refused").arg(refused).arg(run.Problems().size()));
    return 1;
  }
  return 0;
}

int RunExplainCommand(const QStringList& arguments) {
  if (arguments.size() != 1) {
    Say(stderr, QStringLiteral("usage: pfac --explain POLYNOMIAL"));
    return 2;
  }
  const std::unique_ptr<Expander> expander = ExactExpander();
  BatchRun run(EngineBesideFrontEnd().program, expander.get());
  if (!FactorLines(run, {arguments[0].toStdString()}, [](int) {})) return 2;
  const Problem& problem = run.Problems().front();
  if (problem.state == ProblemState::Refused) {
    Say(stderr, QStringLiteral("pfac: ") + QString::fromStdString(problem.refusal->message));
    return 1;
  }
  if (problem.state != ProblemState::Factored) {
    Say(stderr, QStringLiteral("pfac: ") + QString::fromStdString(AnswerShown(problem)));
    return 2;
  }
  for (const std::string& line : StepTexts(ExplainResult(problem.result.source))) {
    Say(stdout, QString::fromStdString(line));
  }
  Say(stdout, QString::fromStdString(problem.result.presentation.shown.Text()));
  // Beyond the search's limits: where the answer came from, and its certificate.
  if (!problem.result.notes.empty() && problem.result.notes.front() == kBeyondSearchNote) {
    for (const std::string& note : problem.result.notes) Say(stdout, QString::fromStdString(note));
  }
  return problem.result.end == RunEnd::Certified ? 0 : 2;
}

}  // namespace pfac::frontend
