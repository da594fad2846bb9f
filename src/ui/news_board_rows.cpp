#include "ui/news_board_rows.h"

#include "delivery/message_text.h"
#include "fetch/date_text.h"
#include "platform/ascii.h"

namespace tavi {
namespace {

std::optional<platform::OleDate> DateAndTime(const std::string& text) {
  const platform::OleDate date = platform::ParseLocaleDateText(text);
  if (!date.IsValid()) return std::nullopt;
  return date;
}

// The day alone: a row downloaded in the morning and one in the evening of
// the same day belong together under "Downloaded".
std::optional<int> Day(const std::string& text) {
  const auto calendar = platform::ParseLocaleDateText(text).Calendar();
  if (!calendar) return std::nullopt;
  return calendar->year * 10000 + calendar->month * 100 + calendar->day;
}

template <typename Value>
int CompareValues(const std::optional<Value>& a, const std::optional<Value>& b) {
  if (!a || !b) return 0;
  if (*a < *b) return -1;
  if (*b < *a) return 1;
  return 0;
}

int CompareAscending(const HeadlineEntry& a, const HeadlineEntry& b, int sort_key) {
  if (sort_key == kPublishedColumn) return CompareValues(a.published_date, b.published_date);
  if (sort_key == kDownloadedColumn) return CompareValues(a.downloaded_day, b.downloaded_day);
  return platform::CompareIgnoringCase(HeadlineColumnText(a, sort_key),
                                       HeadlineColumnText(b, sort_key));
}

void AppendPreviewRow(std::string& html, const HeadlineEntry& entry, std::size_t index) {
  html += entry.Author + " | <a>";
  html += "<a name=\"#" + std::to_string(index) + "\">";
  html += "<a href=\"" + entry.Website + "\">";
  html += entry.Headline + "</a> | " + entry.Published + " | Newsbox: " + entry.Newsbox;
  html += "\r\n<br>\r\n<br>" + entry.MessageText + "\r\n<br><hr>";
}

}  // namespace

HeadlineEntry MakeHeadlineEntry(const NewArticleNotice& notice) {
  HeadlineEntry entry;
  entry.HeaderText = notice.HeaderText;
  entry.MessageText = notice.MessageText;
  entry.Feed = GetHeaderValue(notice.HeaderText, "Feed: ");
  entry.Headline = GetHeaderValue(notice.HeaderText, "Subject: ");
  entry.Website = GetHeaderValue(notice.HeaderText, "Website: ");
  entry.Author = GetHeaderValue(notice.HeaderText, "From: ");
  entry.Published = NormalizeDateText(GetHeaderValue(notice.HeaderText, "Date: "));
  entry.Downloaded = NormalizeDateText(GetHeaderValue(notice.HeaderText, "Downloaded: "));
  entry.Newsbox = notice.Newsbox;
  entry.NewsboxPath = notice.MailboxText;
  entry.published_date = DateAndTime(entry.Published);
  entry.downloaded_day = Day(entry.Downloaded);
  return entry;
}

std::string HeadlineColumnText(const HeadlineEntry& entry, int column) {
  switch (column) {
    case kHeadlineColumn:
      return entry.Headline;
    case kFeedColumn:
      return entry.Feed;
    case kAuthorColumn:
      return entry.Author;
    case kPublishedColumn:
      return entry.Published;
    case kDownloadedColumn:
      return entry.Downloaded;
    case kNewsboxColumn:
      return entry.Newsbox;
  }
  return "";
}

int CompareHeadlines(const HeadlineEntry& a, const HeadlineEntry& b, int sort_key, int sort_order) {
  const int result = CompareAscending(a, b, sort_key);
  return sort_order == kSortDescending ? -result : result;
}

std::string BuildPreviewHtml(const std::vector<const HeadlineEntry*>& rows) {
  std::string html;
  for (std::size_t index = 0; index < rows.size(); ++index)
    AppendPreviewRow(html, *rows[index], index);
  return html;
}

}  // namespace tavi
