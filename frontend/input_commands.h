// The commands of the main window that take a polynomial and hand it to the
// engine: what each does to the window's controls, in the order it does it.
// The window itself only maps these operations onto its widgets.
#pragma once

#include <string>

#include "frontend/dialogs.h"
#include "frontend/file_table.h"

namespace pfac::frontend {

// The first instruction line above the polynomial box (53 characters).
inline constexpr char kLabel8Caption[] =
    "请在下框按右例方式输入多项式.  例1：x^3-6x^2+4x+15  或  x3-6x2+4x+15  ";
// The second instruction line: 64 blanks put its example below the first one
// (112 characters in all).
inline const std::string kLabel9Caption = std::string(64, ' ') +
    "例2：x^4y+2x^3y^2-x^2y-2xy^2  或 x4y+2x3y2-x2y-2xy2";
// Printed under the echo of a text that is empty or has a refused character.
inline constexpr char kInputError[] = "输入错误！";

// The controls of the main window that the input commands switch.
enum class Control { Text2, Label8, Label9, Cmdshuru, CmdWANCHANG, CmdCHONGSHU, cmddayin };

// What the input commands need of the main window.
class MainWindowControls {
 public:
  virtual ~MainWindowControls() = default;
  virtual void ClsWindow() = 0;                             // printed text of the window itself
  virtual void ClsPicture1() = 0;                           // the message area
  virtual void PrintOnPicture1(const std::string& line) = 0;  // one line below the last
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void SetVisible(Control control, bool visible) = 0;
  virtual void SetCaption(Control label, const std::string& caption) = 0;
  virtual std::string Text2() const = 0;                    // UTF-8
  virtual void SetText2(const std::string& text) = 0;
  virtual void FocusText2() = 0;
  virtual void SetText2ReadOnly(bool readOnly) = 0;
  virtual void SetEngineActive(bool active) = 0;            // the engine box OLE1
  virtual void FocusEngineBox() = 0;
};

// What "输入完毕" found in the polynomial box.
enum class Submission { Accepted, Refused, Empty };

class InputCommands {
 public:
  InputCommands(MainWindowControls& window, FileTable& files, Dialogs& dialogs)
      : window_(window), files_(files), dialogs_(dialogs) {}

  void Load();                 // the window is loaded
  void NewPolynomial();        // "输入多项式"
  Submission InputFinished();  // "输入完毕"
  void EnterAgain();           // "重新输入"

  // Shows the polynomial box empty and editable, with its instructions, ready
  // for typing.
  void PrepareInput();
  // Echoes the text, writes DXS.DAT and checks the text's characters; a text
  // that is empty or has a refused character gets "输入错误！" and the box back.
  Submission SubmitInput();
  // True when the last submission wrote DXS.DAT (an empty text leaves it).
  bool HandedOff() const { return handedOff_; }

 private:
  MainWindowControls& window_;
  FileTable& files_;
  Dialogs& dialogs_;
  bool handedOff_ = false;
};

}  // namespace pfac::frontend
