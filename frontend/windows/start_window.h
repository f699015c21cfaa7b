// baozhForm: the start window, a picture and the way into the main window.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace pfac::frontend {

class PFAC1;

// Printed onto the main window's message area when it is first opened from here.
inline constexpr char kExamplesHint[] = "提示：例中x^3表x的3次方,x^4y表x的4次方与y的积.";

class baozhForm : public QWidget {
  Q_OBJECT

 public:
  // The main window is made by the factory when it is first needed.
  using MainWindowFactory = std::function<std::unique_ptr<PFAC1>()>;

  explicit baozhForm(MainWindowFactory makeMainWindow, QWidget* parent = nullptr);
  ~baozhForm() override;

  // Null until "输入多项式" is clicked.
  PFAC1* MainWindow() const { return mainWindow_.get(); }

  void cmdbao_Click();
  void Cmdtuichu_Click();

 private:
  MainWindowFactory makeMainWindow_;
  std::unique_ptr<PFAC1> mainWindow_;
  QLabel* picture1_ = nullptr;
  QPushButton* cmdbao_ = nullptr;
  QPushButton* cmdtuichu_ = nullptr;
};

}  // namespace pfac::frontend
