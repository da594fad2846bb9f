#include "ui/news_board_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/test_seams.h"

namespace tavi {
namespace {

NewArticleNotice Notice(const std::string& subject, const std::string& date,
                        const std::string& downloaded) {
  NewArticleNotice notice;
  notice.HeaderText = "From: Ann Lee\r\nSubject: " + subject + "\r\nDate: " + date +
                      "\r\nFeed: Daily\r\nWebsite: http://example.com/a\r\n"
                      "Downloaded: " +
                      downloaded + "\r\n\r\n";
  notice.MessageText = "<p>Body</p>";
  notice.Newsbox = "News";
  notice.MailboxText = "C:\\Mail\\News.mbx";
  return notice;
}

TEST(HeadlineEntry, TakesItsColumnsFromTheNoticeHeadersWithDatesNormalised) {
  const HeadlineEntry entry =
      MakeHeadlineEntry(Notice("Rain", "Sun, 06 Dec 2026 13:55:15 +0100", "12/07/2026 08:00:01"));
  const std::vector<std::string> expected = {
      "Rain", "Daily", "Ann Lee", "12/06/2026 13:55:15", "12/07/2026 08:00:01", "News"};
  for (int column = 0; column < kHeadlineColumnCount; ++column) {
    SCOPED_TRACE(kHeadlineColumnTitles[column]);
    EXPECT_EQ(HeadlineColumnText(entry, column), expected[column]);
  }
  EXPECT_EQ(HeadlineColumnText(entry, kHeadlineColumnCount), "");
  EXPECT_EQ(entry.Website, "http://example.com/a");
  EXPECT_EQ(entry.NewsboxPath, "C:\\Mail\\News.mbx");
  EXPECT_EQ(entry.MessageText, "<p>Body</p>");
  EXPECT_EQ(entry.Opened, 0);
}

TEST(HeadlineEntry, MissingHeadersLeaveEmptyColumnsAndUnreadableDatesTheCurrentTime) {
  const testing::PinnedUtcClock clock(testing::UtcInstant(2026, 12, 7, 9, 30, 0));
  NewArticleNotice notice;
  notice.HeaderText = "Subject: Only\r\n\r\n";
  const HeadlineEntry entry = MakeHeadlineEntry(notice);
  EXPECT_EQ(entry.Headline, "Only");
  EXPECT_EQ(entry.Author, "");
  EXPECT_EQ(entry.Feed, "");
  EXPECT_EQ(entry.Website, "");
  EXPECT_EQ(entry.Published, "12/07/2026 09:30:00");
  EXPECT_EQ(entry.Downloaded, "12/07/2026 09:30:00");
}

TEST(CompareHeadlines, OrdersEachColumnBothWays) {
  HeadlineEntry early =
      MakeHeadlineEntry(Notice("apple", "01 Dec 2026 10:00:00", "12/01/2026 09:00:00"));
  HeadlineEntry late =
      MakeHeadlineEntry(Notice("Banana", "01 Dec 2026 10:00:01", "12/02/2026 09:00:00"));
  early.Feed = "a feed";
  late.Feed = "B feed";
  early.Newsbox = "alpha";
  late.Newsbox = "Beta";
  for (int key :
       {kHeadlineColumn, kFeedColumn, kPublishedColumn, kDownloadedColumn, kNewsboxColumn}) {
    SCOPED_TRACE(kHeadlineColumnTitles[key]);
    EXPECT_LT(CompareHeadlines(early, late, key, kSortAscending), 0);
    EXPECT_GT(CompareHeadlines(late, early, key, kSortAscending), 0);
    EXPECT_GT(CompareHeadlines(early, late, key, kSortDescending), 0);
    EXPECT_EQ(CompareHeadlines(early, early, key, kSortDescending), 0);
  }
  // The same author in another case is the same author.
  late.Author = "ANN LEE";
  EXPECT_EQ(CompareHeadlines(early, late, kAuthorColumn, kSortAscending), 0);
}

TEST(CompareHeadlines, DatesThatDoNotReadAndTimesOfOneDayCompareEqual) {
  HeadlineEntry morning =
      MakeHeadlineEntry(Notice("a", "01 Dec 2026 08:00:00", "12/01/2026 08:00:00"));
  HeadlineEntry evening =
      MakeHeadlineEntry(Notice("b", "01 Dec 2026 20:00:00", "12/01/2026 20:00:00"));
  EXPECT_EQ(CompareHeadlines(morning, evening, kDownloadedColumn, kSortAscending), 0);
  EXPECT_LT(CompareHeadlines(morning, evening, kPublishedColumn, kSortAscending), 0);
  // A date that no longer reads, as after an edit by hand in another locale.
  evening.published_date.reset();
  EXPECT_EQ(CompareHeadlines(morning, evening, kPublishedColumn, kSortAscending), 0);
  EXPECT_EQ(CompareHeadlines(evening, morning, kPublishedColumn, kSortDescending), 0);
}

TEST(BuildPreviewHtml, NumbersEachRowAndInsertsItsTextsUnescaped) {
  HeadlineEntry first = MakeHeadlineEntry(Notice("R&D <news>", "01 Dec 2026 08:00:00", ""));
  HeadlineEntry second = MakeHeadlineEntry(Notice("Two", "02 Dec 2026 08:00:00", ""));
  second.MessageText = "<b>2</b>";
  EXPECT_EQ(BuildPreviewHtml({&first, &second}),
            "Ann Lee | <a><a name=\"#0\"><a href=\"http://example.com/a\">R&D <news></a> | "
            "12/01/2026 08:00:00 | Newsbox: News\r\n<br>\r\n<br><p>Body</p>\r\n<br><hr>"
            "Ann Lee | <a><a name=\"#1\"><a href=\"http://example.com/a\">Two</a> | "
            "12/02/2026 08:00:00 | Newsbox: News\r\n<br>\r\n<br><b>2</b>\r\n<br><hr>");
  EXPECT_EQ(BuildPreviewHtml({}), "");
}

}  // namespace
}  // namespace tavi
