#include "frontend/windows/print_surface.h"

#include <QPainter>
#include <algorithm>

#include "frontend/results/text_widths.h"

namespace pfac::frontend {

namespace {

// Left margin of printed text, in pixels.
constexpr int kPrintMargin = 4;

}  // namespace

PrintSurface::PrintSurface(QWidget* parent) : QFrame(parent) {}

void PrintSurface::Cls() {
  lines_.clear();
  texts_.clear();
  FitHeight();
  updateGeometry();
  update();
}

void PrintSurface::Print(const QString& line) { Print(ProseText(line.toStdString())); }

void PrintSurface::Print(const Breakable& text) {
  lines_.append(QString::fromStdString(text.Text()));
  texts_.push_back(text);
  FitHeight();
  updateGeometry();
  update();
}

void PrintSurface::SetWrapping(bool wrap) {
  if (wrap && !wrap_) baseMinimumHeight_ = minimumHeight();
  wrap_ = wrap;
  QSizePolicy policy = sizePolicy();
  policy.setHeightForWidth(wrap);
  setSizePolicy(policy);
  FitHeight();
  updateGeometry();
  update();
}

void PrintSurface::FitHeight() {
  if (!wrap_) return;
  setMinimumHeight(baseMinimumHeight_);
  setMinimumHeight(heightForWidth(std::max(width(), minimumWidth())));
}

void PrintSurface::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  FitHeight();
}

QStringList PrintSurface::DrawnLines(int textWidth) const {
  if (!wrap_) return lines_;
  const QFontMetrics metrics(font());
  const Measure measure = WidthsIn(metrics);
  QStringList drawn;
  for (const Breakable& text : texts_) {
    for (const std::string& line : BreakLines(text, textWidth, measure)) drawn << QString::fromStdString(line);
  }
  return drawn;
}

int PrintSurface::TextHeight(int lineCount) const {
  const QMargins margins = contentsMargins();
  return margins.top() + margins.bottom() + kPrintMargin + lineCount * QFontMetrics(font()).lineSpacing();
}

QSize PrintSurface::sizeHint() const {
  const QFontMetrics metrics(font());
  int width = 0;
  for (const QString& line : lines_) width = std::max(width, metrics.horizontalAdvance(line));
  const QMargins margins = contentsMargins();
  if (wrap_) return QSize(minimumSize().width(), heightForWidth(minimumSize().width()));
  const QSize hint(width + 2 * kPrintMargin + margins.left() + margins.right(), TextHeight(lines_.size()));
  return hint.expandedTo(minimumSize());
}

QSize PrintSurface::minimumSizeHint() const {
  if (!wrap_) return sizeHint();
  return QSize(minimumSize().width(), heightForWidth(std::max(width(), minimumSize().width())));
}

int PrintSurface::heightForWidth(int width) const {
  const QMargins margins = contentsMargins();
  const int textWidth = width - margins.left() - margins.right() - 2 * kPrintMargin;
  return std::max(TextHeight(DrawnLines(textWidth).size()), wrap_ ? baseMinimumHeight_ : minimumHeight());
}

void PrintSurface::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.setClipRect(area);
  painter.setPen(palette().color(foregroundRole()));
  const QFontMetrics metrics(font());
  int baseline = area.top() + kPrintMargin / 2 + metrics.ascent();
  for (const QString& line : DrawnLines(area.width() - 2 * kPrintMargin)) {
    if (baseline - metrics.ascent() > area.bottom()) break;
    painter.drawText(area.left() + kPrintMargin, baseline, line);
    baseline += metrics.lineSpacing();
  }
}

}  // namespace pfac::frontend
