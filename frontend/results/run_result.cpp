#include "frontend/results/run_result.h"

#include "engine/result_format/marks.h"

namespace pfac::frontend {

namespace {

// What the window says of a run where jg.dat itself has no words for it.
constexpr char kSearchStopped[] =
    "搜索被中断 (X 键或时间限制), 最后一个因式可能还可以分解。/ "
    "The search was stopped (the X key or the time limit); the last factor may split further.";
constexpr char kLateSearch[] =
    "搜索在最高次上提前结束, 因式可能还可以分解。/ "
    "The search ended early at the highest degree; the factors may split further.";
constexpr char kRunStopped[] = "运行被中止, 没有完整的结果。/ ";
constexpr char kRunIncomplete[] = "结果不完整。/ ";
constexpr char kNoFactorisation[] = "没有得到分解结果。/ The run gave no factorisation.";

using marks::CertificateKind;
using marks::StartsWith;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The text after the last "=" of a result line: a line such as
// "=(x^ 4 + 64)=(x^ 4 + 64)" restates the polynomial before its result.
std::string_view LastSegment(std::string_view line) {
  size_t equals = line.rfind('=');
  return equals == std::string_view::npos ? line : line.substr(equals + 1);
}

}  // namespace

RunResult ReadRunResult(const std::vector<std::string>& lines) {
  RunResult result;
  if (lines.empty()) {
    result.notes.push_back(kNoFactorisation);
    result.end = RunEnd::Incomplete;
    return result;
  }
  // Line 1 is the echo; a one-term result follows it on the same line.
  const std::string_view echo = lines[0];
  const size_t equals = echo.find('=');
  const std::string_view polynomial = echo.substr(0, equals);
  std::string_view answer = equals == std::string_view::npos ? std::string_view() : LastSegment(echo);

  bool searchStopped = false, lateSearch = false, runStopped = false, internalError = false;
  bool completeGiven = false;  // a complete factorisation followed a certificate
  CertificateKind certificate = CertificateKind::kNone;
  bool afterCertificate = false;
  std::vector<std::string> notes;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = Trimmed(lines[i]);
    const bool followsCertificate = afterCertificate;
    afterCertificate = false;
    if (line.empty()) continue;
    if (followsCertificate && line.front() == '=') {
      answer = LastSegment(line);
      completeGiven = true;
    } else if (line == marks::kSearchStopped) {
      searchStopped = true;
    } else if (line == marks::kLateSearch) {
      lateSearch = true;
    } else if (line.front() == '=') {
      // A result line; the expanded products ("[...]") are not results.
      if (!completeGiven && line.find('(') != std::string_view::npos && line.find('[') == std::string_view::npos) {
        answer = LastSegment(line);
      }
    } else if (StartsWith(line, marks::kCertificate)) {
      certificate = marks::KindOfCertificate(line);
      afterCertificate = true;
      notes.emplace_back(line);
    } else if (StartsWith(line, marks::kInternalError)) {
      internalError = true;
      notes.emplace_back(line);
    } else if (StartsWith(line, marks::kRunStopped)) {
      runStopped = true;
      notes.push_back(kRunStopped + std::string(line));
    } else if (StartsWith(line, marks::kPendingLost)) {
      runStopped = true;
      notes.push_back(kRunIncomplete + std::string(line));
    } else {
      notes.emplace_back(line);  // the exact factorisation's notes, and anything new
    }
  }

  // A run cut short left its last result line unfinished: it is no equation.
  if (runStopped && !completeGiven) answer = {};
  const bool complete = completeGiven || certificate == CertificateKind::kComplete;
  if (!complete) {
    if (lateSearch) notes.insert(notes.begin(), kLateSearch);
    if (searchStopped) notes.insert(notes.begin(), kSearchStopped);
  }

  answer = Trimmed(answer);
  result.source = {std::string(polynomial), std::string(answer), complete && !internalError};
  result.presentation = Present(polynomial, answer, complete && !internalError);
  if (answer.empty() && !runStopped) notes.push_back(kNoFactorisation);
  result.notes = std::move(notes);
  if (internalError) {
    result.end = RunEnd::InternalError;
  } else if (complete) {
    result.end = RunEnd::Certified;
  } else if (runStopped || searchStopped || lateSearch || certificate == CertificateKind::kNotComplete ||
             answer.empty()) {
    result.end = RunEnd::Incomplete;
  }
  return result;
}

RunResult RestoredRunResult(const ResultSource& source, std::vector<std::string> notes, RunEnd end) {
  RunResult result;
  result.source = source;
  result.presentation = Present(source.polynomial, source.factorisation, source.complete);
  result.notes = std::move(notes);
  result.end = end;
  return result;
}

}  // namespace pfac::frontend
