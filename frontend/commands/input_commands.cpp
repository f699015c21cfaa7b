#include "frontend/commands/input_commands.h"

#include <QString>

#include "frontend/engine_link/engine_files.h"
#include "frontend/results/result_presentation.h"

namespace pfac::frontend {

namespace {

// The polynomial as the answer and the history show it: as read, but with
// brackets that were multiplied out kept as typed (blanks tidied).
std::string TypedKept(const std::string& typed, const ConvertedText& converted) {
  return converted.expanded ? QString::fromStdString(typed).simplified().toStdString() : converted.text;
}

// DXS.DAT is file 1 while it is written.
constexpr int kHandOffNumber = 1;

constexpr char kHandOffWriteFailed[] =
    "无法写入文件 DXS.DAT，分解程序读不到这个多项式。\n"
    "(DXS.DAT cannot be written; the engine will not see this polynomial.)";

}  // namespace

// Typing: the box empty and the engine box inactive; "输入多项式" and "打印"
// wait for a submission.
void InputCommands::Load() {
  window_.SetEngineActive(false);
  window_.SetEngineBoxBeyondSearch(false);
  window_.SetEnabled(Control::Cmdshuru, false);
  window_.SetVisible(Control::Text2, false);
  window_.SetEnabled(Control::CmdWANCHANG, false);
  window_.SetEnabled(Control::CmdCHONGSHU, false);
  window_.SetEnabled(Control::cmddayin, false);
  PrepareInput();
}

// Typing replaces the last text; an arrow key edits it.
void InputCommands::NewPolynomial() {
  window_.ClsWindow();
  window_.ClsPicture1();
  window_.SetEngineActive(false);
  window_.SetEngineBoxBeyondSearch(false);
  window_.SetEnabled(Control::Cmdshuru, false);
  window_.SetEnabled(Control::cmddayin, false);
  PrepareInput(true);
  window_.SelectInText2(0, -1);
}

// The box takes the typing; "输入多项式" stays enabled, as it empties the box.
void InputCommands::RestoreText(const std::string& text) {
  window_.ClsWindow();
  window_.ClsPicture1();
  window_.PrintOnPicture1(kFromHistory);
  window_.SetEngineActive(false);
  window_.SetEngineBoxBeyondSearch(false);
  window_.SetEnabled(Control::Cmdshuru, true);
  window_.SetEnabled(Control::cmddayin, true);
  PrepareInput();
  window_.SetText2(text);
  window_.SelectInText2(0, -1);
}

// Submitted: the engine box active only when DXS.DAT now holds the text (a
// refused text, or a file that cannot be written, leaves the previous
// polynomial there); "输入完毕" stays enabled only when the
// text must be corrected (SubmitInput enables it). An accepted text stays in
// the box, read-only, and the engine box takes the focus.
Submission InputCommands::InputFinished() {
  window_.SetEnabled(Control::CmdWANCHANG, false);
  window_.SetEnabled(Control::CmdCHONGSHU, true);
  window_.SetEnabled(Control::cmddayin, true);
  const Submission submission = SubmitInput();
  files_.Close(kHandOffNumber);
  window_.SetEnabled(Control::Cmdshuru, true);
  window_.SetEngineActive(handedOff_ || beyond_.has_value());
  window_.SetEngineBoxBeyondSearch(beyond_.has_value());
  window_.SetEnabled(Control::CmdCHONGSHU, false);
  if (submission == Submission::Accepted) {
    window_.SetText2ReadOnly(true);
    window_.FocusEngineBox();
  }
  return submission;
}

// Back to typing; "输入多项式" and "打印" keep their state.
void InputCommands::EnterAgain() {
  window_.ClsWindow();
  window_.ClsPicture1();
  window_.SetEngineActive(false);
  window_.SetEngineBoxBeyondSearch(false);
  files_.Close(kHandOffNumber);
  window_.SetVisible(Control::Text2, false);
  window_.SetEnabled(Control::CmdWANCHANG, false);
  PrepareInput();
  window_.FocusText2();
}

void InputCommands::PrepareInput(bool keepText) {
  window_.SetVisible(Control::Text2, true);
  window_.SetText2ReadOnly(false);
  if (!keepText) window_.SetText2("");
  window_.SetEnabled(Control::CmdWANCHANG, true);
  window_.SetEnabled(Control::CmdCHONGSHU, true);
  window_.SetCaption(Control::Label8, kLabel8Caption);
  window_.SetCaption(Control::Label9, kLabel9Caption);
  window_.SetVisible(Control::Label8, true);
  window_.SetVisible(Control::Label9, true);
}

void InputCommands::TextEdited() {
  window_.SetEnabled(Control::CmdCHONGSHU, !window_.Text2().empty());
  if (refusalShown_) {
    window_.ClsPicture1();
    refusalShown_ = false;
  }
}

void InputCommands::ShowReadAs(const ConvertedText& converted) {
  format::ResultValue entered;
  entered.letters = converted.letters;
  entered.entered = converted.value;
  window_.PrintOnPicture1(Node({Leaf(kReadAs), Present(entered, converted.text, "", false).shown}));
  window_.SetText2(converted.text);
}

Submission InputCommands::SubmitInput() {
  window_.ClsPicture1();
  refusalShown_ = false;
  const std::string typed = window_.Text2();
  // As typed; where it is wider than the area it breaks between terms.
  window_.PrintOnPicture1(FormulaText(typed));
  handedOff_ = false;
  beyond_.reset();
  const ConvertedText converted = ConvertTypedText(typed, expander_);
  if (converted.beyondSearch && expander_ != nullptr) {
    // Read, but the search cannot take it: the exact factoriser will.
    if (converted.text != typed) ShowReadAs(converted);
    window_.PrintOnPicture1(ProseText(converted.refusal->message));
    window_.PrintOnPicture1(ProseText(kSearchDoesNotApply));
    beyond_ = BeyondSearchText{converted.text, converted.value, converted.letters, TypedKept(typed, converted)};
    return Submission::Accepted;
  }
  if (!converted.Accepted()) {
    window_.PrintOnPicture1(std::string(kInputError) + " " + converted.refusal->message);
    refusalShown_ = true;
    if (converted.refusal->position >= 0) {
      window_.SelectInText2(converted.refusal->position, converted.refusal->length);
    } else {
      window_.FocusText2();
    }
    window_.SetEnabled(Control::CmdWANCHANG, true);
    return converted.refusal->message == kNothingTyped ? Submission::Empty : Submission::Refused;
  }
  if (converted.text != typed) ShowReadAs(converted);
  bool written = files_.OpenForOutput(kHandOffNumber, kHandOffFile) &&
                 files_.WriteQuotedLine(kHandOffNumber, converted.text);
  written = files_.Close(kHandOffNumber) && written;
  files_.CloseAll();
  handedOff_ = written;
  if (written) {
    handedOffText_ = converted.text;
    // Read as typed, but for brackets multiplied out: those are kept.
    handedOffTyped_ = TypedKept(typed, converted);
  }
  if (!written) dialogs_.Tell(kHandOffWriteFailed, kNoticeCaption);
  return Submission::Accepted;
}

}  // namespace pfac::frontend
