// The few widget operations the windows are written in: text printed line by
// line onto a window or picture box, the engine box, and message boxes.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "frontend/commands/dialogs.h"
#include "frontend/results/line_breaking.h"
#include "frontend/results/text_widths.h"

namespace pfac::frontend {

// A window or picture box that text is printed onto: each line below the last,
// from the top left, until Cls clears it. Child widgets sit on top of it; a
// picture box has a frame. Its size hint has room for every line printed; a
// surface that wraps breaks long lines at its width (where a text printed
// with its break places may break, between terms; a plain line anywhere, as
// a polynomial typed has no blanks to break at) and asks the layout for the
// height they take.
class PrintSurface : public QFrame {
  Q_OBJECT

 public:
  explicit PrintSurface(QWidget* parent = nullptr);

  void Cls();
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

// The box that starts the engine: a framed box labelled "双击此处分解". While
// inactive it is greyed and ignores the mouse and the keyboard; while active a
// double-click, or Enter or Space while it has the focus, emits activated().
class EngineBox : public QFrame {
  Q_OBJECT

 public:
  explicit EngineBox(QWidget* parent = nullptr);

  void SetActive(bool active);
  bool IsActive() const { return active_; }

 signals:
  void activated();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool active_ = false;
};

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

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void LayOut();

  std::vector<Breakable> paragraphs_;
  int hangingIndent_ = 0;
};

// Qt's own texts (the standard buttons of message boxes, "Yes", "No", "OK") in
// Chinese, from the translations that Qt ships. False when they are missing.
bool InstallChineseTranslations();

// Message boxes over the window that is active at the time.
class MessageBoxDialogs : public Dialogs {
 public:
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void Tell(const std::string& text, const std::string& caption) override;
};

}  // namespace pfac::frontend
