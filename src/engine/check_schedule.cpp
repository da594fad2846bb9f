#include "engine/check_schedule.h"

#include "store/feed_definitions.h"

namespace tavi {
namespace {

constexpr double kMinutesPerHour = 60.0;

std::string DueTimeAfter(const platform::OleDate& now, int interval_minutes) {
  return platform::FormatLocaleDateText(now.AddHours(interval_minutes / kMinutesPerHour));
}

}  // namespace

bool IsAutoCheckOn(int auto_check) { return auto_check > 0; }

ScheduleStep PlanTick(const FeedSchedule& schedule, const platform::OleDate& now) {
  ScheduleStep step;
  if (!IsAutoCheckOn(schedule.auto_check)) return step;
  const platform::OleDate due = platform::ParseLocaleDateText(schedule.last_check);
  step.download = due.IsValid() && due <= now;
  const int interval = ClampIntervalMinutes(schedule.interval_minutes);
  if (interval == 0) return step;
  // A due time that does not parse was never set or was edited away: the
  // schedule starts again from this tick.
  if (step.download || !due.IsValid()) step.next_due = DueTimeAfter(now, interval);
  return step;
}

}  // namespace tavi
