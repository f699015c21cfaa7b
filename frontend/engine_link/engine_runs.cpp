#include "frontend/engine_link/engine_runs.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "engine/result_format/result_value.h"
#include "frontend/engine_link/engine_files.h"
#include "frontend/engine_link/result_file.h"
#include "frontend/input/typed_input.h"

namespace pfac::frontend {

namespace {

// A polynomial's terms, each as its coefficient and the exponents of the
// letters a-z, in the order written.
using Terms = std::vector<std::pair<std::string, format::Exponents>>;

Terms TermsOf(const format::RationalPolynomial& polynomial, const std::string& letters) {
  Terms terms;
  for (const format::RationalTerm& term : polynomial.terms) {
    format::Exponents exponents{};
    for (size_t v = 0; v < letters.size() && v < term.exponents.size(); ++v) {
      exponents[static_cast<size_t>(letters[v] - 'a')] = term.exponents[v];
    }
    terms.emplace_back(term.coefficient, exponents);
  }
  return terms;
}

std::string WithoutBlanks(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

}  // namespace

bool EchoIsOf(const std::string& echoLine, const std::string& handedOff) {
  const std::string echo = echoLine.substr(0, echoLine.find('='));
  // The same text, but for the engine's blanks.
  if (WithoutBlanks(echo) == WithoutBlanks(handedOff)) return true;
  const std::optional<format::ResultValue> echoed = format::ReadResultValue(echo, "");
  const ConvertedText handed = ConvertTypedText(handedOff, nullptr);
  if (!echoed || !handed.Accepted()) return false;
  return TermsOf(echoed->entered, echoed->letters) == TermsOf(handed.value, handed.letters);
}

void EngineRuns::Submitted(bool handedOff, const std::string& text, const std::string& typed) {
  handedOff_ = handedOff;
  if (handedOff) {
    handedOffText_ = text;
    handedOffTyped_ = typed.empty() ? text : typed;
  }
  ++shown_;
}

void EngineRuns::InputStarted() { ++shown_; }

void EngineRuns::Started(const std::filesystem::path& folder) {
  running_ = true;
  runShown_ = handedOff_ ? shown_ : -1;
  runText_ = handedOff_ ? handedOffText_ : std::string();
  runTyped_ = handedOff_ ? handedOffTyped_ : std::string();
  runFile_ = RunFile::None;
  taken_.reset();
  seconds_ = 0;
  startTime_ = std::filesystem::file_time_type::clock::now();
  std::error_code error;
  handOffTime_ = std::filesystem::last_write_time(folder / kHandOffFile, error);
  if (error) handOffTime_ = startTime_;
  resultTimeBefore_ = std::filesystem::last_write_time(folder / kResultFile, error);
  resultExisted_ = !error;
  resultBefore_ = resultExisted_ ? ReadResultFile(folder) : std::nullopt;
}

bool EngineRuns::Ended(const std::filesystem::path& folder) {
  if (!running_) return false;
  running_ = false;
  std::error_code error;
  const auto written = std::filesystem::last_write_time(folder / kResultFile, error);
  std::optional<std::vector<std::string>> lines;
  if (!error && written >= handOffTime_) lines = ReadResultFile(folder);
  // Unchanged since the start: the run wrote nothing.
  if (lines && resultExisted_ && written == resultTimeBefore_ && lines == resultBefore_) lines.reset();
  if (!lines || lines->empty()) {
    runFile_ = RunFile::None;
  } else if (runText_.empty() || !EchoIsOf(lines->front(), runText_)) {
    runFile_ = RunFile::Foreign;
  } else {
    runFile_ = RunFile::Taken;
    taken_ = std::move(lines);
    if (written >= startTime_) seconds_ = std::chrono::duration<double>(written - startTime_).count();
  }
  return runShown_ == shown_;
}

const std::optional<std::vector<std::string>>& EngineRuns::CurrentResult() const {
  static const std::optional<std::vector<std::string>> kNone;
  return !running_ && runShown_ == shown_ ? taken_ : kNone;
}

}  // namespace pfac::frontend
