#include "platform/transfer_pace.h"

#include <algorithm>

namespace tavi::platform {
namespace {

// The bytes the floor asks for in `time`, rounded up so that a short time
// never asks for nothing.
std::uint64_t QuotaOf(std::uint64_t bytes_per_second, std::chrono::milliseconds time) {
  const auto milliseconds = static_cast<std::uint64_t>(std::max<std::int64_t>(time.count(), 0));
  return (bytes_per_second * milliseconds + 999) / 1000;
}

}  // namespace

TransferPace::TransferPace(const NetTimeouts& limits, Clock::time_point start)
    : idle_(limits.idle),
      low_speed_time_(limits.low_speed_time),
      quota_(QuotaOf(limits.low_speed_bytes_per_second, limits.low_speed_time)),
      last_byte_(start),
      on_pace_since_(start) {}

void TransferPace::NoteBytes(std::uint64_t count, Clock::time_point now) {
  if (count == 0) return;
  last_byte_ = now;
  bytes_since_on_pace_ += count;
  if (bytes_since_on_pace_ < quota_) return;
  on_pace_since_ = now;
  bytes_since_on_pace_ = 0;
}

TransferPace::Verdict TransferPace::Judge(Clock::time_point now) const {
  if (now - last_byte_ >= idle_) return Verdict::kIdle;
  if (quota_ > 0 && now - on_pace_since_ >= low_speed_time_) return Verdict::kTooSlow;
  return Verdict::kMoving;
}

}  // namespace tavi::platform
