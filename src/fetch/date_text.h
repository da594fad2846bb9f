#pragma once

// Date texts of feeds turned into the program's two fixed layouts. The zones
// of mail-style dates are recognised only to be cut off: the clock time stays
// as written, so a date ending in +0100 and the same date ending in GMT give
// the same text. A W3C date's zone is applied: it becomes the local time of
// the same instant, the clock of the check's own time. Neither
// function reports failure: a date that cannot be read silently becomes the
// current local time (platform::CurrentLocalDate), and callers cannot tell it
// from a date that was read. Callers that must tell (a date read from a feed
// moves the feed's "LastArticle", the time of a check must not) use the Read
// forms, which report an unreadable text.

#include <optional>
#include <string>
#include <string_view>

#include "platform/oledate.h"

namespace tavi {

// The layout in which dates are compared and stored ("LastArticle"), e.g.
// 12/06/2026 13:55:15.
inline constexpr std::string_view kCanonicalDateLayout = "%m/%d/%Y %H:%M:%S";

// The mail-style layout of Atom dates and of the check's "Downloaded" time,
// e.g. Sun, Dec 06 2026 13:55:15 (no zone, the month before the day).
inline constexpr std::string_view kMailDateLayout = "%a, %b %d %Y %H:%M:%S";

// Any date text (an RSS date, a mail-style text, a header value) in the
// canonical layout. The weekday up to the first comma is dropped; a text then
// longer than 20 characters loses its zone, found as the last "+", else the
// last "-", else the first of UT, GMT, EST, EDT, CST, CDT, MST, MDT, PST, PDT;
// the rest is read with platform::ParseLocaleDateText. "Sun, 06 Dec 2026
// 13:55:15 +0100" gives "12/06/2026 13:55:15". Any other zone (CET), or a
// text of 20 characters or fewer that still carries one ("6 Dec 2026 13:55
// GMT"), is unreadable and gives the current time. "" only when the current
// time itself is outside the dates' range.
std::string NormalizeDateText(std::string_view text);

// The date NormalizeDateText reads in `text`; nullopt when it is unreadable
// (NormalizeDateText would give the current time).
std::optional<platform::OleDate> ReadDateText(std::string_view text);

// A W3C date ("2026-12-06T13:55:15.25+01:00") or the locale's clock text
// ("12/6/2026 1:55:15 PM") in the mail-style layout: " AM" and " PM" are
// removed and remembered, every "T" and "t" becomes a blank, and the text is
// cut at the first ".", else the first "+", else the first "-" after the
// first blank, else the first "Z"; the fraction of a second goes. A
// remembered PM moves an hour below 12 to the afternoon, a remembered AM moves
// hour 12 to 0. When what was cut off is a zone ("Z", "+01:00", "-0500",
// "+01"), the time becomes the local time (the process's zone) of that
// instant: 13:55:15+01:00 is 12:55:15 on a machine in UTC. Without a zone, or
// with anything else there ("+1", "CET"), or for an instant outside the
// system clock's years (about 1678 to 2262), the clock time stays as written.
// An unreadable text gives the current time as it is. "" only when the
// current time itself is outside the dates' range.
std::string ConvertW3cDateText(std::string_view text);

// The date ConvertW3cDateText reads in `text`; nullopt when it is unreadable.
std::optional<platform::OleDate> ReadW3cDateText(std::string_view text);

}  // namespace tavi
