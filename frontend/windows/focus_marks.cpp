#include "frontend/windows/focus_marks.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

namespace pfac::frontend {

namespace {

class FocusMarkStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_PushButton && (option->state & State_HasFocus)) Mark(option, painter, 3);
  }

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_FrameFocusRect) {
      Mark(option, painter, 0);
      return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    // A list or a box framed by the style: the frame is marked too.
    if ((element == PE_FrameLineEdit || element == PE_Frame) && (option->state & State_HasFocus)) {
      Mark(option, painter, 1);
    }
  }

 private:
  static void Mark(const QStyleOption* option, QPainter* painter, int inset) {
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option->rect.adjusted(inset + 1, inset + 1, -inset - 1, -inset - 1));
    painter->restore();
  }
};

}  // namespace

void InstallFocusMarks() {
  if (dynamic_cast<FocusMarkStyle*>(QApplication::style()) == nullptr) QApplication::setStyle(new FocusMarkStyle);
}

void PressedByEnter(QPushButton* button) { button->setAutoDefault(true); }

}  // namespace pfac::frontend
