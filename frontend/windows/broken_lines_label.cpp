#include "frontend/windows/broken_lines_label.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QMouseEvent>

#include "frontend/results/text_widths.h"

namespace pfac::frontend {

BrokenLinesLabel::BrokenLinesLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void BrokenLinesLabel::SetParagraphs(std::vector<Breakable> paragraphs) {
  paragraphs_ = std::move(paragraphs);
  LayOut();
}

void BrokenLinesLabel::SetHangingIndent(int blanks) {
  hangingIndent_ = blanks;
  LayOut();
}

QStringList BrokenLinesLabel::ShownLines() const { return text().isEmpty() ? QStringList() : text().split('\n'); }

void BrokenLinesLabel::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  emit clicked();
}

void BrokenLinesLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  LayOut();
}

void BrokenLinesLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) LayOut();
}

namespace {

// A square root as the panel draws it: the bar of the root over its radicand
// and no further (√3·y: over the 3 only), a combining overline on each digit.
QString WithRootBars(QString line) {
  for (int at = line.indexOf(QChar(0x221A)); at >= 0; at = line.indexOf(QChar(0x221A), at + 1)) {
    for (int i = at + 1; i < line.size() && line[i].isDigit(); i += 2) line.insert(i + 1, QChar(0x0305));
  }
  return line;
}

}  // namespace

void BrokenLinesLabel::LayOut() {
  const QFontMetricsF metrics(font());
  const Measure measure = WidthsIn(metrics);
  // Before the label has a width, each paragraph stands on one line.
  const QString indent(hangingIndent_, ' ');
  const double width = contentsRect().width() > 0 ? contentsRect().width() - metrics.horizontalAdvance(indent) : 1e9;
  QStringList lines;
  for (const Breakable& paragraph : paragraphs_) {
    bool first = true;
    for (const std::string& line : BreakLines(paragraph, width, measure)) {
      lines << (first ? QString() : indent) + WithRootBars(QString::fromStdString(line));
      first = false;
    }
  }
  const QString joined = lines.join('\n');
  if (joined != text()) setText(joined);
}

}  // namespace pfac::frontend
