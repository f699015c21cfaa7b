#include "engine/platform/run_signals.h"

#include <pthread.h>
#include <unistd.h>

#include <string>
#include <system_error>
#include <vector>

#include "engine/platform/files.h"

namespace pfac {

namespace {

// What the handler reads. Each is changed only while the run signals are held
// back on the engine's thread, and the handler runs on that thread only.
OutputFile* gResultFile = nullptr;
std::vector<std::string> gRunFiles;

volatile sig_atomic_t gHaveEngineThread = 0;
pthread_t gEngineThread;

sigset_t RunSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGHUP, SIGTERM, SIGINT, SIGQUIT}) sigaddset(&set, s);
  return set;
}

}  // namespace

bool IsRunSignal(int signal) {
  const sigset_t set = RunSignalSet();
  return sigismember(&set, signal) == 1;
}

const char* StopLineForSignal(int signal) {
  switch (signal) {
    case SIGHUP: return "Stopped: the engine's window was closed (hang-up) before the run ended.";
    case SIGTERM: return "Stopped: the engine was terminated before the run ended.";
    case SIGINT: return "Stopped: the engine was interrupted before the run ended.";
    default: return "Stopped: the engine was told to quit before the run ended.";
  }
}

RunSignalsBlocked::RunSignalsBlocked(bool block) {
  if (!block) return;
  const sigset_t set = RunSignalSet();
  blocked_ = pthread_sigmask(SIG_BLOCK, &set, &previous_) == 0;
}

RunSignalsBlocked::~RunSignalsBlocked() {
  if (blocked_) pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void SetSignalResultFile(OutputFile* file) {
  RunSignalsBlocked blocked;
  gResultFile = file;
}

OutputFile* SignalResultFile() { return gResultFile; }

void RemoveAtEndOfRun(const std::filesystem::path& path) {
  RunSignalsBlocked blocked;
  gRunFiles.push_back(path.string());
}

void RemoveRunFiles() {
  RunSignalsBlocked blocked;
  for (const std::string& name : gRunFiles) {
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
  }
  gRunFiles.clear();
}

void MarkEngineThread() {
  gEngineThread = pthread_self();
  gHaveEngineThread = 1;
}

bool PassSignalToEngineThread(int signal) {
  if (!gHaveEngineThread || pthread_equal(pthread_self(), gEngineThread)) return false;
  pthread_kill(gEngineThread, signal);
  return true;
}

void LeaveFilesAfterSignal(int signal) {
  if (gResultFile != nullptr) gResultFile->WriteOutAfterSignal(StopLineForSignal(signal));
  for (const std::string& name : gRunFiles) unlink(name.c_str());
}

}  // namespace pfac
