#include "frontend/batch_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>
#include <cstdio>

#include "frontend/hand_off.h"
#include "frontend/result_printing.h"
#include "frontend/results/result_steps.h"

namespace pfac::frontend {

namespace {

// How long a stopped engine is given to finish its files before it is killed.
constexpr int kStopGraceMs = 3000;

std::string Trimmed(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = line.find_last_not_of(" \t\r");
  return std::string(line.substr(first, last - first + 1));
}

// The lines of a file, line ends removed.
std::vector<std::string> FileLines(const QString& path) {
  QFile file(path);
  std::vector<std::string> lines;
  if (!file.open(QIODevice::ReadOnly)) return lines;
  for (QByteArray line : file.readAll().split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    lines.push_back(line.toStdString());
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

}  // namespace

std::vector<std::string> ProblemLines(std::string_view list) {
  std::vector<std::string> lines;
  while (!list.empty()) {
    const size_t end = list.find('\n');
    std::string line = Trimmed(list.substr(0, end));
    if (!line.empty() && line.find_first_not_of(" \t\r\xE3\x80\x80") != std::string::npos) lines.push_back(line);
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return lines;
}

std::string ProblemShown(const Problem& problem) {
  if (problem.text.empty()) return problem.typed;
  return Present(problem.text, "", false).shown.Text();
}

std::string AnswerShown(const Problem& problem) {
  switch (problem.state) {
    case ProblemState::Refused: return problem.refusal->message;
    case ProblemState::Factored:
    case ProblemState::Stopped: return problem.result.presentation.shown.Text();
    case ProblemState::NoResult: return "分解程序没有写出结果 / the engine wrote no result";
    case ProblemState::NotRun: return "没有分解 / not factored";
    case ProblemState::Waiting:
    case ProblemState::Running: return {};
  }
  return {};
}

std::string CertificateShown(const Problem& problem) {
  switch (problem.state) {
    case ProblemState::Refused: return "未读入 / refused";
    case ProblemState::NoResult: return "没有结果 / no result";
    case ProblemState::Stopped: return "已停止 / stopped";
    case ProblemState::NotRun: return "未运行 / not run";
    case ProblemState::Waiting: return {};
    case ProblemState::Running: return "分解中 / running";
    case ProblemState::Factored: break;
  }
  switch (problem.result.end) {
    case RunEnd::Certified: return "完整 / complete";
    case RunEnd::Incomplete: return "不完整 / not complete";
    case RunEnd::InternalError: return "内部错误 / internal error";
    case RunEnd::Finished: break;
  }
  return "未验证 / not verified";
}

std::vector<std::string> AnswerNotes(const Problem& problem) {
  switch (problem.state) {
    case ProblemState::Refused:
      return {"未读入 / refused: " + problem.refusal->message};
    case ProblemState::Stopped: {
      std::vector<std::string> notes{"批量被取消, 分解已停止 / the worksheet was cancelled and this run stopped"};
      notes.insert(notes.end(), problem.result.notes.begin(), problem.result.notes.end());
      return notes;
    }
    case ProblemState::NotRun: return {"批量被取消, 没有分解 / the worksheet was cancelled before this one"};
    case ProblemState::NoResult: return {AnswerShown(problem)};
    case ProblemState::Factored: return problem.result.notes;
    case ProblemState::Waiting:
    case ProblemState::Running: return {};
  }
  return {};
}

std::string TimeShown(const Problem& problem) {
  const bool ran = problem.state == ProblemState::Factored || problem.state == ProblemState::Stopped ||
                   problem.state == ProblemState::NoResult;
  if (!ran) return {};
  char text[32];
  std::snprintf(text, sizeof text, problem.seconds < 1 ? "%.3f s" : "%.2f s", problem.seconds);
  return text;
}

std::vector<SheetProblem> SheetProblems(const std::vector<Problem>& problems, bool withSteps) {
  std::vector<SheetProblem> sheet;
  for (const Problem& problem : problems) {
    SheetProblem page;
    page.problem = problem.text.empty() ? Leaf(problem.typed) : Present(problem.text, "", false).shown;
    const bool answered = problem.state == ProblemState::Factored || problem.state == ProblemState::Stopped;
    page.answer = answered ? problem.result.presentation.shown : page.problem;
    page.notes = AnswerNotes(problem);
    if (withSteps && problem.state == ProblemState::Factored) page.steps = PrintedSteps(problem.result.source);
    sheet.push_back(std::move(page));
  }
  return sheet;
}

BatchRun::BatchRun(QString engineProgram, Expander* expander, QObject* parent)
    : QObject(parent), engineProgram_(std::move(engineProgram)), expander_(expander) {}

BatchRun::~BatchRun() {
  if (engine_ != nullptr) {
    engine_->disconnect(this);
    engine_->kill();
    engine_->waitForFinished(kStopGraceMs);
  }
}

bool BatchRun::Start(const std::vector<std::string>& lines, QString* error) {
  if (running_) {
    *error = QStringLiteral("批量正在进行。(A worksheet is being factored.)");
    return false;
  }
  const QFileInfo engine(engineProgram_);
  if (!engine.isFile() || !engine.isExecutable()) {
    *error = QStringLiteral("找不到分解程序 %1。\n(The engine %1 was not found.)").arg(engineProgram_);
    return false;
  }
  folders_ = std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("pfac-worksheet-XXXXXX")));
  if (!folders_->isValid()) {
    *error = QStringLiteral("无法建立临时文件夹。\n(No temporary folder could be made: %1.)").arg(folders_->errorString());
    return false;
  }
  problems_.clear();
  for (const std::string& line : lines) problems_.push_back({line, {}, {}, ProblemState::Waiting, {}, 0});
  current_ = 0;
  done_ = 0;
  cancelled_ = false;
  running_ = true;
  // The first problem after the caller has connected to the signals.
  QTimer::singleShot(0, this, &BatchRun::Next);
  return true;
}

void BatchRun::Next() {
  while (running_ && !cancelled_ && current_ < problems_.size()) {
    Problem& problem = problems_[current_];
    ConvertedText converted = ConvertTypedText(problem.typed, expander_);
    if (!converted.Accepted()) {
      problem.refusal = converted.refusal;
      problem.state = ProblemState::Refused;
      ++done_;
      emit problemDone(static_cast<int>(current_++));
      continue;
    }
    problem.text = converted.text;
    const QString folder = folders_->filePath(QString::number(current_ + 1));
    QFile handOff(QDir(folder).filePath(QString::fromLatin1(kHandOffFile)));
    if (!QDir().mkpath(folder) || !handOff.open(QIODevice::WriteOnly) ||
        handOff.write(QByteArray::fromStdString("\"" + problem.text + "\"\r\n")) < 0 || !handOff.flush()) {
      problem.state = ProblemState::NoResult;
      ++done_;
      emit problemDone(static_cast<int>(current_++));
      continue;
    }
    handOff.close();
    engine_ = new QProcess(this);
    engine_->setWorkingDirectory(folder);
    engine_->setStandardInputFile(QProcess::nullDevice());
    engine_->setStandardOutputFile(QProcess::nullDevice());
    engine_->setStandardErrorFile(QProcess::nullDevice());
    connect(engine_, &QProcess::finished, this, &BatchRun::EngineEnded);
    connect(engine_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
      if (error == QProcess::FailedToStart) EngineEnded();
    });
    problem.state = ProblemState::Running;
    clock_.start();
    engine_->start(engineProgram_, {});
    return;
  }
  if (running_ && current_ >= problems_.size()) Finish();
}

void BatchRun::EngineEnded() {
  if (engine_ == nullptr) return;
  engine_->disconnect(this);
  engine_->deleteLater();
  engine_ = nullptr;
  Problem& problem = problems_[current_];
  problem.seconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
  const QString folder = folders_->filePath(QString::number(current_ + 1));
  const QString resultFile = QDir(folder).filePath(QString::fromLatin1(kResultFile));
  if (QFileInfo::exists(resultFile)) {
    problem.result = ReadRunResult(FileLines(resultFile));
    problem.result.source.seconds = problem.seconds;
    problem.state = cancelled_ ? ProblemState::Stopped : ProblemState::Factored;
  } else {
    problem.state = cancelled_ ? ProblemState::Stopped : ProblemState::NoResult;
  }
  ++done_;
  emit problemDone(static_cast<int>(current_++));
  if (cancelled_) {
    Finish();
  } else {
    Next();
  }
}

void BatchRun::Cancel() {
  if (!running_ || cancelled_) return;
  cancelled_ = true;
  if (engine_ != nullptr) {
    // The engine finishes jg.dat with a line saying it was stopped.
    engine_->terminate();
    QTimer::singleShot(kStopGraceMs, engine_, [engine = engine_] { engine->kill(); });
    return;
  }
  Finish();
}

void BatchRun::Finish() {
  for (; current_ < problems_.size(); ++current_) {
    problems_[current_].state = ProblemState::NotRun;
    ++done_;
    emit problemDone(static_cast<int>(current_));
  }
  running_ = false;
  emit finished();
}

}  // namespace pfac::frontend
