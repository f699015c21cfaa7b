// Runs of equal factors in the lines of jg.dat written once with an
// exponent: in one line of factors, and in the run's lines as the printout
// gives them as the working.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pfac::frontend {

// A line of factors in parentheses with each run of equal consecutive factors
// written once, followed by "^", a blank and the run's length. Text before the
// first factor stays; text after the last ")" (or after a "(" that has no ")")
// is appended unchanged and ends the line.
std::string CollapseFactors(std::string_view line);

// The lines of jg.dat (line ends removed) as they are printed as the working:
// lines 1 to 3, and a line 4 that holds "[", as they stand; a later line that
// holds factors with its runs of equal factors collapsed, and only when that
// differs from the line printed before; any other line as it stands.
std::vector<std::string> WorkingLines(const std::vector<std::string>& lines);

}  // namespace pfac::frontend
