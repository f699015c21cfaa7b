#include "frontend/engine_link/result_file.h"

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

}  // namespace pfac::frontend
