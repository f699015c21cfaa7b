#include "frontend/hand_off.h"

#include <algorithm>

namespace pfac::frontend {

bool IsAcceptedCharacter(char c) {
  // The classes are ranges of character codes, compared case-sensitively; the
  // bounds themselves ("@", "[", ".", ":", "_", "{") are outside.
  unsigned char code = static_cast<unsigned char>(c);
  if (code > '@' && code < '[') return true;  // A-Z
  if (code > '.' && code < ':') return true;  // / and 0-9
  if (code > '_' && code < '{') return true;  // ` and a-z
  return c == '^' || c == '+' || c == '-';
}

bool IsAcceptedPolynomialText(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsAcceptedCharacter);
}

}  // namespace pfac::frontend
