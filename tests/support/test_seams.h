#pragma once

// The seams through which tests take time and the network out of their way:
// each object installs its stand-in for as long as it lives and puts the
// real thing back when it goes.

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tavi::testing {

// Records every wait instead of sleeping. Safe to wait on from any thread.
class RecordingSleeper {
 public:
  RecordingSleeper();
  ~RecordingSleeper();
  RecordingSleeper(const RecordingSleeper&) = delete;
  RecordingSleeper& operator=(const RecordingSleeper&) = delete;

  // The waits so far, oldest first.
  std::vector<std::chrono::milliseconds> Waits() const;
  void Clear();

 private:
  mutable std::mutex lock_;
  std::vector<std::chrono::milliseconds> waits_;
};

// Pins the clock to an instant and the local time zone to UTC.
class PinnedUtcClock {
 public:
  explicit PinnedUtcClock(platform::Clock::time_point instant);
  ~PinnedUtcClock();
  PinnedUtcClock(const PinnedUtcClock&) = delete;
  PinnedUtcClock& operator=(const PinnedUtcClock&) = delete;

  void MoveTo(platform::Clock::time_point instant);
};

// Sets the process's time zone (a TZ value such as "EST5EDT,M3.2.0,M11.1.0")
// while it lives and puts the previous one back.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone);
  ~ScopedTimeZone();
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  std::optional<std::string> old_;
};

// The instant of a UTC calendar date and time.
platform::Clock::time_point UtcInstant(int year, unsigned month, unsigned day, int hour = 0,
                                       int minute = 0, int second = 0);

// Network time-outs short enough that a stalled or crawling server ends a test
// in a second or two: 5 s to connect, 1 s without a byte, 2 s under 100 bytes
// a second. The floor's time is the longer, so that a server that falls
// silent is always reported as silent: with equal times, the floor of a
// transfer that kept up until its last bytes may run out a few milliseconds
// before the idle time does.
class QuickNetTimeouts {
 public:
  QuickNetTimeouts();
  ~QuickNetTimeouts();
  QuickNetTimeouts(const QuickNetTimeouts&) = delete;
  QuickNetTimeouts& operator=(const QuickNetTimeouts&) = delete;
};

// For a test that cancels network transfers: lets them run again when it
// goes, however the test ends.
class ResetNetCancelAtEnd {
 public:
  ResetNetCancelAtEnd() = default;
  ~ResetNetCancelAtEnd();
  ResetNetCancelAtEnd(const ResetNetCancelAtEnd&) = delete;
  ResetNetCancelAtEnd& operator=(const ResetNetCancelAtEnd&) = delete;
};

}  // namespace tavi::testing
