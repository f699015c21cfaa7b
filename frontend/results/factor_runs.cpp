#include "frontend/results/factor_runs.h"

namespace pfac::frontend {

namespace {

// Lines 1 to 3 of jg.dat are headers, printed as they stand.
constexpr size_t kHeaderLines = 3;
// Line 4 is printed as it stands when it holds this mark.
constexpr size_t kMarkedLine = 4;

std::string RunExponent(int runLength) { return "^ " + std::to_string(runLength); }

}  // namespace

std::string CollapseFactors(std::string_view line) {
  size_t open = line.find('(');
  size_t close = open == std::string_view::npos ? open : line.find(')', open);
  if (close == std::string_view::npos) return std::string(line);

  std::string output(line.substr(0, close + 1));
  std::string_view current = line.substr(open, close - open + 1);
  std::string_view rest = line.substr(close + 1);
  int runLength = 1;
  while (!rest.empty()) {
    size_t end = rest.find(')');
    if (end == std::string_view::npos) break;  // trailing text
    std::string_view next = rest.substr(0, end + 1);
    rest.remove_prefix(end + 1);
    if (next == current) {
      ++runLength;
      continue;
    }
    if (runLength > 1) output += RunExponent(runLength);
    output += next;
    current = next;
    runLength = 1;
  }
  if (runLength > 1) output += RunExponent(runLength);
  output += rest;
  return output;
}

std::vector<std::string> WorkingLines(const std::vector<std::string>& lines) {
  std::vector<std::string> working;
  std::string lastPrinted;  // a line without factors does not count as printed
  for (size_t count = 1; count <= lines.size(); ++count) {
    const std::string& line = lines[count - 1];
    if (count <= kHeaderLines || (count == kMarkedLine && line.find('[') != std::string::npos)) {
      working.push_back(lastPrinted = line);
    } else if (line.find('(') == std::string::npos) {
      working.push_back(line);
    } else if (std::string output = CollapseFactors(line); output != lastPrinted) {
      working.push_back(lastPrinted = std::move(output));
    }
  }
  return working;
}

}  // namespace pfac::frontend
