// Which polynomial the engine's runs belong to, so that the main window shows
// and prints a result only for the polynomial it was asked for.
#pragma once

#include <filesystem>

namespace pfac::frontend {

class EngineRuns {
 public:
  // "输入完毕": handedOff when DXS.DAT was written with the text.
  void Submitted(bool handedOff);
  // "输入多项式" or "重新输入": the window holds no submitted polynomial now.
  void InputStarted();
  void Started();
  // The engine's window has closed. True when the run belongs to what the
  // window shows now (nothing was submitted or started over meanwhile).
  bool Ended();
  bool Running() const { return running_; }

  // jg.dat in the folder holds the result of the polynomial in DXS.DAT: it was
  // written after DXS.DAT, and no run of an earlier polynomial was still going
  // when DXS.DAT was written.
  bool ResultIsCurrent(const std::filesystem::path& folder) const;

 private:
  bool handedOff_ = false;
  bool running_ = false;
  bool staleWriter_ = false;  // a run of an earlier polynomial went on after DXS.DAT was written
  int shown_ = 0;             // counts what the window has shown: each submission and new input
  int runShown_ = -1;         // shown_ when the running engine was started
};

}  // namespace pfac::frontend
