#include "engine/platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "engine/platform/run_signals.h"

namespace pfac {

namespace {

// Writes all of the bytes, going on after a write cut short by a signal.
// Async-signal-safe. False when a write failed.
bool WriteAll(int fd, const char* bytes, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool OutputFile::Create(const std::filesystem::path& path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  good_ = fd_ >= 0;
  if (!good_) return false;
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferSize);
  used_.store(0, std::memory_order_relaxed);
  lastWritten_ = '\n';
  return true;
}

void OutputFile::Write(std::string_view text) {
  if (fd_ < 0) return;
  while (!text.empty()) {
    const size_t used = used_.load(std::memory_order_relaxed);
    if (used == kBufferSize) {
      Flush();
      continue;
    }
    const size_t n = std::min(text.size(), kBufferSize - used);
    std::memcpy(buffer_.get() + used, text.data(), n);
    std::atomic_signal_fence(std::memory_order_release);
    used_.store(used + n, std::memory_order_relaxed);
    text.remove_prefix(n);
  }
}

void OutputFile::EndLine() { Write("\r\n"); }

bool OutputFile::LineOpen() const {
  const size_t used = used_.load(std::memory_order_relaxed);
  return (used > 0 ? buffer_[used - 1] : lastWritten_) != '\n';
}

void OutputFile::WriteRecord(std::string_view field) {
  Write("\"");
  Write(field);
  Write("\"");
  EndLine();
}

void OutputFile::WriteRecord(std::string_view first, std::string_view second) {
  Write("\"");
  Write(first);
  Write("\",\"");
  Write(second);
  Write("\"");
  EndLine();
}

// A buffer that cannot be written is dropped, and the file is not good.
void OutputFile::Flush() {
  RunSignalsBlocked blocked(SignalResultFile() == this);
  const size_t used = used_.load(std::memory_order_relaxed);
  if (used == 0) return;
  if (WriteAll(fd_, buffer_.get(), used)) {
    lastWritten_ = buffer_[used - 1];
  } else {
    good_ = false;
  }
  used_.store(0, std::memory_order_relaxed);
}

bool OutputFile::Close() {
  if (fd_ < 0) return good_;
  RunSignalsBlocked blocked(SignalResultFile() == this);
  Flush();
  if (::close(fd_) != 0) good_ = false;
  fd_ = -1;
  if (SignalResultFile() == this) SetSignalResultFile(nullptr);
  return good_;
}

void OutputFile::CompleteOnSignal() {
  if (IsOpen()) SetSignalResultFile(this);
}

void OutputFile::WriteOutAfterSignal(const char* stopLine) {
  if (fd_ < 0) return;
  const size_t used = used_.load(std::memory_order_relaxed);
  std::atomic_signal_fence(std::memory_order_acquire);
  WriteAll(fd_, buffer_.get(), used);
  const char last = used > 0 ? buffer_[used - 1] : lastWritten_;
  if (last != '\n') WriteAll(fd_, "\r\n", 2);
  WriteAll(fd_, stopLine, std::strlen(stopLine));
  WriteAll(fd_, "\r\n", 2);
  used_.store(0, std::memory_order_relaxed);
  lastWritten_ = '\n';
}

bool InputFile::Open(const std::filesystem::path& path) {
  Close();
  // Only a regular file has an end: a device in its place (jg.dat linked to
  // /dev/full, say) would be read for ever.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return false;
  OpenText(content.str());
  return true;
}

void InputFile::OpenText(std::string text) {
  text_ = std::move(text);
  position_ = 0;
  open_ = true;
}

void InputFile::Close() {
  text_.clear();
  position_ = 0;
  open_ = false;
}

bool InputFile::AtLineEnd() const {
  return position_ < text_.size() && (text_[position_] == '\r' || text_[position_] == '\n');
}

void InputFile::SkipLineEnd() {
  if (position_ < text_.size() && text_[position_] == '\r') ++position_;
  if (position_ < text_.size() && text_[position_] == '\n') ++position_;
}

std::string InputFile::ReadField() {
  while (position_ < text_.size() && text_[position_] == ' ') ++position_;
  std::string field;
  if (position_ < text_.size() && text_[position_] == '"') {
    size_t close = text_.find('"', position_ + 1);
    if (close == std::string::npos) close = text_.size();
    field = text_.substr(position_ + 1, close - position_ - 1);
    position_ = close < text_.size() ? close + 1 : close;
    // Whatever stands between the closing quote and the delimiter is dropped.
    while (position_ < text_.size() && text_[position_] != ',' && !AtLineEnd()) ++position_;
  } else {
    size_t start = position_;
    while (position_ < text_.size() && text_[position_] != ',' && !AtLineEnd()) ++position_;
    field = text_.substr(start, position_ - start);
    while (!field.empty() && field.back() == ' ') field.pop_back();
  }
  if (position_ < text_.size() && text_[position_] == ',') {
    ++position_;
  } else {
    SkipLineEnd();
  }
  return field;
}

std::string InputFile::ReadNumberField() {
  while (position_ < text_.size() &&
         (text_[position_] == ' ' || text_[position_] == ',' || AtLineEnd())) {
    ++position_;
  }
  size_t start = position_;
  while (position_ < text_.size() && text_[position_] != ' ' && text_[position_] != ',' &&
         !AtLineEnd()) {
    ++position_;
  }
  std::string field = text_.substr(start, position_ - start);
  // A blank or comma after the number is its delimiter and is consumed; a
  // line end is left for the next read.
  if (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == ',')) {
    ++position_;
  }
  return field;
}

std::string InputFile::ReadRestOfLine() {
  while (position_ < text_.size() && text_[position_] == ' ') ++position_;
  if (AtLineEnd()) SkipLineEnd();
  std::string line = ReadLine();
  size_t first = line.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  size_t last = line.find_last_not_of(' ');
  return line.substr(first, last - first + 1);
}

std::string InputFile::ReadLine() {
  size_t start = position_;
  while (position_ < text_.size() && !AtLineEnd()) ++position_;
  std::string line = text_.substr(start, position_ - start);
  SkipLineEnd();
  return line;
}

std::string FirstFieldOfFirstLine(std::string_view text) {
  size_t end = text.find_first_of("\r\n");
  std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end);
  size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  line.remove_prefix(first);
  if (line.front() == '"') {
    size_t close = line.find('"', 1);
    if (close == std::string_view::npos) close = line.size();
    return std::string(line.substr(1, close - 1));
  }
  size_t comma = line.find(',');
  if (comma != std::string_view::npos) line = line.substr(0, comma);
  size_t last = line.find_last_not_of(' ');
  return std::string(line.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

}  // namespace pfac

namespace pfac {

bool ReadFilePrefix(const std::filesystem::path& path, size_t maxBytes, std::string* text) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  // In pieces, so that a short file costs a short buffer: DXS.DAT holds one
  // line, and clearing megabytes for it would cost the engine's start more
  // than everything else it does before the search.
  text->clear();
  char piece[4096];
  while (text->size() < maxBytes) {
    size_t want = std::min(sizeof piece, maxBytes - text->size());
    size_t n = std::fread(piece, 1, want, file);
    text->append(piece, n);
    if (n < want) break;
  }
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return !failed;
}

}  // namespace pfac
