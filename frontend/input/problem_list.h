// A worksheet's list as it was typed or loaded: one polynomial a line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pfac::frontend {

// The problems of a list: each line that holds more than blanks, without the
// blanks at its ends; a byte-order mark at the start of the list is no part
// of its first line.
std::vector<std::string> ProblemLines(std::string_view list);

}  // namespace pfac::frontend
