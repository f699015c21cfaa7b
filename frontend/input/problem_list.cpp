#include "frontend/input/problem_list.h"

namespace pfac::frontend {

namespace {

std::string Trimmed(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const size_t last = line.find_last_not_of(" \t\r");
  return std::string(line.substr(first, last - first + 1));
}

}  // namespace

std::vector<std::string> ProblemLines(std::string_view list) {
  // The byte-order mark many editors put at the start of a UTF-8 file.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (list.substr(0, kByteOrderMark.size()) == kByteOrderMark) list.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> lines;
  while (!list.empty()) {
    const size_t end = list.find('\n');
    std::string line = Trimmed(list.substr(0, end));
    if (!line.empty() && line.find_first_not_of(" \t\r\xE3\x80\x80") != std::string::npos) lines.push_back(line);
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace pfac::frontend
