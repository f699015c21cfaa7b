// The search in-process on a fixed set of polynomials: levels per second, and
// the share of the time spent in the interruption poll, measured against the
// same search with the poll replaced by nothing, in one run, alternating.
//
//   build/bin/search_bench [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/engine.h"
#include "engine/platform/clock.h"
#include "engine/platform/memory_console.h"

namespace {

// The time of day stands still (no time limit is ever reached), while the
// poll's gate follows real time as on the terminal.
class StillClock : public pfac::RealClock {
 public:
  std::string TimeOfDay() override { return "10:00:00"; }
};

struct Measure {
  double seconds;
  long levels;
};

Measure RunOnce(const std::string& polynomial, bool poll) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                 ("pfac-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "DXS.DAT", std::ios::binary) << "\"" << polynomial << "\"\r\n";
  pfac::MemoryConsole console;
  StillClock clock;
  pfac::Engine engine(console, clock, folder);
  if (!poll) engine.DisablePoll();
  auto start = std::chrono::steady_clock::now();
  engine.Run();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::filesystem::remove_all(folder);
  return {seconds, engine.LevelsSolved()};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  // From milliseconds to seconds of search.
  const std::vector<std::string> polynomials = {
      "x^6+3x^5-x^4+7x^3+5x^2-x+11",
      "x^8+2x^7-3x^6+x^5+5x^4-2x^3+x^2-3x+30",
      "x^10-3x^9+2x^8+x^7-5x^6+4x^5+x^4-2x^3+3x^2-x+60",
      "x^12+2x^11-3x^10+5x^9+x^8-7x^7+2x^6+3x^5-x^4+x^3+4x^2-x+360",
  };
  std::printf("%-62s %12s %14s %10s\n", "polynomial", "levels", "levels/s", "poll share");
  double totalWith = 0, totalWithout = 0;
  for (const std::string& p : polynomials) {
    std::vector<double> with, without;
    long levels = 0;
    for (int r = 0; r < rounds; ++r) {
      Measure a = RunOnce(p, true);
      Measure b = RunOnce(p, false);
      with.push_back(a.seconds);
      without.push_back(b.seconds);
      levels = a.levels;
    }
    double w = Median(with), wo = Median(without);
    totalWith += w;
    totalWithout += wo;
    std::printf("%-62s %12ld %14.0f %9.1f%%\n", p.c_str(), levels, levels / w, 100.0 * (w - wo) / w);
  }
  std::printf("all: poll share %.1f%% of the search time\n",
              100.0 * (totalWith - totalWithout) / totalWith);
  return 0;
}
