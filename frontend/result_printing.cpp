#include "frontend/result_printing.h"

#include "frontend/result_steps.h"

namespace pfac::frontend {

namespace {

// jg.dat is file 3 while it is read.
constexpr int kResultNumber = 3;
// Lines 1 to 3 of jg.dat are headers, printed as they stand.
constexpr size_t kHeaderLines = 3;
// Line 4 is printed as it stands when it holds this mark.
constexpr size_t kMarkedLine = 4;

constexpr char kResultFileUnreadable[] =
    "找不到或无法读取结果文件 jg.dat，请先双击《双击此处分解》进行分解。\n"
    "(The result file jg.dat is missing or cannot be read; run the engine first.)";
constexpr char kPrinterFailed[] = "打印机出错，没有打印。\n(The printer failed; nothing was printed.)";
constexpr char kPrintedToFile[] = "没有找到打印机，打印结果已存入文件 ";
constexpr char kPrintedToFileEnglish[] = "(No printer was found; the printout is in the file ";

std::string RunExponent(int runLength) { return "^ " + std::to_string(runLength); }

// The result goes below the open document's, with the steps of its
// factorisation when there are any; then the question whether to print at
// once.
void Print(ResultPrinter& printer, Dialogs& dialogs, PrintedResult result) {
  result.steps = PrintedSteps(result.result.source);
  if (!printer.AddResult(result)) {
    printer.DiscardDocument();
    dialogs.Tell(kPrinterFailed + ("\n" + printer.LastError()), kNoticeCaption);
    return;
  }
  if (dialogs.AskYesNo(kPrintNow, kNoticeCaption)) EndOpenDocument(printer, dialogs);
}

}  // namespace

std::vector<std::string> WorkingLines(const std::vector<std::string>& lines) {
  std::vector<std::string> working;
  std::string lastPrinted;  // a line without factors does not count as printed
  for (size_t count = 1; count <= lines.size(); ++count) {
    const std::string& line = lines[count - 1];
    if (count <= kHeaderLines || (count == kMarkedLine && line.find('[') != std::string::npos)) {
      working.push_back(lastPrinted = line);
    } else if (line.find('(') == std::string::npos) {
      working.push_back(line);
    } else if (std::string output = CollapseFactors(line); output != lastPrinted) {
      working.push_back(lastPrinted = std::move(output));
    }
  }
  return working;
}

std::string CollapseFactors(std::string_view line) {
  size_t open = line.find('(');
  size_t close = open == std::string_view::npos ? open : line.find(')', open);
  if (close == std::string_view::npos) return std::string(line);

  std::string output(line.substr(0, close + 1));
  std::string_view current = line.substr(open, close - open + 1);
  std::string_view rest = line.substr(close + 1);
  int runLength = 1;
  while (!rest.empty()) {
    size_t end = rest.find(')');
    if (end == std::string_view::npos) break;  // trailing text
    std::string_view next = rest.substr(0, end + 1);
    rest.remove_prefix(end + 1);
    if (next == current) {
      ++runLength;
      continue;
    }
    if (runLength > 1) output += RunExponent(runLength);
    output += next;
    current = next;
    runLength = 1;
  }
  if (runLength > 1) output += RunExponent(runLength);
  output += rest;
  return output;
}

void PrintResults(ResultPrinter& printer, FileTable& files, Dialogs& dialogs, double engineSeconds) {
  files.CloseAll();
  if (!dialogs.AskYesNo(kPrinterReady, kNoticeCaption)) return;
  // jg.dat is read before anything goes to the printer, so that a missing
  // file leaves the document as it was.
  if (!files.OpenForInput(kResultNumber, kResultFile)) {
    dialogs.Tell(kResultFileUnreadable, kNoticeCaption);
    return;
  }
  std::vector<std::string> lines;
  while (!files.AtEnd(kResultNumber)) lines.push_back(files.ReadLine(kResultNumber));
  files.Close(kResultNumber);
  RunResult result = ReadRunResult(lines);
  result.source.seconds = engineSeconds;
  Print(printer, dialogs, {result, WorkingLines(lines), false, {}});
}

void PrintHistoryResult(ResultPrinter& printer, Dialogs& dialogs, const RunResult& result) {
  if (!dialogs.AskYesNo(kPrinterReady, kNoticeCaption)) return;
  Print(printer, dialogs, {result, {}, true, {}});
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
