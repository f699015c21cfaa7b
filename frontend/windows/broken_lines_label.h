// A label of the main window's result and steps panels: its text laid out in
// lines at the label's width.
#pragma once

#include <QLabel>
#include <QStringList>
#include <vector>

#include "frontend/results/line_breaking.h"

namespace pfac::frontend {

// A label that lays its text out in lines at its own width, breaking only
// where the text may break (BreakLines), each paragraph on a line of its own.
// It asks for the height of its lines and for no width: it takes the width
// it is given, and a scroll area around it shows what is taller than the
// space.
class BrokenLinesLabel : public QLabel {
  Q_OBJECT

 public:
  explicit BrokenLinesLabel(QWidget* parent = nullptr);

  void SetParagraphs(std::vector<Breakable> paragraphs);
  // The lines after the first of a paragraph begin this many blanks further
  // in, so that a paragraph that goes on reads as one (the steps).
  void SetHangingIndent(int blanks);
  // The lines as they are shown now.
  QStringList ShownLines() const;

 signals:
  // A click on the text (the steps open and fold their detail).
  void clicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void LayOut();

  std::vector<Breakable> paragraphs_;
  int hangingIndent_ = 0;
};

}  // namespace pfac::frontend
