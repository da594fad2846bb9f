#include "fetch/date_text.h"

#include <array>
#include <chrono>
#include <cstdint>

#include "platform/ascii.h"
#include "platform/clock.h"
#include "platform/oledate.h"

namespace tavi {
namespace {

using platform::OleDate;

// 06 Dec 2026 13:55:15 is 20 characters: a date that long carries no zone.
constexpr std::size_t kLongestZoneFreeLength = 20;
// The zone names that are cut off, in the order they are looked for.
constexpr std::array<std::string_view, 10> kZoneNames = {"UT",  "GMT", "EST", "EDT", "CST",
                                                         "CDT", "MST", "MDT", "PST", "PDT"};

enum class Meridiem { kNone, kMorning, kAfternoon };

std::string_view TrimLeadingWhiteSpace(std::string_view text) {
  while (!text.empty() && platform::IsAsciiWhiteSpace(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimTrailingWhiteSpace(std::string_view text) {
  while (!text.empty() && platform::IsAsciiWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The date after the weekday: everything up to the first comma goes.
std::string_view WithoutWeekday(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return text;
  return TrimLeadingWhiteSpace(text.substr(comma + 1));
}

std::size_t ZoneStart(std::string_view text) {
  if (const std::size_t plus = text.rfind('+'); plus != std::string_view::npos) return plus;
  if (const std::size_t minus = text.rfind('-'); minus != std::string_view::npos) return minus;
  for (const std::string_view name : kZoneNames) {
    if (const std::size_t found = text.find(name); found != std::string_view::npos) return found;
  }
  return std::string_view::npos;
}

std::string_view WithoutZone(std::string_view text) {
  const std::size_t zone = ZoneStart(text);
  if (zone == std::string_view::npos) return text;
  return TrimTrailingWhiteSpace(text.substr(0, zone));
}

// Removes every occurrence of `part` in one pass, as the system's replace does.
bool RemoveEvery(std::string& text, std::string_view part) {
  std::string kept;
  std::size_t from = 0;
  for (std::size_t found = text.find(part); found != std::string::npos;
       found = text.find(part, from)) {
    kept.append(text, from, found - from);
    from = found + part.size();
  }
  if (from == 0) return false;
  kept.append(text, from);
  text = std::move(kept);
  return true;
}

Meridiem RemoveMeridiem(std::string& text) {
  Meridiem meridiem = Meridiem::kNone;
  if (RemoveEvery(text, " AM")) meridiem = Meridiem::kMorning;
  if (RemoveEvery(text, " PM")) meridiem = Meridiem::kAfternoon;
  return meridiem;
}

void BlankTimeDesignators(std::string& text) {
  for (char& c : text) {
    if (c == 'T' || c == 't') c = ' ';
  }
}

// Where the clock time ends: at a fraction of a second or at a zone.
std::size_t ClockTimeEnd(std::string_view text) {
  if (const std::size_t dot = text.find('.'); dot != std::string_view::npos) return dot;
  if (const std::size_t plus = text.find('+'); plus != std::string_view::npos) return plus;
  // The hyphens of the date come before the first blank; one after it starts
  // a negative offset.
  if (const std::size_t blank = text.find(' '); blank != std::string_view::npos) {
    const std::size_t minus = text.find('-', blank + 1);
    if (minus != std::string_view::npos) return minus;
  }
  return text.find('Z');
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A text of exactly two digits as a number; nullopt for anything else.
std::optional<int> TwoDigits(std::string_view text) {
  if (text.size() != 2 || !IsDigit(text[0]) || !IsDigit(text[1])) return std::nullopt;
  return (text[0] - '0') * 10 + (text[1] - '0');
}

std::string_view WithoutFraction(std::string_view text) {
  if (!text.starts_with('.')) return text;
  text.remove_prefix(1);
  while (!text.empty() && IsDigit(text.front())) text.remove_prefix(1);
  return text;
}

// The zone after a W3C clock time (and any fraction of a second), in minutes
// ahead of UTC: "Z", or a sign and two-digit hours with optional minutes
// ("+01:00", "-0500", "+01"). nullopt when there is no zone or it is none of
// these: the clock time then stands as written, as it always has.
std::optional<int> ZoneOffsetMinutes(std::string_view tail) {
  tail = TrimTrailingWhiteSpace(TrimLeadingWhiteSpace(WithoutFraction(tail)));
  if (tail == "Z") return 0;
  if (tail.size() < 3 || (tail.front() != '+' && tail.front() != '-')) return std::nullopt;
  const bool colon = tail.size() == 6 && tail[3] == ':';
  const std::string_view minutes_text = tail.substr(colon ? 4 : 3);
  const std::optional<int> hours = TwoDigits(tail.substr(1, 2));
  const std::optional<int> minutes = minutes_text.empty() ? 0 : TwoDigits(minutes_text);
  if (!hours || !minutes || *hours > 23 || *minutes > 59) return std::nullopt;
  const int offset = *hours * 60 + *minutes;
  return tail.front() == '-' ? -offset : offset;
}

// The instant at which a clock `offset_minutes` ahead of UTC shows `date`;
// nullopt outside the years the system clock can hold (about 1678 to 2262).
std::optional<platform::Clock::time_point> InstantAtOffset(const OleDate& date,
                                                           int offset_minutes) {
  using namespace std::chrono;
  const platform::CalendarTime time = *date.Calendar();
  const sys_days day{year{time.year} / month{static_cast<unsigned>(time.month)} /
                     std::chrono::day{static_cast<unsigned>(time.day)}};
  const sys_seconds instant =
      day + hours{time.hour} + minutes{time.minute - offset_minutes} + seconds{time.second};
  constexpr std::int64_t kLimit = duration_cast<seconds>(platform::Clock::duration::max()).count();
  const std::int64_t count = instant.time_since_epoch().count();
  if (count > kLimit || count < -kLimit) return std::nullopt;
  return time_point_cast<platform::Clock::duration>(instant);
}

// A clock time written with its zone, as the local clock shows that instant:
// the same clock as the check's own time, so that dates from different zones
// keep their order against each other and against the check. Outside the
// clock's years the time stays as written.
OleDate InLocalTime(const OleDate& date, int offset_minutes) {
  const std::optional<platform::Clock::time_point> instant = InstantAtOffset(date, offset_minutes);
  if (!instant) return date;
  const OleDate local = platform::FromLocalTime(*instant);
  return local.IsValid() ? local : date;
}

// A time read from a 12-hour clock text, moved to the 24-hour clock. Only an
// hour below 12 moves to the afternoon: adding 12 hours to a PM time already
// past noon ("13:55 PM") would carry it into the next day.
OleDate OnTwentyFourHourClock(const OleDate& date, Meridiem meridiem) {
  const int hour = date.Calendar()->hour;
  switch (meridiem) {
    case Meridiem::kNone:
      return date;
    case Meridiem::kMorning:
      return hour == 12 ? date.AddHours(-12) : date;
    case Meridiem::kAfternoon:
      return hour < 12 ? date.AddHours(12) : date;
  }
  return date;
}

}  // namespace

std::optional<OleDate> ReadDateText(std::string_view text) {
  std::string_view date_text = WithoutWeekday(text);
  if (date_text.size() > kLongestZoneFreeLength) date_text = WithoutZone(date_text);
  const OleDate date = platform::ParseLocaleDateText(date_text);
  if (!date.IsValid()) return std::nullopt;
  return date;
}

std::optional<OleDate> ReadW3cDateText(std::string_view text) {
  std::string date_text(text);
  const Meridiem meridiem = RemoveMeridiem(date_text);
  BlankTimeDesignators(date_text);
  const std::size_t end = ClockTimeEnd(date_text);
  std::optional<int> offset;
  if (end != std::string::npos) {
    offset = ZoneOffsetMinutes(std::string_view(date_text).substr(end));
    date_text.resize(end);
  }
  const OleDate parsed = platform::ParseLocaleDateText(date_text);
  if (!parsed.IsValid()) return std::nullopt;
  const OleDate date = OnTwentyFourHourClock(parsed, meridiem);
  if (!date.IsValid()) return std::nullopt;
  return offset ? InLocalTime(date, *offset) : date;
}

std::string NormalizeDateText(std::string_view text) {
  const OleDate date = ReadDateText(text).value_or(platform::CurrentLocalDate());
  return platform::FormatDate(date, kCanonicalDateLayout);
}

std::string ConvertW3cDateText(std::string_view text) {
  const OleDate date = ReadW3cDateText(text).value_or(platform::CurrentLocalDate());
  return platform::FormatDate(date, kMailDateLayout);
}

}  // namespace tavi
