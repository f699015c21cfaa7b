// The main window's box that starts the engine ("双击此处分解", OLE1).
#pragma once

#include <QFrame>

class QLabel;

namespace pfac::frontend {

// The box that starts the engine: a framed box labelled "双击此处分解". While
// inactive it is greyed and ignores the mouse and the keyboard; while active a
// double-click, or Enter or Space while it has the focus, emits activated().
class EngineBox : public QFrame {
  Q_OBJECT

 public:
  explicit EngineBox(QWidget* parent = nullptr);

  void SetActive(bool active);
  // The words in the box: "双击此处分解", or what it does instead.
  void SetCaption(const QString& caption, const QString& toolTip);
  bool IsActive() const { return active_; }

 signals:
  void activated();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool active_ = false;
  QLabel* caption_ = nullptr;
};

}  // namespace pfac::frontend
