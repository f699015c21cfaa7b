// An in-memory 80 x 25 screen for tests: every cell keeps its character and
// colours, the cursor moves as on the terminal, everything written is kept in
// a transcript, and keys come from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/platform/console.h"

namespace pfac {

class MemoryConsole : public Console {
 public:
  struct Cell {
    std::string glyph = " ";  // "" for the right half of a wide character
    int foreground = 7;
    int background = 0;
  };

  MemoryConsole();

  void Clear() override;
  void Locate(int row, int column) override;
  void Write(std::string_view text) override;
  void EndLine() override;
  void SetColour(int foreground, int background) override;
  int ReadKey() override;
  int WaitKey() override;
  int Column() const override;

  int Row() const { return row_; }
  const Cell& At(int row, int column) const;
  // The text of one screen row without its trailing blanks.
  std::string RowText(int row) const;
  // Everything written, in order; each line end is a "\n".
  const std::string& Transcript() const { return transcript_; }
  void ClearTranscript() { transcript_.clear(); }

  // Queues a key that ReadKey hands out once it has been called afterReads
  // more times; WaitKey takes the next queued key at once.
  void PressKey(int key, long afterReads = 0);
  void PressKeys(std::string_view keys);
  long KeyReads() const { return keyReads_; }
  int KeyWaits() const { return keyWaits_; }

 private:
  struct PendingKey {
    long dueRead;
    int key;
  };

  void NewLine();
  void ScrollMainArea();
  Cell& CellAt(int row, int column);

  std::vector<Cell> cells_;
  // Rows 1..24 are a ring in cells_: screen row 1 is stored at this row, so
  // that a scroll moves no cells (a factor of thousands of terms scrolls the
  // screen thousands of times).
  int firstRow_ = 0;
  int row_ = 1;
  int column_ = 1;  // kColumns + 1 after a full row, until the next character
  int foreground_ = 7;
  int background_ = 0;
  bool onStatusRow_ = false;
  int savedRow_ = 1;
  int savedColumn_ = 1;
  std::string transcript_;
  std::deque<PendingKey> keys_;
  long keyReads_ = 0;
  int keyWaits_ = 0;
};

}  // namespace pfac
