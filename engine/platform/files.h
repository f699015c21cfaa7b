// The engine's files: sequential text files in the working folder. Working
// files hold records of double-quoted fields separated by commas, one record a
// line; every line ends with CR LF.
#pragma once

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pfac {

// A text file created (emptied) and written piece by piece. The pieces are
// gathered in a buffer of its own and written out when it fills and at Close.
// The result file of a run asks to be completed when a signal ends the
// engine: the handler then writes out what the buffer holds and a stop line.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool Create(const std::filesystem::path& path);
  bool IsOpen() const { return fd_ >= 0; }
  void Write(std::string_view text);
  void EndLine();  // CR LF
  // One record: each field in double quotes, commas between, CR LF.
  void WriteRecord(std::string_view field);
  void WriteRecord(std::string_view first, std::string_view second);
  // False when a write failed since the file was created.
  bool Good() const { return good_; }
  // True when the last line written has not been ended.
  bool LineOpen() const;
  // Hands what was written so far to the file system, so that the file can be
  // read back while it stays open.
  void Flush();
  bool Close();

  // While this file is open, a run signal that ends the engine leaves in it
  // what was written, then a line that says the run was stopped.
  void CompleteOnSignal();
  // The handler's part: the buffer written out, the open line ended and the
  // stop line written. Async-signal-safe.
  void WriteOutAfterSignal(const char* stopLine);

 private:
  static constexpr size_t kBufferSize = 4096;

  int fd_ = -1;
  bool good_ = true;
  std::unique_ptr<char[]> buffer_;
  // Bytes of buffer_ not yet in the file; stored after the bytes themselves,
  // so that a handler never reads a byte that is not there yet.
  std::atomic<size_t> used_{0};
  char lastWritten_ = '\n';  // the last byte that reached the file
};

// A whole text file read into memory, taken apart field by field or line by
// line from the front.
class InputFile {
 public:
  // False when the path is not a regular file or cannot be read.
  bool Open(const std::filesystem::path& path);
  void OpenText(std::string text);  // for tests and callers that hold the text
  bool IsOpen() const { return open_; }
  void Close();
  bool AtEnd() const { return position_ >= text_.size(); }

  // One field of a record: leading blanks skipped; a quoted field is the text
  // up to the closing quote; otherwise the text up to a comma or the line end,
  // without trailing blanks. The comma or line end after it is consumed.
  std::string ReadField();
  // One number of a list separated by blanks, commas or line ends.
  std::string ReadNumberField();
  // The rest of the current line, without leading and trailing blanks; when
  // nothing but blanks is left on it, the next line.
  std::string ReadRestOfLine();
  // The next whole line without its line end.
  std::string ReadLine();

 private:
  void SkipLineEnd();
  bool AtLineEnd() const;

  std::string text_;
  size_t position_ = 0;
  bool open_ = false;
};

// The polynomial field of the first line of DXS.DAT: blanks around it dropped;
// a field that starts with a double quote runs to the next double quote,
// otherwise to the first comma or the end of the line.
std::string FirstFieldOfFirstLine(std::string_view text);

}  // namespace pfac

namespace pfac {

// Reads at most maxBytes of a file. False when the file cannot be opened or read.
bool ReadFilePrefix(const std::filesystem::path& path, size_t maxBytes, std::string* text);

}  // namespace pfac
