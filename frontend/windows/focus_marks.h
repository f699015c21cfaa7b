// The keyboard's place shown on every control: a frame in the colour of
// selected text around the control that has the focus, whatever the desktop's
// style draws (or leaves out) of its own.
#pragma once

class QPushButton;

namespace pfac::frontend {

// Puts the marks on every window of the application (its style wraps the
// desktop's).
void InstallFocusMarks();

// A button that Enter and Space press while it has the focus, as in dialogs.
void PressedByEnter(QPushButton* button);

}  // namespace pfac::frontend
