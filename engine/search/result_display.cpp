// The finished result on the console: jg.dat read back, runs of equal
// consecutive factors written once with an exponent, the lines that follow
// the result (a note, the certificate) each on lines of their own, and the
// start and end times of the run.
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

void Engine::ShowResults() {
  ConsoleEnd();
  int16_t lineNumber = 0;  // lines read so far
  if (ResultInput.Open(PathOf("jg.dat"))) {
    while (!ResultInput.AtEnd()) {
      std::string line = ResultInput.ReadLine();  // consumed from the left
      lineNumber = static_cast<int16_t>(lineNumber + 1);
      if (FollowsResult(line)) {
        // Text, not factors: on a line of its own, broken at blanks.
        if (console_.Column() > 1) ConsoleEnd();
        console_.WriteWords(line);
        continue;
      }
      bool collapse = (lineNumber == 4 && Report.ReportPending > 0) || lineNumber >= 6;
      if (!collapse) {
        // Shown as it stands, on a line of its own: after a collapsed line 4
        // the cursor still stands behind the factors.
        if (console_.Column() > 1) ConsoleEnd();
        console_.WriteLine(line);
        continue;
      }
      size_t open = line.find('(');
      if (open == std::string::npos) {
        ConsoleEnd();
        console_.WriteLine(line);
        continue;
      }
      size_t close = line.find(')', open);
      if (close == std::string::npos) {
        // A "(" without ")": the line is written as it stands.
        ConsoleText(line);
        continue;
      }
      std::string currentFactor = line.substr(open, close - open + 1);
      ConsoleText(std::string_view(line).substr(0, close + 1));
      line.erase(0, close + 1);
      int16_t runLength = 1;  // equal factors seen in a row
      for (;;) {
        size_t end = line.find(')');
        if (end == std::string::npos) {
          // Trailing text after the last factor is written unchanged.
          if (runLength > 1) WriteRun(console_, runLength);
          ConsoleText(line);
          break;
        }
        std::string nextFactor = line.substr(0, end + 1);
        line.erase(0, end + 1);
        if (nextFactor == currentFactor) {
          runLength = static_cast<int16_t>(runLength + 1);
          if (line.empty()) {
            WriteRun(console_, runLength);
            break;
          }
          continue;
        }
        if (runLength > 1) WriteRun(console_, runLength);
        ConsoleText(nextFactor);
        currentFactor = nextFactor;
        runLength = 1;
        if (line.empty()) break;
      }
    }
  }
  ConsoleEnd();
  ResultInput.Close();
  Report.EndTime = clock_.TimeOfDay();
  ConsoleText(Report.StartTime);
  console_.NextPrintZone();
  console_.WriteLine(Report.EndTime);
}

}  // namespace pfac
