#include "frontend/engine_link/result_file.h"

#include <system_error>

#include "frontend/engine_link/engine_files.h"
#include "frontend/storage/file_table.h"

namespace pfac::frontend {

namespace {

// jg.dat is file 3 while it is read.
constexpr int kResultNumber = 3;

}  // namespace

std::optional<std::vector<std::string>> ReadResultFile(const std::filesystem::path& folder) {
  FileTable files;
  if (!files.OpenForInput(kResultNumber, folder / kResultFile)) return std::nullopt;
  std::vector<std::string> lines;
  while (!files.AtEnd(kResultNumber)) lines.push_back(files.ReadLine(kResultNumber));
  files.Close(kResultNumber);
  return lines;
}

bool ResultIsNewer(const std::filesystem::path& resultFile, const std::filesystem::path& handOffFile) {
  std::error_code error;
  const auto result = std::filesystem::last_write_time(resultFile, error);
  if (error) return false;
  const auto handOff = std::filesystem::last_write_time(handOffFile, error);
  if (error) return false;
  return result >= handOff;
}

}  // namespace pfac::frontend
