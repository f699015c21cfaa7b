// The hand-off of the polynomial to the engine: the characters the main window
// accepts, and the file DXS.DAT that carries the text to the engine.
#pragma once

#include <string_view>

namespace pfac::frontend {

// The hand-off file, in the working folder that the engine shares.
inline constexpr char kHandOffFile[] = "DXS.DAT";

// True for the characters a polynomial may be typed with: the capitals A-Z,
// the slash and the digits, the backquote and the small letters a-z, and "^",
// "+", "-". Everything else, non-ASCII included, is refused.
bool IsAcceptedCharacter(char c);

// True when the text is not empty and every character of it is accepted. The
// text is UTF-8; a character outside ASCII is refused by its first byte.
bool IsAcceptedPolynomialText(std::string_view text);

}  // namespace pfac::frontend
