// What goes on paper, one result at a time (the result, its steps and its
// working), and the printer that the print command hands it to.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/graph/graph_picture.h"
#include "frontend/results/line_breaking.h"
#include "frontend/results/run_result.h"

namespace pfac::frontend {

// Said on paper under a result printed from the history.
inline constexpr char kPrintedFromHistory[] =
    "取自历史记录, 解题过程没有保存 / from the history; its working was not kept";

// One result on paper: the result as the main window shows it, the steps of
// its factorisation, and the lines of jg.dat that the run wrote, as its
// working; a result of the history has no working and says where it came
// from. The graph of an answer in one letter goes under its steps when it
// was shown.
struct PrintedResult {
  RunResult result;
  std::vector<std::string> working;
  bool fromHistory = false;
  std::vector<Breakable> steps;  // the steps of a factorisation known complete, one a line
  std::optional<GraphData> graph = {};
};

// The printer as the print command sees it: one document at a time, begun by
// the first result printed and open until it is ended or discarded.
class ResultPrinter {
 public:
  virtual ~ResultPrinter() = default;
  // Adds the result below the last one, beginning a document when none is
  // open. False when the printer failed.
  virtual bool AddResult(const PrintedResult& result) = 0;
  virtual bool HasOpenDocument() const = 0;
  // Ends the open document and hands it to the printer (the one chosen in
  // the print dialog). False when it failed.
  virtual bool EndDocument() = 0;
  // Drops the open document unprinted.
  virtual void DiscardDocument() = 0;
  // The file (its full path) the last ended document was written to as PDF;
  // empty when it went to a printer.
  virtual std::string DocumentFile() const = 0;
  // The last ended document was not printed: the print dialog was cancelled.
  virtual bool Cancelled() const { return false; }
  // Why the last failing call failed.
  virtual std::string LastError() const = 0;
};

}  // namespace pfac::frontend
