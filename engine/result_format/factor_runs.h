// Runs of equal consecutive factors in the lines of jg.dat written once with
// an exponent, in the two forms that show jg.dat: the console's (the results
// display at the end of a run) and the paper's (the working printed under a
// result). jg.dat itself always writes a factor of multiplicity k k times.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pfac::format {

// ---- the console's form ------------------------------------------------------
// A run is "^" and its length as a number item: "(x + 1)^ 3 ". Consecutive
// collapsed lines continue one another on one console line.

// A line of factors in parentheses with each run of equal consecutive factors
// written once, then "^" and the run's length as a number item. Text before
// the first factor stays; text after the last ")" (or after a "(" that has no
// ")") follows unchanged.
std::string CollapseForConsole(std::string_view line);

// How the results display shows a line of jg.dat.
enum class ConsoleShow {
  kWords,       // a line that follows the result: on lines of its own, broken at blanks
  kAsItStands,  // on a line of its own
  kNewLine,     // a collapsed line without a factor: from the start of a new line
  kContinued,   // collapsed, continuing the console line where it stands
};
struct ConsoleLine {
  ConsoleShow show = ConsoleShow::kAsItStands;
  std::string text;
};
// Line lineNumber (from 1) of jg.dat as the results display shows it. Lines 1
// to 5 stand as they are, but line 4 is collapsed when fourthLineIsResult (no
// split was reported, so that the report's lines are missing and line 4 holds
// the result); later lines are collapsed.
ConsoleLine ConsoleForm(const std::string& line, int16_t lineNumber, bool fourthLineIsResult);

// ---- the paper's form --------------------------------------------------------
// A run is "^", a blank and its length, without a trailing blank: "(x + 1)^ 3".
// A collapsed line printed just before is not printed again.

// CollapseForConsole with the paper's run.
std::string CollapseForPaper(std::string_view line);

// The lines of jg.dat (line ends removed) as they are printed as the working:
// lines 1 to 3, and a line 4 that holds "[", as they stand; a later line that
// holds factors collapsed, and only when that differs from the line printed
// before; any other line as it stands.
std::vector<std::string> PaperLines(const std::vector<std::string>& lines);

}  // namespace pfac::format
