#include "engine/platform/console.h"

#include <string>

namespace pfac {

namespace {

// Decodes one UTF-8 sequence at text[i]; returns its length (1 for a bad byte)
// and stores the code point (or the byte) in *code.
size_t DecodeUtf8(std::string_view text, size_t i, unsigned* code) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  size_t len = 0;
  unsigned value = 0;
  if (c < 0x80) {
    *code = c;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    len = 2;
    value = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3;
    value = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4;
    value = c & 0x07;
  } else {
    *code = c;
    return 1;
  }
  if (i + len > text.size()) {
    *code = c;
    return 1;
  }
  for (size_t k = 1; k < len; ++k) {
    unsigned char d = static_cast<unsigned char>(text[i + k]);
    if ((d & 0xC0) != 0x80) {
      *code = c;
      return 1;
    }
    value = (value << 6) | (d & 0x3F);
  }
  *code = value;
  return len;
}

bool IsWide(unsigned cp) {
  return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
         (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
         (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
         (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
}

}  // namespace

size_t GlyphAt(std::string_view text, size_t i, int* width) {
  unsigned cp = 0;
  size_t len = DecodeUtf8(text, i, &cp);
  if (cp < 0x20 || cp == 0x7F) {
    *width = 0;
  } else {
    *width = IsWide(cp) ? 2 : 1;
  }
  return len;
}

int DisplayWidth(std::string_view text) {
  int total = 0;
  for (size_t i = 0; i < text.size();) {
    // Printable ASCII, most of what the engine writes, a column each.
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      ++total;
      ++i;
      continue;
    }
    int width = 0;
    i += GlyphAt(text, i, &width);
    total += width;
  }
  return total;
}

void Console::WriteWords(std::string_view text) {
  for (size_t start = 0;;) {
    size_t blank = text.find(' ', start);
    std::string_view word = text.substr(start, blank == std::string_view::npos ? text.npos : blank - start);
    if (start > 0) {
      // Columns used so far, the blank and the word.
      if (Column() + DisplayWidth(word) > kColumns) {
        EndLine();
      } else {
        Write(" ");
      }
    }
    Write(word);
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  EndLine();
}

void Console::NextPrintZone() {
  constexpr int kZone = 14;
  int column = Column();
  int next = ((column - 1) / kZone + 1) * kZone + 1;
  if (next > kColumns) {
    EndLine();
    return;
  }
  Write(std::string(next - column, ' '));
}

}  // namespace pfac
