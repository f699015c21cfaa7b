// Printing the engine's result file jg.dat: the result as a student writes
// it, the certificate, and the run's lines of jg.dat as the working, with runs
// of equal factors written once with an exponent.
#pragma once

#include <string>
#include <vector>

#include "frontend/dialogs.h"
#include "frontend/storage/file_table.h"
#include "frontend/results/line_breaking.h"
#include "frontend/results/run_result.h"

namespace pfac::frontend {

// The two questions of a print run.
inline constexpr char kPrinterReady[] = "打印机准备就绪?";
inline constexpr char kPrintNow[] = "马上要印件吗？";
// Said instead of printing when jg.dat is not the result of the polynomial now
// in DXS.DAT, and while the engine's window is still open.
inline constexpr char kNoResultYet[] =
    "当前的多项式还没有分解结果，请先双击《双击此处分解》进行分解。\n"
    "(The current polynomial has no result yet; double-click the engine box to factor it first.)";
inline constexpr char kEngineWindowOpen[] =
    "分解程序的窗口还开着，请关闭它以后再打印。\n"
    "(The engine's window is still open; close it, then print.)";

// Said on paper under a result printed from the history.
inline constexpr char kPrintedFromHistory[] =
    "取自历史记录, 解题过程没有保存 / from the history; its working was not kept";

// One result on paper: the result as the main window shows it, the steps of
// its factorisation, and the lines of jg.dat that the run wrote, as its
// working; a result of the history has no working and says where it came
// from.
struct PrintedResult {
  RunResult result;
  std::vector<std::string> working;
  bool fromHistory = false;
  std::vector<Breakable> steps;  // the steps of a factorisation known complete, one a line
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
  // Ends the open document and hands it to the printer. False when it failed.
  virtual bool EndDocument() = 0;
  // Drops the open document unprinted.
  virtual void DiscardDocument() = 0;
  // The file (its full path) the last ended document was written to when
  // there was no printer to send it to; empty when it went to a printer.
  virtual std::string DocumentFile() const = 0;
  // Why the last failing call failed.
  virtual std::string LastError() const = 0;
};

// The print command: asks whether the printer is ready, prints the result in
// jg.dat and asks whether to print at once; a No there leaves the document
// open for the next run, whose result goes below. A missing or unreadable jg.dat and a failing printer are told in a
// message box. The window decides beforehand whether jg.dat is the current
// polynomial's result, and tells how long the engine's run took (the time
// its steps may take; 0 when not known).
void PrintResults(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, double engineSeconds = 0);

// The print command for a result of the history: the same questions, and the
// result alone, marked as from the history.
void PrintHistoryResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result);

// Ends an open document, as the end of the program does, and tells where it
// went when that is a file (its full path). Nothing happens when no document
// is open.
void EndOpenDocument(ResultPrinter& printer, Dialogs& dialogs);

}  // namespace pfac::frontend
