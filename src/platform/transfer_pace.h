#pragma once

// The pace of one transfer, judged against the idle and low-speed limits of
// NetTimeouts. A transfer is idle when no byte at all has arrived for the idle
// time. It is too slow when, since the last moment it was on pace, the low-
// speed time has passed without the bytes that the floor asks for in that
// time (the floor in bytes a second times the low-speed time): a transfer
// that keeps up on average is never too slow, one that falls under the floor
// ends one low-speed time after it last kept up. Both count from the start.
//
// Times are passed in, so the judgement never reads a clock of its own.

#include <chrono>
#include <cstdint>

#include "platform/net.h"

namespace tavi::platform {

class TransferPace {
 public:
  using Clock = std::chrono::steady_clock;

  enum class Verdict {
    kMoving,   // within both limits
    kIdle,     // no byte for the idle time
    kTooSlow,  // under the floor for the low-speed time
  };

  // A transfer that starts at `start`; a floor of 0 bytes a second turns the
  // low-speed limit off.
  TransferPace(const NetTimeouts& limits, Clock::time_point start);

  // Notes `count` bytes (header or body) that arrived at `now`.
  void NoteBytes(std::uint64_t count, Clock::time_point now);

  // The verdict at `now`; idleness is named before slowness.
  Verdict Judge(Clock::time_point now) const;

 private:
  Clock::duration idle_;
  Clock::duration low_speed_time_;
  std::uint64_t quota_;  // bytes owed per low-speed time; 0 when off
  Clock::time_point last_byte_;
  Clock::time_point on_pace_since_;
  std::uint64_t bytes_since_on_pace_ = 0;
};

}  // namespace tavi::platform
