#include "frontend/windows/engine_box.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace pfac::frontend {

EngineBox::EngineBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Raised);
  setLineWidth(2);
  auto* caption = caption_ = new QLabel(QStringLiteral("双击此处分解"), this);
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

void EngineBox::SetCaption(const QString& caption, const QString& toolTip) {
  caption_->setText(caption);
  setToolTip(toolTip);
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

}  // namespace pfac::frontend
