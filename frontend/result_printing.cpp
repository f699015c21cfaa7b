#include "frontend/result_printing.h"

namespace pfac::frontend {

namespace {

// jg.dat is file 3 while it is read.
constexpr int kResultNumber = 3;
// Characters in one printed piece of a long line.
constexpr size_t kPieceLength = 80;
// Lines 1 to 3 of jg.dat are headers, printed as they stand.
constexpr int kHeaderLines = 3;
// Line 4 is printed as it stands when it holds this mark.
constexpr int kMarkedLine = 4;

constexpr char kResultFileUnreadable[] =
    "找不到或无法读取结果文件 jg.dat，请先双击《双击此处分解》进行分解。\n"
    "(The result file jg.dat is missing or cannot be read; run the engine first.)";
constexpr char kPrinterFailed[] = "打印机出错，没有打印。\n(The printer failed; nothing was printed.)";
constexpr char kPrintedToFile[] = "没有找到打印机，打印结果已存入文件 ";
constexpr char kPrintedToFileEnglish[] = "(No printer was found; the printout is in the file ";

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Prints through the piece printer and remembers the last text it printed.
class PrintRun {
 public:
  explicit PrintRun(ResultPrinter& printer) : printer_(printer) {}

  bool PrintPieces(const std::string& text) {
    for (const std::string& piece : Pieces(text)) {
      if (!PrintLine(piece)) return false;
    }
    lastPrinted_ = text;
    return true;
  }
  bool PrintLine(const std::string& text) { return ok_ = ok_ && printer_.PrintLine(text); }
  bool Ok() const { return ok_; }
  const std::string& LastPrinted() const { return lastPrinted_; }

 private:
  ResultPrinter& printer_;
  std::string lastPrinted_;
  bool ok_ = true;
};

std::string RunExponent(int runLength) { return "^ " + std::to_string(runLength); }

}  // namespace

std::vector<std::string> Pieces(std::string_view text) {
  std::vector<std::string> pieces;
  size_t start = 0;
  size_t characters = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && IsContinuationByte(text[i])) continue;
    // i starts a character, or is the end of the text.
    if (characters == kPieceLength) {
      pieces.emplace_back(text.substr(start, i - start));
      start = i;
      characters = 0;
    }
    ++characters;
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
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

void PrintResults(ResultPrinter& printer, FileTable& files, Dialogs& dialogs) {
  files.CloseAll();
  printer.SetFontName(kPrinterFont);
  if (!dialogs.AskYesNo(kPrinterReady, kNoticeCaption)) return;
  // jg.dat is opened before anything goes to the printer, so that a missing
  // file leaves the document as it was.
  if (!files.OpenForInput(kResultNumber, kResultFile)) {
    dialogs.Tell(kResultFileUnreadable, kNoticeCaption);
    return;
  }

  PrintRun run(printer);
  run.PrintLine("");
  for (int lineCount = 1; run.Ok() && !files.AtEnd(kResultNumber); ++lineCount) {
    const std::string line = files.ReadLine(kResultNumber);
    if (lineCount <= kHeaderLines ||
        (lineCount == kMarkedLine && line.find('[') != std::string::npos)) {
      run.PrintPieces(line);
    } else if (line.find('(') == std::string::npos) {
      run.PrintLine(line);  // never cut, and not remembered as printed
    } else {
      const std::string output = CollapseFactors(line);
      if (output != run.LastPrinted()) run.PrintPieces(output);
    }
  }
  files.Close(kResultNumber);
  run.PrintLine("");
  if (!run.Ok()) {
    printer.DiscardDocument();
    dialogs.Tell(kPrinterFailed + ("\n" + printer.LastError()), kNoticeCaption);
    return;
  }

  if (dialogs.AskYesNo(kPrintNow, kNoticeCaption)) EndOpenDocument(printer, dialogs);
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
