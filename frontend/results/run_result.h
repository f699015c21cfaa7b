// The result of a run as the main window and the printout show it: the
// polynomial and its factorisation as a student writes them, read from jg.dat,
// and what the engine said about the run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/results/result_presentation.h"

namespace pfac::frontend {

// How the run ended, as far as jg.dat tells.
enum class RunEnd {
  Finished,       // the search went through; a certificate may say more
  Certified,      // the certificate says the factorisation is complete
  Incomplete,     // stopped (X key, time limit, a signal), late mode, or not complete
  InternalError,  // the exact factorisation and the search disagree
};

// What a presentation and the steps of a result are made from: the texts of
// jg.dat, kept with a result so that the history can show it again, and the
// one value they are read into, once, when the source is made.
struct ResultSource {
  ResultSource() = default;
  ResultSource(std::string polynomial, std::string factorisation, bool complete, double seconds = 0);

  std::string polynomial;     // the echo of the polynomial entered
  std::string factorisation;  // in the engine's form; empty when the run gave none
  bool complete = false;      // known complete
  double seconds = 0;         // the engine's run, start to result; 0 when not known
  // The polynomial as the student typed it (brackets and all); empty when
  // not known (an entry of an older history), and then the echo stands for it.
  std::string typed;
  // The field the answer is presented over: over the reals its factors are
  // split further with square roots.
  Field field = Field::kRational;
  // The two texts as one value; none when they are not in the engine's form.
  std::optional<format::ResultValue> value;
};

struct RunResult {
  Presentation presentation;  // the polynomial, and its factorisation when the run gave one
  ResultSource source;
  std::vector<std::string> notes;  // the certificate and the engine's notes, or what became of the run
  RunEnd end = RunEnd::Finished;
};

// Said instead of "P = (P)" of a run stopped before it split the polynomial.
inline constexpr char kStoppedWithoutAnswer[] =
    "运行在找到答案之前被停止了, 没有分解结果。/ The run was stopped before it found an answer; it gave no "
    "factorisation.";

// Whether the run gave an answer: a factorisation that is known complete, or
// one that, though not known complete, splits something off (a stopped run
// that split nothing wrote only the polynomial itself in brackets).
bool GaveAnswer(const RunResult& result);

// The result that the lines of jg.dat (line ends removed) hold. The polynomial
// is the echo in line 1; the factorisation is the segment a reader presents
// (format::PresentedSegment): a complete factorisation that follows a
// certificate where the search's was not complete, or else the search's.
RunResult ReadRunResult(const std::vector<std::string>& lines);

// The result of the problem as typed: the typed text kept with its source
// and the presentation made again with it on the left.
void SetTyped(RunResult* result, const std::string& typed);

// The result presented over a field: the same run, its factors split with
// square roots over the reals (as it stands when it is over that field).
void SetField(RunResult* result, Field field);

// A result shown again from what it was made of.
RunResult RestoredRunResult(const ResultSource& source, std::vector<std::string> notes, RunEnd end);

}  // namespace pfac::frontend
