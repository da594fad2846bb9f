#pragma once

// Dates as the system's automation layer keeps them, under an English (United
// States) user locale.
//
// A date value counts days since midnight of 30 December 1899 in a double,
// with the time of day as the fraction, plus a validity status. Before that
// midnight the whole days count down while the fraction still counts up:
// -1.25 is 29 December 1899 06:00, so raw values do not order dates there;
// compare OleDate objects, never their Days(). Valid dates run from 1 January
// 100 to 31 December 9999. A date holds whole seconds: every value is rounded
// to the nearest second when it is made.
//
// The date-text parser accepts, with white space around and between the
// parts (one or more blanks, tabs or line breaks):
//   06 Dec 2026 13:55:15     day, month name, year
//   Dec 06 2026 13:55:15     month name, day, year
//   2026-12-06 13:55:15      year-month-day (four-digit year)
//   12/06/2026 13:55:15      the locale's short date, month/day/year
// Month names are English, abbreviated or in full, in any letter case. Day and
// month take one or two digits; the year four digits (0100 to 9999), or two
// digits read as 1930 to 2029 except in year-month-day. The time is optional
// (midnight when absent): hour of one or two digits, two-digit minutes,
// optionally two-digit seconds, either on the 24-hour clock or followed by AM
// or PM (hour 1 to 12, with or without a blank before it). Anything else is
// refused, above all a zone name or offset left after the time ("GMT",
// "+0100", "Z"), a weekday, a fraction of a second and a "T" between date and
// time: the callers cut those off themselves.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace tavi::platform {

// A calendar date and clock time, without a zone.
struct CalendarTime {
  int year = 1899;  // 100 to 9999
  int month = 12;   // 1 to 12
  int day = 30;     // 1 to the length of the month
  int hour = 0;     // 0 to 23
  int minute = 0;   // 0 to 59
  int second = 0;   // 0 to 59

  friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

class OleDate {
 public:
  // An invalid date.
  OleDate() = default;

  // The date whose value is `days`. Invalid when `days` is not a number or
  // lies outside the valid range.
  static OleDate FromDays(double days);

  // The date of the calendar fields. Invalid when they name no real date and
  // time (30 February, hour 24, year 99, ...).
  static OleDate FromCalendar(const CalendarTime& time);

  bool IsValid() const { return valid_; }

  // The value in the system's encoding (days since 30 December 1899, see
  // above); 0 for an invalid date.
  double Days() const;

  // The calendar fields; nullopt when invalid.
  std::optional<CalendarTime> Calendar() const;

  // The date `hours` later (earlier when negative), adding hours / 24 days.
  // Invalid when this date is invalid or the result leaves the valid range.
  OleDate AddHours(double hours) const;

  // Dates order by the instant they name. An invalid date is unordered with
  // every date, itself included: it is neither earlier, later nor equal.
  friend std::partial_ordering operator<=>(const OleDate& a, const OleDate& b);
  friend bool operator==(const OleDate& a, const OleDate& b);

 private:
  static OleDate FromSeconds(std::int64_t seconds);

  // Seconds since midnight of 30 December 1899 on a continuous scale, which
  // unlike the raw encoding orders every date.
  std::int64_t seconds_ = 0;
  bool valid_ = false;
};

// The local date and clock time (the process's time zone) of `instant`,
// truncated to the whole second. Invalid when the local time cannot be
// computed.
OleDate FromLocalTime(Clock::time_point instant);

// The instant at which the local clock shows `date`; a clock time that does
// not exist locally (skipped by a daylight-saving change) moves on as the C
// library's mktime moves it. nullopt for an invalid date or when the instant
// lies outside the clock's range (about the years 1678 to 2262).
std::optional<Clock::time_point> ToLocalTime(const OleDate& date);

// The current local date and time from the settable clock (platform::Now).
OleDate CurrentLocalDate();

// Parses a date text in the forms listed at the top of this header. An
// invalid date when the text is not one of them, names no real date, or is
// longer than 256 characters. Reads nothing beyond the text.
OleDate ParseLocaleDateText(std::string_view text);

// Formats a valid date with a strftime-like layout of English abbreviations:
// %a weekday ("Sun"), %b month ("Dec"), %d day and %m month (two digits), %Y
// year (four digits), %H hour (24-hour clock), %M minutes, %S seconds (two
// digits), %% a percent sign; other characters are copied. The layout is
// the program's own: an unknown directive is a programming error. "" for an
// invalid date.
std::string FormatDate(const OleDate& date, std::string_view layout);

// The locale's date and time form, "12/6/2026 1:55:15 PM": month/day/year
// without leading zeros, a four-digit year, the 12-hour clock with two-digit
// minutes and seconds; midnight is 12:00:00 AM. ParseLocaleDateText reads it
// back. "" for an invalid date.
std::string FormatLocaleDateText(const OleDate& date);

}  // namespace tavi::platform
