#include "engine/engine.h"

#include "engine/platform/run_signals.h"
#include "engine/result_format/marks.h"

namespace pfac {

Engine::Engine(Console& console, Clock& clock, std::filesystem::path workFolder,
               exact::ExactFactoriser* exactFactoriser)
    : Exact(exactFactoriser), console_(console), clock_(clock), workFolder_(std::move(workFolder)) {
  pollTick_ = clock_.TickFlag();
}

int Engine::Run() { return RunFrom(&Engine::ShowBanner); }

int Engine::RunUntil(Step first, Step stopAt) {
  stopAt_ = stopAt;
  int status = RunFrom(first);
  stopAt_ = nullptr;
  return status;
}

int Engine::RunFrom(Step first) {
  next_ = first;
  finished_ = false;
  stepsTaken_ = 0;
  for (;;) {
    try {
      while (next_) {
        if (stopAt_ != nullptr && next_ == stopAt_) return kStoppedBefore;
        Step step = next_;
        next_ = nullptr;
        ++stepsTaken_;
        (this->*step)();
      }
      break;
    } catch (const RangeStop& stop) {
      stopMessage_ = stop.message;
      stopFileLine_ = stop.fileLine;
      next_ = &Engine::StopWithMessage;
    }
  }
  if (!finished_) {
    // A step that names no successor is a fault of the engine itself.
    console_.WriteLine("内部错误 (internal fault: a step named no successor)");
    CloseAllFiles();
    RemoveRunFiles();
    return 70;
  }
  return 0;
}

void Engine::CloseAllFiles() {
  WorkOutput.Close();
  WorkInput.Close();
  Result.Close();
  ResultInput.Close();
  PendingOutput.Close();
  PendingInput.Close();
}

void Engine::StopRun(std::string_view message, std::string_view fileLine) {
  stopMessage_ = message;
  stopFileLine_ = fileLine;
  Go(&Engine::StopWithMessage);
}

// Writes the message of a stopped run on its own line, marks jg.dat when it is
// open, closes everything and ends with the closing lines.
void Engine::StopWithMessage() {
  Exact.Cancel();
  console_.SetColours(kNormalColours);
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine(stopMessage_);
  if (Result.IsOpen()) {
    ResultEnd();
    ResultText(stopFileLine_.empty() ? std::string(marks::kRunStopped) + "." : stopFileLine_);
    ResultEnd();
  }
  CloseAllFiles();
  Go(&Engine::ClosingLines);
}

}  // namespace pfac
