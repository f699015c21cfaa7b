// What a worksheet says of its problems: the table of the worksheet window,
// the lines of pfac --worksheet, and the problems and answer key on paper.
#pragma once

#include <string>
#include <vector>

#include "frontend/engine_link/batch_run.h"
#include "frontend/printing/page_layout.h"

namespace pfac::frontend {

// What the table and the answer key say of a problem: the polynomial as a
// student writes it, its answer (or why there is none), and in a few words
// how far the answer is known.
std::string ProblemShown(const Problem& problem);
std::string AnswerShown(const Problem& problem);
std::string CertificateShown(const Problem& problem);
// The notes of the answer key: the certificate and the engine's notes, or why
// there is no answer.
std::vector<std::string> AnswerNotes(const Problem& problem);
// The time the engine's run took: "0.004 s", "1.25 s"; nothing for a problem
// the engine did not run.
std::string TimeShown(const Problem& problem);
// The problems as the worksheet's pages show them; the answer key with the
// steps of each factorisation, and the graph of each answer in one letter,
// when asked.
std::vector<SheetProblem> SheetProblems(const std::vector<Problem>& problems, bool withSteps = false,
                                        bool withGraphs = false);

}  // namespace pfac::frontend
