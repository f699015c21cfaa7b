#include "frontend/commands/print_command.h"

#include "frontend/engine_link/result_file.h"
#include "engine/result_format/factor_runs.h"
#include "frontend/results/result_steps.h"

namespace pfac::frontend {

namespace {

constexpr char kResultFileUnreadable[] =
    "找不到或无法读取结果文件 jg.dat，请先双击《双击此处分解》进行分解。\n"
    "(The result file jg.dat is missing or cannot be read; run the engine first.)";
constexpr char kPrinterFailed[] = "打印机出错，没有打印。\n(The printer failed; nothing was printed.)";
constexpr char kPrintedToFile[] = "打印结果已存入文件 ";
constexpr char kPrintedToFileEnglish[] = "(The printout is in the file ";

// The result goes below the open document's, with the steps of its
// factorisation when there are any and its graph when asked; then the
// question whether to print at once.
void Print(ResultPrinter& printer, Dialogs& dialogs, PrintedResult result, bool withGraph) {
  result.steps = PrintedSteps(result.result.source, false);
  std::string why;
  if (withGraph) result.graph = GraphOfResult(result.result, &why);
  if (!printer.AddResult(result)) {
    printer.DiscardDocument();
    dialogs.Tell(kPrinterFailed + ("\n" + printer.LastError()), kNoticeCaption);
    return;
  }
  if (dialogs.AskYesNo(kPrintNowQuestion, kNoticeCaption)) EndOpenDocument(printer, dialogs);
}

}  // namespace

void PrintResults(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, double engineSeconds) {
  files.CloseAll();
  // jg.dat is read before anything goes to the printer, so that a missing
  // file leaves the document as it was.
  const std::optional<std::vector<std::string>> lines = ReadResultFile();
  if (!lines) {
    dialogs.Tell(kResultFileUnreadable, kNoticeCaption);
    return;
  }
  PrintResultLines(printer, dialogs, *lines, engineSeconds);
}

void PrintResultLines(ResultPrinter& printer, Dialogs& dialogs, const std::vector<std::string>& lines,
                      double engineSeconds, const std::string& typed, Field field, bool withGraph) {
  RunResult result = ReadRunResult(lines);
  result.source.seconds = engineSeconds;
  if (!typed.empty()) SetTyped(&result, typed);
  SetField(&result, field);
  Print(printer, dialogs, {result, format::PaperLines(lines), false, {}}, withGraph);
}

void PrintHistoryResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result, bool withGraph) {
  Print(printer, dialogs, {result, {}, true, {}}, withGraph);
}

void PrintExactResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result, bool withGraph) {
  Print(printer, dialogs, {result, {}, false, {}}, withGraph);
}

void PrintShownResult(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, const EngineRuns& runs,
                      const HistoryEntry* historyShown, Field field, bool withGraph) {
  files.CloseAll();
  if (historyShown != nullptr) {
    PrintHistoryResult(printer, dialogs, historyShown->Result(), withGraph);
  } else if (runs.Running()) {
    dialogs.Tell(kEngineWindowOpen, kNoticeCaption);
  } else if (const std::optional<std::vector<std::string>>& lines = runs.CurrentResult()) {
    PrintResultLines(printer, dialogs, *lines, runs.RunSeconds(), runs.RunTyped(), field, withGraph);
  } else if (!runs.HandedOff()) {
    dialogs.Tell(kNothingHandedOff, kNoticeCaption);
  } else if (runs.CurrentRunFile() == RunFile::Foreign) {
    dialogs.Tell(kForeignNotPrinted, kNoticeCaption);
  } else {
    dialogs.Tell(kNoResultYet, kNoticeCaption);
  }
}

void EndOpenDocument(ResultPrinter& printer, Dialogs& dialogs) {
  if (!printer.HasOpenDocument()) return;
  if (!printer.EndDocument()) {
    dialogs.Tell(kPrinterFailed + ("\n" + printer.LastError()), kNoticeCaption);
    return;
  }
  if (printer.Cancelled()) {
    dialogs.Tell(kNotPrinted, kNoticeCaption);
    return;
  }
  const std::string file = printer.DocumentFile();
  if (!file.empty()) {
    dialogs.Tell(kPrintedToFile + file + "\n" + kPrintedToFileEnglish + file + ".)",
                 kNoticeCaption);
  }
}

}  // namespace pfac::frontend
