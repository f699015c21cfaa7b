// The dialogs of the commands as the user sees them: Qt's message boxes.
#pragma once

#include <string>

#include "frontend/commands/dialogs.h"

namespace pfac::frontend {

// Message boxes over the window that is active at the time.
class MessageBoxDialogs : public Dialogs {
 public:
  bool AskYesNo(const std::string& text, const std::string& caption) override;
  void Tell(const std::string& text, const std::string& caption) override;
};

}  // namespace pfac::frontend
