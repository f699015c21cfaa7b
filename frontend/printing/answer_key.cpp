#include "frontend/printing/answer_key.h"

#include <cstdio>

#include "frontend/results/result_presentation.h"
#include "frontend/results/result_steps.h"

namespace pfac::frontend {

std::string ProblemShown(const Problem& problem) { return TypedShown(problem.typed).Text(); }

std::string AnswerShown(const Problem& problem) {
  switch (problem.state) {
    case ProblemState::Refused: return problem.refusal->message;
    case ProblemState::Factored:
    case ProblemState::Stopped: return problem.result.presentation.shown.Text();
    case ProblemState::NoResult: return "分解程序没有写出结果 / the engine wrote no result";
    case ProblemState::NotRun: return "没有分解 / not factored";
    case ProblemState::Waiting:
    case ProblemState::Running: return {};
  }
  return {};
}

std::string CertificateShown(const Problem& problem) {
  switch (problem.state) {
    case ProblemState::Refused: return "未读入 / refused";
    case ProblemState::NoResult: return "没有结果 / no result";
    case ProblemState::Stopped: return "已停止 / stopped";
    case ProblemState::NotRun: return "未运行 / not run";
    case ProblemState::Waiting: return {};
    case ProblemState::Running: return "分解中 / running";
    case ProblemState::Factored: break;
  }
  switch (problem.result.end) {
    case RunEnd::Certified: return "完整 / complete";
    case RunEnd::Incomplete: return "不完整 / not complete";
    case RunEnd::InternalError: return "内部错误 / internal error";
    case RunEnd::Finished: break;
  }
  return "未验证 / not verified";
}

std::vector<std::string> AnswerNotes(const Problem& problem) {
  switch (problem.state) {
    case ProblemState::Refused:
      return {"未读入 / refused: " + problem.refusal->message};
    case ProblemState::Stopped: {
      std::vector<std::string> notes{"批量被取消, 分解已停止 / the worksheet was cancelled and this run stopped"};
      notes.insert(notes.end(), problem.result.notes.begin(), problem.result.notes.end());
      return notes;
    }
    case ProblemState::NotRun: return {"批量被取消, 没有分解 / the worksheet was cancelled before this one"};
    case ProblemState::NoResult: return {AnswerShown(problem)};
    case ProblemState::Factored: return problem.result.notes;
    case ProblemState::Waiting:
    case ProblemState::Running: return {};
  }
  return {};
}

std::string TimeShown(const Problem& problem) {
  const bool ran = problem.state == ProblemState::Factored || problem.state == ProblemState::Stopped ||
                   problem.state == ProblemState::NoResult;
  if (!ran) return {};
  char text[32];
  std::snprintf(text, sizeof text, problem.seconds < 1 ? "%.3f s" : "%.2f s", problem.seconds);
  return text;
}

std::vector<SheetProblem> SheetProblems(const std::vector<Problem>& problems, bool withSteps, bool withGraphs) {
  std::vector<SheetProblem> sheet;
  for (const Problem& problem : problems) {
    SheetProblem page;
    // The problem as the student typed it: a substitution or a common
    // bracket can only be set as typed.
    page.problem = TypedShown(problem.typed);
    const bool answered = problem.state == ProblemState::Factored || problem.state == ProblemState::Stopped;
    page.answer = answered ? problem.result.presentation.shown : page.problem;
    page.notes = AnswerNotes(problem);
    if (withSteps && problem.state == ProblemState::Factored) page.steps = PrintedSteps(problem.result.source, true);
    std::string why;
    if (withGraphs && problem.state == ProblemState::Factored) page.graph = GraphOfResult(problem.result, &why);
    page.refused = problem.state == ProblemState::Refused;
    page.line = static_cast<int>(sheet.size()) + 1;
    sheet.push_back(std::move(page));
  }
  return sheet;
}

}  // namespace pfac::frontend
