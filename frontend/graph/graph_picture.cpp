#include "frontend/graph/graph_picture.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "engine/exact/real_split.h"
#include "frontend/results/result_presentation.h"

namespace pfac::frontend {

namespace {

// Samples of the curve across the view, for the heights of its ends.
constexpr int kViewSamples = 512;
// Ticks on an axis: about this many, at 1, 2 or 5 times a power of ten.
constexpr double kTicksWanted = 6;

// The minus sign a student writes, in place of the hyphen.
QString StudentMinus(QString text) { return text.replace(QLatin1Char('-'), QChar(0x2212)); }

QColor Colour(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

// A multiplicity as a class says it: 二重根, 三重根, ..., 十重根, then 11 重根.
QString MultiplicityWords(int multiplicity) {
  static const QString numerals = QStringLiteral("二三四五六七八九十");
  if (multiplicity <= 10) return numerals.mid(multiplicity - 2, 1) + QStringLiteral("重根");
  return QStringLiteral("%1 重根").arg(multiplicity);
}

// A root's label with its multiplicity: "1 (二重根)".
QString LabelText(const exact::LabelledRoot& root) {
  QString text = QString::fromStdString(root.label);
  if (root.multiplicity > 1) text += QStringLiteral(" (%1)").arg(MultiplicityWords(root.multiplicity));
  return text;
}

double NiceStep(double span) {
  const double raw = span / kTicksWanted;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double r = raw / power;
  return (r < 1.5 ? 1 : r < 3 ? 2 : r < 7 ? 5 : 10) * power;
}

// The ticks of [low, high] at multiples of the step, 0 among them; a few at
// the most, where the view is too narrow for its place to be told apart.
std::vector<double> Ticks(double low, double high) {
  const double step = NiceStep(high - low);
  std::vector<double> ticks;
  const double first = std::ceil(low / step);
  for (int i = 0; i < 4 * kTicksWanted && std::isfinite(first) && (first + i) * step <= high; ++i) {
    ticks.push_back((first + i) * step);
  }
  return ticks;
}

// A tick's number: as it stands where that is short (0.5, −2, 150), else a
// multiple of a power of ten as a class writes it (3×10⁶).
QString TickText(double value, double step) {
  if (step >= 1e5 || step < 1e-4) {
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const double mantissa = value / std::pow(10.0, exponent);
    return StudentMinus(QString::number(mantissa, 'g', 3)) + QString::fromStdString(exact::TimesPowerOfTen(exponent));
  }
  return StudentMinus(QString::number(value, 'g', 10));
}

QFont GraphFont(double pixels, bool bold = false) {
  QFont font;
  font.setFamilies({QStringLiteral("DejaVu Serif"), QStringLiteral("WenQuanYi Micro Hei")});
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setBold(bold);
  return font;
}

// A text with a white ground under it, so that grid lines and the curve do not cross it.
void Label(QPainter& painter, const QRectF& box, const QString& text, const QColor& colour) {
  painter.fillRect(box, Qt::white);
  painter.setPen(colour);
  painter.drawText(box, Qt::AlignCenter, text);
}

void Arrow(QPainter& painter, QPointF tip, QPointF direction, double size) {
  const QPointF side(-direction.y(), direction.x());
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip - direction * size + side * size * 0.45);
  head.lineTo(tip - direction * size - side * size * 0.45);
  head.closeSubpath();
  painter.fillPath(head, Colour(kAxisColour));
}

// Draws the grid, the axes and their ticks; returns the boxes of the ticks'
// labels, which the roots' labels keep clear of.
std::vector<QRectF> PaintAxes(QPainter& painter, const GraphFrame& frame, double font) {
  std::vector<QRectF> labels;
  const QRectF& plot = frame.Plot();
  const GraphView& view = frame.View();
  const double thin = std::max(1.0, font / 18);
  const QFontMetricsF metrics(painter.font());
  const std::vector<double> xTicks = Ticks(view.xMin, view.xMax), yTicks = Ticks(view.yMin, view.yMax);

  // A light grid at the ticks.
  painter.setPen(QPen(QColor(0xe4, 0xe4, 0xe4), thin));
  for (double x : xTicks) painter.drawLine(QPointF(frame.At(x, 0).x(), plot.top()), QPointF(frame.At(x, 0).x(), plot.bottom()));
  for (double y : yTicks) painter.drawLine(QPointF(plot.left(), frame.At(0, y).y()), QPointF(plot.right(), frame.At(0, y).y()));

  // The x-axis is always in view; the y-axis where x = 0 is, else the ticks
  // of y stand at the plot's left edge.
  const bool yAxisShown = view.xMin < 0 && view.xMax > 0;
  const double axisY = frame.At(0, 0).y();
  const double axisX = yAxisShown ? frame.At(0, 0).x() : plot.left();
  const double axisWidth = std::max(1.5, font / 11);
  painter.setPen(QPen(Colour(kAxisColour), axisWidth));
  painter.drawLine(QPointF(plot.left(), axisY), QPointF(plot.right(), axisY));
  Arrow(painter, QPointF(plot.right(), axisY), QPointF(1, 0), font * 0.6);
  if (yAxisShown) {
    painter.drawLine(QPointF(axisX, plot.bottom()), QPointF(axisX, plot.top()));
    Arrow(painter, QPointF(axisX, plot.top()), QPointF(0, -1), font * 0.6);
  }

  const double tick = font * 0.25;
  const QColor ink(0x30, 0x30, 0x30);
  for (double x : xTicks) {
    const double px = frame.At(x, 0).x();
    // None at the origin, nor under the axis's letter at its end.
    if (std::fabs(x) < 1e-12 * (view.xMax - view.xMin) || px > plot.right() - font * 2) continue;
    painter.setPen(QPen(Colour(kAxisColour), thin));
    painter.drawLine(QPointF(px, axisY - tick), QPointF(px, axisY + tick));
    const QString text = TickText(x, xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1);
    const double w = metrics.horizontalAdvance(text) + 4;
    labels.emplace_back(px - w / 2, axisY + tick + 1, w, metrics.height());
    Label(painter, labels.back(), text, ink);
  }
  // The labels of y left of the axis where there is room for the widest, else right of it.
  double widest = 0;
  for (double y : yTicks) {
    widest = std::max(widest, metrics.horizontalAdvance(TickText(y, yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1)));
  }
  const bool roomLeft = yAxisShown && axisX - tick - 6 - widest >= plot.left() - font;
  for (double y : yTicks) {
    const double py = frame.At(0, y).y();
    if (std::fabs(y) < 1e-12 * (view.yMax - view.yMin) || py < plot.top() + font) continue;
    painter.setPen(QPen(Colour(kAxisColour), thin));
    painter.drawLine(QPointF(axisX - tick, py), QPointF(axisX + tick, py));
    const QString text = TickText(y, yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1);
    const double w = metrics.horizontalAdvance(text) + 4;
    const double left = roomLeft ? axisX - tick - 2 - w : axisX + tick + 2;
    labels.emplace_back(left, py - metrics.height() / 2, w, metrics.height());
    Label(painter, labels.back(), text, ink);
  }
  // The origin, and the axes' letters.
  if (yAxisShown) {
    const double w = metrics.horizontalAdvance(QStringLiteral("O")) + 4;
    labels.emplace_back(axisX - w - 2, axisY + 2, w, metrics.height());
    Label(painter, labels.back(), QStringLiteral("O"), ink);
  }
  return labels;
}

void PaintAxisLetters(QPainter& painter, const GraphFrame& frame, const GraphData& graph, double font) {
  const QRectF& plot = frame.Plot();
  const GraphView& view = frame.View();
  QFont italic = GraphFont(font);
  italic.setItalic(true);
  painter.setFont(italic);
  painter.setPen(Colour(kAxisColour));
  // The letter of the x-axis on the side the curve leaves free at the end.
  const double axisY = frame.At(0, 0).y();
  const bool curveAbove = ValueAt(graph.roots, view.xMax) > 0;
  painter.drawText(QRectF(plot.right() - font * 1.6, curveAbove ? axisY + font * 0.3 : axisY - font * 1.7, font * 1.2,
                          font * 1.3),
                   Qt::AlignCenter, QString(QChar::fromLatin1(graph.letter)));
  if (view.xMin < 0 && view.xMax > 0) {
    const double axisX = frame.At(0, 0).x();
    painter.drawText(QRectF(axisX + font * 0.5, plot.top() - font * 0.2, font * 1.6, font * 1.3),
                     Qt::AlignLeft | Qt::AlignVCenter, graph.letter == 'y' ? QStringLiteral("f") : QStringLiteral("y"));
  }
}

void PaintCurve(QPainter& painter, const GraphFrame& frame, const exact::RealRootsFound& roots, double font) {
  const QRectF& plot = frame.Plot();
  const GraphView& view = frame.View();
  // Heights far beyond the plot are held a plot's height away: the clip cuts
  // them, and the painter never meets a coordinate too large to draw.
  const double far = plot.height();
  const int samples = std::max(400, static_cast<int>(plot.width()) * 2);
  QPainterPath path;
  for (int i = 0; i <= samples; ++i) {
    const double x = view.xMin + (view.xMax - view.xMin) * i / samples;
    QPointF point = frame.At(x, ValueAt(roots, x));
    if (!std::isfinite(point.y())) point.setY(point.y() > 0 ? plot.bottom() + far : plot.top() - far);
    point.setY(std::clamp(point.y(), plot.top() - far, plot.bottom() + far));
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  painter.save();
  painter.setClipRect(plot);
  painter.setPen(QPen(Colour(kCurveColour), std::max(2.0, font / 8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(path);
  painter.restore();
}

// Each root marked on the x-axis, a ring round a repeated one; with at most
// kMostLabelledRoots roots, each labelled beside its mark on the side the
// curve leaves free, clear of the labels placed before it and of the ticks'
// labels (`taken`) where there is room.
void PaintRoots(QPainter& painter, const GraphFrame& frame, const exact::RealRootsFound& roots, double font,
                const std::vector<QRectF>& taken) {
  const QRectF& plot = frame.Plot();
  const double dot = std::max(3.0, font * 0.28);
  painter.setPen(Qt::NoPen);
  for (const exact::LabelledRoot& root : roots.roots) {
    const QPointF at = frame.At(root.value, 0);
    painter.setBrush(Colour(kRootColour));
    painter.drawEllipse(at, dot, dot);
    if (root.multiplicity > 1) {
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(Colour(kRootColour), std::max(1.5, font / 12)));
      painter.drawEllipse(at, dot * 2, dot * 2);
      painter.setPen(Qt::NoPen);
    }
  }
  if (static_cast<int>(roots.roots.size()) > kMostLabelledRoots) return;

  painter.setFont(GraphFont(font, true));
  const QFontMetricsF metrics(painter.font());
  // A step to either side of a root, to see where the curve goes.
  const double h = (frame.View().xMax - frame.View().xMin) / 200;
  std::vector<QRectF> placed;
  for (const exact::LabelledRoot& root : roots.roots) {
    const QString text = LabelText(root);
    const QSizeF size(metrics.horizontalAdvance(text) + font * 0.4, metrics.height());
    const QPointF at = frame.At(root.value, 0);
    const double gap = dot * 2.2;
    const QRectF upperLeft(at.x() - gap - size.width(), at.y() - gap - size.height(), size.width(), size.height());
    const QRectF upperRight(at.x() + gap, at.y() - gap - size.height(), size.width(), size.height());
    // Below the axis, under the line of the ticks' labels.
    const double below = at.y() + font * 0.25 + font * 1.05;
    const QRectF lowerLeft(at.x() - gap - size.width(), below, size.width(), size.height());
    const QRectF lowerRight(at.x() + gap, below, size.width(), size.height());
    // Where the curve is: rising through the root it fills the upper right
    // and the lower left; touching the axis, one side.
    const double before = ValueAt(roots, root.value - h), after = ValueAt(roots, root.value + h);
    std::vector<QRectF> order;
    if (before < 0 && after > 0) {
      order = {upperLeft, lowerRight, upperRight, lowerLeft};
    } else if (before > 0 && after < 0) {
      order = {upperRight, lowerLeft, upperLeft, lowerRight};
    } else if (before > 0) {
      order = {lowerRight, lowerLeft, upperRight, upperLeft};
    } else {
      order = {upperRight, upperLeft, lowerRight, lowerLeft};
    }
    auto clear = [&](const QRectF& box, const std::vector<QRectF>& others) {
      return std::none_of(others.begin(), others.end(), [&](const QRectF& other) { return other.intersects(box); });
    };
    auto fits = [&](const QRectF& box) { return plot.contains(box) && clear(box, placed); };
    QRectF box = order.front();
    bool found = false;
    // Clear of the ticks' labels first; failing that, over them.
    for (int pass = 0; pass < 2 && !found; ++pass) {
      for (const QRectF& candidate : order) {
        if (fits(candidate) && (pass == 1 || clear(candidate, taken))) {
          box = candidate;
          found = true;
          break;
        }
      }
    }
    // Crowded: further up, clear of the others where there is room.
    for (int step = 1; !found && step <= 8; ++step) {
      const QRectF higher = order.front().translated(0, -step * size.height());
      if (fits(higher)) {
        box = higher;
        found = true;
      }
    }
    // Kept inside the picture in any case.
    box.moveLeft(std::clamp(box.left(), plot.left(), plot.right() - box.width()));
    box.moveTop(std::clamp(box.top(), plot.top(), plot.bottom() - box.height()));
    placed.push_back(box);
    Label(painter, box, text, Colour(kRootColour).darker(130));
  }
}

}  // namespace

std::optional<GraphData> GraphOf(const format::RationalPolynomial& p, const std::string& letters,
                                 const std::vector<exact::RootLabel>& labels, std::string* why,
                                 std::string_view typed) {
  if (letters.size() != 1 || p.variables != 1) {
    *why = kNotOneLetter;
    return std::nullopt;
  }
  int degree = 0;
  for (const format::RationalTerm& term : p.terms) degree = std::max(degree, term.exponents.front());
  if (degree > kMostGraphDegree) {
    *why = kDegreeTooHigh;
    return std::nullopt;
  }
#ifdef PFAC_EXACT
  std::string reason;
  std::optional<exact::RealRootsFound> roots = exact::FindRealRoots(p, labels, &reason);
  if (!roots) {
    *why = "画不出图像 / no graph: " + reason;
    return std::nullopt;
  }
  GraphData graph;
  graph.letter = letters[0];
  QString right;
  if (!typed.empty()) right = QString::fromStdString(TypedShown(typed).Text());
  if (right.isEmpty()) {
    for (const std::string& term : StudentTerms(p, letters)) right += QString::fromStdString(term);
  }
  graph.title = StudentMinus((letters == "y" ? QStringLiteral("f(y) = ") : QStringLiteral("y = ")) + right);
  graph.roots = std::move(*roots);
  return graph;
#else
  (void)labels;
  (void)typed;
  *why = "这个版本没有精确分解程序 pfac-exact, 不能求实根 / this build has no exact factoriser (pfac-exact) to find "
         "the real roots";
  return std::nullopt;
#endif
}

std::optional<GraphData> GraphOfResult(const RunResult& result, std::string* why,
                                       const std::vector<exact::RootLabel>& labels) {
  const std::optional<format::ResultValue>& value = result.source.value;
  if (!value || !GaveAnswer(result)) {
    *why = "没有分解结果 / no answer";
    return std::nullopt;
  }
  std::vector<exact::RootLabel> given = labels;
  // Over the reals a root with square roots is labelled as the answer writes it.
  if (result.source.field == Field::kReal && value->letters.size() == 1) {
    for (const exact::RootLabel& label : SquareRootLabels(value->entered)) given.push_back(label);
  }
  return GraphOf(value->entered, value->letters, given, why, result.source.typed);
}

std::vector<exact::RootLabel> SquareRootLabels(const format::RationalPolynomial& p) {
  std::vector<exact::RootLabel> labels;
#ifdef PFAC_EXACT
  std::string unused;
  for (const exact::RealRoot& root : exact::RealRootsOf(p, &unused).value_or(std::vector<exact::RealRoot>{})) {
    labels.push_back({root.value, StudentMinus(QString::fromStdString(root.text)).toStdString()});
  }
#else
  (void)p;
#endif
  return labels;
}

QString RootsShown(const exact::RealRootsFound& roots) {
  if (roots.roots.empty()) return QString::fromUtf8(kNoRealRoot);
  QStringList shown;
  for (const exact::LabelledRoot& root : roots.roots) shown << LabelText(root);
  return QStringLiteral("实根 / real roots: ") + shown.join(QStringLiteral(", "));
}

double ValueAt(const exact::RealRootsFound& roots, double x) {
  double value = 0;
  for (auto c = roots.coefficients.rbegin(); c != roots.coefficients.rend(); ++c) value = value * x + *c;
  return value;
}

GraphView ChooseView(const exact::RealRootsFound& roots) {
  std::vector<double> points = roots.turningPoints;
  for (const exact::LabelledRoot& root : roots.roots) points.push_back(root.value);
  GraphView view;
  if (points.empty()) points.push_back(0);
  const auto [lowest, highest] = std::minmax_element(points.begin(), points.end());
  const double low = *lowest, high = *highest, span = high - low;
  if (span <= 1e-9 * std::max(1.0, std::fabs(low))) {
    const double half = std::max(1.0, 0.5 * std::fabs(low));
    view.xMin = low - half;
    view.xMax = high + half;
  } else {
    view.xMin = low - 0.15 * span;
    view.xMax = high + 0.15 * span;
  }
  // The y-axis comes in when it is no further off than the view is wide.
  const double width = view.xMax - view.xMin;
  if (view.xMin > 0 && view.xMin < width) view.xMin = -0.08 * view.xMax;
  if (view.xMax < 0 && -view.xMax < width) view.xMax = -0.08 * view.xMin;

  // From the x-axis to the values at the turning points; the curve's ends
  // too, as far as that range again beyond them.
  double low_y = 0, high_y = 0;
  for (double t : roots.turningPoints) {
    low_y = std::min(low_y, ValueAt(roots, t));
    high_y = std::max(high_y, ValueAt(roots, t));
  }
  double sampledLow = 0, sampledHigh = 0;
  for (int i = 0; i <= kViewSamples; ++i) {
    const double y = ValueAt(roots, view.xMin + (view.xMax - view.xMin) * i / kViewSamples);
    if (!std::isfinite(y)) continue;
    sampledLow = std::min(sampledLow, y);
    sampledHigh = std::max(sampledHigh, y);
  }
  double range = high_y - low_y;
  if (range <= 0) range = sampledHigh - sampledLow;
  if (!(range > 0) || !std::isfinite(range)) range = 1;
  view.yMin = std::min(low_y, std::max(sampledLow, low_y - range));
  view.yMax = std::max(high_y, std::min(sampledHigh, high_y + range));
  const double margin = 0.12 * (view.yMax - view.yMin);
  view.yMin -= margin;
  view.yMax += margin;
  return view;
}

GraphFrame::GraphFrame(const QRectF& picture, const GraphView& view, double fontPixels, bool titled)
    : plot_(picture.adjusted(fontPixels * 1.2, fontPixels * (titled ? 3.6 : 0.8), -fontPixels * 1.2,
                             -fontPixels * 1.2)),
      view_(view) {}

QPointF GraphFrame::At(double x, double y) const {
  return {plot_.left() + (x - view_.xMin) / (view_.xMax - view_.xMin) * plot_.width(),
          plot_.bottom() - (y - view_.yMin) / (view_.yMax - view_.yMin) * plot_.height()};
}

void PaintGraph(QPainter& painter, const QRectF& picture, const GraphData& graph, double fontPixels, bool titled) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(picture, Qt::white);
  const GraphFrame frame(picture, ChooseView(graph.roots), fontPixels, titled);
  const int count = static_cast<int>(graph.roots.roots.size());
  QString note;
  if (count == 0) note = QString::fromUtf8(kNoRealRoot);
  if (count > kMostLabelledRoots) note = QString::fromUtf8(kRootsCounted).arg(count);
  painter.setFont(GraphFont(fontPixels * 0.8));
  const std::vector<QRectF> tickLabels = PaintAxes(painter, frame, fontPixels);
  PaintCurve(painter, frame, graph.roots, fontPixels);
  PaintAxisLetters(painter, frame, graph, fontPixels);
  PaintRoots(painter, frame, graph.roots, fontPixels, tickLabels);
  QFont noteFont = GraphFont(fontPixels * 0.85);
  if (!titled) {
    // The note at the plot's top right, on a white ground.
    if (!note.isEmpty()) {
      const QFontMetricsF metrics(noteFont, painter.device());
      const double w = metrics.horizontalAdvance(note) + fontPixels * 0.6;
      painter.setFont(noteFont);
      Label(painter, QRectF(frame.Plot().right() - w, frame.Plot().top(), w, metrics.height()), note,
            Colour(kRootColour).darker(130));
    }
    painter.restore();
    return;
  }

  // The title in letters a quarter larger, smaller where it is long, and cut
  // short at its end where even that is not enough.
  QFont titleFont = GraphFont(fontPixels * 1.25);
  const double titleWidth = picture.width() - 2 * fontPixels;
  const double natural = QFontMetricsF(titleFont, painter.device()).horizontalAdvance(graph.title);
  if (natural > titleWidth) titleFont.setPixelSize(std::max(1, static_cast<int>(
                                std::max(0.7, titleWidth / natural) * titleFont.pixelSize())));
  painter.setFont(titleFont);
  painter.setPen(Qt::black);
  const QRectF titleBox(picture.left(), picture.top() + fontPixels * 0.3, picture.width(), fontPixels * 1.8);
  painter.drawText(titleBox, Qt::AlignCenter,
                   QFontMetricsF(titleFont, painter.device()).elidedText(graph.title, Qt::ElideRight, titleWidth));
  if (!note.isEmpty()) {
    painter.setFont(noteFont);
    painter.setPen(Colour(kRootColour).darker(130));
    painter.drawText(QRectF(picture.left(), titleBox.bottom(), picture.width(), fontPixels * 1.3), Qt::AlignCenter,
                     note);
  }
  painter.restore();
}

bool GraphFileNamed(const QString& file, QString* error) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == QLatin1String("png") || suffix == QLatin1String("pdf")) return true;
  *error = QStringLiteral("图片的文件名要以 .png 或 .pdf 结尾 / the picture's file name must end in .png or .pdf: %1")
               .arg(file);
  return false;
}

bool SaveGraph(const GraphData& graph, const QString& file, QString* error) {
  if (!GraphFileNamed(file, error)) return false;
  const QString suffix = QFileInfo(file).suffix().toLower();
  const QString cannot = QStringLiteral("无法创建文件 %1。(The file %1 cannot be created.)").arg(file);
  if (suffix == QLatin1String("png")) {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      PaintGraph(painter, QRectF(image.rect()), graph, kPictureFontPixels);
    }
    if (!image.save(file, "PNG")) {
      *error = cannot;
      return false;
    }
    return true;
  }
  if (suffix == QLatin1String("pdf")) {
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QSizeF(180, 120), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    writer.setTitle(graph.title);
    QPainter painter;
    if (!painter.begin(&writer)) {
      *error = cannot;
      return false;
    }
    // Letters of 11 points at 300 dots an inch.
    PaintGraph(painter, QRectF(0, 0, writer.width(), writer.height()), graph, 11.0 / 72 * 300);
    return painter.end();
  }
  return false;
}

}  // namespace pfac::frontend
