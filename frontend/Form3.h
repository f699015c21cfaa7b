// The help window: a page of instructions printed onto the window.
#pragma once

#include <QStringList>

#include "frontend/toolkit.h"

class QPushButton;

namespace pfac::frontend {

class Form3 : public PrintSurface {
  Q_OBJECT

 public:
  explicit Form3(QWidget* parent = nullptr);

  // The page, line by line, empty lines included.
  static const QStringList& HelpPage();
  void PrintHelpPage();

  void Cmdtuicxm_Click();

 signals:
  // "退出画面" hid the window.
  void left();

 private:
  QPushButton* cmdtuicxm_ = nullptr;
};

}  // namespace pfac::frontend
