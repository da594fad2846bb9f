#include "ui/main_window_rows.h"

#include <gtest/gtest.h>

#include "files/file_names.h"
#include "store/profile.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

TEST(MainWindowRows, NewsboxPictureAndTextSumUpItsCounts) {
  struct Case {
    const char* name;
    int messages;
    int unread;
    const char* text;
    int image;
  };
  const Case cases[] = {
      {"empty", 0, 0, "News (0/0)", 0},
      {"all read", 3, 0, "News (0/3)", 1},
      {"some unread", 3, 2, "News (2/3)", 2},
      // An unreadable table of contents counts as no messages.
      {"unreadable", -1, -1, "News (-1/-1)", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewsboxEntry entry{"News", "/m/News.mbx", "/m/News.toc", c.messages, c.unread};
    EXPECT_EQ(NewsboxRowText(entry), c.text);
    EXPECT_EQ(NewsboxImageIndex(entry), c.image);
  }
}

TEST(MainWindowRows, MissingTableOfContentsReadsAsMinusOne) {
  testing::TempDir folder;
  const NewsboxEntry entry = ReadNewsboxEntry("News", folder.Join("News.mbx"));
  EXPECT_EQ(entry.index_path, folder.Join("News.toc"));
  EXPECT_EQ(entry.message_count, -1);
  EXPECT_EQ(entry.unread_count, -1);
  EXPECT_EQ(IndexPathOf("ab"), "");
}

TEST(MainWindowRows, NewsboxRowOnlyForAnExistingFileNotYetListed) {
  testing::TempDir folder;
  testing::WriteFile(folder.Join("News.mbx"), "");
  FeedRecord feed;
  feed.NewsboxPath = folder.Join("News.mbx");
  EXPECT_TRUE(NeedsNewsboxRow(feed, {}));
  NewsboxEntry listed{"News", folder.Join("NEWS.MBX"), folder.Join("NEWS.toc")};
  EXPECT_FALSE(NeedsNewsboxRow(feed, {listed}));
  feed.NewsboxPath = folder.Join("Gone.mbx");
  EXPECT_FALSE(NeedsNewsboxRow(feed, {}));
}

TEST(MainWindowRows, StoredNewsboxDefaultsToTheSafeAlias) {
  testing::TempDir folder;
  const std::string settings = folder.Join("tavi.ini");
  WriteProfileString("Tech", "Newsbox", "Gadgets", settings);
  EXPECT_EQ(StoredNewsboxOf("Tech", settings), "Gadgets");
  EXPECT_EQ(StoredNewsboxOf("What?", settings), MakeSafeFileName("What?"));
}

}  // namespace
}  // namespace tavi
