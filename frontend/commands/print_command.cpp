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
constexpr char kPrintedToFile[] = "没有找到打印机，打印结果已存入文件 ";
constexpr char kPrintedToFileEnglish[] = "(No printer was found; the printout is in the file ";

// The result goes below the open document's, with the steps of its
// factorisation when there are any; then the question whether to print at
// once.
void Print(ResultPrinter& printer, Dialogs& dialogs, PrintedResult result) {
  result.steps = PrintedSteps(result.result.source, false);
  if (!printer.AddResult(result)) {
    printer.DiscardDocument();
    dialogs.Tell(kPrinterFailed + ("\n" + printer.LastError()), kNoticeCaption);
    return;
  }
  if (dialogs.AskYesNo(kPrintNow, kNoticeCaption)) EndOpenDocument(printer, dialogs);
}

}  // namespace

void PrintResults(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, double engineSeconds,
                  const std::string& typed) {
  files.CloseAll();
  if (!dialogs.AskYesNo(kPrinterReady, kNoticeCaption)) return;
  // jg.dat is read before anything goes to the printer, so that a missing
  // file leaves the document as it was.
  const std::optional<std::vector<std::string>> lines = ReadResultFile();
  if (!lines) {
    dialogs.Tell(kResultFileUnreadable, kNoticeCaption);
    return;
  }
  RunResult result = ReadRunResult(*lines);
  result.source.seconds = engineSeconds;
  if (!typed.empty()) SetTyped(&result, typed);
  Print(printer, dialogs, {result, format::PaperLines(*lines), false, {}});
}

void PrintHistoryResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result) {
  if (!dialogs.AskYesNo(kPrinterReady, kNoticeCaption)) return;
  Print(printer, dialogs, {result, {}, true, {}});
}

void PrintShownResult(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, const EngineRuns& runs,
                      const std::filesystem::path& folder, const HistoryEntry* historyShown,
                      const std::string& typed) {
  if (historyShown != nullptr) {
    PrintHistoryResult(printer, dialogs, historyShown->Result());
  } else if (runs.Running()) {
    dialogs.Tell(kEngineWindowOpen, kNoticeCaption);
  } else if (!runs.ResultIsCurrent(folder)) {
    dialogs.Tell(kNoResultYet, kNoticeCaption);
  } else {
    PrintResults(printer, files, dialogs, runs.RunSeconds(folder), typed);
  }
}

void EndOpenDocument(ResultPrinter& printer, Dialogs& dialogs) {
  if (!printer.HasOpenDocument()) return;
  if (!printer.EndDocument()) {
    dialogs.Tell(kPrinterFailed + ("\n" + printer.LastError()), kNoticeCaption);
    return;
  }
  const std::string file = printer.DocumentFile();
  if (!file.empty()) {
    dialogs.Tell(kPrintedToFile + file + "\n" + kPrintedToFileEnglish + file + ".)",
                 kNoticeCaption);
  }
}

}  // namespace pfac::frontend
