#include "frontend/storage/file_table.h"

#include <fstream>
#include <iterator>

namespace pfac::frontend {

bool FileTable::OpenForOutput(int number, const std::filesystem::path& path) {
  Close(number);
  std::FILE* output = std::fopen(path.c_str(), "wb");
  if (output == nullptr) return false;
  files_[number].output = output;
  return true;
}

bool FileTable::WriteQuotedLine(int number, std::string_view text) {
  auto it = files_.find(number);
  if (it == files_.end() || it->second.output == nullptr) return false;
  File& file = it->second;
  std::string line;
  line.reserve(text.size() + 4);
  line += '"';
  line += text;
  line += "\"\r\n";
  if (std::fwrite(line.data(), 1, line.size(), file.output) != line.size()) file.good = false;
  return file.good;
}

bool FileTable::OpenForInput(int number, const std::filesystem::path& path) {
  Close(number);
  // A folder would open like a file and then fail to read.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return false;
  files_[number].text = std::move(text);
  return true;
}

bool FileTable::AtEnd(int number) const {
  auto it = files_.find(number);
  return it == files_.end() || it->second.output != nullptr ||
         it->second.position >= it->second.text.size();
}

std::string FileTable::ReadLine(int number) {
  if (AtEnd(number)) return {};
  File& file = files_[number];
  const std::string& text = file.text;
  size_t end = text.find_first_of("\r\n", file.position);
  if (end == std::string::npos) end = text.size();
  std::string line = text.substr(file.position, end - file.position);
  file.position = end;
  if (file.position < text.size() && text[file.position] == '\r') ++file.position;
  if (file.position < text.size() && text[file.position] == '\n') ++file.position;
  return line;
}

bool FileTable::Close(int number) {
  auto it = files_.find(number);
  if (it == files_.end()) return true;
  bool good = it->second.good;
  if (it->second.output != nullptr && std::fclose(it->second.output) != 0) good = false;
  files_.erase(it);
  return good;
}

void FileTable::CloseAll() {
  while (!files_.empty()) Close(files_.begin()->first);
}

}  // namespace pfac::frontend
