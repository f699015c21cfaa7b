// The print command ("打印"): the result in jg.dat as a student writes it, the
// certificate, the steps, and the run's lines of jg.dat as the working, with
// runs of equal factors written once with an exponent; or a result of the
// history alone. Its questions, and what it says instead of printing.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "frontend/commands/dialogs.h"
#include "frontend/engine_link/engine_runs.h"
#include "frontend/printing/result_printer.h"
#include "frontend/results/run_result.h"
#include "frontend/storage/file_table.h"
#include "frontend/storage/history.h"

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

// The print command: asks whether the printer is ready, prints the result in
// jg.dat and asks whether to print at once; a No there leaves the document
// open for the next run, whose result goes below. A missing or unreadable jg.dat and a failing printer are told in a
// message box. The window decides beforehand whether jg.dat is the current
// polynomial's result, and tells how long the engine's run took (the time
// its steps may take; 0 when not known) and what the student typed (shown on
// the left; empty when not known).
void PrintResults(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, double engineSeconds = 0,
                  const std::string& typed = {});

// The print command for a result of the history: the same questions, and the
// result alone, marked as from the history.
void PrintHistoryResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result);

// The main window's "打印": the entry of the history shown in the panel
// alone, when there is one (null: none); otherwise the result in jg.dat, but
// only when it is the result of the polynomial now in DXS.DAT in the folder
// and the engine's window has closed (told otherwise).
void PrintShownResult(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, const EngineRuns& runs,
                      const std::filesystem::path& folder, const HistoryEntry* historyShown,
                      const std::string& typed = {});

// Ends an open document, as the end of the program does, and tells where it
// went when that is a file (its full path). Nothing happens when no document
// is open.
void EndOpenDocument(ResultPrinter& printer, Dialogs& dialogs);

}  // namespace pfac::frontend
