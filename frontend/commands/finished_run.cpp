#include "frontend/commands/finished_run.h"

#include "frontend/engine_link/result_file.h"

namespace pfac::frontend {

FinishedRun EndRun(EngineRuns& runs, const std::filesystem::path& folder) {
  FinishedRun run;
  run.forWindow = runs.Ended();
  run.text = runs.RunText();
  if (runs.RunWroteResult(folder)) {
    if (const std::optional<std::vector<std::string>> lines = ReadResultFile(folder)) {
      run.result = ReadRunResult(*lines);
      run.result->source.seconds = runs.RunSeconds(folder);
    }
  }
  run.current = run.result && runs.ResultIsCurrent(folder);
  return run;
}

}  // namespace pfac::frontend
