// Files by number, as the windows' commands use them: a number names one open
// file until it is closed. Output files are created (emptied) and written line
// by line; input files are read line by line.
#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace pfac::frontend {

class FileTable {
 public:
  FileTable() = default;
  ~FileTable() { CloseAll(); }
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  // Creates or empties the file and opens it as the number. False when the
  // file cannot be created; the number is then closed.
  bool OpenForOutput(int number, const std::filesystem::path& path);
  // Writes the text in double quotes, then CR LF. False when the number is not
  // an open output file or the write failed.
  bool WriteQuotedLine(int number, std::string_view text);

  // Opens an existing file for reading as the number. The whole file is read
  // here, so that a file that cannot be read fails now and not half-way
  // through. False when it cannot be opened or read; the number is then closed.
  bool OpenForInput(int number, const std::filesystem::path& path);
  // True when the number is not an open input file or all of it has been read.
  bool AtEnd(int number) const;
  // The next line, without its line end (CR LF, LF or CR).
  std::string ReadLine(int number);

  bool IsOpen(int number) const { return files_.count(number) != 0; }
  // Closes one file; nothing happens when the number is not open. False when
  // what was written did not all reach the file.
  bool Close(int number);
  void CloseAll();

 private:
  struct File {
    std::FILE* output = nullptr;  // set for an output file
    bool good = true;             // no write of the output file failed
    std::string text;             // an input file's content
    size_t position = 0;          // where the next input line starts
  };

  std::map<int, File> files_;
};

}  // namespace pfac::frontend
