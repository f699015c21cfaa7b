// The printed page, a worksheet on A4: a title line with the date, then each
// result printed in the session, one under another: the polynomial and its
// factorisation as the main window shows them, the certificate, under
// "解题步骤 / steps" the steps of the factorisation, and under
// "解题过程 / the search's working" the run's lines of jg.dat. The page is laid
// out first, as texts with the places they take, and painted afterwards, so
// that what the page will hold can be checked before anything is painted.
#pragma once

#include <QLineF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "frontend/printing/result_printer.h"
#include "frontend/results/line_breaking.h"
#include "frontend/results/result_presentation.h"

class QDate;
class QFont;
class QPaintDevice;
class QPainter;
class QPrinter;

namespace pfac::frontend {

inline constexpr char kWorksheetTitle[] = "因式分解";
inline constexpr char kWorkingHeading[] = "解题过程 / the search's working";
// The worksheet of problems and its answer key.
inline constexpr char kProblemSheetTitle[] = "因式分解练习 / worksheet";
inline constexpr char kProblemSheetTask[] = "在有理数域上分解因式 / Factor over the rationals:";
inline constexpr char kProblemSheetTaskReal[] = "在实数范围内分解因式 / Factor over the reals:";
inline constexpr char kAnswerKeyTitle[] = "答案 / answer key";

// The kinds of text on the page, each in a font of its own.
enum class WorksheetStyle {
  Title,    // "因式分解"
  Date,     // the date, at the right end of the title line
  Result,   // the polynomial and its factorisation
  Note,     // the certificate and the engine's notes
  Heading,  // "解题步骤 / steps", "解题过程 / the search's working"
  Step,     // a step of the factorisation, or a part of one
  Working,  // a line of jg.dat, or a part of one
};

struct WorksheetText {
  WorksheetStyle style;
  QString text;
  QRectF box;        // where it stands on its page, in the device's units
  int result = -1;   // the result (or problem) it belongs to, counted from 0; -1 on the title line
  int line = -1;     // of the working: the line of jg.dat it is (a part of)
};

// A graph of y = f(x) on the page.
struct WorksheetGraph {
  QRectF box;
  int result = -1;  // the result (or problem) it belongs to, counted from 0
  GraphData graph;
};

struct WorksheetPage {
  std::vector<WorksheetText> texts;
  std::vector<QLineF> rules;  // under the title, and between two results
  std::vector<WorksheetGraph> graphs;
};

struct Worksheet {
  QRectF paper;     // the sheet
  QRectF textArea;  // what lies inside the margins
  std::vector<WorksheetPage> pages;
};

QFont WorksheetFont(WorksheetStyle style);

// The date as the title line gives it: "2025年3月14日".
QString WorksheetDate(const QDate& date);

// The printer's page made ready for the worksheet: A4 upright, positions
// counted from the sheet's corner.
void SetUpWorksheetPage(QPrinter& printer);

// The results on pages of the sheet (in the device's units). Each page begins
// with the title line; a result goes on the page as long as there is room,
// its factorisation, certificate and steps together (where they fit on a
// page), the first lines of its working with their heading,
// and a new page begins only when the page is full. Every line stays within
// the margins, and a long line breaks where it may (BreakLines), never inside
// a term.
Worksheet LayOutWorksheet(const std::vector<PrintedResult>& results, const QString& date, QPaintDevice& device,
                          const QRectF& paper);

// One problem of a worksheet: the polynomial as a student writes it, and for
// the key its answer (the polynomial and its factorisation, or what became of
// it) with notes in words, and when asked its steps and graph.
struct SheetProblem {
  Breakable problem;
  Breakable answer;
  std::vector<std::string> notes;
  std::vector<Breakable> steps;  // the steps of the answer, when the key shows them
  std::optional<GraphData> graph = {};  // the answer's graph, when the key shows it
  bool refused = false;          // the line could not be read: not a problem for the pupils
  int line = 0;                  // its line in the list, counted from 1
};

// The problems numbered on the first page(s), each with room to write under
// it, after the task; then, from a new page, the answer key: each number with
// its answer, notes and steps (when there are any), on one page where they
// fit on one. A refused line is no problem for the pupils: it is left off the
// problem page (the numbers go on without it) and listed at the end of the
// key, by its line in the list, with the reason. Titles, dates, margins and fonts as the printout's.
// The task line names the field the sheet is factored over.
Worksheet LayOutProblemSheet(const std::vector<SheetProblem>& problems, const QString& date, QPaintDevice& device,
                             const QRectF& paper, Field field = Field::kRational);

// Paints the pages; false when the printer could not begin a new page.
bool PaintWorksheet(const Worksheet& sheet, QPainter& painter, QPrinter& printer);

}  // namespace pfac::frontend
