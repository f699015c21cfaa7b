// The time of day as the engine reads it, and the cheap gate that tells the
// search when it is worth reading the clock and the keyboard again.
#pragma once

#include <chrono>
#include <string>

namespace pfac {

class Clock {
 public:
  virtual ~Clock() = default;
  // The time of day as "hh:mm:ss".
  virtual std::string TimeOfDay() = 0;
  // Asked by the search's interruption poll (after its own cheap count) whether
  // enough time has passed since the last "yes" to look at the clock and the
  // keyboard again.
  virtual bool PollDue() = 0;
};

class RealClock : public Clock {
 public:
  std::string TimeOfDay() override;
  bool PollDue() override;

 private:
  std::chrono::steady_clock::time_point lastPoll_{};
};

// A clock for tests: it stands still unless a test sets or advances it, or it
// is told to move on by a fixed step at every reading.
class FakeClock : public Clock {
 public:
  explicit FakeClock(int hours = 10, int minutes = 0, int seconds = 0);
  std::string TimeOfDay() override;
  bool PollDue() override { return true; }

  void Set(int hours, int minutes, int seconds);
  void Advance(long seconds);
  void SetStepPerReading(long seconds) { stepPerReading_ = seconds; }
  long Readings() const { return readings_; }

 private:
  long secondsOfDay_ = 0;
  long stepPerReading_ = 0;
  long readings_ = 0;
};

// "hh:mm:ss" of a number of seconds since midnight.
std::string FormatTimeOfDay(long secondsOfDay);

}  // namespace pfac
