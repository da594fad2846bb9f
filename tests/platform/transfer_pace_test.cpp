#include "platform/transfer_pace.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavi::platform {
namespace {

using std::chrono::milliseconds;
using Verdict = TransferPace::Verdict;

NetTimeouts Limits(int idle_ms, std::uint64_t floor, int low_speed_ms) {
  NetTimeouts limits;
  limits.idle = milliseconds(idle_ms);
  limits.low_speed_bytes_per_second = floor;
  limits.low_speed_time = milliseconds(low_speed_ms);
  return limits;
}

// At `at_ms` after the start, `bytes` arrive; then the verdict is taken.
struct Step {
  int at_ms;
  std::uint64_t bytes;
  Verdict verdict;
};

// `count` arrivals of `bytes`, `every_ms` apart from `every_ms` on, each
// judged `verdict`.
std::vector<Step> Arrivals(int count, int every_ms, std::uint64_t bytes, Verdict verdict) {
  std::vector<Step> steps;
  for (int i = 1; i <= count; ++i) steps.push_back({i * every_ms, bytes, verdict});
  return steps;
}

std::vector<Step> Join(std::vector<Step> first, const std::vector<Step>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

TEST(TransferPace, JudgesEachPaceByItsLimits) {
  struct Case {
    const char* name;
    NetTimeouts limits;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"silence from the start is idle at the idle time",
       Limits(1000, 100, 5000),
       {{999, 0, Verdict::kMoving}, {1000, 0, Verdict::kIdle}}},
      // Both limits are due together: the plainer verdict wins.
      {"silence is idle before it is slow", Limits(1000, 100, 1000), {{1000, 0, Verdict::kIdle}}},
      {"a byte restarts the idle time",
       Limits(1000, 0, 1000),
       {{900, 1, Verdict::kMoving}, {1899, 0, Verdict::kMoving}, {1900, 0, Verdict::kIdle}}},
      // 50 bytes a second against a floor of 100.
      {"a trickle under the floor is too slow after the low-speed time", Limits(1000, 100, 1000),
       Join(Arrivals(9, 100, 5, Verdict::kMoving), {{1000, 5, Verdict::kTooSlow}})},
      // 100 bytes every 900 ms keeps above 100 bytes a second on average.
      {"keeping up on average is never too slow", Limits(1000, 100, 1000),
       Arrivals(10, 900, 100, Verdict::kMoving)},
      // The burst meets the quota at 100 ms; from then on only one low-
      // speed time passes before the trickle is judged.
      {"a burst buys one low-speed time, not more", Limits(1000, 100, 1000),
       Join({{100, 100000, Verdict::kMoving}},
            Join(Arrivals(9, 100, 1, Verdict::kMoving), {{1100, 1, Verdict::kTooSlow}}))},
      // 500 ms at 100 bytes a second asks for 50 bytes.
      {"the quota scales with the low-speed time",
       Limits(1000, 100, 500),
       {{400, 50, Verdict::kMoving}, {899, 49, Verdict::kMoving}, {900, 0, Verdict::kTooSlow}}},
      {"a floor of 0 judges nothing slow", Limits(1000, 0, 100),
       Arrivals(20, 500, 1, Verdict::kMoving)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto start = TransferPace::Clock::time_point{} + std::chrono::hours(1);
    TransferPace pace(c.limits, start);
    for (const Step& step : c.steps) {
      SCOPED_TRACE(step.at_ms);
      const auto now = start + milliseconds(step.at_ms);
      pace.NoteBytes(step.bytes, now);
      EXPECT_EQ(pace.Judge(now), step.verdict);
    }
  }
}

}  // namespace
}  // namespace tavi::platform
