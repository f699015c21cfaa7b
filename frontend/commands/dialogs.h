// Message boxes as the commands see them. The windows show real ones; tests
// answer them from a script.
#pragma once

#include <string>

namespace pfac::frontend {

// The caption of every message box of the front end ("attention").
inline constexpr char kNoticeCaption[] = "注意";

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A question with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
  // A message with an OK button.
  virtual void Tell(const std::string& text, const std::string& caption) = 0;
};

}  // namespace pfac::frontend
