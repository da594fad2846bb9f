#pragma once

// The background schedule of one feed: from its "AutoCheck",
// "IntervalMinutes" and "LastCheck" values and the time of a tick, whether
// the tick downloads the feed and what "LastCheck" becomes. Despite its name,
// "LastCheck" holds the time at which the feed is next due.
//
// A feed switched on gets its first due time on the first tick (now plus the
// interval) without a download; from then on it is downloaded on the first
// tick at or after its due time, which then moves to that tick plus the
// interval. An interval of 0 never moves the due time: a past one downloads
// on every tick, a missing one never.

#include <optional>
#include <string>

#include "platform/oledate.h"

namespace tavi {

// One feed's schedule as the settings file holds it, numbers as read.
struct FeedSchedule {
  int auto_check = 0;        // 0 off, anything else on
  int interval_minutes = 0;  // 0 no schedule
  std::string last_check;    // the next due time as text; "" never scheduled
};

// What one tick does with a feed.
struct ScheduleStep {
  bool download = false;
  // The new "LastCheck" text; nullopt leaves the stored one as it is.
  std::optional<std::string> next_due;
};

// Whether the feed's "AutoCheck" value switches automatic checking on: any
// positive number (a negative one, which no dialog writes, is off).
bool IsAutoCheckOn(int auto_check);

// The tick at `now` (a valid local date) for `schedule`. Automatic checking
// off does nothing. The due time is
// read with ParseLocaleDateText, so older texts in any of its forms still
// count; the new one is written in the one form FormatLocaleDateText gives
// ("12/6/2026 1:55:15 PM"), whatever the machine's locale.
ScheduleStep PlanTick(const FeedSchedule& schedule, const platform::OleDate& now);

}  // namespace tavi
