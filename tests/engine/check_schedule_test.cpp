#include "engine/check_schedule.h"

#include <gtest/gtest.h>

#include <climits>

namespace tavi {
namespace {

using platform::CalendarTime;
using platform::OleDate;

const OleDate kNow = OleDate::FromCalendar({2026, 12, 7, 15, 0, 0});

TEST(CheckSchedule, DecidesDownloadAndNextDueTimeForEachKindOfFeed) {
  struct Case {
    const char* what;
    FeedSchedule schedule;
    bool download;
    std::optional<std::string> next_due;
  };
  const Case cases[] = {
      {"first tick schedules without downloading", {1, 30, ""}, false, "12/7/2026 3:30:00 PM"},
      {"not yet due keeps its time", {1, 30, "12/7/2026 3:00:01 PM"}, false, std::nullopt},
      {"due exactly now downloads", {1, 30, "12/7/2026 3:00:00 PM"}, true, "12/7/2026 3:30:00 PM"},
      {"long overdue is due from this tick",
       {1, 30, "1/1/2020 8:00:00 AM"},
       true,
       "12/7/2026 3:30:00 PM"},
      // The due time never moves, so the feed is fetched on every tick.
      {"interval 0 with a past due time", {1, 0, "12/7/2026 2:00:00 PM"}, true, std::nullopt},
      {"interval 0 never scheduled", {1, 0, ""}, false, std::nullopt},
      {"switched off", {0, 30, "12/7/2026 2:00:00 PM"}, false, std::nullopt},
      {"switched off, never scheduled", {0, 30, ""}, false, std::nullopt},
      // Hand-edited numbers.
      {"negative switch is off", {-1, 30, "12/7/2026 2:00:00 PM"}, false, std::nullopt},
      {"other switch values are on", {7, 30, ""}, false, "12/7/2026 3:30:00 PM"},
      // Without the clamp the due time would be written 30 minutes in the past.
      {"negative interval is no schedule", {1, -30, "12/7/2026 2:00:00 PM"}, true, std::nullopt},
      {"huge interval stops at a week", {1, INT_MAX, ""}, false, "12/14/2026 3:00:00 PM"},
      {"garbage due time restarts", {1, 30, "soon"}, false, "12/7/2026 3:30:00 PM"},
      {"impossible date restarts", {1, 30, "2/30/2026 1:00:00 PM"}, false, "12/7/2026 3:30:00 PM"},
      // Older texts in other forms are still read back.
      {"24-hour text", {1, 60, "12/07/2026 14:59:00"}, true, "12/7/2026 4:00:00 PM"},
      {"day-month-name text", {1, 60, "07 Dec 2026 16:00:00"}, false, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ScheduleStep step = PlanTick(c.schedule, kNow);
    EXPECT_EQ(step.download, c.download);
    EXPECT_EQ(step.next_due, c.next_due);
  }
}

TEST(CheckSchedule, WrittenDueTimeReadsBackAsTheSameInstant) {
  for (const CalendarTime time :
       {CalendarTime{2026, 12, 7, 0, 0, 0}, CalendarTime{2026, 1, 31, 12, 59, 59},
        CalendarTime{2026, 6, 30, 23, 45, 0}}) {
    const OleDate now = OleDate::FromCalendar(time);
    SCOPED_TRACE(platform::FormatLocaleDateText(now));
    const ScheduleStep first = PlanTick({1, 15, ""}, now);
    ASSERT_TRUE(first.next_due);
    EXPECT_EQ(platform::ParseLocaleDateText(*first.next_due), now.AddHours(0.25));
    // The written time is due at that instant and not a second before.
    EXPECT_FALSE(PlanTick({1, 15, *first.next_due}, now.AddHours(0.25 - 1.0 / 3600)).download);
    EXPECT_TRUE(PlanTick({1, 15, *first.next_due}, now.AddHours(0.25)).download);
  }
}

}  // namespace
}  // namespace tavi
