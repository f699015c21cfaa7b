#include "frontend/printing/page_layout.h"

#include "frontend/results/result_steps.h"
#include "frontend/results/text_widths.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace pfac::frontend {

namespace {

// Margins of the sheet, in millimetres: at least 20 all round, and a little
// more, since a glyph may reach past its advance and its line.
constexpr double kSideMargin = 22;
constexpr double kTopMargin = 22;
constexpr double kBottomMargin = 22;
// Space, in millimetres: under the title line's rule, between two results,
// before the working's heading, and the indent of a continued line.
constexpr double kAfterTitle = 6;
constexpr double kBetweenResults = 9;
constexpr double kBeforeHeading = 3;
constexpr double kContinuedIndent = 6;
// The lines of the working that stay on the page with their result, and at
// the end of the working the lines that stay together, so that no line of
// the working stands alone at the top or the bottom of a page.
constexpr size_t kWorkingKeptTogether = 2;
// Sizes in points; the result is set no smaller than 14 points.
constexpr double kTitleSize = 16;
constexpr double kDateSize = 11;
constexpr double kResultSize = 15;
constexpr double kNoteSize = 10;
constexpr double kHeadingSize = 10.5;
constexpr double kStepSize = 11;
constexpr double kWorkingSize = 8.5;
// Rules, in millimetres wide.
constexpr double kRuleWidth = 0.3;
// A worksheet of problems: the room left under each problem to write the
// answer in, and the space after each answer of the key, in millimetres.
constexpr double kAnswerRoom = 16;
constexpr double kAfterAnswer = 4;
// A graph on paper, in millimetres, and its letters in points.
constexpr double kGraphWidth = 120;
constexpr double kGraphHeight = 75;
constexpr double kGraphLetters = 8;

// The lines of one result before they are placed: their style, text and
// indent, and the line of jg.dat they come from.
struct PendingLine {
  WorksheetStyle style;
  QString text;
  double indent;
  int line;
  double gapBefore;  // space before it, in the device's units
  QString label = {};  // set at the left margin on the same line: a problem's number
  const GraphData* graph = nullptr;  // a graph in the place of a text
};

// Lines that go on one page: the factorisation with its certificate and the
// first lines of its working, a line of jg.dat broken into parts, the last
// lines of the working.
using Block = std::vector<PendingLine>;

// Lays out page by page, top to bottom.
class PageFiller {
 public:
  PageFiller(Worksheet& sheet, const QString& date, QPaintDevice& device,
             QString title = QString::fromUtf8(kWorksheetTitle))
      : sheet_(sheet), date_(date), device_(device), title_(std::move(title)) {}

  void SetTitle(QString title) { title_ = std::move(title); }

  double Height(WorksheetStyle style) const { return Metrics(style).lineSpacing(); }
  double Height(const PendingLine& line) const {
    return line.graph != nullptr ? Millimetres(kGraphHeight) : Height(line.style);
  }
  double Height(const Block& block) const {
    double height = 0;
    for (const PendingLine& line : block) height += line.gapBefore + Height(line);
    return height;
  }
  double Width(WorksheetStyle style, const QString& text) const { return Metrics(style).horizontalAdvance(text); }
  QFontMetricsF Metrics(WorksheetStyle style) const { return QFontMetricsF(WorksheetFont(style), &device_); }

  bool PageHasResults() const { return hasResults_; }
  double Room() const { return sheet_.textArea.bottom() - y_; }

  void NewPage() {
    sheet_.pages.emplace_back();
    const QRectF& area = sheet_.textArea;
    y_ = area.top();
    // The date sits on the title's baseline, at the right margin.
    const double dateWidth = Width(WorksheetStyle::Date, date_);
    const double dateTop = y_ + Metrics(WorksheetStyle::Title).ascent() - Metrics(WorksheetStyle::Date).ascent();
    Page().texts.push_back({WorksheetStyle::Date, date_,
                            QRectF(area.right() - dateWidth, dateTop, dateWidth, Height(WorksheetStyle::Date)), -1, -1});
    Put(WorksheetStyle::Title, title_, area.left(), -1, -1);
    Rule();
    y_ += Millimetres(kAfterTitle);
    hasResults_ = false;
  }

  // The blocks of one result, each on one page where it fits on one.
  void PlaceResult(const std::vector<Block>& blocks, int result) {
    const double between = Millimetres(kBetweenResults);
    if (hasResults_ && Room() < between + Height(blocks.front())) NewPage();
    if (hasResults_) {
      y_ += between / 2;
      Rule();
      y_ += between / 2;
    }
    hasResults_ = true;
    bool pageTop = false;  // no space before a line at the top of a page
    for (const Block& block : blocks) {
      if (Room() < Height(block) && !pageTop) {
        NewPage();
        hasResults_ = true;
        pageTop = true;
      }
      // A block taller than a page goes on line by line.
      for (const PendingLine& line : block) PlaceLine(line, result, line.line, &pageTop);
    }
  }

  // A numbered block, on the page where it fits whole, with room after it;
  // one taller than a page (an answer with many steps) goes on line by line.
  void PlaceNumbered(const Block& block, int index, double roomAfter) {
    if (Room() < Height(block) && hasResults_) NewPage();
    hasResults_ = true;
    bool pageTop = true;
    for (const PendingLine& line : block) PlaceLine(line, index, -1, &pageTop);
    y_ += roomAfter;
  }

  // A line across the page's text area, as under the title.
  void Line(WorksheetStyle style, const QString& text) {
    Put(style, text, sheet_.textArea.left(), -1, -1);
    y_ += Millimetres(kAfterTitle) / 2;
  }

  double Millimetres(double mm) const { return mm * device_.logicalDpiY() / 25.4; }

 private:
  WorksheetPage& Page() { return sheet_.pages.back(); }

  // A line of a block below the last, or at the top of a new page where this
  // one has no room for it; no space before it at the top of a page
  // (*pageTop). Its label, if any, at the left margin beside it.
  void PlaceLine(const PendingLine& line, int result, int fileLine, bool* pageTop) {
    if (Room() < (*pageTop ? 0 : line.gapBefore) + Height(line)) {
      NewPage();
      hasResults_ = true;
      *pageTop = true;
    }
    if (!*pageTop) y_ += line.gapBefore;
    *pageTop = false;
    if (line.graph != nullptr) {
      const QRectF box(sheet_.textArea.left() + line.indent, y_, Millimetres(kGraphWidth), Height(line));
      Page().graphs.push_back({box, result, *line.graph});
      y_ += box.height();
      return;
    }
    if (!line.label.isEmpty()) {
      Page().texts.push_back({line.style, line.label,
                              QRectF(sheet_.textArea.left(), y_, Width(line.style, line.label), Height(line.style)),
                              result, -1});
    }
    Put(line.style, line.text, sheet_.textArea.left() + line.indent, result, fileLine);
  }

  void Put(WorksheetStyle style, const QString& text, double left, int result, int line) {
    const double height = Height(style);
    Page().texts.push_back({style, text, QRectF(left, y_, Width(style, text), height), result, line});
    y_ += height;
  }

  void Rule() {
    y_ += Millimetres(1.5);
    Page().rules.emplace_back(sheet_.textArea.left(), y_, sheet_.textArea.right(), y_);
    y_ += Millimetres(kRuleWidth);
  }

  Worksheet& sheet_;
  QString date_;
  QPaintDevice& device_;
  QString title_;
  double y_ = 0;
  bool hasResults_ = false;
};

// A text broken into lines of the width in a style.
std::vector<QString> Broken(const Breakable& text, double width, const PageFiller& filler, WorksheetStyle style) {
  std::vector<QString> lines;
  for (const std::string& line : BreakLines(text, width, WidthsIn(filler.Metrics(style)))) {
    lines.push_back(QString::fromStdString(line));
  }
  return lines;
}

// The text with each "-" set as a minus sign, as print sets it.
Breakable WithMinusSigns(Breakable text) {
  static const std::string kMinus = "\u2212";
  for (size_t at = text.text.find('-'); at != std::string::npos; at = text.text.find('-', at + kMinus.size())) {
    text.text.replace(at, 1, kMinus);
  }
  for (Breakable& part : text.parts) part = WithMinusSigns(std::move(part));
  return text;
}

// A step, its continued parts indented.
void AddStep(Block* block, const Breakable& step, const PageFiller& filler, double width, double indent,
             double left = 0) {
  bool first = true;
  for (const QString& piece : Broken(WithMinusSigns(step), width - indent, filler, WorksheetStyle::Step)) {
    block->push_back({WorksheetStyle::Step, piece, left + (first ? 0 : indent), -1, 0});
    first = false;
  }
}

// One result's blocks: the factorisation, the notes and the steps; the
// working's heading and its first lines; each line of the
// working, its continued parts indented; the last lines of the working
// together.
std::vector<Block> ResultBlocks(const PrintedResult& printed, const PageFiller& filler, double width) {
  Block head;
  const Breakable shown = WithMinusSigns(printed.result.presentation.shown);
  for (const QString& text : Broken(shown, width, filler, WorksheetStyle::Result)) {
    head.push_back({WorksheetStyle::Result, text, 0, -1, 0});
  }
  double gap = filler.Millimetres(1.5);
  std::vector<std::string> notes = printed.result.notes;
  if (printed.fromHistory) notes.push_back(kPrintedFromHistory);
  for (const std::string& note : notes) {
    for (const QString& text : Broken(ProseText(note), width, filler, WorksheetStyle::Note)) {
      head.push_back({WorksheetStyle::Note, text, 0, -1, gap});
      gap = 0;
    }
  }
  // The steps stay with the factorisation they explain.
  const double indent = filler.Millimetres(kContinuedIndent);
  if (!printed.steps.empty()) {
    head.push_back({WorksheetStyle::Heading, QString::fromUtf8(kStepsHeading), 0, -1, filler.Millimetres(kBeforeHeading)});
    for (const Breakable& step : printed.steps) AddStep(&head, step, filler, width, indent);
  }
  if (printed.graph) head.push_back({WorksheetStyle::Step, {}, 0, -1, filler.Millimetres(kBeforeHeading), {}, &*printed.graph});
  std::vector<Block> blocks{head};
  const size_t count = printed.working.size();
  if (count == 0) return blocks;
  Block heading{
      {WorksheetStyle::Heading, QString::fromUtf8(kWorkingHeading), 0, -1, filler.Millimetres(kBeforeHeading)}};
  blocks.push_back(std::move(heading));

  const size_t tail = count > 2 * kWorkingKeptTogether ? count - kWorkingKeptTogether : kWorkingKeptTogether;
  for (size_t i = 0; i < count; ++i) {
    Block line;
    const Breakable text = ResultFileLine(printed.working[i], i == 0);
    for (const QString& piece : Broken(text, width - indent, filler, WorksheetStyle::Working)) {
      line.push_back({WorksheetStyle::Working, piece, line.empty() ? 0 : indent, static_cast<int>(i), 0});
    }
    // The first lines go with the head, the last ones together.
    if (i < kWorkingKeptTogether || i > tail) {
      blocks.back().insert(blocks.back().end(), line.begin(), line.end());
    } else {
      blocks.push_back(std::move(line));
    }
  }
  return blocks;
}

// A numbered block: the first line of the text beside its number, the rest
// under it at the same indent, then the notes.
Block Numbered(const QString& label, const Breakable& text, const std::vector<std::string>& notes,
               const std::vector<Breakable>& steps, const PageFiller& filler, double width,
               const GraphData* graph = nullptr) {
  const double indent = filler.Width(WorksheetStyle::Result, QStringLiteral("000. "));
  Block block;
  for (const QString& line : Broken(WithMinusSigns(text), width - indent, filler, WorksheetStyle::Result)) {
    block.push_back({WorksheetStyle::Result, line, indent, -1, 0, block.empty() ? label : QString()});
  }
  double gap = filler.Millimetres(1);
  for (const std::string& note : notes) {
    for (const QString& line : Broken(ProseText(note), width - indent, filler, WorksheetStyle::Note)) {
      block.push_back({WorksheetStyle::Note, line, indent, -1, gap});
      gap = 0;
    }
  }
  for (const Breakable& step : steps) {
    AddStep(&block, step, filler, width - indent, filler.Millimetres(kContinuedIndent), indent);
  }
  if (graph != nullptr) block.push_back({WorksheetStyle::Step, {}, indent, -1, filler.Millimetres(1), {}, graph});
  return block;
}

}  // namespace

QFont WorksheetFont(WorksheetStyle style) {
  // The family for Latin letters and digits; Chinese comes from the font
  // after it.
  struct Face {
    const char* family;
    double points;
    bool bold;
  };
  Face face{"DejaVu Sans", kNoteSize, false};
  switch (style) {
    case WorksheetStyle::Title: face = {"DejaVu Sans", kTitleSize, true}; break;
    case WorksheetStyle::Date: face = {"DejaVu Sans", kDateSize, false}; break;
    case WorksheetStyle::Result: face = {"DejaVu Serif", kResultSize, false}; break;
    case WorksheetStyle::Note: break;
    case WorksheetStyle::Heading: face = {"DejaVu Sans", kHeadingSize, true}; break;
    case WorksheetStyle::Step: face = {"DejaVu Serif", kStepSize, false}; break;
    case WorksheetStyle::Working: face = {"DejaVu Sans Mono", kWorkingSize, false}; break;
  }
  QFont font;
  font.setFamilies({QString::fromLatin1(face.family), QStringLiteral("WenQuanYi Micro Hei")});
  font.setPointSizeF(face.points);
  font.setBold(face.bold);
  return font;
}

QString WorksheetDate(const QDate& date) {
  return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

void SetUpWorksheetPage(QPrinter& printer) {
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(kSideMargin, kTopMargin, kSideMargin, kBottomMargin),
                                    QPageLayout::Millimeter));
  printer.setFullPage(true);
}

Worksheet LayOutWorksheet(const std::vector<PrintedResult>& results, const QString& date, QPaintDevice& device,
                          const QRectF& paper) {
  Worksheet sheet;
  sheet.paper = paper;
  PageFiller filler(sheet, date, device);
  sheet.textArea = paper.adjusted(filler.Millimetres(kSideMargin), filler.Millimetres(kTopMargin),
                                  -filler.Millimetres(kSideMargin), -filler.Millimetres(kBottomMargin));
  filler.NewPage();
  for (size_t i = 0; i < results.size(); ++i) {
    filler.PlaceResult(ResultBlocks(results[i], filler, sheet.textArea.width()), static_cast<int>(i));
  }
  return sheet;
}

Worksheet LayOutProblemSheet(const std::vector<SheetProblem>& problems, const QString& date, QPaintDevice& device,
                             const QRectF& paper, Field field) {
  Worksheet sheet;
  sheet.paper = paper;
  PageFiller filler(sheet, date, device, QString::fromUtf8(kProblemSheetTitle));
  sheet.textArea = paper.adjusted(filler.Millimetres(kSideMargin), filler.Millimetres(kTopMargin),
                                  -filler.Millimetres(kSideMargin), -filler.Millimetres(kBottomMargin));
  const double width = sheet.textArea.width();
  filler.NewPage();
  filler.Line(WorksheetStyle::Heading,
              QString::fromUtf8(field == Field::kReal ? kProblemSheetTaskReal : kProblemSheetTask));
  int number = 0;
  for (size_t i = 0; i < problems.size(); ++i) {
    if (problems[i].refused) continue;
    filler.PlaceNumbered(Numbered(QStringLiteral("%1.").arg(++number), problems[i].problem, {}, {}, filler, width),
                         static_cast<int>(i), filler.Millimetres(kAnswerRoom));
  }
  filler.SetTitle(QString::fromUtf8(kAnswerKeyTitle));
  filler.NewPage();
  number = 0;
  for (size_t i = 0; i < problems.size(); ++i) {
    if (problems[i].refused) continue;
    filler.PlaceNumbered(Numbered(QStringLiteral("%1.").arg(++number), problems[i].answer, problems[i].notes,
                                  problems[i].steps, filler, width,
                                  problems[i].graph ? &*problems[i].graph : nullptr),
                         static_cast<int>(i), filler.Millimetres(kAfterAnswer));
  }
  for (size_t i = 0; i < problems.size(); ++i) {
    if (!problems[i].refused) continue;
    const std::string where = QStringLiteral("第 %1 行 / line %1: ").arg(problems[i].line).toStdString();
    filler.PlaceNumbered(Numbered(QString(), Node({ProseText(where), problems[i].problem}), problems[i].notes, {},
                                  filler, width),
                         static_cast<int>(i), filler.Millimetres(kAfterAnswer));
  }
  return sheet;
}

bool PaintWorksheet(const Worksheet& sheet, QPainter& painter, QPrinter& printer) {
  const double mm = printer.logicalDpiY() / 25.4;
  for (size_t p = 0; p < sheet.pages.size(); ++p) {
    if (p > 0 && !printer.newPage()) return false;
    const WorksheetPage& page = sheet.pages[p];
    painter.setPen(QPen(Qt::black, kRuleWidth * mm));
    for (const QLineF& rule : page.rules) painter.drawLine(rule);
    for (const WorksheetGraph& graph : page.graphs) {
      PaintGraph(painter, graph.box, graph.graph, kGraphLetters / 72 * printer.logicalDpiY());
    }
    for (const WorksheetText& text : page.texts) {
      const QFont font = WorksheetFont(text.style);
      painter.setFont(font);
      painter.setPen(text.style == WorksheetStyle::Note || text.style == WorksheetStyle::Working
                         ? QColor(0x30, 0x30, 0x30)
                         : QColor(Qt::black));
      const double ascent = QFontMetricsF(font, &printer).ascent();
      painter.drawText(QPointF(text.box.left(), text.box.top() + ascent), text.text);
    }
  }
  return true;
}

}  // namespace pfac::frontend
