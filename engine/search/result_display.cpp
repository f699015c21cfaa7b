// The finished result on the console: jg.dat read back and shown by
// ShowResultLines, then the start and end times of the run.
#include "engine/search/result_display.h"

#include "engine/engine.h"
#include "engine/result_marks.h"

namespace pfac {

namespace {

// Writes "^" and the run length as a number item.
void WriteRun(Console& console, int16_t run) {
  console.Write("^");
  console.Write(NumberItem(run));
}

// The note on an exact factor, the certificate or an internal error.
bool FollowsResult(std::string_view line) {
  for (std::string_view start :
       {marks::kExactNote, marks::kCertificate, marks::kInternalError}) {
    if (line.substr(0, start.size()) == start) return true;
  }
  return false;
}

}  // namespace

void ShowResultLines(Console& console, InputFile& jg, bool fourthLineIsResult) {
  int16_t lineNumber = 0;  // lines read so far
  while (!jg.AtEnd()) {
    std::string line = jg.ReadLine();  // consumed from the left
    lineNumber = static_cast<int16_t>(lineNumber + 1);
    if (FollowsResult(line)) {
      // Text, not factors: on a line of its own, broken at blanks.
      if (console.Column() > 1) console.EndLine();
      console.WriteWords(line);
      continue;
    }
    bool collapse = (lineNumber == 4 && fourthLineIsResult) || lineNumber >= 6;
    if (!collapse) {
      // Shown as it stands, on a line of its own: after a collapsed line 4
      // the cursor still stands behind the factors.
      if (console.Column() > 1) console.EndLine();
      console.WriteLine(line);
      continue;
    }
    size_t open = line.find('(');
    if (open == std::string::npos) {
      console.EndLine();
      console.WriteLine(line);
      continue;
    }
    size_t close = line.find(')', open);
    if (close == std::string::npos) {
      // A "(" without ")": the line is written as it stands.
      console.Write(line);
      continue;
    }
    std::string currentFactor = line.substr(open, close - open + 1);
    console.Write(std::string_view(line).substr(0, close + 1));
    line.erase(0, close + 1);
    int16_t runLength = 1;  // equal factors seen in a row
    for (;;) {
      size_t end = line.find(')');
      if (end == std::string::npos) {
        // Trailing text after the last factor is written unchanged.
        if (runLength > 1) WriteRun(console, runLength);
        console.Write(line);
        break;
      }
      std::string nextFactor = line.substr(0, end + 1);
      line.erase(0, end + 1);
      if (nextFactor == currentFactor) {
        runLength = static_cast<int16_t>(runLength + 1);
        if (line.empty()) {
          WriteRun(console, runLength);
          break;
        }
        continue;
      }
      if (runLength > 1) WriteRun(console, runLength);
      console.Write(nextFactor);
      currentFactor = nextFactor;
      runLength = 1;
      if (line.empty()) break;
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
