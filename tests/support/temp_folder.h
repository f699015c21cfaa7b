// A working folder of its own for a run of the engine, shared by the tests
// and the fuzz target (no test framework here).
#pragma once

#include <filesystem>
#include <string>

namespace pfac::testing {

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void Write(const std::string& name, const std::string& content) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace pfac::testing
