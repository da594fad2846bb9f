#include "store/feed_validators.h"

#include <gtest/gtest.h>

#include "store/feed_definitions.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

using ::tavi::testing::TempDir;

constexpr char kUrl[] = "http://127.0.0.1/news.xml";

class FeedValidatorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SaveFeed(NewFeedRecord("News", kUrl), "", file));
    ASSERT_TRUE(StoreCheckedAddress("News", {kUrl, "", kValidators}, file));
  }

  FeedValidators Stored(const std::string& alias = "News") const {
    return ReadFeedValidators(alias, file);
  }

  const FeedValidators kValidators{"\"v1\"", "Fri, 11 Dec 2026 09:30:00 GMT"};
  TempDir dir;
  std::string file = dir.Join("tavi.ini");
};

TEST_F(FeedValidatorsTest, EditsKeepTheValidatorsOnlyWhileTheUrlStaysTheSame) {
  ASSERT_EQ(Stored(), kValidators);
  FeedRecord feed = ReadFeedDefinition("News", file);
  feed.IntervalMinutes = 60;
  ASSERT_TRUE(StoreFeed(feed, "", "News", file).Stored());
  EXPECT_EQ(Stored(), kValidators);

  // A rename keeps the document, and so its validators.
  feed.Alias = "Daily";
  ASSERT_TRUE(StoreFeed(feed, "", "News", file).Stored());
  EXPECT_EQ(Stored("Daily"), kValidators);
  EXPECT_EQ(Stored("News"), FeedValidators{});

  feed.URL = "http://127.0.0.1/other.xml";
  ASSERT_TRUE(StoreFeed(feed, "", "Daily", file).Stored());
  EXPECT_EQ(Stored("Daily"), FeedValidators{});
}

TEST_F(FeedValidatorsTest, ACheckedAddressIsStoredOnlyForTheUrlThatWasChecked) {
  const FeedValidators newer{"\"v2\"", ""};
  // The feed's URL was edited while the check ran: what the check learned
  // belongs to the old address.
  EXPECT_FALSE(StoreCheckedAddress("News", {"http://127.0.0.1/old.xml", "", newer}, file));
  EXPECT_FALSE(StoreCheckedAddress("Gone", {kUrl, "", newer}, file));
  EXPECT_EQ(Stored(), kValidators);
  EXPECT_EQ(ReadProfileString("Gone", "URL", "absent", file), "absent");

  ASSERT_TRUE(StoreCheckedAddress("News", {kUrl, "http://127.0.0.1/moved.xml", newer}, file));
  EXPECT_EQ(ReadFeedDefinition("News", file).URL, "http://127.0.0.1/moved.xml");
  EXPECT_EQ(Stored(), newer);
}

TEST_F(FeedValidatorsTest, ValuesTheFileCannotGiveBackWholeAreNotKept) {
  const std::string too_long(kProfileValueLimit + 1, 'e');
  ASSERT_TRUE(StoreCheckedAddress("News", {kUrl, "", {too_long, "Fri"}}, file));
  EXPECT_EQ(Stored(), (FeedValidators{"", "Fri"}));

  // Cut, the new address would lead nowhere; the old one still redirects.
  const std::string long_url = "http://127.0.0.1/" + std::string(kProfileValueLimit, 'u');
  EXPECT_FALSE(StoreCheckedAddress("News", {kUrl, long_url, kValidators}, file));
  EXPECT_EQ(ReadFeedDefinition("News", file).URL, kUrl);
}

}  // namespace
}  // namespace tavi
