// Text printed line by line onto a window or picture box, as the main
// window's message area and the help window's page are written.
#pragma once

#include <QFrame>
#include <QStringList>
#include <vector>

#include "frontend/results/line_breaking.h"

namespace pfac::frontend {

// A window or picture box that text is printed onto: each line below the last,
// from the top left, until Cls clears it. Child widgets sit on top of it; a
// picture box has a frame. Its size hint has room for every line printed; a
// surface that wraps breaks long lines at its width, where the text may
// break (between words, or between terms), with the one routine BreakLines,
// and asks the layout for the height they take.
class PrintSurface : public QFrame {
  Q_OBJECT

 public:
  explicit PrintSurface(QWidget* parent = nullptr);

  void Cls();
  // Words: the line breaks at its blanks (ProseText).
  void Print(const QString& line);
  void Print(const Breakable& text);
  const QStringList& Lines() const { return lines_; }
  // Wrapping surfaces keep at least the height their lines take at their
  // width: the layout then never cuts them off.
  void SetWrapping(bool wrap);
  // The lines as they are drawn in a text area of this width.
  QStringList DrawnLines(int textWidth) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return wrap_; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int TextHeight(int lineCount) const;

  void FitHeight();

  QStringList lines_;
  std::vector<Breakable> texts_;  // the lines with their break places
  bool wrap_ = false;
  int baseMinimumHeight_ = 0;  // the minimum height set before wrapping was
};

}  // namespace pfac::frontend
