// The engine's text console: an 80 x 25 screen with a cursor, the 16 colours of
// the text palette and a keyboard read one key at a time. Row 25 is the status
// row of a running search; ordinary output scrolls in rows 1 to 24 only.
#pragma once

#include <string>
#include <string_view>

namespace pfac {

// Columns that a UTF-8 text takes on the screen: Chinese characters take two,
// everything else one. Bytes that are not valid UTF-8 count one column each.
int DisplayWidth(std::string_view text);

// Length in bytes of the character that starts at text[i], with its width on
// the screen in *width (a bad byte is one character of width 1; a control
// character has width 0).
size_t GlyphAt(std::string_view text, size_t i, int* width);

// A foreground and a background colour of the 16-colour text palette.
struct ColourPair {
  int foreground;
  int background;
};
inline constexpr ColourPair kNormalColours{7, 0};    // ordinary output: light grey on black
inline constexpr ColourPair kStatusColours{2, 0};    // the status line of a running search: green on black
inline constexpr ColourPair kWaitingColours{10, 7};  // messages that ask the user to wait: light green on grey
inline constexpr ColourPair kResultColours{4, 7};    // the results display: red on grey

class Console {
 public:
  static constexpr int kRows = 25;
  static constexpr int kColumns = 80;
  static constexpr int kStatusRow = 25;
  static constexpr int kNoKey = -1;

  virtual ~Console() = default;

  virtual void Clear() = 0;
  // Puts the cursor at a row and column, both counted from 1. Moving to the
  // status row keeps the place of ordinary output; the line end that finishes
  // the status text returns the cursor there.
  virtual void Locate(int row, int column) = 0;
  // Writes text at the cursor without ending the line.
  virtual void Write(std::string_view text) = 0;
  virtual void EndLine() = 0;
  virtual void SetColour(int foreground, int background) = 0;
  // One key if one is waiting, kNoKey otherwise.
  virtual int ReadKey() = 0;
  // Waits for one key; kNoKey when there is no keyboard to wait for.
  virtual int WaitKey() = 0;
  // The cursor's column, counted from 1.
  virtual int Column() const = 0;

  void SetColours(ColourPair colours) { SetColour(colours.foreground, colours.background); }
  void WriteLine(std::string_view text) {
    Write(text);
    EndLine();
  }
  // Writes text made of words and blanks and ends the line; a word that would
  // run past the right edge starts the next line instead, in place of the
  // blank before it (a word wider than a row is written whole).
  void WriteWords(std::string_view text);
  // Blanks the status row; ordinary output goes on where it was.
  void ClearStatusRow() {
    Locate(kStatusRow, 1);
    WriteLine(std::string(kColumns, ' '));
  }
  // Moves to the next print zone (zones are 14 columns wide); past the last
  // zone of the line the output goes on at the start of the next line.
  void NextPrintZone();
};

}  // namespace pfac
