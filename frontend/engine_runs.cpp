#include "frontend/engine_runs.h"

#include "frontend/hand_off.h"
#include "frontend/result_printing.h"
#include "frontend/run_result.h"

namespace pfac::frontend {

void EngineRuns::Submitted(bool handedOff) {
  handedOff_ = handedOff;
  ++shown_;
  if (running_ && handedOff) staleWriter_ = true;
}

void EngineRuns::InputStarted() { ++shown_; }

void EngineRuns::Started() {
  running_ = true;
  staleWriter_ = false;
  runShown_ = shown_;
}

bool EngineRuns::Ended() {
  running_ = false;
  return runShown_ == shown_;
}

bool EngineRuns::ResultIsCurrent(const std::filesystem::path& folder) const {
  return handedOff_ && !running_ && !staleWriter_ &&
         ResultIsNewer(folder / kResultFile, folder / kHandOffFile);
}

}  // namespace pfac::frontend
