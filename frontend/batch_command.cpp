#include "frontend/batch_command.h"

#include <QEventLoop>
#include <QFile>
#include <cstdio>

#include "frontend/batch_run.h"
#include "frontend/document_printer.h"
#include "frontend/engine_launcher.h"
#include "frontend/exact_helper.h"

namespace pfac::frontend {

namespace {

void Say(std::FILE* stream, const QString& text) {
  std::fputs(text.toUtf8().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace

int RunWorksheetCommand(const QStringList& arguments) {
  if (arguments.size() != 2) {
    Say(stderr, QStringLiteral("usage: pfac --worksheet LIST.txt OUT.pdf"));
    return 2;
  }
  QFile list(arguments[0]);
  if (!list.open(QIODevice::ReadOnly)) {
    Say(stderr, QStringLiteral("pfac: the list %1 cannot be read").arg(arguments[0]));
    return 2;
  }
  const std::vector<std::string> lines = ProblemLines(list.readAll().toStdString());
  const std::unique_ptr<Expander> expander = ExpanderBesideFrontEnd();
  BatchRun run(EngineBesideFrontEnd().program, expander.get());
  QEventLoop loop;
  QObject::connect(&run, &BatchRun::problemDone, [&run](int index) {
    const Problem& problem = run.Problems()[static_cast<size_t>(index)];
    const bool ran = problem.state == ProblemState::Factored || problem.state == ProblemState::Stopped ||
                     problem.state == ProblemState::NoResult;
    Say(stdout, QStringLiteral("%1\t%2\t%3\t%4\t%5")
                    .arg(index + 1)
                    .arg(QString::fromStdString(problem.typed), QString::fromStdString(AnswerShown(problem)),
                         QString::fromStdString(CertificateShown(problem)),
                         ran ? QString::fromStdString(SecondsShown(problem.seconds)) : QString()));
  });
  QObject::connect(&run, &BatchRun::finished, &loop, &QEventLoop::quit);
  QString error;
  if (lines.empty()) {
    Say(stderr, QStringLiteral("pfac: the list %1 holds no polynomial").arg(arguments[0]));
    return 2;
  }
  if (!run.Start(lines, &error)) {
    Say(stderr, QStringLiteral("pfac: ") + error);
    return 2;
  }
  loop.exec();

  if (!SaveProblemSheet(SheetProblems(run.Problems()), arguments[1], &error)) {
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

}  // namespace pfac::frontend
