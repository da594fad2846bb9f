#include "fetch/date_text.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "platform/clock.h"
#include "platform/oledate.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

// The pinned clock reads 2031-03-04 05:06:07 UTC, a morning, so that a wrong
// afternoon shift of the current time would show.
constexpr std::time_t kPinnedInstant = 1930367167;
constexpr const char* kNowCanonical = "03/04/2031 05:06:07";
constexpr const char* kNowMailStyle = "Tue, Mar 04 2031 05:06:07";

class DateTextTest : public ::testing::Test {
 protected:
  // Local time is the process's zone; this test program runs in UTC whatever
  // the machine's zone is.
  testing::PinnedUtcClock clock_{platform::Clock::from_time_t(kPinnedInstant)};
};

struct Row {
  std::string text;
  std::string expected;
};

TEST_F(DateTextTest, NormalizeDropsWeekdayAndZoneUnapplied) {
  const Row rows[] = {
      {"Sun, 06 Dec 2026 13:55:15 +0100", "12/06/2026 13:55:15"},
      {"Sun, 06 Dec 2026 13:55:15 -0500", "12/06/2026 13:55:15"},
      {"Sun, 06 Dec 2026 13:55:15 GMT", "12/06/2026 13:55:15"},
      {"06 Dec 2026 13:55:15", "12/06/2026 13:55:15"},
      {"Sun, Dec 06 2026 13:55:15", "12/06/2026 13:55:15"},
      {"Sunday,\t 6 Dec 2026 1:55 PM PST", "12/06/2026 13:55:00"},
      {"Sun,06 Dec 2026 13:55:15 UT", "12/06/2026 13:55:15"},
      // The weekday is dropped unread, even when it is wrong.
      {"Mon, 06 Dec 2026 13:55:15 EST", "12/06/2026 13:55:15"},
      // Only the last "+" counts, so a comment after the offset goes too.
      {"Sun, 06 Dec 2026 13:55:15 +0100 (CET)", "12/06/2026 13:55:15"},
      {"12/06/2026 13:55:15", "12/06/2026 13:55:15"},
      {"1/1/1970 11:10:00", "01/01/1970 11:10:00"},
      {"12/6/2026 1:55:15 PM", "12/06/2026 13:55:15"},
      {"06 Dec 26 13:55:15 GMT", "12/06/2026 13:55:15"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(NormalizeDateText(row.text), row.expected);
  }
}

TEST_F(DateTextTest, NormalizeGivesTheCurrentTimeForWhatItCannotRead) {
  const std::string unreadable[] = {
      "",
      "Sun, 06 Dec 2026 13:55:15 CET",  // not one of the zones that are cut off
      "6 Dec 2026 13:55 GMT",           // 20 characters: never cut
      "2026-12-06T13:55:15Z",           // W3C dates go through ConvertW3cDateText first
      // The last "-" is the date's own, so the cut leaves "2026-12".
      "2026-12-06 13:55:15 GMT",
      // Without a comma the weekday stays and spoils the date.
      "Sun 06 Dec 2026 13:55:15 GMT",
      "no date, at all, here",
      std::string(100000, '+'),
  };
  for (const std::string& text : unreadable) {
    SCOPED_TRACE(text.substr(0, 40));
    EXPECT_EQ(NormalizeDateText(text), kNowCanonical);
  }
}

TEST_F(DateTextTest, ConvertW3cAppliesTheZoneAndDropsTheFraction) {
  // This program's local time is UTC.
  const Row rows[] = {
      {"2026-12-06T13:55:15Z", "Sun, Dec 06 2026 13:55:15"},
      {"2026-12-06T13:55:15+01:00", "Sun, Dec 06 2026 12:55:15"},
      {"2026-12-06T13:55:15-05:00", "Sun, Dec 06 2026 18:55:15"},
      {"2026-12-06T13:55:15.25Z", "Sun, Dec 06 2026 13:55:15"},
      {"2026-12-06T13:55:15.123456789-08:00", "Sun, Dec 06 2026 21:55:15"},
      {"2026-12-06t13:55Z", "Sun, Dec 06 2026 13:55:00"},
      {"2026-12-06T13:55:15+0530", "Sun, Dec 06 2026 08:25:15"},
      {"2026-12-06T13:55:15+01", "Sun, Dec 06 2026 12:55:15"},
      // The zone may carry the date over a day, a month and a year.
      {"2026-12-31T23:30:00-01:00", "Fri, Jan 01 2027 00:30:00"},
      {"2027-01-01T00:30:00+01:00", "Thu, Dec 31 2026 23:30:00"},
      // Without a zone the clock time is the local one, as it always was.
      {"2026-12-06", "Sun, Dec 06 2026 00:00:00"},
      {"2026-12-06T13:55:15", "Sun, Dec 06 2026 13:55:15"},
      {"2026-12-06T13:55:15.5", "Sun, Dec 06 2026 13:55:15"},
      // What is no zone is cut off unapplied, as before.
      {"2026-12-06T13:55:15+1", "Sun, Dec 06 2026 13:55:15"},
      {"2026-12-06T13:55:15+24:00", "Sun, Dec 06 2026 13:55:15"},
      {"2026-12-06T13:55:15+01:60", "Sun, Dec 06 2026 13:55:15"},
      {"2026-12-06T13:55:15+01:00:00", "Sun, Dec 06 2026 13:55:15"},
      {"2026-12-06T13:55:15Zulu", "Sun, Dec 06 2026 13:55:15"},
      // Beyond the years of the system clock the time stays as written.
      {"9999-12-31T23:59:59-05:00", "Fri, Dec 31 9999 23:59:59"},
      {"1601-01-01T00:00:00+01:00", "Mon, Jan 01 1601 00:00:00"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ConvertW3cDateText(row.text), row.expected);
  }
}

TEST_F(DateTextTest, DatesFromDifferentZonesKeepTheirOrderInLocalTime) {
  // An hour apart in their own zones, half an hour apart as instants: cutting
  // the zones off would put the later one first.
  const char* const earlier = "2026-12-07T10:00:00+02:00";
  const char* const later = "2026-12-07T09:30:00+01:00";
  const struct {
    const char* zone;
    const char* earlier;
    const char* later;
  } rows[] = {
      {"UTC0", "Mon, Dec 07 2026 08:00:00", "Mon, Dec 07 2026 08:30:00"},
      {"EST5EDT,M3.2.0,M11.1.0", "Mon, Dec 07 2026 03:00:00", "Mon, Dec 07 2026 03:30:00"},
      {"CET-1CEST,M3.5.0,M10.5.0/3", "Mon, Dec 07 2026 09:00:00", "Mon, Dec 07 2026 09:30:00"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.zone);
    const testing::ScopedTimeZone zone(row.zone);
    EXPECT_EQ(ConvertW3cDateText(earlier), row.earlier);
    EXPECT_EQ(ConvertW3cDateText(later), row.later);
    EXPECT_LT(*ReadW3cDateText(earlier), *ReadW3cDateText(later));
  }
  // Summer time counts where the local clock keeps it.
  const testing::ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
  EXPECT_EQ(ConvertW3cDateText("2026-07-01T12:00:00Z"), "Wed, Jul 01 2026 14:00:00");
  EXPECT_EQ(ConvertW3cDateText("2026-07-01T12:00:00"), "Wed, Jul 01 2026 12:00:00");
}

TEST_F(DateTextTest, ConvertW3cMovesClockTextsToTheTwentyFourHourClock) {
  const Row rows[] = {
      {"12/6/2026 1:55:15 PM", "Sun, Dec 06 2026 13:55:15"},
      {"12/6/2026 12:30:00 PM", "Sun, Dec 06 2026 12:30:00"},
      {"12/6/2026 12:30:00 AM", "Sun, Dec 06 2026 00:30:00"},
      {"12/6/2026 11:59:59 PM", "Sun, Dec 06 2026 23:59:59"},
      {"12/6/2026 9:05:00 AM", "Sun, Dec 06 2026 09:05:00"},
      // An hour already past noon stays on its day.
      {"12/6/2026 13:55:15 PM", "Sun, Dec 06 2026 13:55:15"},
      // Only " PM" with its blank is taken off; the parser reads the rest.
      {"12/6/2026 1:55:15pm", "Sun, Dec 06 2026 13:55:15"},
      {"12/31/9999 11:59:59 PM", "Fri, Dec 31 9999 23:59:59"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ConvertW3cDateText(row.text), row.expected);
  }
}

TEST_F(DateTextTest, ConvertW3cGivesTheCurrentTimeUnshiftedForWhatItCannotRead) {
  const std::string unreadable[] = {
      "",
      "nonsense PM",  // the current time is not moved to the afternoon
      "2026-12-06T13:55:15z",
      // Every "t" is blanked, so mail-style dates with "Sat" or "Oct" fail.
      "Sat, 03 Oct 2026 13:55:15 GMT",
      std::string(30000, ' ') + "AM",
  };
  for (const std::string& text : unreadable) {
    SCOPED_TRACE(text.substr(0, 40));
    EXPECT_EQ(ConvertW3cDateText(text), kNowMailStyle);
  }
}

TEST_F(DateTextTest, CheckTimeSurvivesTheLocaleTextRoundTrip) {
  // The check's "Downloaded" time is the locale's clock text passed through
  // ConvertW3cDateText; it must name the same second.
  const std::time_t instants[] = {kPinnedInstant, 1796565315 /* 2026-12-06 13:55:15 */,
                                  1796515200 /* midnight */, 1796558400 /* noon */};
  for (const std::time_t instant : instants) {
    SCOPED_TRACE(instant);
    clock_.MoveTo(platform::Clock::from_time_t(instant));
    const platform::OleDate now = platform::CurrentLocalDate();
    EXPECT_EQ(ConvertW3cDateText(platform::FormatLocaleDateText(now)),
              platform::FormatDate(now, kMailDateLayout));
  }
}

TEST_F(DateTextTest, AtomDateNormalisesAfterConversion) {
  EXPECT_EQ(NormalizeDateText(ConvertW3cDateText("2026-12-06T13:55:15+01:00")),
            "12/06/2026 12:55:15");
  EXPECT_EQ(NormalizeDateText(ConvertW3cDateText("2026-05-03T04:05:06Z")), "05/03/2026 04:05:06");
}

}  // namespace
}  // namespace tavi
