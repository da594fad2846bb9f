#include "platform/clock.h"

#include <atomic>
#include <limits>

namespace tavi::platform {
namespace {

// Nanoseconds since the epoch; the minimum stands for "not pinned".
constexpr Clock::rep kNotPinned = std::numeric_limits<Clock::rep>::min();
std::atomic<Clock::rep> pinned_ticks{kNotPinned};

}  // namespace

Clock::time_point Now() {
  const Clock::rep ticks = pinned_ticks.load(std::memory_order_relaxed);
  if (ticks == kNotPinned) return Clock::now();
  return Clock::time_point(Clock::duration(ticks));
}

void PinClock(Clock::time_point instant) {
  pinned_ticks.store(instant.time_since_epoch().count(), std::memory_order_relaxed);
}

void ResetClock() { pinned_ticks.store(kNotPinned, std::memory_order_relaxed); }

}  // namespace tavi::platform
