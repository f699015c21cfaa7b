#include "engine/platform/memory_console.h"

namespace pfac {

MemoryConsole::MemoryConsole() : cells_(kRows * kColumns) {}

namespace {

constexpr int kScrolledRows = Console::kStatusRow - 1;

// Where a screen row is stored, with screen row 1 stored at firstRow.
int StoredRow(int row, int firstRow) {
  if (row < 1 || row > kScrolledRows) return row - 1;
  return (row - 1 + firstRow) % kScrolledRows;
}

}  // namespace

MemoryConsole::Cell& MemoryConsole::CellAt(int row, int column) {
  return cells_[StoredRow(row, firstRow_) * kColumns + (column - 1)];
}

const MemoryConsole::Cell& MemoryConsole::At(int row, int column) const {
  return cells_.at(StoredRow(row, firstRow_) * kColumns + (column - 1));
}

std::string MemoryConsole::RowText(int row) const {
  std::string text;
  for (int c = 1; c <= kColumns; ++c) text += At(row, c).glyph;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

void MemoryConsole::Clear() {
  for (Cell& cell : cells_) cell = Cell{" ", foreground_, background_};
  firstRow_ = 0;
  row_ = 1;
  column_ = 1;
  onStatusRow_ = false;
}

void MemoryConsole::Locate(int row, int column) {
  if (row < 1) row = 1;
  if (row > kRows) row = kRows;
  if (column < 1) column = 1;
  if (column > kColumns) column = kColumns;
  if (row == kStatusRow && !onStatusRow_) {
    savedRow_ = row_;
    savedColumn_ = column_;
    onStatusRow_ = true;
  } else if (row != kStatusRow) {
    onStatusRow_ = false;
  }
  row_ = row;
  column_ = column;
}

void MemoryConsole::ScrollMainArea() {
  firstRow_ = (firstRow_ + 1) % kScrolledRows;
  for (int c = 1; c <= kColumns; ++c) {
    CellAt(kStatusRow - 1, c) = Cell{" ", foreground_, background_};
  }
}

void MemoryConsole::NewLine() {
  column_ = 1;
  if (onStatusRow_) return;  // the status row does not scroll
  if (row_ < kStatusRow - 1) {
    ++row_;
  } else {
    ScrollMainArea();
  }
}

void MemoryConsole::Write(std::string_view text) {
  transcript_.append(text);
  for (size_t i = 0; i < text.size();) {
    int width = 0;
    size_t len = GlyphAt(text, i, &width);
    std::string glyph(text.substr(i, len));
    i += len;
    if (width == 0) continue;
    if (column_ + width - 1 > kColumns) NewLine();
    Cell& cell = CellAt(row_, column_);
    cell = Cell{glyph, foreground_, background_};
    if (width == 2) CellAt(row_, column_ + 1) = Cell{"", foreground_, background_};
    column_ += width;
  }
}

void MemoryConsole::EndLine() {
  transcript_ += '\n';
  if (onStatusRow_) {
    onStatusRow_ = false;
    row_ = savedRow_;
    column_ = savedColumn_;
    return;
  }
  NewLine();
}

void MemoryConsole::SetColour(int foreground, int background) {
  foreground_ = foreground;
  background_ = background;
}

int MemoryConsole::ReadKey() {
  ++keyReads_;
  if (!keys_.empty() && keys_.front().dueRead <= keyReads_) {
    int key = keys_.front().key;
    keys_.pop_front();
    return key;
  }
  return kNoKey;
}

int MemoryConsole::WaitKey() {
  ++keyWaits_;
  if (keys_.empty()) return kNoKey;
  int key = keys_.front().key;
  keys_.pop_front();
  return key;
}

int MemoryConsole::Column() const { return column_; }

void MemoryConsole::PressKey(int key, long afterReads) {
  keys_.push_back(PendingKey{keyReads_ + afterReads + 1, key});
}

void MemoryConsole::PressKeys(std::string_view keys) {
  for (char c : keys) PressKey(static_cast<unsigned char>(c));
}

}  // namespace pfac
