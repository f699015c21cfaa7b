#include "frontend/engine_link/batch_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include "frontend/engine_link/engine_files.h"
#include "frontend/engine_link/exact_process.h"
#include "frontend/engine_link/result_file.h"

namespace pfac::frontend {

namespace {

// How long a stopped engine is given to finish its files before it is killed.
constexpr int kStopGraceMs = 3000;

}  // namespace

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
    if (converted.beyondSearch) {
      StartExact(converted);
      return;
    }
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
  if (const std::optional<std::vector<std::string>> lines = ReadResultFile(folder.toStdString())) {
    problem.result = ReadRunResult(*lines);
    problem.result.source.seconds = problem.seconds;
    SetTyped(&problem.result, problem.typed);
    SetField(&problem.result, field_);
    problem.state = cancelled_ ? ProblemState::Stopped : ProblemState::Factored;
  } else {
    problem.state = cancelled_ ? ProblemState::Stopped : ProblemState::NoResult;
  }
  ProblemEnded();
}

void BatchRun::ProblemEnded() {
  ++done_;
  emit problemDone(static_cast<int>(current_++));
  if (cancelled_) {
    Finish();
  } else {
    Next();
  }
}

void BatchRun::StartExact(const ConvertedText& converted) {
  Problem& problem = problems_[current_];
  problem.text = converted.text;
  problem.state = ProblemState::Running;
  exact_ = new ExactProcess(ExactProcess::BesideEngine(engineProgram_), this);
  connect(exact_, &ExactProcess::finished, this, [this, converted] { ExactEnded(converted); });
  QString error;
  if (!exact_->Start(converted.value, kExactTimeLimitMs, &error)) {
    exact_->deleteLater();
    exact_ = nullptr;
    problem.result = RestoredRunResult(ResultSource(problem.text, "", false), {error.toStdString()}, RunEnd::Incomplete);
    problem.state = ProblemState::Stopped;
    ++done_;
    emit problemDone(static_cast<int>(current_++));
    QTimer::singleShot(0, this, &BatchRun::Next);
  }
}

void BatchRun::ExactEnded(const ConvertedText& converted) {
  if (exact_ == nullptr) return;
  Problem& problem = problems_[current_];
  problem.seconds = exact_->Seconds();
  if (exact_->Answer()) {
    problem.result = ExactRunResult(converted.text, converted.value, converted.letters, *exact_->Answer(), problem.seconds);
    SetTyped(&problem.result, problem.typed);
    SetField(&problem.result, field_);
    problem.state = ProblemState::Factored;
  } else {
    problem.result = RestoredRunResult(ResultSource(problem.text, "", false), {exact_->Why()}, RunEnd::Incomplete);
    problem.state = ProblemState::Stopped;
  }
  exact_->deleteLater();
  exact_ = nullptr;
  ProblemEnded();
}

void BatchRun::Cancel() {
  if (!running_ || cancelled_) return;
  cancelled_ = true;
  if (exact_ != nullptr) {
    exact_->Cancel();
    return;
  }
  if (engine_ != nullptr) {
    // The engine finishes jg.dat with a line saying it was stopped.
    engine_->terminate();
    QTimer::singleShot(kStopGraceMs, engine_, [engine = engine_] { engine->kill(); });
    return;
  }
  Finish();
}

int BatchRun::Ran() const {
  int ran = 0;
  for (const Problem& problem : problems_) {
    ran += problem.state != ProblemState::Waiting && problem.state != ProblemState::Running &&
           problem.state != ProblemState::NotRun;
  }
  return ran;
}

void BatchRun::Stop() {
  Cancel();
  if (engine_ == nullptr) return;
  QProcess* engine = engine_;
  if (!engine->waitForFinished(kStopGraceMs)) {
    engine->kill();
    engine->waitForFinished(kStopGraceMs);
  }
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
