// The graph of y = f(x) for a polynomial in one letter, as a class draws it:
// a view that holds every real root and every point where the graph turns,
// the axes with a few labelled ticks, the curve, and each real root marked
// on the x-axis with its value (exact where it is rational or given, else to
// three decimals) and its multiplicity. One painter serves the panel, the
// picture file of pfac --graph and the printed page.
#pragma once

#include <QRectF>
#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/exact/real_roots.h"
#include "frontend/results/run_result.h"

class QPainter;

namespace pfac::frontend {

// Roots beyond this many are counted on the picture, not each labelled.
inline constexpr int kMostLabelledRoots = 12;

// Said beside a graph without a real root, and above one with too many to label.
inline constexpr char kNoRealRoot[] = "没有实根 / no real root";
inline constexpr char kRootsCounted[] = "%1 个实根, 不逐个标出 / %1 real roots, not labelled one by one";

// What the picture shows of a polynomial.
struct GraphData {
  char letter = 'x';     // the polynomial's letter, the horizontal axis
  QString title;         // "y = x³ − x"
  exact::RealRootsFound roots;
};

// The graph of p (a polynomial in the one letter `letters`), its roots found
// exactly; `labels` replace the labels of the roots they match. The title
// writes the polynomial as typed (`typed`, brackets kept) where that is
// known. nullopt with the reason in *why (in Chinese and English) for a
// polynomial in another number of letters or a constant.
std::optional<GraphData> GraphOf(const format::RationalPolynomial& p, const std::string& letters,
                                 const std::vector<exact::RootLabel>& labels, std::string* why,
                                 std::string_view typed = {});

// The real roots as a line: "实根 / real roots: −2, 1 (二重根)", or kNoRealRoot.
QString RootsShown(const exact::RealRootsFound& roots);

// The roots of p (in one letter) that the factorisation over the reals
// gives, as labels: "1 − √2", "−√3/2" (and the rational ones as they stand).
std::vector<exact::RootLabel> SquareRootLabels(const format::RationalPolynomial& p);

// The graph of a run's answer when the polynomial is in one letter and the
// run gave an answer, `labels` in place of the decimals of the roots they
// match, and over the reals the roots with square roots as the answer writes
// them; nullopt with the reason in *why otherwise.
std::optional<GraphData> GraphOfResult(const RunResult& result, std::string* why,
                                       const std::vector<exact::RootLabel>& labels = {});

// Graphs are drawn up to this degree: beyond it, the exact isolation of the
// roots may take longer than anyone waits for a picture.
inline constexpr int kMostGraphDegree = 1000;
inline constexpr char kDegreeTooHigh[] = "次数超过 1000, 不画图像 / a degree above 1000 has no graph here";

// Said of a polynomial in more than one letter, or none.
inline constexpr char kNotOneLetter[] =
    "只能画一元多项式的图像 / only a polynomial in one letter has a graph y = f(x)";

// The part of the plane shown.
struct GraphView {
  double xMin = -1, xMax = 1, yMin = -1, yMax = 1;
};

// f at x, from the coefficients rounded to doubles (for drawing only).
double ValueAt(const exact::RealRootsFound& roots, double x);

// Every real root and turning point inside, with a margin; the y-axis too
// when it is near; from the x-axis to the values at the turning points, and
// on to the curve's ends where they are not far beyond.
GraphView ChooseView(const exact::RealRootsFound& roots);

// Where the plot stands in a picture, with room for the title (when the
// picture has one) and the tick labels in letters `fontPixels` high, and
// where a point of the view falls.
class GraphFrame {
 public:
  GraphFrame(const QRectF& picture, const GraphView& view, double fontPixels, bool titled = true);
  const QRectF& Plot() const { return plot_; }
  const GraphView& View() const { return view_; }
  QPointF At(double x, double y) const;

 private:
  QRectF plot_;
  GraphView view_;
};

// The colours a test finds the picture's parts by.
inline constexpr unsigned kAxisColour = 0x000000;
inline constexpr unsigned kCurveColour = 0x1f5fbf;
inline constexpr unsigned kRootColour = 0xd01818;

// The graph painted into `picture` on a white ground, under its title unless
// `titled` is false (where the polynomial stands just above it).
void PaintGraph(QPainter& painter, const QRectF& picture, const GraphData& graph, double fontPixels,
                bool titled = true);

// The picture of pfac --graph: 1200 x 800 pixels in a PNG file, or a page
// of 180 x 120 mm in a PDF file, by the name's ending. False with the reason
// in *error.
inline constexpr int kPictureWidth = 1200;
inline constexpr int kPictureHeight = 800;
inline constexpr double kPictureFontPixels = 26;
bool SaveGraph(const GraphData& graph, const QString& file, QString* error);
// Whether the file's name ends as a picture SaveGraph writes; false with the
// reason in *error.
bool GraphFileNamed(const QString& file, QString* error);

}  // namespace pfac::frontend
