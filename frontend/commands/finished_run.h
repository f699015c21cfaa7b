// What the main window makes of a run of the engine once the engine's window
// has closed: the result the run wrote to jg.dat, which goes into the history
// under the polynomial the run was given, and whether the result panel shows
// it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "frontend/engine_link/engine_runs.h"
#include "frontend/results/run_result.h"

namespace pfac::frontend {

struct FinishedRun {
  std::string text;                 // the polynomial the run was given
  std::optional<RunResult> result;  // what the run wrote to jg.dat; none when it wrote nothing
  bool forWindow = false;           // the run belongs to what the window shows now
  bool current = false;             // jg.dat holds the result of the polynomial the window shows
};

// The run ends in `runs`; jg.dat in the folder is read when the run wrote it,
// with the time the engine took.
FinishedRun EndRun(EngineRuns& runs, const std::filesystem::path& folder);

}  // namespace pfac::frontend
