// The result of a run as the main window and the printout show it: the
// polynomial and its factorisation as a student writes them, read from jg.dat,
// and what the engine said about the run.
#pragma once

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

// What a presentation (Present's arguments) and the steps of a result are
// made from: kept with a result so that the history can show it again.
struct ResultSource {
  std::string polynomial;     // the echo of the polynomial entered
  std::string factorisation;  // in the engine's form; empty when the run gave none
  bool complete = false;      // known complete
  double seconds = 0;         // the engine's run, start to result; 0 when not known
};

struct RunResult {
  Presentation presentation;  // the polynomial, and its factorisation when the run gave one
  ResultSource source;
  std::vector<std::string> notes;  // the certificate and the engine's notes, or what became of the run
  RunEnd end = RunEnd::Finished;
};

// The result that the lines of jg.dat (line ends removed) hold. The polynomial
// is the echo in line 1; the factorisation is the last result line that holds
// factors. A result line that follows a certificate line (a complete
// factorisation given where the search's was not) is the factorisation.
RunResult ReadRunResult(const std::vector<std::string>& lines);

// A result shown again from what it was made of.
RunResult RestoredRunResult(const ResultSource& source, std::vector<std::string> notes, RunEnd end);

}  // namespace pfac::frontend
