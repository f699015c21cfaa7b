// The finished result on the console: the lines of jg.dat as the engine wrote
// them, runs of equal consecutive factors written once with an exponent ("^"
// and the run length as a number item), consecutive result lines continued on
// one console line, and the lines that follow the result (a note on an exact
// factor, the certificate, an internal error) each on lines of its own,
// broken at blanks.
#pragma once

#include "engine/platform/console.h"
#include "engine/platform/files.h"

namespace pfac {

// Shows the lines of jg (open, read from where it stands to its end). Lines 1
// to 5 are shown as they stand, but line 4 is collapsed as a result line when
// fourthLineIsResult (no split was reported, so that the report's lines are
// missing and line 4 holds the result).
void ShowResultLines(Console& console, InputFile& jg, bool fourthLineIsResult);

}  // namespace pfac
