// The history of a working folder: the polynomials factored there and their
// results, newest last, kept in a file of the folder so that they survive the
// end of the program. At most the last 200 are kept.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "frontend/results/run_result.h"

namespace pfac::frontend {

inline constexpr char kHistoryFile[] = "pfac-history.json";
inline constexpr size_t kHistoryLimit = 200;

struct HistoryEntry {
  // The polynomial as typed, its blanks tidied (entries of earlier versions:
  // as handed to the engine); either goes back into the box as it stands.
  std::string text;
  ResultSource source;
  std::vector<std::string> notes;
  RunEnd end = RunEnd::Finished;

  RunResult Result() const { return RestoredRunResult(source, notes, end); }
  // The certificate says the factorisation is complete (or says "not
  // complete" and the complete one follows).
  bool Certified() const { return end == RunEnd::Certified; }
};

class History {
 public:
  // Reads the history file of the folder; none is an empty history. A file
  // that cannot be read is set aside under a name of its own
  // (pfac-history-damaged-N.json) and *notice says so; a file that cannot
  // even be set aside is left as it is and nothing is written over it.
  void Load(const QString& folder, std::string* notice);

  // Adds the result of the text as the newest entry; an older entry of the
  // same polynomial (the same text, or the same echo in jg.dat) over the same
  // field goes, and so
  // do the oldest beyond the limit. The best answer is kept: a result that is
  // not certified never takes the place of a certified entry (it is not
  // kept then), and a run that gave no answer (GaveAnswer) is not kept at
  // all. The file is written at once; false when it could not be.
  bool Add(const std::string& text, const RunResult& result);

  const std::vector<HistoryEntry>& Entries() const { return entries_; }  // oldest first
  // False while a file that could not be read stands where the history goes.
  bool Writable() const { return writable_; }

 private:
  bool Save() const;

  QString file_;
  bool writable_ = false;  // false while a file that could not be read stands in its place
  std::vector<HistoryEntry> entries_;
};

}  // namespace pfac::frontend
