// Reading the engine's result file jg.dat: the one place of the front end
// that opens it, and the comparison of its time with the hand-off file's.
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

// True when the result file was written after the hand-off file (both exist):
// only then is it the result of the polynomial handed off.
bool ResultIsNewer(const std::filesystem::path& resultFile, const std::filesystem::path& handOffFile);

}  // namespace pfac::frontend
