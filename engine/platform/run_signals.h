// What a run leaves behind when a signal ends the engine: hang-up (its
// terminal window was closed), terminate, interrupt or quit. The result file
// keeps what was written and gets a last line saying that the run was stopped;
// the run's temporary files (the pending-factor files) are removed. The same
// temporary files are removed at the normal end of a run.
#pragma once

#include <signal.h>

#include <filesystem>

namespace pfac {

class OutputFile;

// Hang-up, terminate, interrupt and quit: the signals that end a run in order.
bool IsRunSignal(int signal);

// The line that closes the result file of a run ended by the signal.
const char* StopLineForSignal(int signal);

// Holds the run signals back for as long as it lives (when told to), so that a
// handler never sees a file half way through a change.
class RunSignalsBlocked {
 public:
  explicit RunSignalsBlocked(bool block = true);
  ~RunSignalsBlocked();
  RunSignalsBlocked(const RunSignalsBlocked&) = delete;
  RunSignalsBlocked& operator=(const RunSignalsBlocked&) = delete;

 private:
  bool blocked_ = false;
  sigset_t previous_{};
};

// The open file that a signal completes (at most one: jg.dat); nullptr when
// none is open.
void SetSignalResultFile(OutputFile* file);
OutputFile* SignalResultFile();

// A file of this run to remove at its end, or when a signal ends it.
void RemoveAtEndOfRun(const std::filesystem::path& path);
// Removes the files named so far; the end of a run calls it.
void RemoveRunFiles();

// The thread that runs the engine's steps; the one that installs the handlers
// marks itself.
void MarkEngineThread();
// In a handler of a run signal: when the signal reached another thread (the
// clock's ticker, a worker), hands it on to the engine's thread and returns
// true; the handler then returns at once. Async-signal-safe.
bool PassSignalToEngineThread(int signal);

// The work of a handler of a run signal: completes the result file and removes
// the run's files. Async-signal-safe.
void LeaveFilesAfterSignal(int signal);

}  // namespace pfac
