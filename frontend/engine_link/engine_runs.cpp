#include "frontend/engine_link/engine_runs.h"

#include <chrono>
#include <system_error>

#include "frontend/engine_link/engine_files.h"
#include "frontend/engine_link/result_file.h"

namespace pfac::frontend {

void EngineRuns::Submitted(bool handedOff, const std::string& text) {
  handedOff_ = handedOff;
  if (handedOff) handedOffText_ = text;
  ++shown_;
  if (running_ && handedOff) staleWriter_ = true;
}

void EngineRuns::InputStarted() { ++shown_; }

void EngineRuns::Started(const std::filesystem::path& folder) {
  running_ = true;
  staleWriter_ = false;
  runShown_ = shown_;
  runText_ = handedOffText_;
  startTime_ = std::filesystem::file_time_type::clock::now();
  std::error_code error;
  handOffTime_ = std::filesystem::last_write_time(folder / kHandOffFile, error);
  resultTimeBefore_ = std::filesystem::last_write_time(folder / kResultFile, error);
  resultExisted_ = !error;
  resultBefore_ = resultExisted_ ? ReadResultFile(folder) : std::nullopt;
}

bool EngineRuns::Ended() {
  running_ = false;
  return runShown_ == shown_;
}

bool EngineRuns::ResultIsCurrent(const std::filesystem::path& folder) const {
  return handedOff_ && !running_ && !staleWriter_ &&
         ResultIsNewer(folder / kResultFile, folder / kHandOffFile);
}

bool EngineRuns::RunWroteResult(const std::filesystem::path& folder) const {
  if (running_ || runText_.empty()) return false;
  std::error_code error;
  const auto written = std::filesystem::last_write_time(folder / kResultFile, error);
  if (error || written < handOffTime_) return false;
  return !resultExisted_ || written != resultTimeBefore_ || ReadResultFile(folder) != resultBefore_;
}

double EngineRuns::RunSeconds(const std::filesystem::path& folder) const {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(folder / kResultFile, error);
  if (error || running_ || written < startTime_) return 0;
  return std::chrono::duration<double>(written - startTime_).count();
}

}  // namespace pfac::frontend
