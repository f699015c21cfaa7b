// The main window: the polynomial box, its instructions and message area, the
// commands, and the box that starts the engine.
#pragma once

#include <memory>

#include "frontend/dialogs.h"
#include "frontend/engine_launcher.h"
#include "frontend/file_table.h"
#include "frontend/input_commands.h"
#include "frontend/result_printing.h"
#include "frontend/toolkit.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace pfac::frontend {

class Form3;

class PFAC1 : public PrintSurface, private MainWindowControls {
  Q_OBJECT

 public:
  // The window is loaded here: its controls are made ready for typing.
  PFAC1(Dialogs& dialogs, ResultPrinter& printer, EngineLauncher launcher,
        QWidget* parent = nullptr);
  ~PFAC1() override;

  PrintSurface* Picture1() const { return picture1_; }
  void FocusText2() override;

  void Cmdshuru_Click();
  void CmdWANCHANG_Click();
  void CmdCHONGSHU_Click();
  void cmddayin_Click();
  void Cmdbangzhu_Click();
  void Cmdtuichu_Click();
  void OLE1_DblClick();

 protected:
  // Closing the window ends the program, as "退出" does.
  void closeEvent(QCloseEvent* event) override;

 private:
  void createWidgets();
  void createLayout();
  void connectCommands();
  void EndProgram();

  // The window's side of the input commands.
  void ClsWindow() override;
  void ClsPicture1() override;
  void PrintOnPicture1(const std::string& line) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetVisible(Control control, bool visible) override;
  void SetCaption(Control label, const std::string& caption) override;
  std::string Text2() const override;
  void SetText2(const std::string& text) override;
  void SetEngineActive(bool active) override;
  QWidget* Widget(Control control) const;

  Dialogs& dialogs_;
  ResultPrinter& printer_;
  EngineLauncher launcher_;
  FileTable files_;
  InputCommands input_;
  bool ending_ = false;

  QLineEdit* text2_ = nullptr;
  QLabel* label8_ = nullptr;
  QLabel* label9_ = nullptr;
  PrintSurface* picture1_ = nullptr;
  QPushButton* cmdshuru_ = nullptr;
  QPushButton* cmdWanchang_ = nullptr;
  QPushButton* cmdChongshu_ = nullptr;
  QPushButton* cmddayin_ = nullptr;
  QPushButton* cmdbangzhu_ = nullptr;
  QPushButton* cmdtuichu_ = nullptr;
  EngineBox* ole1_ = nullptr;
  Form3* help_ = nullptr;  // made on first use
};

}  // namespace pfac::frontend
