// jg.dat as the engine writes it: the text of its lines, and beside it the
// result lines as values (format::ResultRecord), recorded as the writers write
// each piece, with exactly the value that its text stands for. The
// certificate judges the values, never the text read back. One class holds
// both, so that a line ended in the file is ended in the values as well, and
// no writer pairs the two by hand.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "engine/result_format/result_line.h"
#include "engine/numbers.h"
#include "engine/platform/files.h"

namespace pfac {

class ResultFile {
 public:
  // Creates (empties) the file; false when it cannot be made.
  bool Create(const std::filesystem::path& path) { return file_.Create(path); }
  // While the file is open, a run signal that ends the engine leaves in it
  // what was written and a line that says the run was stopped.
  void CompleteOnSignal() { file_.CompleteOnSignal(); }
  bool IsOpen() const { return file_.IsOpen(); }
  // True when the line being written has not been ended.
  bool LineOpen() const { return file_.LineOpen(); }
  // False when a write failed since the file was created.
  bool Close() { return file_.Close(); }

  // Text on the line being written: as it stands, a number text, a number item.
  void Write(std::string_view text) { file_.Write(text); }
  void WriteNumberText(float v) { file_.Write(NumberText(v)); }
  void WriteNumberItem(float v) { file_.Write(NumberItem(v)); }
  // Ends the line being written, in the file and in the values.
  void EndLine() {
    file_.EndLine();
    values_.EndLine();
  }

  // The values of what the line's text stands for: "=" and the common factor
  // open a segment; each factor written adds itself to the segment open on
  // the line, marked unreadable when its text does not hold its value (a
  // number written rounded, a letter outside a-z).
  void OpenSegment(format::ResultProduct common) { values_.OpenSegment(std::move(common)); }
  void AddFactor(format::LetterPoly factor, bool unreadable) {
    values_.AddFactor(std::move(factor));
    if (unreadable) values_.MarkUnreadable();
  }

  // The segment the certificate judges: the last segment of the last line
  // that begins with "=" and holds a factor, the echo's line excepted;
  // nullopt when no line holds a factor.
  std::optional<format::ResultProduct> Judged() const { return values_.Judged(); }
  // The last segment written, on whatever line: "=0" and a single term stand
  // on the echo's line, without a factor.
  const std::optional<format::ResultProduct>& Latest() const { return values_.Latest(); }

 private:
  OutputFile file_;             // file number 3, the text
  format::ResultRecord values_;  // its result lines as values
};

}  // namespace pfac
