#include "frontend/toolkit.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace pfac::frontend {

namespace {

// Left margin of printed text, in pixels.
constexpr int kPrintMargin = 4;

}  // namespace

PrintSurface::PrintSurface(QWidget* parent) : QFrame(parent) {}

void PrintSurface::Cls() {
  lines_.clear();
  update();
}

void PrintSurface::Print(const QString& line) {
  lines_.append(line);
  update();
}

void PrintSurface::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.setClipRect(area);
  painter.setPen(palette().color(foregroundRole()));
  const QFontMetrics metrics(font());
  int baseline = area.top() + kPrintMargin / 2 + metrics.ascent();
  for (const QString& line : lines_) {
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
  setToolTip(QStringLiteral("双击此处启动分解程序 (double-click to start the engine)"));
  setAutoFillBackground(true);
  SetActive(false);
}

void EngineBox::SetActive(bool active) {
  active_ = active;
  // A disabled widget is drawn greyed and gets no mouse events; an active box
  // stands out in the colour of a text field.
  setEnabled(active);
  setBackgroundRole(active ? QPalette::Base : QPalette::Window);
  setCursor(active ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void EngineBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (active_ && event->button() == Qt::LeftButton) emit doubleClicked();
  QFrame::mouseDoubleClickEvent(event);
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
