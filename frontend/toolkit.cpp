#include "frontend/toolkit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QTranslator>
#include <QVBoxLayout>
#include <algorithm>

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

void PrintSurface::Print(const QString& line) { Print(Leaf(line.toStdString())); }

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

EngineBox::EngineBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Raised);
  setLineWidth(2);
  auto* caption = new QLabel(QStringLiteral("双击此处分解"), this);
  caption->setAlignment(Qt::AlignCenter);
  QFont bigger = caption->font();
  bigger.setPointSizeF(bigger.pointSizeF() * 1.25);
  bigger.setBold(true);
  caption->setFont(bigger);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  setToolTip(QStringLiteral("双击此处或按回车键启动分解程序 (double-click or press Enter to start the engine)"));
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
  SetActive(false);
}

void EngineBox::SetActive(bool active) {
  active_ = active;
  // A disabled widget is drawn greyed and gets neither mouse nor keys nor the
  // focus; an active box stands out in the colour of a text field.
  setEnabled(active);
  setBackgroundRole(active ? QPalette::Base : QPalette::Window);
  setCursor(active ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void EngineBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (active_ && event->button() == Qt::LeftButton) emit activated();
  QFrame::mouseDoubleClickEvent(event);
}

void EngineBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (active_ && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
    emit activated();
    return;
  }
  QFrame::keyPressEvent(event);
}

// The focus is shown as a frame in the colour of selected text, inside the
// box's own frame.
void EngineBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
  painter.drawRect(contentsRect().adjusted(3, 3, -4, -4));
}

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

void BrokenLinesLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  LayOut();
}

void BrokenLinesLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) LayOut();
}

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
      lines << (first ? QString() : indent) + QString::fromStdString(line);
      first = false;
    }
  }
  const QString joined = lines.join('\n');
  if (joined != text()) setText(joined);
}

bool InstallChineseTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

bool MessageBoxDialogs::AskYesNo(const std::string& text, const std::string& caption) {
  return QMessageBox::question(QApplication::activeWindow(), QString::fromStdString(caption),
                               QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxDialogs::Tell(const std::string& text, const std::string& caption) {
  QMessageBox::information(QApplication::activeWindow(), QString::fromStdString(caption),
                           QString::fromStdString(text));
}

}  // namespace pfac::frontend
