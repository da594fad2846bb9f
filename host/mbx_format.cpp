#include "host/mbx_format.h"

#include <time.h>

#include <array>
#include <cstdio>

#include "platform/ascii.h"

namespace tavi::host {
namespace {

constexpr std::array<std::string_view, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed",
                                                       "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// "Www Mmm DD YYYY hh:mm:ss" after the prefix is at most this long, so a
// separator's line end is never further away.
constexpr std::size_t kLongestSeparatorLine = kSeparatorPrefix.size() + 24;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

int NumberOf(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& names) {
  for (std::string_view name : names) {
    if (text == name) return true;
  }
  return false;
}

// Cuts the next blank-terminated field off `rest`; the last field has none.
std::string_view TakeField(std::string_view& rest) {
  const std::size_t blank = rest.find(' ');
  std::string_view field = rest.substr(0, blank);
  rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  return field;
}

bool IsDay(std::string_view day) {
  if (!AllDigits(day) || day.size() > 2 || day[0] == '0') return false;
  return NumberOf(day) <= 31;
}

bool IsTwoDigitsUpTo(std::string_view text, int highest) {
  return text.size() == 2 && AllDigits(text) && NumberOf(text) <= highest;
}

bool IsTime(std::string_view time) {
  if (time.size() != 8 || time[2] != ':' || time[5] != ':') return false;
  return IsTwoDigitsUpTo(time.substr(0, 2), 23) && IsTwoDigitsUpTo(time.substr(3, 2), 59) &&
         IsTwoDigitsUpTo(time.substr(6, 2), 60);
}

bool StartsLine(std::string_view bytes, std::size_t position) {
  return position == 0 || bytes[position - 1] == '\n';
}

// True when a whole separator line ending in CR LF starts at `position`.
bool IsSeparatorAt(std::string_view bytes, std::size_t position) {
  const std::string_view window = bytes.substr(position, kLongestSeparatorLine + 2);
  const std::size_t line_feed = window.find('\n');
  if (line_feed == std::string_view::npos || line_feed == 0 || window[line_feed - 1] != '\r') {
    return false;
  }
  return IsSeparatorLine(window.substr(0, line_feed - 1));
}

std::size_t FindSeparator(std::string_view bytes, std::size_t from) {
  for (;;) {
    const std::size_t found = bytes.find(kSeparatorPrefix, from);
    if (found == std::string_view::npos) return found;
    if (StartsLine(bytes, found) && IsSeparatorAt(bytes, found)) return found;
    from = found + 1;
  }
}

std::string EndedLine(std::string_view bytes) {
  std::string ended(bytes);
  if (!ended.empty() && ended.back() != '\n') ended += "\r\n";
  return ended;
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool IsHeaderLineNamed(std::string_view line, std::string_view name) {
  return line.size() > name.size() && line[name.size()] == ':' &&
         platform::EqualsIgnoringCase(line.substr(0, name.size()), name);
}

}  // namespace

bool IsSeparatorLine(std::string_view line) {
  if (!line.starts_with(kSeparatorPrefix)) return false;
  std::string_view rest = line.substr(kSeparatorPrefix.size());
  const std::string_view weekday = TakeField(rest);
  const std::string_view month = TakeField(rest);
  const std::string_view day = TakeField(rest);
  const std::string_view year = TakeField(rest);
  const std::string_view time = rest;
  return IsOneOf(weekday, kWeekdays) && IsOneOf(month, kMonths) && IsDay(day) && year.size() == 4 &&
         AllDigits(year) && IsTime(time);
}

std::string FormatSeparatorLine(std::chrono::system_clock::time_point instant) {
  const time_t seconds = std::chrono::system_clock::to_time_t(instant);
  struct tm local {};
  localtime_r(&seconds, &local);
  char fields[64];
  std::snprintf(fields, sizeof fields, "%s %s %d %04d %02d:%02d:%02d",
                kWeekdays[local.tm_wday % 7].data(), kMonths[local.tm_mon % 12].data(),
                local.tm_mday, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return std::string(kSeparatorPrefix) + fields;
}

ParsedMailboxFile ParseMailboxFile(std::string_view bytes) {
  ParsedMailboxFile parsed;
  std::size_t start = FindSeparator(bytes, 0);
  parsed.preamble = EndedLine(bytes.substr(0, start));
  while (start != std::string_view::npos) {
    // The next separator cannot begin inside this one's line.
    const std::size_t next = FindSeparator(bytes, start + kSeparatorPrefix.size());
    parsed.messages.push_back(EndedLine(bytes.substr(start, next - start)));
    parsed.offsets.push_back(start);
    start = next;
  }
  return parsed;
}

std::string MakeRawMessage(std::string_view separator_line, std::string_view text) {
  std::string raw;
  raw.reserve(separator_line.size() + text.size() + 4);
  raw.append(separator_line).append("\r\n").append(text).append("\r\n");
  return raw;
}

std::string_view MessageText(std::string_view raw) {
  const std::size_t line_feed = raw.find('\n');
  if (line_feed == std::string_view::npos) return {};
  return WithoutLineEnd(raw.substr(line_feed + 1));
}

std::string_view MessageBody(std::string_view raw) {
  const std::string_view text = MessageText(raw);
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t line_feed = text.find('\n', position);
    const std::string_view line = text.substr(position, line_feed - position);
    if (WithoutLineEnd(line).empty() && line_feed != std::string_view::npos) {
      return text.substr(line_feed + 1);
    }
    if (line_feed == std::string_view::npos) return {};
    position = line_feed + 1;
  }
  return {};
}

std::string_view MessageHeaderValue(std::string_view raw, std::string_view name) {
  const std::string_view text = MessageText(raw);
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t line_feed = text.find('\n', position);
    const std::string_view line = WithoutLineEnd(text.substr(position, line_feed - position));
    if (line.empty()) return {};
    if (IsHeaderLineNamed(line, name)) {
      std::string_view value = line.substr(name.size() + 1);
      while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
        value.remove_prefix(1);
      }
      return value;
    }
    if (line_feed == std::string_view::npos) return {};
    position = line_feed + 1;
  }
  return {};
}

}  // namespace tavi::host
