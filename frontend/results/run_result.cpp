#include "frontend/results/run_result.h"

#include <algorithm>

#include "engine/result_format/marks.h"
#include "engine/result_format/result_line.h"

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

}  // namespace

ResultSource::ResultSource(std::string polynomial, std::string factorisation, bool complete, double seconds)
    : polynomial(std::move(polynomial)),
      factorisation(std::move(factorisation)),
      complete(complete),
      seconds(seconds),
      value(format::ReadResultValue(this->polynomial, this->factorisation)) {}

RunResult ReadRunResult(const std::vector<std::string>& lines) {
  RunResult result;
  if (lines.empty()) {
    result.notes.push_back(kNoFactorisation);
    result.end = RunEnd::Incomplete;
    return result;
  }
  // Line 1 is the echo; a one-term result follows it on the same line.
  const std::string_view echo = lines[0];
  const std::string_view polynomial = echo.substr(0, echo.find('='));
  const format::Presented presented = format::PresentedSegment(lines);

  bool searchStopped = false, lateSearch = false, runStopped = false, internalError = false;
  CertificateKind certificate = CertificateKind::kNone;
  std::vector<std::string> notes;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = Trimmed(lines[i]);
    if (line.empty() || line.front() == '=') {
      // A result line, the complete one after a certificate, or a mark.
      searchStopped = searchStopped || line == marks::kSearchStopped;
      lateSearch = lateSearch || line == marks::kLateSearch;
    } else if (StartsWith(line, marks::kCertificate)) {
      certificate = marks::KindOfCertificate(line);
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
  const std::string answer = runStopped && !presented.afterCertificate ? std::string() : presented.segment;
  const bool complete = presented.afterCertificate || certificate == CertificateKind::kComplete;
  if (!complete) {
    if (lateSearch) notes.insert(notes.begin(), kLateSearch);
    if (searchStopped) notes.insert(notes.begin(), kSearchStopped);
  }

  result.source = ResultSource(std::string(polynomial), answer, complete && !internalError);
  result.presentation =
      Present(result.source.value, result.source.polynomial, result.source.factorisation, result.source.complete);
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

bool GaveAnswer(const RunResult& result) {
  const ResultSource& source = result.source;
  if (source.factorisation.empty()) return false;
  if (result.end != RunEnd::Incomplete || !source.value || !source.value->factored) return true;
  const format::ResultValue& value = *source.value;
  const bool monomial = std::any_of(value.monomial.begin(), value.monomial.end(), [](int32_t e) { return e != 0; });
  return value.factors.size() > 1 || value.content != "1" || monomial;
}

RunResult RestoredRunResult(const ResultSource& source, std::vector<std::string> notes, RunEnd end) {
  RunResult result;
  result.source = source;
  result.presentation =
      Present(source.value, source.polynomial, source.factorisation, source.complete, source.typed, source.field);
  result.notes = std::move(notes);
  result.end = end;
  return result;
}

namespace {

// The presentation made again from the result's source.
void Represent(RunResult* result) {
  const ResultSource& source = result->source;
  result->presentation =
      Present(source.value, source.polynomial, source.factorisation, source.complete, source.typed, source.field);
}

}  // namespace

void SetTyped(RunResult* result, const std::string& typed) {
  result->source.typed = typed;
  Represent(result);
}

void SetField(RunResult* result, Field field) {
  if (result->source.field == field) return;
  result->source.field = field;
  Represent(result);
}

}  // namespace pfac::frontend
