// What the main window makes of a run of the engine once the engine has ended:
// the result the run wrote to jg.dat, which goes into the history under the
// polynomial the run was given, and whether the result panel shows it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "frontend/engine_link/engine_runs.h"
#include "frontend/results/run_result.h"

namespace pfac::frontend {

// Said in the result panel when jg.dat, after the run, holds the answer of
// another run (another polynomial, or written before this one was handed off).
inline constexpr char kForeignResult[] =
    "结果文件 jg.dat 中是另一次运行的结果, 不是这个多项式的; 这里不显示、不保存也不打印它。/ "
    "The result file jg.dat holds another run's answer, not this polynomial's; it is not shown, kept or printed.";

struct FinishedRun {
  std::string text;                 // the polynomial the run was given, as typed
  std::optional<RunResult> result;  // what the run wrote to jg.dat; none when it wrote nothing of its own
  RunFile file = RunFile::None;     // what jg.dat held when the engine had ended
  bool forWindow = false;           // the run belongs to what the window shows now
};

// The run ends in `runs`; jg.dat in the folder is read when the run wrote it,
// with the time the engine took.
FinishedRun EndRun(EngineRuns& runs, const std::filesystem::path& folder);

}  // namespace pfac::frontend
