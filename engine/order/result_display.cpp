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
  LineNumber = 0;
  if (ResultInput.Open(PathOf("jg.dat"))) {
    while (!ResultInput.AtEnd()) {
      ResultLine = ResultInput.ReadLine();
      LineNumber = static_cast<int16_t>(LineNumber + 1);
      if (FollowsResult(ResultLine)) {
        // Text, not factors: on a line of its own, broken at blanks.
        if (console_.Column() > 1) ConsoleEnd();
        console_.WriteWords(ResultLine);
        continue;
      }
      bool collapse = (LineNumber == 4 && ReportPending > 0) || LineNumber >= 6;
      if (!collapse) {
        // Shown as it stands, on a line of its own: after a collapsed line 4
        // the cursor still stands behind the factors.
        if (console_.Column() > 1) ConsoleEnd();
        console_.WriteLine(ResultLine);
        continue;
      }
      size_t open = ResultLine.find('(');
      if (open == std::string::npos) {
        ConsoleEnd();
        console_.WriteLine(ResultLine);
        continue;
      }
      size_t close = ResultLine.find(')', open);
      if (close == std::string::npos) {
        // A "(" without ")": the line is written as it stands.
        ConsoleText(ResultLine);
        continue;
      }
      CurrentFactor = ResultLine.substr(open, close - open + 1);
      ConsoleText(std::string_view(ResultLine).substr(0, close + 1));
      ResultLine.erase(0, close + 1);
      RunLength = 1;
      for (;;) {
        size_t end = ResultLine.find(')');
        if (end == std::string::npos) {
          // Trailing text after the last factor is written unchanged.
          if (RunLength > 1) WriteRun(console_, RunLength);
          ConsoleText(ResultLine);
          break;
        }
        NextFactor = ResultLine.substr(0, end + 1);
        ResultLine.erase(0, end + 1);
        if (NextFactor == CurrentFactor) {
          RunLength = static_cast<int16_t>(RunLength + 1);
          if (ResultLine.empty()) {
            WriteRun(console_, RunLength);
            break;
          }
          continue;
        }
        if (RunLength > 1) WriteRun(console_, RunLength);
        ConsoleText(NextFactor);
        CurrentFactor = NextFactor;
        RunLength = 1;
        if (ResultLine.empty()) break;
      }
    }
  }
  ConsoleEnd();
  ResultInput.Close();
  std::string now = clock_.TimeOfDay();
  ConsoleText(StartTime);
  console_.NextPrintZone();
  console_.WriteLine(now);
  EndTime = now;
}

}  // namespace pfac
