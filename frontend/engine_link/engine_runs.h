// Which polynomial the engine's runs belong to, so that the main window shows
// and prints a result only for the polynomial it was asked for, and records
// each run's result under the polynomial that run was given.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pfac::frontend {

class EngineRuns {
 public:
  // "输入完毕": handedOff when DXS.DAT was written with the text.
  void Submitted(bool handedOff, const std::string& text);
  // "输入多项式", "重新输入" or an entry of the history: the window holds no
  // submitted polynomial now.
  void InputStarted();
  // The engine is about to start in the folder on the polynomial last handed
  // off; what jg.dat holds now is remembered, so that its end can tell
  // whether it wrote a result. A start that fails ends at once.
  void Started(const std::filesystem::path& folder);
  // The engine's window has closed. True when the run belongs to what the
  // window shows now (nothing was submitted or started over meanwhile).
  bool Ended();
  bool Running() const { return running_; }

  // jg.dat in the folder holds the result of the polynomial in DXS.DAT: it was
  // written after DXS.DAT, and no run of an earlier polynomial was still going
  // when DXS.DAT was written.
  bool ResultIsCurrent(const std::filesystem::path& folder) const;
  // After a run has ended: jg.dat was written by that run (it is newer than
  // the DXS.DAT the run read and no longer what it was when the run started).
  bool RunWroteResult(const std::filesystem::path& folder) const;
  // The polynomial the last run was given.
  const std::string& RunText() const { return runText_; }
  // After a run has ended: how long it took from its start to the last write
  // of jg.dat in the folder, in seconds; 0 when that is not known.
  double RunSeconds(const std::filesystem::path& folder) const;

 private:
  bool handedOff_ = false;
  bool running_ = false;
  bool staleWriter_ = false;  // a run of an earlier polynomial went on after DXS.DAT was written
  int shown_ = 0;             // counts what the window has shown: each submission and new input
  int runShown_ = -1;         // shown_ when the running engine was started
  std::string handedOffText_;
  std::string runText_;
  std::filesystem::file_time_type handOffTime_;  // DXS.DAT's when the run started
  std::filesystem::file_time_type startTime_;    // when the run started, on the files' clock
  std::optional<std::vector<std::string>> resultBefore_;  // jg.dat's lines when the run started
  std::filesystem::file_time_type resultTimeBefore_;
  bool resultExisted_ = false;
};

}  // namespace pfac::frontend
