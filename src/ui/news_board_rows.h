#pragma once

// What the News Board holds and shows for each delivered article: the
// headline row made from the check run's notice, the six texts of its
// columns, the order of two rows under a sort column, and the preview page
// of all rows. Plain functions, so that the tavi command could list the same
// headlines.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/check_window.h"
#include "platform/oledate.h"
#include "store/settings_layout.h"

namespace tavi {

// The headline list's columns, in their order; each title is also the key of
// the column's width in the settings file's "Columns" section.
inline constexpr int kHeadlineColumnCount = 6;
inline constexpr std::array<const char*, kHeadlineColumnCount> kHeadlineColumnTitles = {
    settings::kHeadlineColumn,  settings::kFeedColumn,       settings::kAuthorColumn,
    settings::kPublishedColumn, settings::kDownloadedColumn, settings::kNewsboxColumn};
inline constexpr int kHeadlineColumn = 0;
inline constexpr int kFeedColumn = 1;
inline constexpr int kAuthorColumn = 2;
inline constexpr int kPublishedColumn = 3;
inline constexpr int kDownloadedColumn = 4;
inline constexpr int kNewsboxColumn = 5;

// Sort orders.
inline constexpr int kSortAscending = 0;
inline constexpr int kSortDescending = 1;

// One headline row, owned by the board.
struct HeadlineEntry {
  std::string HeaderText;    // the message's header block, up to its first blank line
  std::string MessageText;   // the message's body
  std::string Headline;      // "Subject:"
  std::string Feed;          // "Feed:"
  std::string Author;        // "From:"
  std::string Published;     // "Date:", normalised
  std::string Downloaded;    // "Downloaded:", normalised
  std::string Newsbox;       // the newsbox's name
  std::string NewsboxPath;   // its mailbox file
  std::string Website;       // "Website:"
  std::uint16_t Opened = 0;  // 1 once the article was opened from the board

  // The dates the sort compares, read from the texts above once when the row
  // is made, so that sorting thousands of rows parses nothing: Published as
  // a date and time, Downloaded as a day (year * 10000 + month * 100 + day).
  // nullopt when the text does not read as a date.
  std::optional<platform::OleDate> published_date;
  std::optional<int> downloaded_day;
};

// The row for `notice`: the header values taken from its header block (a
// missing header leaves its text empty), both dates normalised (an
// unreadable one becomes the current local time), never opened.
HeadlineEntry MakeHeadlineEntry(const NewArticleNotice& notice);

// The text the row shows in `column` (0 to 5, kHeadlineColumnTitles' order);
// "" for any other column.
std::string HeadlineColumnText(const HeadlineEntry& entry, int column);

// Orders `a` and `b` under the sort column `sort_key`: negative when `a`
// comes first, 0 when they are equal. Headline, Feed, Author and Newsbox
// compare as text ignoring case, Published as a date and time, Downloaded as
// a day; two rows of which either date did not read compare equal, and so
// does any other key. kSortDescending negates the result.
int CompareHeadlines(const HeadlineEntry& a, const HeadlineEntry& b, int sort_key, int sort_order);

// The preview page's HTML for `rows` in list order: for each its author, a
// link to its website named by its headline, its published date and its
// newsbox, then its body and a rule. The texts go in as they are, unescaped,
// since the bodies are HTML themselves.
std::string BuildPreviewHtml(const std::vector<const HeadlineEntry*>& rows);

}  // namespace tavi
