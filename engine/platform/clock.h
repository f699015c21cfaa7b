// The time of day as the engine reads it, and the cheap gate that tells the
// search when it is worth reading the clock and the keyboard again.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace pfac {

class Clock {
 public:
  virtual ~Clock() = default;
  // The time of day as "hh:mm:ss".
  virtual std::string TimeOfDay() = 0;
  // A flag that the clock raises every few milliseconds of real time, for the
  // search's interruption poll: while it is down the poll costs one load. A
  // clock without one (nullptr) lets the poll count its calls instead, which
  // keeps runs on a fake clock the same from one run to the next.
  virtual std::atomic<bool>* TickFlag() { return nullptr; }
  // Milliseconds since some fixed moment, never going back: what the engine
  // measures short spans of a search with. Reading it moves no fake clock on.
  virtual int64_t Milliseconds() = 0;
};

class RealClock : public Clock {
 public:
  RealClock() = default;
  ~RealClock() override;
  RealClock(const RealClock&) = delete;
  RealClock& operator=(const RealClock&) = delete;

  std::string TimeOfDay() override;
  std::atomic<bool>* TickFlag() override;
  int64_t Milliseconds() override;

 private:
  // What the clock and its ticker thread share. The thread holds it as long as
  // it runs, so that the clock can go without waiting for the thread to end:
  // at the end of the program that wait would cost more than a short run.
  struct Ticker {
    std::atomic<bool> tick{true};
    std::mutex lock;
    std::condition_variable stopSignal;  // wakes the ticker out of its wait
    bool stopping = false;
  };
  std::shared_ptr<Ticker> ticker_ = std::make_shared<Ticker>();
  bool started_ = false;
};

// A clock for tests: it stands still unless a test sets or advances it, or it
// is told to move on by a fixed step at every reading.
class FakeClock : public Clock {
 public:
  explicit FakeClock(int hours = 10, int minutes = 0, int seconds = 0);
  std::string TimeOfDay() override;
  // Moves on with every reading of the time of day and with Advance, not
  // with Set.
  int64_t Milliseconds() override { return elapsedMs_; }

  void Set(int hours, int minutes, int seconds);
  void Advance(long seconds);
  void SetStepPerReading(long seconds) { stepPerReadingMs_ = seconds * 1000; }
  void SetStepPerReadingMs(long milliseconds) { stepPerReadingMs_ = milliseconds; }
  long Readings() const { return readings_; }

 private:
  long millisecondsOfDay_ = 0;
  int64_t elapsedMs_ = 0;
  long stepPerReadingMs_ = 0;
  long readings_ = 0;
};

// "hh:mm:ss" of a number of seconds since midnight.
std::string FormatTimeOfDay(long secondsOfDay);

}  // namespace pfac
