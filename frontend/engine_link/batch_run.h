// A worksheet: a list of polynomials, one a line, each read as the main
// window reads a typed text and factored by the engine as it runs for a single
// polynomial, but without a terminal window (standard input at its end), one
// after another, each in a folder of its own. The main window's folder and its
// files are never touched.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frontend/input/typed_input.h"
#include "frontend/results/run_result.h"

class QProcess;

namespace pfac::frontend {

class ExactProcess;

enum class ProblemState {
  Waiting,   // not yet come to
  Running,   // the engine is on it
  Refused,   // the line cannot be read
  Factored,  // the engine ended with a result (its RunEnd says how complete), or, for a
             // line beyond the search's limits, the exact factoriser did
  NoResult,  // the engine ended without writing a result
  Stopped,   // the engine was stopped when the worksheet was cancelled
  NotRun,    // the worksheet was cancelled before its turn
};

struct Problem {
  std::string typed;              // the line as typed
  std::string text;               // in the engine's syntax, once accepted
  std::optional<Refusal> refusal;
  ProblemState state = ProblemState::Waiting;
  RunResult result;               // Factored and Stopped: what jg.dat holds
  double seconds = 0;             // the engine's run, start to end
};

class BatchRun : public QObject {
  Q_OBJECT

 public:
  // The engine program, and the expander for brackets (none: brackets are
  // refused).
  BatchRun(QString engineProgram, Expander* expander, QObject* parent = nullptr);
  // A running engine is stopped.
  ~BatchRun() override;

  // Begins on the lines; problemDone follows for each, then finished. False,
  // with the reason, when the engine or the folders are missing.
  bool Start(const std::vector<std::string>& lines, QString* error);
  // The field the answers are presented over (the rationals unless set);
  // set before Start.
  void UseField(Field field) { field_ = field; }
  Field UsedField() const { return field_; }
  // The running engine is stopped (its problem marked Stopped) and the
  // problems not yet run are marked NotRun; finished follows.
  void Cancel();
  // Cancel, returning once the engine has ended (killed when it does not end
  // in time).
  void Stop();
  bool Running() const { return running_; }
  const std::vector<Problem>& Problems() const { return problems_; }
  // The problems done: refused, factored, stopped or not run.
  int Done() const { return done_; }
  // The problems read or run: done, but for those a cancel left unrun.
  int Ran() const;

 signals:
  void problemDone(int index);
  void finished();

 private:
  // The next problem: read, and given to the engine when it is accepted.
  void Next();
  void EngineEnded();
  // A line beyond the search's limits: the exact factoriser on its value.
  void StartExact(const ConvertedText& converted);
  void ExactEnded(const ConvertedText& converted);
  // The current problem is done: the next one, or the end when cancelled.
  void ProblemEnded();
  void Finish();

  QString engineProgram_;
  Expander* expander_;
  std::unique_ptr<QTemporaryDir> folders_;
  QProcess* engine_ = nullptr;
  ExactProcess* exact_ = nullptr;
  QElapsedTimer clock_;
  std::vector<Problem> problems_;
  size_t current_ = 0;
  int done_ = 0;
  bool running_ = false;
  bool cancelled_ = false;
  Field field_ = Field::kRational;
};

}  // namespace pfac::frontend
