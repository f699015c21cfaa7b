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

// The question of a print run, and what each answer does to the page.
inline constexpr char kPrintNow[] = "马上要印件吗？";
inline constexpr char kPrintNowQuestion[] =
    "马上要印件吗？\n"
    "是: 现在打印这一页 (打印对话框中可选打印机或 PDF 文件)。\n"
    "否: 这个结果留在这一页上, 与以后打印的结果一起打印 (最迟在退出时)。\n"
    "(Print now? Yes prints this page now, to a printer or a PDF file chosen in the print dialog; No keeps this "
    "result on the page, to be printed with the next ones, at the latest when the program ends.)";
// Said when the print dialog was cancelled.
inline constexpr char kNotPrinted[] = "没有打印, 这一页已放弃。\n(Nothing was printed; the page was dropped.)";
// Said instead of printing when jg.dat is not the result of the polynomial now
// in DXS.DAT, and while the engine's window is still open.
inline constexpr char kNoResultYet[] =
    "当前的多项式还没有分解结果，请先双击《双击此处分解》进行分解。\n"
    "(The current polynomial has no result yet; double-click the engine box to factor it first.)";
// Said instead when the text in the box was refused, and when the run's
// jg.dat held another run's answer.
inline constexpr char kNothingHandedOff[] =
    "输入框中的文字没有被接受, 还没有可以打印的结果。请改正它 (或按《输入多项式》输入新的), 按《输入完毕》, "
    "再双击《双击此处分解》。\n"
    "(The text in the box was not accepted, so there is nothing to print yet. Correct it (or press 输入多项式 "
    "for a new one), press 输入完毕, then double-click the engine box.)";
inline constexpr char kForeignNotPrinted[] =
    "结果文件 jg.dat 中是另一次运行的结果, 不能作为这个多项式的结果打印。请再双击《双击此处分解》。\n"
    "(jg.dat holds another run's answer, which is not printed as this polynomial's; double-click the engine box "
    "to run it again.)";
inline constexpr char kEngineWindowOpen[] =
    "分解程序的窗口还开着，请关闭它以后再打印。\n"
    "(The engine's window is still open; close it, then print.)";

// The print command: puts the result in jg.dat on the page and asks whether
// to print at once (the print dialog comes then); a No there leaves the
// document open for the next run, whose result goes below. A missing or unreadable jg.dat and a failing printer are told in a
// message box. The window decides beforehand whether jg.dat is the current
// polynomial's result, and tells how long the engine's run took (the time
// its steps may take; 0 when not known).
void PrintResults(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, double engineSeconds = 0);
// The same with the lines of jg.dat taken when the run ended, and what the
// student typed (shown on the left; empty when not known), over the field.
// With withGraph, here and below, the graph of an answer in one letter goes
// on the page under its steps.
void PrintResultLines(ResultPrinter& printer, Dialogs& dialogs, const std::vector<std::string>& lines,
                      double engineSeconds, const std::string& typed = {}, Field field = Field::kRational,
                      bool withGraph = false);

// The print command for a result of the history: the same questions, and the
// result alone, marked as from the history.
void PrintHistoryResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result, bool withGraph = false);

// The print command for the exact factorisation of a text beyond the search's
// limits: the same questions, and the result presented, without the search's
// working (there was no search).
void PrintExactResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result, bool withGraph = false);

// The main window's "打印": the entry of the history shown in the panel
// alone, when there is one (null: none); otherwise the result taken from
// jg.dat when the run of the polynomial the window shows ended (told
// otherwise: what to do first). The run's result is printed over `field`.
void PrintShownResult(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, const EngineRuns& runs,
                      const HistoryEntry* historyShown, Field field = Field::kRational, bool withGraph = false);

// Ends an open document, as the end of the program does, and tells where it
// went when that is a file (its full path). Nothing happens when no document
// is open.
void EndOpenDocument(ResultPrinter& printer, Dialogs& dialogs);

}  // namespace pfac::frontend
