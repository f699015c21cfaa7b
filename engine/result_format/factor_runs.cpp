#include "engine/result_format/factor_runs.h"

#include "engine/numbers.h"
#include "engine/result_format/marks.h"

namespace pfac::format {

namespace {

// Lines 1 to 3 of jg.dat are headers, printed as they stand.
constexpr size_t kHeaderLines = 3;
// Line 4 is printed as it stands when it holds this mark.
constexpr size_t kMarkedLine = 4;

// The two forms of a run of equal factors.
std::string ConsoleRun(int16_t runLength) { return "^" + NumberItem(runLength); }
std::string PaperRun(int16_t runLength) { return "^ " + std::to_string(runLength); }

// The line with each run of equal consecutive factors written once, then the
// run as runText writes it.
std::string CollapseRuns(std::string_view line, std::string (*runText)(int16_t)) {
  const size_t open = line.find('(');
  const size_t close = open == std::string_view::npos ? open : line.find(')', open);
  // A "(" without ")": the line as it stands.
  if (close == std::string_view::npos) return std::string(line);
  std::string_view currentFactor = line.substr(open, close - open + 1);
  std::string output(line.substr(0, close + 1));
  std::string_view rest = line.substr(close + 1);
  int16_t runLength = 1;  // equal factors seen in a row
  for (;;) {
    const size_t end = rest.find(')');
    if (end == std::string_view::npos) {
      // Trailing text after the last factor follows unchanged.
      if (runLength > 1) output += runText(runLength);
      output += rest;
      break;
    }
    const std::string_view nextFactor = rest.substr(0, end + 1);
    rest.remove_prefix(end + 1);
    if (nextFactor == currentFactor) {
      runLength = static_cast<int16_t>(runLength + 1);
      if (rest.empty()) {
        output += runText(runLength);
        break;
      }
      continue;
    }
    if (runLength > 1) output += runText(runLength);
    output += nextFactor;
    currentFactor = nextFactor;
    runLength = 1;
    if (rest.empty()) break;
  }
  return output;
}

// The note on an exact factor, the certificate or an internal error.
bool FollowsResult(std::string_view line) {
  for (std::string_view start : {marks::kExactNote, marks::kCertificate, marks::kInternalError}) {
    if (marks::StartsWith(line, start)) return true;
  }
  return false;
}

}  // namespace

std::string CollapseForConsole(std::string_view line) { return CollapseRuns(line, ConsoleRun); }

ConsoleLine ConsoleForm(const std::string& line, int16_t lineNumber, bool fourthLineIsResult) {
  // Text, not factors.
  if (FollowsResult(line)) return {ConsoleShow::kWords, line};
  bool collapse = (lineNumber == 4 && fourthLineIsResult) || lineNumber >= 6;
  if (!collapse) return {ConsoleShow::kAsItStands, line};
  if (line.find('(') == std::string::npos) return {ConsoleShow::kNewLine, line};
  return {ConsoleShow::kContinued, CollapseForConsole(line)};
}

std::string CollapseForPaper(std::string_view line) { return CollapseRuns(line, PaperRun); }

std::vector<std::string> PaperLines(const std::vector<std::string>& lines) {
  std::vector<std::string> working;
  std::string lastPrinted;  // a line without factors does not count as printed
  for (size_t count = 1; count <= lines.size(); ++count) {
    const std::string& line = lines[count - 1];
    if (count <= kHeaderLines || (count == kMarkedLine && line.find('[') != std::string::npos)) {
      working.push_back(lastPrinted = line);
    } else if (line.find('(') == std::string::npos) {
      working.push_back(line);
    } else if (std::string output = CollapseForPaper(line); output != lastPrinted) {
      working.push_back(lastPrinted = std::move(output));
    }
  }
  return working;
}

}  // namespace pfac::format
