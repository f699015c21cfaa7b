#include "frontend/app/command_line.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "frontend/engine_link/batch_run.h"
#include "frontend/engine_link/engine_launcher.h"
#include "frontend/engine_link/exact_process.h"
#include "frontend/filter/factor_filter.h"
#include "frontend/graph/graph_picture.h"
#include "frontend/input/typed_input.h"
#include "frontend/input/problem_list.h"
#include "frontend/printing/answer_key.h"
#include "frontend/printing/document_printer.h"
#include "frontend/results/result_steps.h"

namespace pfac::frontend {

void Say(std::FILE* stream, const QString& text) {
  std::fputs(text.toUtf8().constData(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

namespace {

int PrintHelp(const QStringList&) {
  Say(stdout, Usage());
  return 0;
}

// The filter, when it is reached through the table rather than before any Qt
// is set up (main() sends it there first, with the arguments' own bytes).
int RunFactorMode(const QStringList& arguments) {
  std::vector<std::string> texts;
  for (const QString& argument : arguments) texts.push_back(argument.toStdString());
  return RunFactorCommand(texts);
}

int PrintVersion(const QStringList&) {
  Say(stdout, QStringLiteral("pfac " PFAC_VERSION));
  return 0;
}

void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) return;
  Say(stderr, QStringLiteral("pfac: ") + message);
  std::abort();
}

// The usage of one mode, as the line that says it wrongly used shows it.
QString ModeUsage(const char* option) {
  for (const CommandLineMode& mode : CommandLineModes()) {
    if (qstrcmp(mode.option, option) == 0) {
      return QStringLiteral("用法 / usage: pfac %1 %2").arg(QLatin1String(mode.option), QLatin1String(mode.arguments));
    }
  }
  return Usage();
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

// Whether the option is among the arguments, which then no longer hold it.
bool TakeOption(QStringList* arguments, const char* option) { return arguments->removeAll(QLatin1String(option)) > 0; }

int RunWorksheetCommand(const QStringList& arguments) {
  QStringList files = arguments;
  const bool real = TakeOption(&files, kRealOption);
  bool withSteps = false, withGraphs = false;
  while (!files.isEmpty() && (files.front() == QLatin1String(kStepsOption) ||
                              files.front() == QLatin1String(kWithGraphsOption))) {
    (files.front() == QLatin1String(kStepsOption) ? withSteps : withGraphs) = true;
    files.removeFirst();
  }
  if (files.size() != 2) {
    Say(stderr, ModeUsage(kWorksheetOption));
    return 2;
  }
  QFile list(files[0]);
  if (!list.open(QIODevice::ReadOnly)) {
    Say(stderr, QStringLiteral("pfac: 无法读取列表 %1 / the list %1 cannot be read").arg(files[0]));
    return 2;
  }
  const std::vector<std::string> lines = ProblemLines(list.readAll().toStdString());
  if (lines.empty()) {
    Say(stderr, QStringLiteral("pfac: 列表 %1 中没有多项式 / the list %1 holds no polynomial").arg(files[0]));
    return 2;
  }
  const std::unique_ptr<Expander> expander = ExactExpander();
  BatchRun run(EngineBesideFrontEnd().program, expander.get());
  run.UseField(real ? Field::kReal : Field::kRational);
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
  if (!SaveProblemSheet(SheetProblems(run.Problems(), withSteps, withGraphs), files[1], &error, run.UsedField())) {
    Say(stderr, QStringLiteral("pfac: ") + error);
    return 2;
  }
  int refused = 0;
  for (const Problem& problem : run.Problems()) refused += problem.state == ProblemState::Refused;
  if (refused > 0) {
    Say(stderr, QStringLiteral("pfac: %2 行中有 %1 行被拒绝 / %1 of %2 lines refused")
                    .arg(refused)
                    .arg(run.Problems().size()));
    return 1;
  }
  return 0;
}

int RunExplainCommand(const QStringList& given) {
  QStringList arguments = given;
  const bool real = TakeOption(&arguments, kRealOption);
  if (arguments.size() != 1) {
    Say(stderr, ModeUsage(kExplainOption));
    return 2;
  }
  const std::unique_ptr<Expander> expander = ExactExpander();
  BatchRun run(EngineBesideFrontEnd().program, expander.get());
  run.UseField(real ? Field::kReal : Field::kRational);
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

int RunGraphCommand(const QStringList& given) {
  QStringList arguments = given;
  const bool real = TakeOption(&arguments, kRealOption);
  if (arguments.size() != 2) {
    Say(stderr, ModeUsage(kGraphOption));
    return 2;
  }
  QString error;
  if (!GraphFileNamed(arguments[1], &error)) {
    Say(stderr, QStringLiteral("pfac: ") + error);
    return 2;
  }
  const std::unique_ptr<Expander> expander = ExactExpander();
  const ConvertedText read = ConvertTypedText(arguments[0].toStdString(), expander.get());
  // A text beyond the search's limits is read all the same: its graph needs no search.
  if (!read.Accepted() && !read.beyondSearch) {
    Say(stderr, QStringLiteral("pfac: ") + QString::fromStdString(read.refusal->message));
    return 1;
  }
  std::string why;
  // Over the reals the roots with square roots are labelled with them.
  const std::optional<GraphData> graph = GraphOf(read.value, read.letters,
                                                 real ? SquareRootLabels(read.value) : std::vector<exact::RootLabel>{},
                                                 &why, arguments[0].toStdString());
  if (!graph) {
    Say(stderr, QStringLiteral("pfac: ") + QString::fromStdString(why));
    return 1;
  }
  if (!SaveGraph(*graph, arguments[1], &error)) {
    Say(stderr, QStringLiteral("pfac: ") + error);
    return 2;
  }
  Say(stdout, graph->title + QLatin1Char('\t') + RootsShown(graph->roots));
  return 0;
}

const std::vector<CommandLineMode>& CommandLineModes() {
  static const std::vector<CommandLineMode> modes{
      {kWorksheetOption, "[--steps] [--with-graphs] LIST.txt OUT.pdf [--real]",
       "把列表中的多项式 (一行一个) 做成练习和答案 (答案中可附步骤和图像) / a worksheet and its answer key from a "
       "list, one polynomial a line (the key with steps and graphs when asked)",
       RunWorksheetCommand, true},
      {kExplainOption, "POLYNOMIAL [--real]", "分解一个多项式, 列出步骤 / the steps of one factorisation", RunExplainCommand,
       true},
      {kFactorOption, "[--real] [--format text|plain|latex|json] [--time-limit S] [POLY ...]",
       "分解每个参数或标准输入的每一行, 一行一个答案 / factor each argument or line of standard input, an answer a line",
       RunFactorMode, false},
      {kGraphOption, "POLYNOMIAL OUT.png|OUT.pdf [--real]",
       "画出一元多项式 y = f(x) 的图像, 标出实根 / the graph of y = f(x) with its real roots, as a picture",
       RunGraphCommand, true},
      {kHelpOption, "", "这段说明 / this text", PrintHelp, false},
      {kVersionOption, "", "版本 / the version", PrintVersion, false},
  };
  return modes;
}

QString Usage() {
  QStringList lines{QStringLiteral("用法 / usage:"),
                    QStringLiteral("  pfac\n      打开窗口, 输入并分解多项式 / open the window to factor polynomials")};
  for (const CommandLineMode& mode : CommandLineModes()) {
    lines << QStringLiteral("  ") +
                 QStringLiteral("pfac %1 %2").arg(QLatin1String(mode.option), QLatin1String(mode.arguments)).trimmed()
          << QStringLiteral("      ") + QString::fromUtf8(mode.meaning);
  }
  return lines.join('\n');
}

std::optional<int> RunCommandLine(int argc, char* argv[]) {
  if (argc < 2) return std::nullopt;
  const auto& modes = CommandLineModes();
  const auto mode = std::find_if(modes.begin(), modes.end(),
                                 [&](const CommandLineMode& m) { return qstrcmp(m.option, argv[1]) == 0; });
  if (mode == modes.end()) {
    Say(stderr, QStringLiteral("pfac: 不认识的参数 %1 / unknown option %1\n").arg(QString::fromLocal8Bit(argv[1])) +
                    Usage());
    return 2;
  }
  KeepQtDiagnosticsQuiet();
  QStringList arguments;
  for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (!mode->needsApplication) return mode->run(arguments);
  // No window is shown: no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pfac"));
  return mode->run(arguments);
}

void KeepQtDiagnosticsQuiet() {
  if (qEnvironmentVariableIsEmpty("PFAC_QT_MESSAGES")) qInstallMessageHandler(QuietHandler);
}

}  // namespace pfac::frontend
