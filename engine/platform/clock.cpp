#include "engine/platform/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace pfac {

std::string FormatTimeOfDay(long secondsOfDay) {
  long s = ((secondsOfDay % 86400) + 86400) % 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600, (s / 60) % 60, s % 60);
  return text;
}

std::string RealClock::TimeOfDay() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return FormatTimeOfDay(local.tm_hour * 3600L + local.tm_min * 60L + local.tm_sec);
}

int64_t RealClock::Milliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A few milliseconds between looks keeps the X key prompt and costs the
// search nothing it would notice. The ticker starts with the first request.
std::atomic<bool>* RealClock::TickFlag() {
  if (!started_) {
    started_ = true;
    std::thread([ticker = ticker_] {
      std::unique_lock<std::mutex> lock(ticker->lock);
      while (!ticker->stopSignal.wait_for(lock, std::chrono::milliseconds(2),
                                          [&] { return ticker->stopping; })) {
        ticker->tick.store(true, std::memory_order_relaxed);
      }
    }).detach();
  }
  return &ticker_->tick;
}

// Tells the ticker to stop and goes on: the ticker ends on its own.
RealClock::~RealClock() {
  if (!started_) return;
  {
    std::lock_guard<std::mutex> lock(ticker_->lock);
    ticker_->stopping = true;
  }
  ticker_->stopSignal.notify_one();
}

FakeClock::FakeClock(int hours, int minutes, int seconds) { Set(hours, minutes, seconds); }

void FakeClock::Set(int hours, int minutes, int seconds) {
  millisecondsOfDay_ = (hours * 3600L + minutes * 60L + seconds) * 1000;
}

void FakeClock::Advance(long seconds) {
  millisecondsOfDay_ = (millisecondsOfDay_ + seconds * 1000) % 86400000;
  elapsedMs_ += seconds * 1000;
}

std::string FakeClock::TimeOfDay() {
  ++readings_;
  std::string text = FormatTimeOfDay(millisecondsOfDay_ / 1000);
  millisecondsOfDay_ = (millisecondsOfDay_ + stepPerReadingMs_) % 86400000;
  elapsedMs_ += stepPerReadingMs_;
  return text;
}

}  // namespace pfac
