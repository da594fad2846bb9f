#include "store/feed_definitions.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "store/profile.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

class FeedDefinitions : public ::testing::Test {
 protected:
  FeedRecord NewsFeed() const {
    FeedRecord feed;
    feed.Alias = "News";
    feed.Name = "Daily News";
    feed.URL = "http://127.0.0.1/news.xml";
    feed.Newsbox = "News";
    feed.NewsboxPath = newsbox_path;
    feed.DownloadReferringArticles = 1;
    feed.DownloadOnlyNewArticles = 0;
    feed.AutoCheck = 1;
    feed.IntervalMinutes = 30;
    return feed;
  }

  TempDir dir;
  std::string file = dir.Join("tavi.ini");
  std::string newsbox_path = dir.Join("News.mbx");
};

TEST_F(FeedDefinitions, SavedFeedIsWrittenInItsFixedOrderAndListedBack) {
  ASSERT_TRUE(SaveFeed(NewsFeed(), "", file));
  EXPECT_EQ(ReadFile(file),
            "[Aliases]\nNews=Daily News\n[News]\nName=Daily News\n"
            "URL=http://127.0.0.1/news.xml\nNewsbox=News\nNewsboxPath=" +
                newsbox_path +
                "\nDownloadReferringArticles=1\nDownloadOnlyNewArticles=0\nLastArticle=\n"
                "AutoCheck=1\nIntervalMinutes=30\n");
  const auto feeds = LoadFeedList(file);
  ASSERT_EQ(feeds.size(), 1u);
  EXPECT_EQ(feeds[0].Alias, "News");
  EXPECT_EQ(feeds[0].NewsboxPath, newsbox_path);
  EXPECT_EQ(feeds[0].IntervalMinutes, 30);
  EXPECT_EQ(feeds[0].NotifyNewsBoard, 1);
  EXPECT_EQ(FeedImageIndex(feeds[0]), 1 | 4);
}

TEST_F(FeedDefinitions, ListSkipsEmptyNamesAndMissingUrlsAndAppliesDefaults) {
  WriteFile(file,
            "[Aliases]\nNoName=\n=Orphan\nNoUrl=No URL\nBare=Bare Feed\n"
            "[NoName]\nURL=u1\n[NoUrl]\nName=No URL\n[Bare]\nURL=u2\n");
  const auto feeds = LoadFeedList(file);
  ASSERT_EQ(feeds.size(), 1u);
  const FeedRecord& bare = feeds[0];
  EXPECT_EQ(bare.Alias, "Bare");
  EXPECT_EQ(bare.DownloadReferringArticles, 0);
  EXPECT_EQ(bare.DownloadOnlyNewArticles, 1);
  EXPECT_EQ(bare.AutoCheck, 0);
  EXPECT_EQ(bare.IntervalMinutes, 0);
  EXPECT_EQ(bare.NotifyNewsBoard, 1);
  EXPECT_EQ(ReadLastArticle("Bare", file), "1/1/1970 11:10:00");
  // The skipped feed without a URL stays in the file.
  EXPECT_EQ(ReadProfileString("NoUrl", "Name", "", file), "No URL");
}

TEST_F(FeedDefinitions, ManyFeedsWithLongNamesAreAllListed) {
  const std::string long_name(150, 'n');
  for (int i = 0; i < 100; ++i) {
    FeedRecord feed = NewsFeed();
    feed.Alias = "Feed" + std::to_string(i);
    feed.Name = long_name;
    ASSERT_TRUE(SaveFeed(feed, "", file));
  }
  const auto feeds = LoadFeedList(file);
  ASSERT_EQ(feeds.size(), 100u);
  EXPECT_EQ(feeds[99].Name, long_name);
}

TEST_F(FeedDefinitions, EditingRemovesTheFeedAndCancelRestoresAllButScheduleKeys) {
  ASSERT_TRUE(SaveFeed(NewsFeed(), "12/01/2026 08:00:00", file));
  WriteProfileString("News", "LastCheck", "12/7/2026 9:00:00 AM", file);
  WriteProfileInt("News", "NotifyNewsBoard", 0, file);

  const FeedEdit edit = OpenFeedForEditing("news", file);
  EXPECT_TRUE(LoadFeedList(file).empty());
  EXPECT_TRUE(ReadListedAliases(file).empty());
  EXPECT_EQ(edit.last_article, "12/01/2026 08:00:00");
  EXPECT_EQ(edit.feed.URL, "http://127.0.0.1/news.xml");

  ASSERT_TRUE(CancelFeedEdit(edit, file));
  const auto feeds = LoadFeedList(file);
  ASSERT_EQ(feeds.size(), 1u);
  EXPECT_EQ(feeds[0].IntervalMinutes, 30);
  EXPECT_EQ(feeds[0].NotifyNewsBoard, 1);
  EXPECT_EQ(ReadLastArticle("News", file), "12/01/2026 08:00:00");
  EXPECT_EQ(ReadProfileString("News", "LastCheck", "gone", file), "gone");
}

TEST_F(FeedDefinitions, RenameLeavesNoTraceOfTheOldAlias) {
  ASSERT_TRUE(SaveFeed(NewsFeed(), "12/01/2026 08:00:00", file));
  FeedEdit edit = OpenFeedForEditing("News", file);
  edit.feed.Alias = "Tech";
  ASSERT_TRUE(SaveFeed(edit.feed, edit.last_article, file));
  EXPECT_EQ(ReadListedAliases(file), std::vector<std::string>{"Tech"});
  EXPECT_EQ(ReadProfileString("News", "URL", "none", file), "none");
  EXPECT_EQ(ReadProfileString("Tech", "URL", "", file), "http://127.0.0.1/news.xml");
  EXPECT_EQ(ReadLastArticle("Tech", file), "12/01/2026 08:00:00");
}

TEST_F(FeedDefinitions, DeleteRemovesLineAndSection) {
  ASSERT_TRUE(SaveFeed(NewsFeed(), "", file));
  EXPECT_TRUE(DeleteFeed("NEWS", file));
  EXPECT_EQ(ReadFile(file), "[Aliases]\n");
}

TEST_F(FeedDefinitions, RulesAreCheckedInOrder) {
  WriteFile(newsbox_path, "");
  const std::vector<std::string> others{"Tech", "Sport"};
  struct Row {
    const char* what;
    void (*change)(FeedRecord&);
    std::optional<FeedRule> broken;
  };
  const Row rows[] = {
      {"valid", [](FeedRecord&) {}, std::nullopt},
      {"no alias", [](FeedRecord& f) { f.Alias.clear(); }, FeedRule::kAliasAndUrlGiven},
      {"no URL", [](FeedRecord& f) { f.URL.clear(); }, FeedRule::kAliasAndUrlGiven},
      {"alias with =", [](FeedRecord& f) { f.Alias = "a=b"; }, FeedRule::kAliasStorable},
      {"alias as section", [](FeedRecord& f) { f.Alias = "[x]"; }, FeedRule::kAliasStorable},
      {"alias as comment", [](FeedRecord& f) { f.Alias = ";x"; }, FeedRule::kAliasStorable},
      {"trailing blank", [](FeedRecord& f) { f.Alias = "News "; }, FeedRule::kAliasStorable},
      {"no newsbox file", [](FeedRecord& f) { f.NewsboxPath += ".gone"; },
       FeedRule::kNewsboxExists},
      {"Pending", [](FeedRecord& f) { f.Newsbox = "pENDING"; }, FeedRule::kNewsboxAllowed},
      {"Out", [](FeedRecord& f) { f.Newsbox = "OUT"; }, FeedRule::kNewsboxAllowed},
      {"Outbox is fine", [](FeedRecord& f) { f.Newsbox = "Outbox"; }, std::nullopt},
      {"duplicate in other case", [](FeedRecord& f) { f.Alias = "TECH"; }, FeedRule::kAliasUnique},
      // The file's own sections: such a feed would share its section with
      // them, and deleting it would delete the list of every feed.
      {"the list of feeds", [](FeedRecord& f) { f.Alias = "aliases"; }, FeedRule::kAliasStorable},
      {"window placement", [](FeedRecord& f) { f.Alias = "WINDOWS"; }, FeedRule::kAliasStorable},
      {"column widths", [](FeedRecord& f) { f.Alias = "Columns"; }, FeedRule::kAliasStorable},
      {"a longer name is fine", [](FeedRecord& f) { f.Alias = "Windows News"; }, std::nullopt},
      // "Tech?" and "Tech" both download into Tech.rss.
      {"shared cache file", [](FeedRecord& f) { f.Alias = "tech?"; }, FeedRule::kCacheFileUnique},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FeedRecord feed = NewsFeed();
    row.change(feed);
    EXPECT_EQ(FindBrokenRule(feed, others), row.broken);
  }
}

TEST_F(FeedDefinitions, StoringRefusesAClashFoundUnderTheLockAndNamesTheOtherFeed) {
  FeedRecord tech = NewsFeed();
  tech.Alias = "Tech";
  ASSERT_TRUE(SaveFeed(tech, "", file));
  const std::string before = ReadFile(file);
  struct Row {
    const char* alias;
    const char* replaced;
    StoreResult::Clash clash;
  };
  const Row rows[] = {
      {"TECH", "", StoreResult::Clash::kAlias},
      {"Tech!", "", StoreResult::Clash::kCacheFile},
      {"Tech!", "News", StoreResult::Clash::kCacheFile},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.alias);
    FeedRecord feed = NewsFeed();
    feed.Alias = row.alias;
    const StoreResult result = StoreFeed(feed, "", row.replaced, file);
    EXPECT_FALSE(result.Stored());
    EXPECT_EQ(result.clash, row.clash);
    EXPECT_EQ(result.other_alias, "Tech");
    EXPECT_EQ(ReadFile(file), before);
  }
  // The feed a definition replaces is no clash: it may keep its alias in
  // another letter case.
  tech.Alias = "TECH";
  EXPECT_TRUE(StoreFeed(tech, "12/01/2026 08:00:00", "tech", file).Stored());
  EXPECT_EQ(ReadListedAliases(file), std::vector<std::string>{"TECH"});
  EXPECT_EQ(ReadLastArticle("TECH", file), "12/01/2026 08:00:00");
}

TEST_F(FeedDefinitions, ABatchOfNewFeedsLeavesOutOnlyThoseThatClash) {
  ASSERT_TRUE(SaveFeed(NewsFeed(), "12/01/2026 08:00:00", file));
  std::vector<FeedRecord> batch;
  for (const char* alias : {"Tech", "NEWS", "Sport", "Tech!"}) {
    batch.push_back(NewsFeed());
    batch.back().Alias = alias;
  }
  const std::vector<StoreResult> results = StoreNewFeeds(batch, file);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_TRUE(results[0].Stored());
  EXPECT_EQ(results[1].clash, StoreResult::Clash::kAlias);
  EXPECT_EQ(results[1].other_alias, "News");
  EXPECT_TRUE(results[2].Stored());
  // A clash with an earlier feed of the same batch counts as with a stored one.
  EXPECT_EQ(results[3].clash, StoreResult::Clash::kCacheFile);
  EXPECT_EQ(results[3].other_alias, "Tech");
  EXPECT_EQ(ReadListedAliases(file), (std::vector<std::string>{"News", "Tech", "Sport"}));
  EXPECT_EQ(ReadLastArticle("News", file), "12/01/2026 08:00:00");
  EXPECT_EQ(ReadStoredFeed("Sport", file).feed.URL, NewsFeed().URL);

  // A settings file that cannot be read stores nothing, and every result says so.
  const std::string folder = dir.Join("folder.ini");
  ASSERT_TRUE(platform::CreateFolder(folder));
  for (const StoreResult& result : StoreNewFeeds(batch, folder)) {
    EXPECT_FALSE(result.Stored());
    EXPECT_FALSE(result.written);
  }
}

TEST_F(FeedDefinitions, RenamingReplacesTheOldDefinitionInOneRewrite) {
  ASSERT_TRUE(SaveFeed(NewsFeed(), "12/01/2026 08:00:00", file));
  WriteProfileString("News", "LastCheck", "12/7/2026 9:00:00 AM", file);
  FeedRecord renamed = NewsFeed();
  renamed.Alias = "Tech";
  ASSERT_TRUE(StoreFeed(renamed, ReadLastArticle("News", file), "News", file).Stored());
  EXPECT_EQ(ReadFile(file),
            "[Aliases]\nTech=Daily News\n[Tech]\nName=Daily News\n"
            "URL=http://127.0.0.1/news.xml\nNewsbox=News\nNewsboxPath=" +
                newsbox_path +
                "\nDownloadReferringArticles=1\nDownloadOnlyNewArticles=0\n"
                "LastArticle=12/01/2026 08:00:00\nAutoCheck=1\nIntervalMinutes=30\n");
}

TEST(FeedNames, ALearnedTitleWithNothingInItGivesTheAlias) {
  const struct {
    const char* title;
    const char* name;
  } rows[] = {
      {"Daily News", "Daily News"},
      {"  Daily News \r\n", "Daily News"},
      {"", "News"},
      {" \t\r\n ", "News"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.title);
    EXPECT_EQ(NameFromLearnedTitle(row.title, "News"), row.name);
  }
}

TEST_F(FeedDefinitions, IntervalBelowOneMinuteTurnsAutoCheckOff) {
  FeedRecord feed = NewsFeed();
  feed.IntervalMinutes = 0;
  ApplyIntervalRule(feed);
  EXPECT_EQ(feed.AutoCheck, 0);
  feed.AutoCheck = 1;
  feed.IntervalMinutes = 1;
  ApplyIntervalRule(feed);
  EXPECT_EQ(feed.AutoCheck, 1);
}

TEST_F(FeedDefinitions, NumbersOutOfRangeInTheFileAreHeldToTheirRange) {
  WriteFile(file,
            "[Aliases]\nHigh=High\nLow=Low\n"
            "[High]\nURL=u\nDownloadReferringArticles=5\nDownloadOnlyNewArticles=2\n"
            "AutoCheck=7\nIntervalMinutes=999999\nNotifyNewsBoard=3\n"
            "[Low]\nURL=u\nDownloadReferringArticles=-1\nDownloadOnlyNewArticles=-9\n"
            "AutoCheck=-1\nIntervalMinutes=-30\nNotifyNewsBoard=-2\n");
  const FeedRecord high = ReadStoredFeed("High", file).feed;
  EXPECT_EQ(high.DownloadReferringArticles, 1);
  EXPECT_EQ(high.DownloadOnlyNewArticles, 1);
  EXPECT_EQ(high.AutoCheck, 1);
  EXPECT_EQ(high.IntervalMinutes, 10080);
  EXPECT_EQ(high.NotifyNewsBoard, 1);
  const FeedRecord low = ReadFeedDefinition("Low", file);
  EXPECT_EQ(low.DownloadReferringArticles, 0);
  EXPECT_EQ(low.DownloadOnlyNewArticles, 0);
  EXPECT_EQ(low.AutoCheck, 0);
  EXPECT_EQ(low.IntervalMinutes, 0);
  EXPECT_EQ(low.NotifyNewsBoard, 0);
}

TEST(FeedIntervals, TypedDigitsAreHeldToAWeek) {
  const struct {
    const char* text;
    int minutes;
  } rows[] = {
      {"", 0},
      {"0", 0},
      {"15", 15},
      {"0007", 7},
      {"10080", 10080},
      {"10081", 10080},                 // one minute over a week
      {"99999999999999999999", 10080},  // would overflow an int
      {"12abc", 12},
      {"abc", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(IntervalFromText(row.text), row.minutes);
  }
}

TEST(CacheFiles, PathUsesTheSafeAliasAndLeadsBackToIt) {
  EXPECT_EQ(CacheFilePath("/data", "Tom's News: Daily!"), "/data/Feeds/Toms News Daily.rss");
  const std::vector<std::string> aliases{"Tom's News: Daily!", "a.b", "Plain"};
  const struct {
    const char* file;
    const char* alias;
  } rows[] = {
      {"/data/Feeds/Toms News Daily.rss", "Tom's News: Daily!"},  // changed by the safe form
      {"/data/Feeds/a.b.rss", "a.b"},                             // a dot in the alias
      {"/data/Feeds/PLAIN.RSS", "Plain"},                         // letter case ignored
      {"/data/Feeds/unknown.x.rss", "unknown"},  // not listed: text before the first dot
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    EXPECT_EQ(AliasOfCacheFile(row.file, aliases), row.alias);
  }
}

}  // namespace
}  // namespace tavi
