#include "platform/oledate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "support/test_seams.h"

namespace tavi::platform {
namespace {

using ::tavi::testing::ScopedTimeZone;

using std::chrono::hours;
using std::chrono::milliseconds;
using std::chrono::seconds;

CalendarTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return {year, month, day, hour, minute, second};
}

OleDate DateAt(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return OleDate::FromCalendar(At(year, month, day, hour, minute, second));
}

Clock::time_point UtcInstant(int year, int month, int day, int hour, int minute, int second) {
  std::tm utc{};
  utc.tm_year = year - 1900;
  utc.tm_mon = month - 1;
  utc.tm_mday = day;
  utc.tm_hour = hour;
  utc.tm_min = minute;
  utc.tm_sec = second;
  return Clock::from_time_t(timegm(&utc));
}

TEST(OleDate, CalendarFieldsAndDayValuesConvertBothWays) {
  struct Row {
    CalendarTime time;
    double days;
  };
  const Row rows[] = {
      {At(1899, 12, 30), 0},
      {At(1900, 1, 1), 2},
      {At(1970, 1, 1), 25569},
      {At(2026, 12, 6, 13, 55, 15), 46362.580034722225},
      // Before date zero the day counts down but the time of day counts up.
      {At(1899, 12, 29, 6, 0, 0), -1.25},
      {At(100, 1, 1), -657434},
      {At(9999, 12, 31, 23, 59, 59), 2958465.999988426},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.days);
    EXPECT_NEAR(OleDate::FromCalendar(row.time).Days(), row.days, 1e-9);
    EXPECT_EQ(OleDate::FromDays(row.days).Calendar(), row.time);
  }
}

TEST(OleDate, ValuesRoundToTheNearestSecond) {
  const double half_second = 0.5 / 86400;
  EXPECT_EQ(OleDate::FromDays(1 + half_second * 0.9).Calendar(), At(1899, 12, 31, 0, 0, 0));
  EXPECT_EQ(OleDate::FromDays(1 + half_second * 1.1).Calendar(), At(1899, 12, 31, 0, 0, 1));
}

TEST(OleDate, ImpossibleDatesAndValuesAreInvalid) {
  const CalendarTime impossible[] = {
      At(2025, 2, 29),    At(1900, 2, 29),  // 1900 was no leap year
      At(2026, 4, 31),    At(2026, 13, 1),       At(2026, 0, 1),           At(2026, 1, 0),
      At(2026, 1, 1, 24), At(2026, 1, 1, 0, 60), At(2026, 1, 1, 0, 0, 60), At(99, 12, 31),
      At(10000, 1, 1),    At(2026, 1, 1, -1),
  };
  for (const CalendarTime& time : impossible) {
    SCOPED_TRACE(::testing::Message() << time.year << "-" << time.month << "-" << time.day << " "
                                      << time.hour << ":" << time.minute << ":" << time.second);
    EXPECT_FALSE(OleDate::FromCalendar(time).IsValid());
  }
  EXPECT_TRUE(DateAt(2024, 2, 29).IsValid());
  const double bad_values[] = {
      std::nan(""), std::numeric_limits<double>::infinity(), -657435, 2958466, 1e300, -1e300};
  for (const double days : bad_values) {
    SCOPED_TRACE(days);
    EXPECT_FALSE(OleDate::FromDays(days).IsValid());
  }
}

TEST(OleDate, DatesOrderByInstantAlsoBeforeDateZero) {
  // 29 Dec 1899 12:00 is -1.5, a smaller value than 06:00's -1.25.
  EXPECT_GT(OleDate::FromDays(-1.5), OleDate::FromDays(-1.25));
  EXPECT_LT(OleDate::FromDays(-1.99), OleDate::FromDays(-0.5));
  EXPECT_EQ(DateAt(2026, 12, 6, 13, 55, 15), DateAt(2026, 12, 6, 13, 55, 15));
  EXPECT_LT(DateAt(2026, 12, 6, 13, 55, 15), DateAt(2026, 12, 6, 13, 55, 16));
}

TEST(OleDate, InvalidDateIsNeitherEarlierLaterNorEqual) {
  const OleDate invalid;
  const OleDate valid = DateAt(1970, 1, 1);
  EXPECT_FALSE(invalid < valid);
  EXPECT_FALSE(invalid > valid);
  EXPECT_FALSE(invalid == valid);
  EXPECT_FALSE(invalid == invalid);
  EXPECT_EQ(invalid.Days(), 0);
}

TEST(OleDate, AddingHoursCrossesDaysAndDateZero) {
  EXPECT_EQ(DateAt(2026, 12, 6, 13, 55, 15).AddHours(12).Calendar(), At(2026, 12, 7, 1, 55, 15));
  EXPECT_EQ(DateAt(2026, 12, 6, 1, 0, 0).AddHours(-12).Calendar(), At(2026, 12, 5, 13, 0, 0));
  EXPECT_EQ(DateAt(1899, 12, 30, 6).AddHours(-12).Calendar(), At(1899, 12, 29, 18));
  EXPECT_EQ(DateAt(2026, 12, 6).AddHours(45.0 / 60).Calendar(), At(2026, 12, 6, 0, 45, 0));
  EXPECT_EQ(DateAt(2026, 12, 6, 1).AddHours(-7 * 24).Calendar(), At(2026, 11, 29, 1));
  EXPECT_FALSE(DateAt(9999, 12, 31, 23).AddHours(1).IsValid());
  EXPECT_FALSE(DateAt(100, 1, 1).AddHours(-1).IsValid());
  EXPECT_FALSE(OleDate().AddHours(1).IsValid());
}

TEST(OleDate, ParserAcceptsTheDateForms) {
  struct Row {
    const char* text;
    CalendarTime time;
  };
  const Row rows[] = {
      {"06 Dec 2026 13:55:15", At(2026, 12, 6, 13, 55, 15)},
      {"Dec 06 2026 13:55:15", At(2026, 12, 6, 13, 55, 15)},
      {"2026-12-06 13:55:15", At(2026, 12, 6, 13, 55, 15)},
      {"12/06/2026 13:55:15", At(2026, 12, 6, 13, 55, 15)},
      {"12/6/2026 1:55:15 PM", At(2026, 12, 6, 13, 55, 15)},
      {"12/6/2026 12:30:00 PM", At(2026, 12, 6, 12, 30, 0)},
      {"12/6/2026 12:30:00 AM", At(2026, 12, 6, 0, 30, 0)},
      {"1/1/1970 11:10:00", At(1970, 1, 1, 11, 10, 0)},
      {"6 Dec 2026 13:55", At(2026, 12, 6, 13, 55, 0)},
      {"2026-12-06", At(2026, 12, 6)},
      {"December 6 2026", At(2026, 12, 6)},
      {"dec 06 2026 1:55pm", At(2026, 12, 6, 13, 55, 0)},
      {" \t06 Dec 2026\r\n 13:55:15 \r\n", At(2026, 12, 6, 13, 55, 15)},
      // Two-digit years fall in 1930 to 2029.
      {"06 Dec 26 13:55:15", At(2026, 12, 6, 13, 55, 15)},
      {"1/2/30", At(1930, 1, 2)},
      {"0100-01-01", At(100, 1, 1)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseLocaleDateText(row.text).Calendar(), row.time);
  }
}

TEST(OleDate, ParserRefusesLeftoversAndImpossibleDates) {
  const std::string rejected[] = {
      "",
      "   ",
      "06 Dec 2026 13:55:15 GMT",
      "06 Dec 2026 13:55:15 +0100",
      "06 Dec 2026 13:55:15 -05:00",
      "2026-12-06 13:55:15Z",
      "2026-12-06T13:55:15",  // the W3C "T" is blanked by the caller first
      "Sun, 06 Dec 2026 13:55:15",
      "Sun 06 Dec 2026",
      "06 Dec 2026 13:55:15.25",
      "06 Dec 2026 13:55:15:10",
      "06 Dec 2026 13:5",  // minutes need two digits
      "06Dec2026",
      "06 Dex 2026",
      "30 Feb 2026",
      "2026-12-06 24:00:00",
      "12/6/2026 13:55:15 PM",  // PM needs a 12-hour clock hour
      "12/6/2026 0:30 AM",
      "26-12-06",  // no two-digit year before the month
      "06 Dec 20260",
      "99999999999999999999/1/2026",
      "06 Dec 0099",
      "13:55:15",
      "12/6/2026 1:55:15 PM PM",
      std::string("06 Dec 2026\0", 12),
      // A text this long is not read at all, even though it is a date.
      "06 Dec 2026" + std::string(250, ' '),
  };
  for (const std::string& text : rejected) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseLocaleDateText(text).IsValid());
  }
}

TEST(OleDate, FormatsWithStrftimeLayouts) {
  const OleDate date = DateAt(2026, 12, 6, 13, 55, 15);
  EXPECT_EQ(FormatDate(date, "%a, %b %d %Y %H:%M:%S"), "Sun, Dec 06 2026 13:55:15");
  EXPECT_EQ(FormatDate(date, "%m/%d/%Y %H:%M:%S"), "12/06/2026 13:55:15");
  EXPECT_EQ(FormatDate(date, "100%% %"), "100% %");
  EXPECT_EQ(FormatDate(DateAt(100, 2, 3, 4, 5, 6), "%m/%d/%Y %H:%M:%S"), "02/03/0100 04:05:06");
  EXPECT_EQ(FormatDate(OleDate(), "%Y"), "");
}

TEST(OleDate, WeekdaysAndMonthNames) {
  struct Row {
    OleDate date;
    const char* text;
  };
  const Row rows[] = {
      {DateAt(1899, 12, 30), "Sat Dec"}, {OleDate::FromDays(-1.25), "Fri Dec"},
      {DateAt(100, 1, 1), "Fri Jan"},    {DateAt(1970, 1, 1), "Thu Jan"},
      {DateAt(2024, 2, 29), "Thu Feb"},  {DateAt(9999, 12, 31), "Fri Dec"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(FormatDate(row.date, "%a %b"), row.text);
  }
}

TEST(OleDate, LocaleTextUsesTheTwelveHourClockAndParsesBack) {
  struct Row {
    OleDate date;
    const char* text;
  };
  const Row rows[] = {
      {DateAt(2026, 12, 6, 13, 55, 15), "12/6/2026 1:55:15 PM"},
      {DateAt(2026, 12, 6), "12/6/2026 12:00:00 AM"},
      {DateAt(2026, 12, 6, 12, 0, 5), "12/6/2026 12:00:05 PM"},
      {DateAt(1970, 1, 1, 11, 10, 0), "1/1/1970 11:10:00 AM"},
      {DateAt(100, 1, 1, 23, 59, 59), "1/1/0100 11:59:59 PM"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(FormatLocaleDateText(row.date), row.text);
    EXPECT_EQ(ParseLocaleDateText(row.text), row.date);
  }
  EXPECT_EQ(FormatLocaleDateText(OleDate()), "");
}

TEST(OleDate, LocalTimeFollowsTheProcessTimeZone) {
  const ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
  const auto winter = UtcInstant(2026, 12, 6, 18, 55, 15) + milliseconds(900);
  EXPECT_EQ(FromLocalTime(winter).Calendar(), At(2026, 12, 6, 13, 55, 15));
  EXPECT_EQ(ToLocalTime(FromLocalTime(winter)), UtcInstant(2026, 12, 6, 18, 55, 15));
  const auto summer = UtcInstant(2026, 7, 1, 17, 0, 0);
  EXPECT_EQ(FromLocalTime(summer).Calendar(), At(2026, 7, 1, 13, 0, 0));
  EXPECT_EQ(ToLocalTime(DateAt(2026, 7, 1, 13)), summer);
}

TEST(OleDate, ToLocalTimeRefusesOnlyInstantsOutsideTheClock) {
  const ScopedTimeZone zone("UTC0");
  EXPECT_EQ(ToLocalTime(DateAt(1970, 1, 1)), Clock::time_point());
  // mktime's failure value -1 is also this valid instant.
  EXPECT_EQ(ToLocalTime(DateAt(1969, 12, 31, 23, 59, 59)), Clock::time_point(seconds(-1)));
  EXPECT_EQ(ToLocalTime(DateAt(3000, 1, 1)), std::nullopt);
  EXPECT_EQ(ToLocalTime(OleDate()), std::nullopt);
}

TEST(OleDate, CurrentLocalDateReadsTheSettableClock) {
  const ScopedTimeZone zone("UTC0");
  PinClock(UtcInstant(2031, 3, 4, 5, 6, 7) + hours(24));
  EXPECT_EQ(CurrentLocalDate().Calendar(), At(2031, 3, 5, 5, 6, 7));
  ResetClock();
}

}  // namespace
}  // namespace tavi::platform
