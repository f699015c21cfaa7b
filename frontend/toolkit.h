// The few widget operations the windows are written in: text printed line by
// line onto a window or picture box, the engine box, and message boxes.
#pragma once

#include <QFrame>
#include <QStringList>
#include <QWidget>

#include "frontend/dialogs.h"

namespace pfac::frontend {

// A window or picture box that text is printed onto: each line below the last,
// from the top left, until Cls clears it. Child widgets sit on top of it; a
// picture box has a frame.
class PrintSurface : public QFrame {
  Q_OBJECT

 public:
  explicit PrintSurface(QWidget* parent = nullptr);

  void Cls();
  void Print(const QString& line);
  const QStringList& Lines() const { return lines_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QStringList lines_;
};

// The box that starts the engine: a framed box labelled "双击此处分解". While
// inactive it is greyed and ignores the mouse; while active a double-click
// emits doubleClicked().
class EngineBox : public QFrame {
  Q_OBJECT

 public:
  explicit EngineBox(QWidget* parent = nullptr);

  void SetActive(bool active);
  bool IsActive() const { return active_; }

 signals:
  void doubleClicked();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool active_ = false;
};

// Message boxes over the window that is active at the time.
class MessageBoxDialogs : public Dialogs {
 public:
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void Tell(const std::string& text, const std::string& caption) override;
};

}  // namespace pfac::frontend
