// Form3: the help window, a page of instructions printed onto the window,
// above the button that leaves it. Made smaller than the page, the page
// scrolls.
#pragma once

#include <QStringList>
#include <QWidget>

#include "frontend/windows/print_surface.h"

class QPushButton;

namespace pfac::frontend {

class Form3 : public QWidget {
  Q_OBJECT

 public:
  explicit Form3(QWidget* parent = nullptr);

  // The page, line by line, empty lines included.
  static const QStringList& HelpPage();
  void PrintHelpPage();
  // The window's printed text: cleared, and as printed.
  void Cls() { page_->Cls(); }
  const QStringList& Lines() const { return page_->Lines(); }

  void Cmdtuicxm_Click();

 signals:
  // "退出画面" (or Esc) hid the window.
  void left();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  PrintSurface* page_ = nullptr;
  QPushButton* cmdtuicxm_ = nullptr;
};

}  // namespace pfac::frontend
