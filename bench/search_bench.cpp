// The search in-process on a fixed set of polynomials: levels per second, and
// the share of the time spent in the interruption poll, measured against the
// same search with the poll replaced by nothing, in one run, alternating.
//
//   build/bin/search_bench [rounds]
//   build/bin/search_bench --one INDEX    one run of polynomial INDEX (0-4) with
//                                         the poll, for a profiler such as
//                                         valgrind --tool=callgrind
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
  const bool one = argc > 2 && std::string(argv[1]) == "--one";
  int rounds = !one && argc > 1 ? std::atoi(argv[1]) : 5;
  // From milliseconds to seconds of search.
  const std::vector<std::string> polynomials = {
      "x^10+5x^9-9x^8+13x^7-7x^6+3x^5-11x^4+17x^3-2x^2+19x-1",
      "x^14+5x^13-9x^12+13x^11-7x^10+3x^9-11x^8+17x^7-2x^6+19x^5-23x^4+6x^3-29x^2+31x-1",
      "x^20+7x^19-11x^18+23x^17-5x^16+31x^15-17x^14+29x^13-3x^12+19x^11-37x^10+13x^9-41x^8+"
      "2x^7+43x^6-9x^5+47x^4-21x^3+33x^2-27x+1",
      "x^16+5x^15-9x^14+13x^13-7x^12+3x^11-11x^10+17x^9-2x^8+19x^7-23x^6+6x^5-29x^4+31x^3-x^2+"
      "4x-1",
      "x^18+5x^17-9x^16+13x^15-7x^14+3x^13-11x^12+17x^11-2x^10+19x^9-23x^8+6x^7-29x^6+31x^5-"
      "x^4+4x^3-x^2+2x-1",
  };

  if (one) {
    size_t index = static_cast<size_t>(std::atoi(argv[2]));
    if (index >= polynomials.size()) return 2;
    Measure m = RunOnce(polynomials[index], true);
    std::printf("%s\n%ld levels in %.3f s\n", polynomials[index].c_str(), m.levels, m.seconds);
    return 0;
  }

  std::printf("%-40s %12s %14s %10s\n", "polynomial", "levels", "levels/s", "poll share");
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
    std::printf("%-40.40s %12ld %14.0f %9.1f%%\n", p.c_str(), levels, levels / w, 100.0 * (w - wo) / w);
  }
  std::printf("all: poll share %.1f%% of the search time\n",
              100.0 * (totalWith - totalWithout) / totalWith);
  return 0;
}
