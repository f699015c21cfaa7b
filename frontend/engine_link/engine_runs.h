// Which polynomial the engine's runs belong to, so that the main window shows,
// stores and prints a result only for the polynomial its run was given: a
// run's jg.dat is taken once the engine the run started has ended, only when
// it was written after the hand-off and echoes the polynomial handed off, and
// the lines taken are what is shown and printed afterwards, whatever jg.dat
// holds by then.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pfac::frontend {

// What a run left in jg.dat when its engine had ended.
enum class RunFile {
  None,     // the run wrote nothing (its window closed before a result)
  Taken,    // the result of the polynomial the run was given
  Foreign,  // jg.dat holds another run's answer: not shown, stored or printed
};

class EngineRuns {
 public:
  // "输入完毕": handedOff when DXS.DAT was written with the text, typed as
  // `typed` (the text itself when none is given).
  void Submitted(bool handedOff, const std::string& text, const std::string& typed = {});
  // "输入多项式", "重新输入" or an entry of the history: the window holds no
  // submitted polynomial now.
  void InputStarted();
  // The engine is about to start in the folder on the polynomial last handed
  // off; what jg.dat holds now is remembered, so that its end can tell
  // whether it wrote a result. A start that fails ends at once (Ended).
  void Started(const std::filesystem::path& folder);
  // The engine the run started has ended: jg.dat in the folder is judged
  // (RunFile) and, when taken, kept as the run's result. True when the run
  // belongs to what the window shows now (nothing was submitted or started
  // over meanwhile).
  bool Ended(const std::filesystem::path& folder);
  bool Running() const { return running_; }
  // The last "输入完毕" handed its text off (it was not refused).
  bool HandedOff() const { return handedOff_; }

  // What the last run left in jg.dat, and the lines taken.
  RunFile LastRunFile() const { return runFile_; }
  // The same for the run of the polynomial the window shows now; None while
  // no run of it has ended.
  RunFile CurrentRunFile() const { return !running_ && runShown_ == shown_ ? runFile_ : RunFile::None; }
  const std::optional<std::vector<std::string>>& TakenLines() const { return taken_; }
  // The result taken from the run of the polynomial the window shows now;
  // none while no run of it has ended with one.
  const std::optional<std::vector<std::string>>& CurrentResult() const;
  // The polynomial the last run was given, and as it was typed.
  const std::string& RunText() const { return runText_; }
  const std::string& RunTyped() const { return runTyped_; }
  // How long the last run took from its start to the last write of jg.dat,
  // in seconds; 0 when that is not known.
  double RunSeconds() const { return seconds_; }

 private:
  bool handedOff_ = false;
  bool running_ = false;
  int shown_ = 0;     // counts what the window has shown: each submission and new input
  int runShown_ = -1; // shown_ when the running engine was started
  std::string handedOffText_;
  std::string handedOffTyped_;
  std::string runText_;
  std::string runTyped_;
  std::filesystem::file_time_type handOffTime_;  // DXS.DAT's when the run started
  std::filesystem::file_time_type startTime_;    // when the run started, on the files' clock
  std::optional<std::vector<std::string>> resultBefore_;  // jg.dat's lines when the run started
  std::filesystem::file_time_type resultTimeBefore_;
  bool resultExisted_ = false;
  RunFile runFile_ = RunFile::None;
  std::optional<std::vector<std::string>> taken_;
  double seconds_ = 0;
};

// True when the echo (jg.dat's first line) is of the polynomial handed off in
// the engine's syntax: the same terms, in the order written.
bool EchoIsOf(const std::string& echoLine, const std::string& handedOff);

}  // namespace pfac::frontend
