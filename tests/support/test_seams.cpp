#include "support/test_seams.h"

#include <stdlib.h>
#include <time.h>

#include "platform/net.h"
#include "platform/sleep.h"

namespace tavi::testing {

RecordingSleeper::RecordingSleeper() {
  platform::SetSleeper([this](std::chrono::milliseconds wait) {
    std::lock_guard<std::mutex> guard(lock_);
    waits_.push_back(wait);
  });
}

RecordingSleeper::~RecordingSleeper() { platform::SetSleeper({}); }

std::vector<std::chrono::milliseconds> RecordingSleeper::Waits() const {
  std::lock_guard<std::mutex> guard(lock_);
  return waits_;
}

void RecordingSleeper::Clear() {
  std::lock_guard<std::mutex> guard(lock_);
  waits_.clear();
}

PinnedUtcClock::PinnedUtcClock(platform::Clock::time_point instant) {
  setenv("TZ", "UTC0", 1);
  tzset();
  platform::PinClock(instant);
}

PinnedUtcClock::~PinnedUtcClock() { platform::ResetClock(); }

void PinnedUtcClock::MoveTo(platform::Clock::time_point instant) { platform::PinClock(instant); }

ScopedTimeZone::ScopedTimeZone(const char* zone) {
  if (const char* old = std::getenv("TZ")) old_ = old;
  setenv("TZ", zone, 1);
  tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
  if (old_) setenv("TZ", old_->c_str(), 1);
  if (!old_) unsetenv("TZ");
  tzset();
}

platform::Clock::time_point UtcInstant(int year, unsigned month, unsigned day, int hour, int minute,
                                       int second) {
  using namespace std::chrono;
  return sys_days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}} +
         hours{hour} + minutes{minute} + seconds{second};
}

QuickNetTimeouts::QuickNetTimeouts() {
  platform::NetTimeouts quick;
  quick.connect = std::chrono::seconds(5);
  quick.idle = std::chrono::seconds(1);
  quick.low_speed_bytes_per_second = 100;
  quick.low_speed_time = std::chrono::seconds(2);
  platform::SetNetTimeouts(quick);
}

QuickNetTimeouts::~QuickNetTimeouts() {
  platform::SetNetTimeouts(platform::NetTimeouts::Defaults());
}

ResetNetCancelAtEnd::~ResetNetCancelAtEnd() { platform::ResetNetCancel(); }

}  // namespace tavi::testing
