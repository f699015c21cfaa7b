#include "frontend/commands/finished_run.h"

namespace pfac::frontend {

FinishedRun EndRun(EngineRuns& runs, const std::filesystem::path& folder) {
  FinishedRun run;
  run.forWindow = runs.Ended(folder);
  run.text = runs.RunTyped();
  run.file = runs.LastRunFile();
  if (const std::optional<std::vector<std::string>>& lines = runs.TakenLines()) {
    run.result = ReadRunResult(*lines);
    run.result->source.seconds = runs.RunSeconds();
  }
  return run;
}

}  // namespace pfac::frontend
