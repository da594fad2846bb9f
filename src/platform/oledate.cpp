#include "platform/oledate.h"

#include <array>
#include <cassert>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

using std::chrono::sys_days;
using std::chrono::year_month_day;

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerHour = 3600;
// 1 January 100 and 31 December 9999, in days since 30 December 1899.
constexpr std::int64_t kFirstDay = -657434;
constexpr std::int64_t kLastDay = 2958465;
constexpr std::int64_t kFirstSecond = kFirstDay * kSecondsPerDay;
constexpr std::int64_t kLastSecond = (kLastDay + 1) * kSecondsPerDay - 1;

constexpr std::array<std::string_view, 7> kWeekdayNames = {"Sun", "Mon", "Tue", "Wed",
                                                           "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The day count of the system's date zero, 30 December 1899.
sys_days DateZero() {
  return sys_days(
      year_month_day(std::chrono::year(1899), std::chrono::December, std::chrono::day(30)));
}

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return (value % divisor < 0) ? quotient - 1 : quotient;
}

// The raw encoding counts whole days down before date zero while the time of
// day still counts up; the continuous scale counts everything up.
double ContinuousFromRaw(double raw) {
  const double whole = std::trunc(raw);
  return whole + std::fabs(raw - whole);
}

double RawFromContinuous(double continuous) {
  const double whole = std::floor(continuous);
  const double fraction = continuous - whole;
  return whole >= 0 ? whole + fraction : whole - fraction;
}

// The whole seconds of a continuous day count; nullopt when it is not a
// number or so far out of range that rounding could overflow.
std::optional<std::int64_t> RoundedSeconds(double continuous) {
  if (!std::isfinite(continuous)) return std::nullopt;
  if (continuous < kFirstDay - 1.0 || continuous > kLastDay + 2.0) return std::nullopt;
  return std::llround(continuous * kSecondsPerDay);
}

bool IsClockTime(const CalendarTime& time) {
  return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
         time.second >= 0 && time.second <= 59;
}

year_month_day DateOf(const CalendarTime& time) {
  return year_month_day{std::chrono::year(time.year),
                        std::chrono::month(static_cast<unsigned>(time.month)),
                        std::chrono::day(static_cast<unsigned>(time.day))};
}

}  // namespace

OleDate OleDate::FromSeconds(std::int64_t seconds) {
  OleDate date;
  if (seconds < kFirstSecond || seconds > kLastSecond) return date;
  date.seconds_ = seconds;
  date.valid_ = true;
  return date;
}

OleDate OleDate::FromDays(double days) {
  const auto seconds = RoundedSeconds(ContinuousFromRaw(days));
  return seconds ? FromSeconds(*seconds) : OleDate();
}

OleDate OleDate::FromCalendar(const CalendarTime& time) {
  if (time.year < 100 || time.year > 9999 || !IsClockTime(time)) return {};
  if (time.month < 1 || time.day < 1) return {};
  const year_month_day date = DateOf(time);
  if (!date.ok()) return {};
  const std::int64_t day = (sys_days(date) - DateZero()).count();
  return FromSeconds(day * kSecondsPerDay + time.hour * kSecondsPerHour + time.minute * 60 +
                     time.second);
}

double OleDate::Days() const {
  if (!valid_) return 0;
  return RawFromContinuous(static_cast<double>(seconds_) / kSecondsPerDay);
}

std::optional<CalendarTime> OleDate::Calendar() const {
  if (!valid_) return std::nullopt;
  const std::int64_t day = FloorDivide(seconds_, kSecondsPerDay);
  const std::int64_t second_of_day = seconds_ - day * kSecondsPerDay;
  const year_month_day date{DateZero() + std::chrono::days(day)};
  CalendarTime time;
  time.year = static_cast<int>(date.year());
  time.month = static_cast<int>(static_cast<unsigned>(date.month()));
  time.day = static_cast<int>(static_cast<unsigned>(date.day()));
  time.hour = static_cast<int>(second_of_day / kSecondsPerHour);
  time.minute = static_cast<int>(second_of_day % kSecondsPerHour / 60);
  time.second = static_cast<int>(second_of_day % 60);
  return time;
}

OleDate OleDate::AddHours(double hours) const {
  if (!valid_) return {};
  const auto seconds = RoundedSeconds(static_cast<double>(seconds_) / kSecondsPerDay + hours / 24);
  return seconds ? FromSeconds(*seconds) : OleDate();
}

std::partial_ordering operator<=>(const OleDate& a, const OleDate& b) {
  if (!a.valid_ || !b.valid_) return std::partial_ordering::unordered;
  return a.seconds_ <=> b.seconds_;
}

bool operator==(const OleDate& a, const OleDate& b) {
  return a.valid_ && b.valid_ && a.seconds_ == b.seconds_;
}

OleDate FromLocalTime(Clock::time_point instant) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(instant).time_since_epoch();
  const std::time_t time = static_cast<std::time_t>(seconds.count());
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return {};
  // A leap second shows as :60; the date values know no such second.
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  return OleDate::FromCalendar(
      {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, second});
}

std::optional<Clock::time_point> ToLocalTime(const OleDate& date) {
  const auto calendar = date.Calendar();
  if (!calendar) return std::nullopt;
  std::tm local{};
  local.tm_year = calendar->year - 1900;
  local.tm_mon = calendar->month - 1;
  local.tm_mday = calendar->day;
  local.tm_hour = calendar->hour;
  local.tm_min = calendar->minute;
  local.tm_sec = calendar->second;
  local.tm_isdst = -1;
  // mktime's -1 is also a valid instant; only a success fills in the weekday.
  local.tm_wday = -1;
  const std::time_t time = std::mktime(&local);
  if (local.tm_wday == -1) return std::nullopt;
  using std::chrono::seconds;
  constexpr auto kLimit = std::chrono::duration_cast<seconds>(Clock::duration::max()).count();
  if (time > kLimit || time < -kLimit) return std::nullopt;
  return Clock::time_point(std::chrono::duration_cast<Clock::duration>(seconds(time)));
}

OleDate CurrentLocalDate() { return FromLocalTime(Now()); }

namespace {

void AppendNumber(std::string& text, int value, int width) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*d", width, value);
  text += digits;
}

void AppendDirective(std::string& text, char directive, const CalendarTime& time) {
  switch (directive) {
    case 'a':
      text += kWeekdayNames[std::chrono::weekday(sys_days(DateOf(time))).c_encoding()];
      return;
    case 'b':
      text += kMonthNames[static_cast<std::size_t>(time.month - 1)].substr(0, 3);
      return;
    case 'd':
      return AppendNumber(text, time.day, 2);
    case 'm':
      return AppendNumber(text, time.month, 2);
    case 'Y':
      return AppendNumber(text, time.year, 4);
    case 'H':
      return AppendNumber(text, time.hour, 2);
    case 'M':
      return AppendNumber(text, time.minute, 2);
    case 'S':
      return AppendNumber(text, time.second, 2);
    case '%':
      text += '%';
      return;
  }
  assert(false && "unknown directive in a date layout");
  text += '%';
  text += directive;
}

}  // namespace

std::string FormatDate(const OleDate& date, std::string_view layout) {
  const auto time = date.Calendar();
  if (!time) return "";
  std::string text;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    if (layout[i] != '%' || i + 1 == layout.size()) {
      text += layout[i];
      continue;
    }
    AppendDirective(text, layout[++i], *time);
  }
  return text;
}

std::string FormatLocaleDateText(const OleDate& date) {
  const auto time = date.Calendar();
  if (!time) return "";
  const int twelve_hour = (time->hour % 12 == 0) ? 12 : time->hour % 12;
  std::string text;
  AppendNumber(text, time->month, 1);
  text += '/';
  AppendNumber(text, time->day, 1);
  text += '/';
  AppendNumber(text, time->year, 4);
  text += ' ';
  AppendNumber(text, twelve_hour, 1);
  text += ':';
  AppendNumber(text, time->minute, 2);
  text += ':';
  AppendNumber(text, time->second, 2);
  text += time->hour < 12 ? " AM" : " PM";
  return text;
}

namespace {

// No date text comes near this; a longer one is not read at all.
constexpr std::size_t kMaxDateTextLength = 256;
constexpr int kMaxNumberDigits = 4;
// Two-digit years fall in the system's default window, 1930 to 2029.
constexpr int kFirstTwentiethCenturyYear = 30;

struct Number {
  int value = 0;
  int digits = 0;
};

struct DateParts {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct ClockParts {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A read position in the text. Every read checks the end first, and nothing
// is ever read twice, so a parse takes one pass at most.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return position_ == text_.size(); }

  // True when there was white space to skip.
  bool SkipWhiteSpace() {
    const std::size_t start = position_;
    while (!AtEnd() && IsAsciiWhiteSpace(text_[position_])) ++position_;
    return position_ > start;
  }

  bool Take(char c) {
    if (AtEnd() || text_[position_] != c) return false;
    ++position_;
    return true;
  }

  // A run of digits; nullopt when there is none or it is longer than any
  // field of a date, so that no value can overflow.
  std::optional<Number> TakeNumber() {
    Number number;
    while (!AtEnd() && IsDigit(text_[position_])) {
      if (++number.digits > kMaxNumberDigits) return std::nullopt;
      number.value = number.value * 10 + (text_[position_++] - '0');
    }
    if (number.digits == 0) return std::nullopt;
    return number;
  }

  // A run of ASCII letters, possibly empty.
  std::string_view TakeWord() {
    const std::size_t start = position_;
    while (!AtEnd() && IsLetter(text_[position_])) ++position_;
    return text_.substr(start, position_ - start);
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

std::optional<int> MonthOfName(std::string_view word) {
  for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
    const std::string_view name = kMonthNames[i];
    if (EqualsIgnoringCase(word, name) || EqualsIgnoringCase(word, name.substr(0, 3)))
      return static_cast<int>(i) + 1;
  }
  return std::nullopt;
}

// A day or a month number: one or two digits.
std::optional<int> TakeShortNumber(Scanner& scanner) {
  const auto number = scanner.TakeNumber();
  if (!number || number->digits > 2) return std::nullopt;
  return number->value;
}

std::optional<int> TakeTwoDigits(Scanner& scanner) {
  const auto number = scanner.TakeNumber();
  if (!number || number->digits != 2) return std::nullopt;
  return number->value;
}

std::optional<int> TakeYear(Scanner& scanner) {
  const auto number = scanner.TakeNumber();
  if (!number) return std::nullopt;
  if (number->digits == 4) return number->value;
  if (number->digits != 2) return std::nullopt;
  return number->value + (number->value < kFirstTwentiethCenturyYear ? 2000 : 1900);
}

// "Dec 06 2026", the month name read.
std::optional<DateParts> ParseAfterMonthName(Scanner& scanner, int month) {
  if (!scanner.SkipWhiteSpace()) return std::nullopt;
  const auto day = TakeShortNumber(scanner);
  if (!day || !scanner.SkipWhiteSpace()) return std::nullopt;
  const auto year = TakeYear(scanner);
  if (!year) return std::nullopt;
  return DateParts{*year, month, *day};
}

// "06 Dec 2026", the day read.
std::optional<DateParts> ParseAfterDay(Scanner& scanner, int day) {
  if (!scanner.SkipWhiteSpace()) return std::nullopt;
  const auto month = MonthOfName(scanner.TakeWord());
  if (!month || !scanner.SkipWhiteSpace()) return std::nullopt;
  const auto year = TakeYear(scanner);
  if (!year) return std::nullopt;
  return DateParts{*year, *month, day};
}

// "12/06/2026", the month and its slash read.
std::optional<DateParts> ParseAfterShortDateMonth(Scanner& scanner, int month) {
  const auto day = TakeShortNumber(scanner);
  if (!day || !scanner.Take('/')) return std::nullopt;
  const auto year = TakeYear(scanner);
  if (!year) return std::nullopt;
  return DateParts{*year, month, *day};
}

// "2026-12-06", the year and its hyphen read.
std::optional<DateParts> ParseAfterIsoYear(Scanner& scanner, const Number& year) {
  if (year.digits != 4) return std::nullopt;
  const auto month = TakeShortNumber(scanner);
  if (!month || !scanner.Take('-')) return std::nullopt;
  const auto day = TakeShortNumber(scanner);
  if (!day) return std::nullopt;
  return DateParts{year.value, *month, *day};
}

std::optional<DateParts> ParseDate(Scanner& scanner) {
  const std::string_view word = scanner.TakeWord();
  if (!word.empty()) {
    const auto month = MonthOfName(word);
    if (!month) return std::nullopt;
    return ParseAfterMonthName(scanner, *month);
  }
  const auto first = scanner.TakeNumber();
  if (!first) return std::nullopt;
  if (scanner.Take('-')) return ParseAfterIsoYear(scanner, *first);
  if (first->digits > 2) return std::nullopt;
  if (scanner.Take('/')) return ParseAfterShortDateMonth(scanner, first->value);
  return ParseAfterDay(scanner, first->value);
}

// The hour on the 24-hour clock. With AM or PM the hour must be one of the
// 12-hour clock's; any other word after the time refuses the text.
std::optional<int> TwentyFourHour(int hour, std::string_view meridiem) {
  if (meridiem.empty()) return hour;
  const bool morning = EqualsIgnoringCase(meridiem, "AM");
  if (!morning && !EqualsIgnoringCase(meridiem, "PM")) return std::nullopt;
  if (hour < 1 || hour > 12) return std::nullopt;
  return hour % 12 + (morning ? 0 : 12);
}

std::optional<ClockParts> ParseTime(Scanner& scanner) {
  const auto hour = TakeShortNumber(scanner);
  if (!hour || !scanner.Take(':')) return std::nullopt;
  const auto minute = TakeTwoDigits(scanner);
  if (!minute) return std::nullopt;
  int second = 0;
  if (scanner.Take(':')) {
    const auto seconds = TakeTwoDigits(scanner);
    if (!seconds) return std::nullopt;
    second = *seconds;
  }
  scanner.SkipWhiteSpace();
  const auto hour_of_day = TwentyFourHour(*hour, scanner.TakeWord());
  if (!hour_of_day) return std::nullopt;
  return ClockParts{*hour_of_day, *minute, second};
}

}  // namespace

OleDate ParseLocaleDateText(std::string_view text) {
  if (text.size() > kMaxDateTextLength) return {};
  Scanner scanner(text);
  scanner.SkipWhiteSpace();
  const auto date = ParseDate(scanner);
  if (!date) return {};
  CalendarTime time{date->year, date->month, date->day, 0, 0, 0};
  if (scanner.SkipWhiteSpace() && !scanner.AtEnd()) {
    const auto clock = ParseTime(scanner);
    if (!clock) return {};
    time.hour = clock->hour;
    time.minute = clock->minute;
    time.second = clock->second;
    scanner.SkipWhiteSpace();
  }
  if (!scanner.AtEnd()) return {};
  return OleDate::FromCalendar(time);
}

}  // namespace tavi::platform
