// The finished result on the console: jg.dat read back and shown by
// ShowResultLines in the console's form of its lines, then the start and end
// times of the run.
#include "engine/search/result_display.h"

#include "engine/engine.h"
#include "engine/result_format/factor_runs.h"

namespace pfac {

void ShowResultLines(Console& console, InputFile& jg, bool fourthLineIsResult) {
  int16_t lineNumber = 0;  // lines read so far
  while (!jg.AtEnd()) {
    const std::string line = jg.ReadLine();
    lineNumber = static_cast<int16_t>(lineNumber + 1);
    const format::ConsoleLine shown = format::ConsoleForm(line, lineNumber, fourthLineIsResult);
    switch (shown.show) {
      case format::ConsoleShow::kWords:
        // Text, not factors: on a line of its own, broken at blanks.
        if (console.Column() > 1) console.EndLine();
        console.WriteWords(line);
        break;
      case format::ConsoleShow::kAsItStands:
        // On a line of its own: after a collapsed line 4 the cursor still
        // stands behind the factors.
        if (console.Column() > 1) console.EndLine();
        console.WriteLine(line);
        break;
      case format::ConsoleShow::kNewLine:
        console.EndLine();
        console.WriteLine(line);
        break;
      case format::ConsoleShow::kContinued:
        // Not ended: the next collapsed line continues it.
        console.Write(shown.text);
        break;
    }
  }
}

void Engine::ShowResults() {
  ConsoleEnd();
  if (ResultInput.Open(PathOf("jg.dat"))) ShowResultLines(console_, ResultInput, Report.ReportPending > 0);
  ConsoleEnd();
  ResultInput.Close();
  Report.EndTime = clock_.TimeOfDay();
  ConsoleText(Report.StartTime);
  console_.NextPrintZone();
  console_.WriteLine(Report.EndTime);
}

}  // namespace pfac
