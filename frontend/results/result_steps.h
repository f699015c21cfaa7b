// The steps of a result's factorisation as a student reads them: under the
// result panel, on the printed page, in a worksheet's answer key and from the
// command line (pfac --explain). The explainer (frontend/explainer) finds the
// steps as values from the polynomial and its certified factorisation; this
// writes them out as the result is written, superscripts and all.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "frontend/explainer/explainer.h"
#include "frontend/results/line_breaking.h"
#include "frontend/results/run_result.h"

namespace pfac::frontend {

inline constexpr char kStepsHeading[] = "解题步骤 / steps";

// Said instead of steps.
inline constexpr char kNotKnownComplete[] =
    "这个结果没有被证明是完整的分解, 所以没有解题步骤 / the result is not known to be complete, so there are no steps";
inline constexpr char kNothingToExplain[] = "没有可以讲解的分解 / there is no factorisation to explain";
inline constexpr char kSingleTerm[] = "只有一项, 不用分解 / a single term: nothing to split";
inline constexpr char kNoExplainer[] =
    "这个版本没有精确分解, 不能给出解题步骤 / this build has no exact factoriser to check steps with";

// Where a run's time is not known (a history entry of an earlier version),
// the steps may take this long.
inline constexpr std::chrono::milliseconds kDefaultStepBudget{250};

// A run of the engine may take a millisecond, less than the steps of a
// textbook exercise may need on a busy machine; this long no one notices.
inline constexpr std::chrono::milliseconds kLeastStepBudget{50};

// The time the steps may take: as long as the engine's run took (the
// explanation never makes the student wait noticeably longer than the
// factoring did), but no less than the least, or the default where the
// run's time is not known.
std::chrono::steady_clock::duration StepBudget(double engineSeconds);

struct ResultSteps {
  std::string letters;                              // the variables of the expressions
  std::optional<explain::Explanation> explanation;  // none: `missing` says why
  std::string missing;
  // The polynomial was typed starting with a minus, which the answer then
  // keeps in front (the last step writes the answer as it reads).
  bool keepLeadingMinus = false;
  // Over the reals: the factors that square roots split, after the steps.
  std::vector<RealStep> real;
};

// The steps of a result known to be complete, within its budget
// (StepBudget of its engine's time, unless given).
ResultSteps ExplainResult(const ResultSource& source);
ResultSteps ExplainResult(const ResultSource& source, std::chrono::steady_clock::duration budget);

// The steps as the panel and the page set them, one a line (each breaking
// between its parts where it is wider than a line):
// "1. 提公因式 / common factor: = 3xy(2x - 3y)  （公因式 3xy）"; the reason an
// irreducible polynomial stays whole; or one line saying why there are no
// steps.
// With `detail`, each step's detail follows it, indented; without, a step
// that has detail ends in kFolded where `markFolded` (the panel, where a
// click opens it).
std::vector<Breakable> StepLines(const ResultSteps& steps, bool detail = true, bool markFolded = false);

// Ends a step line whose detail is folded away.
inline constexpr char kFolded[] = " ▸";

// The steps on paper (the printout, a worksheet's answer key): StepLines of
// a result that has steps; nothing where it has none.
// The printout gives the steps alone; an answer key that asks for steps
// gives their detail too.
std::vector<Breakable> PrintedSteps(const ResultSource& source, bool detail);

// The steps as plain text, one a line, the method's name first and the parts
// separated by tabs: "提公因式 / common factor<TAB>= 3xy(2x - 3y)<TAB>公因式 3xy".
std::vector<std::string> StepTexts(const ResultSteps& steps);

// An expression as a student writes it: "3xy(2x - 3y)", "x² - (y - 1)²".
Breakable ExpressionShown(const explain::Expression& expression, const std::string& letters);

}  // namespace pfac::frontend
