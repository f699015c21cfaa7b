// Reading the engine's result file jg.dat: the one place of the front end
// that opens it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pfac::frontend {

// The lines of jg.dat in the folder (the current folder when none is given),
// line ends (CR LF, LF or CR) removed. The whole file is read at once;
// nullopt when it is missing or cannot be read.
std::optional<std::vector<std::string>> ReadResultFile(const std::filesystem::path& folder = {});

}  // namespace pfac::frontend
