#include "support/temp_folder.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

namespace pfac::testing {

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("pfac-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void TempFolder::Write(const std::string& name, const std::string& content) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out << content;
}

std::string TempFolder::Read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool TempFolder::Exists(const std::string& name) const {
  return std::filesystem::exists(path_ / name);
}

}  // namespace pfac::testing
