// The commands of the main window that take a polynomial and hand it to the
// engine: what each does to the window's controls, in the order it does it.
// The window itself only maps these operations onto its widgets.
#pragma once

#include <optional>
#include <string>

#include "frontend/commands/dialogs.h"
#include "frontend/input/typed_input.h"
#include "frontend/results/line_breaking.h"
#include "frontend/storage/file_table.h"

namespace pfac::frontend {

// The first instruction line above the polynomial box (53 characters).
inline constexpr char kLabel8Caption[] =
    "请在下框按右例方式输入多项式.  例1：x^3-6x^2+4x+15  或  x3-6x2+4x+15  ";
// The second instruction line: 64 blanks put its example below the first one
// (112 characters in all).
inline const std::string kLabel9Caption = std::string(64, ' ') +
    "例2：x^4y+2x^3y^2-x^2y-2xy^2  或 x4y+2x3y2-x2y-2xy2";
// Printed under the echo of a text that is refused, before what is wrong.
inline constexpr char kInputError[] = "输入错误！";
// Printed under the echo of a text that was converted, before the polynomial
// handed to the engine, as a student writes it.
inline constexpr char kReadAs[] = "读作 / read as: ";
// Printed under a text beyond the search's limits, after the limit it passes.
inline constexpr char kSearchDoesNotApply[] =
    "搜索不适用, 双击《双击此处分解》由精确分解得到 / the search does not apply: double-click the engine box for the "
    "exact factorisation";
// Printed when a result of the history is shown again.
inline constexpr char kFromHistory[] = "历史记录中的结果 / a result from the history";

// The controls of the main window that the input commands switch.
enum class Control { Text2, Label8, Label9, Cmdshuru, CmdWANCHANG, CmdCHONGSHU, cmddayin };

// What the input commands need of the main window.
class MainWindowControls {
 public:
  virtual ~MainWindowControls() = default;
  virtual void ClsWindow() = 0;                             // printed text of the window itself
  virtual void ClsPicture1() = 0;                           // the message area
  virtual void PrintOnPicture1(const std::string& line) = 0;  // one line below the last
  // A line that breaks, where it is wider than the message area, only where
  // the text may break (between the terms of a polynomial); a line of words
  // breaks between them.
  virtual void PrintOnPicture1(const Breakable& text) { PrintOnPicture1(text.Text()); }
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void SetVisible(Control control, bool visible) = 0;
  virtual void SetCaption(Control label, const std::string& caption) = 0;
  virtual std::string Text2() const = 0;                    // UTF-8
  virtual void SetText2(const std::string& text) = 0;
  virtual void FocusText2() = 0;
  // Focuses the box and selects `length` characters from `position` (counted
  // in characters from 0); a length of -1 selects to the end.
  virtual void SelectInText2(int position, int length) = 0;
  virtual void SetText2ReadOnly(bool readOnly) = 0;
  virtual void SetEngineActive(bool active) = 0;            // the engine box OLE1
  virtual void FocusEngineBox() = 0;
  // The engine box says that the search does not apply to the text submitted.
  virtual void SetEngineBoxBeyondSearch(bool /*beyond*/) {}
};

// A text beyond the search's limits, as submitted: what the exact factoriser
// takes.
struct BeyondSearchText {
  std::string text;  // in the engine's syntax
  format::RationalPolynomial value;
  std::string letters;
  std::string typed;  // as typed, brackets kept (what the answer's left-hand side and the history show)
};

// What "输入完毕" found in the polynomial box.
enum class Submission { Accepted, Refused, Empty };

class InputCommands {
 public:
  // The expander multiplies out brackets; without one they are refused.
  InputCommands(MainWindowControls& window, FileTable& files, Dialogs& dialogs, Expander* expander)
      : window_(window), files_(files), dialogs_(dialogs), expander_(expander) {}

  void Load();                 // the window is loaded
  void NewPolynomial();        // "输入多项式": the last text stays in the box, selected
  Submission InputFinished();  // "输入完毕"
  void EnterAgain();           // "重新输入"
  // A text of the history back in the box, editable, as after "输入多项式";
  // "打印" prints the history's result.
  void RestoreText(const std::string& text);
  // The text in the box was edited by the user: "重新输入" is enabled while
  // there is text to clear, and the message of a refused text goes once the
  // text is changed.
  void TextEdited();

  // Shows the polynomial box editable, with its instructions, ready for
  // typing; empty unless the text is to be kept.
  void PrepareInput(bool keepText = false);
  // Echoes the text and turns it into the engine's syntax. An accepted text
  // replaces what was typed in the box and is written to DXS.DAT; a refused
  // one gets "输入错误！" and what is wrong, the place marked in the box, and
  // never reaches DXS.DAT.
  Submission SubmitInput();
  // True when the last submission wrote DXS.DAT.
  bool HandedOff() const { return handedOff_; }
  // The text the last submission wrote to DXS.DAT, and the polynomial as
  // typed (what the history keeps): the same text, or, where brackets were
  // multiplied out, the text typed with its blanks tidied.
  const std::string& HandedOffText() const { return handedOffText_; }
  const std::string& HandedOffTyped() const { return handedOffTyped_; }
  // The last submission, when it was beyond the search's limits (DXS.DAT is
  // then not written: the engine would refuse it).
  const std::optional<BeyondSearchText>& BeyondSearch() const { return beyond_; }

 private:
  MainWindowControls& window_;
  FileTable& files_;
  Dialogs& dialogs_;
  Expander* expander_;
  bool handedOff_ = false;
  std::string handedOffText_;
  std::string handedOffTyped_;
  bool refusalShown_ = false;  // the message area says why the text was refused
  std::optional<BeyondSearchText> beyond_;

  // A text read otherwise than typed: "读作 / read as" and what it is read as,
  // which the box then holds.
  void ShowReadAs(const ConvertedText& converted);
};

}  // namespace pfac::frontend
