#include "engine/platform/clock.h"

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

bool RealClock::PollDue() {
  // A few milliseconds between looks keeps the X key prompt and costs the
  // search nothing it would notice.
  constexpr auto kInterval = std::chrono::milliseconds(4);
  auto now = std::chrono::steady_clock::now();
  if (now - lastPoll_ < kInterval) return false;
  lastPoll_ = now;
  return true;
}

FakeClock::FakeClock(int hours, int minutes, int seconds) { Set(hours, minutes, seconds); }

void FakeClock::Set(int hours, int minutes, int seconds) {
  secondsOfDay_ = hours * 3600L + minutes * 60L + seconds;
}

void FakeClock::Advance(long seconds) { secondsOfDay_ = (secondsOfDay_ + seconds) % 86400; }

std::string FakeClock::TimeOfDay() {
  ++readings_;
  std::string text = FormatTimeOfDay(secondsOfDay_);
  Advance(stepPerReading_);
  return text;
}

}  // namespace pfac
