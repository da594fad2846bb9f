// tavi download killed with SIGKILL at many moments of its run: after each
// kill the newsbox reads back with only whole messages, and the next run
// delivers every article exactly once.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "host/mail_store.h"

#include "support/loopback_server.h"
#include "tavi_runs.h"

namespace tavi::testing {
namespace {

constexpr int kArticles = 60;
constexpr int kMoments = 32;
constexpr const char* kOldMessageId = "<old@example.test>";

class KillDownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    articles_ = FeedArticles(kArticles);
    server_.Serve("/many.rss", FeedDocument(articles_), "application/rss+xml");
  }

  // A data folder subscribed to the feed, with nothing delivered yet.
  std::string FreshDataFolder(const std::string& name) {
    const std::string data = folder_.Join(name);
    std::filesystem::create_directories(data);
    EXPECT_EQ(RunTaviProgram(data, {"init"}), 0);
    EXPECT_EQ(RunTaviProgram(data, {"add", "News", server_.Url("/many.rss"), "--name", "Many"}), 0);
    return data;
  }

  // Every message in the newsbox is whole, once, and one of the feed's.
  void ExpectOnlyWholeArticles(const MailboxContents& contents) {
    EXPECT_EQ(contents.damaged, 0);
    EXPECT_EQ(contents.duplicates, 0);
    for (const auto& [message_id, body] : contents.bodies) {
      const auto expected = articles_.find(message_id);
      ASSERT_NE(expected, articles_.end()) << message_id;
      EXPECT_EQ(body, expected->second) << message_id;
    }
  }

  // The contents without the message that was there before the test.
  static MailboxContents WithoutOldMessage(MailboxContents contents) {
    contents.bodies.erase(kOldMessageId);
    return contents;
  }

  std::map<std::string, std::string> articles_;
  TempDir folder_;
  LoopbackServer server_;
};

TEST_F(KillDownloadTest, EveryArticleArrivesOnceWhateverMomentTheRunIsKilledAt) {
  // The bytes a whole run writes set the scale of the moments.
  const std::string measured = FreshDataFolder("measured");
  ChildProcess whole(TaviArguments(measured, {"download"}), measured + "/run");
  whole.RunUntilWritten(UINT64_MAX);
  ASSERT_EQ(whole.Wait(), 0) << whole.Errors();
  const std::uint64_t total = whole.BytesWritten();
  ASSERT_GT(total, 0u);

  int killed_running = 0;
  for (int moment = 0; moment < kMoments; ++moment) {
    SCOPED_TRACE("killed after " + std::to_string(moment) + "/" + std::to_string(kMoments) +
                 " of the writes");
    const std::string data = FreshDataFolder("moment-" + std::to_string(moment));
    {
      ChildProcess run(TaviArguments(data, {"download"}), data + "/run");
      if (run.RunUntilWritten(total * moment / kMoments)) ++killed_running;
      run.Kill();
    }
    ExpectOnlyWholeArticles(ReadBackMailbox(data, "News"));

    std::string output;
    EXPECT_EQ(RunTaviProgram(data, {"download"}, &output), 0) << output;
    const MailboxContents after = ReadBackMailbox(data, "News");
    ExpectOnlyWholeArticles(after);
    EXPECT_EQ(after.bodies.size(), articles_.size());
  }
  // Most kills caught the run in the middle of its work.
  EXPECT_GE(killed_running, kMoments / 2);
}

// A kill in the middle of the write of a message: the file size limit stops
// a write into the newsbox at a chosen byte and ends the process there. The
// newsbox starts larger than the feed document and the staging mailbox will
// grow, so only the newsbox ever reaches the limit.
TEST_F(KillDownloadTest, AMessageCutShortByAKillIsNeverTakenForDelivered) {
  constexpr int kCuts = 16;
  const std::size_t feed_bytes = FeedDocument(articles_).size();
  const std::size_t old_bytes = 2 * feed_bytes;
  int cut = 0;
  for (int index = 1; index <= kCuts; ++index) {
    SCOPED_TRACE("cut at " + std::to_string(index) + "/" + std::to_string(kCuts));
    const std::string data = FreshDataFolder("cut-" + std::to_string(index));
    {
      const auto store = host::MailStore::Open(data);
      ASSERT_TRUE(store->AddMessage(store->FindByName("News").value(),
                                    "Message-Id: " + std::string(kOldMessageId) +
                                        "\r\n\r\n<x-html>" + std::string(old_bytes, 'o') +
                                        "</x-html>"));
    }
    const std::uint64_t limit = old_bytes + feed_bytes * index / (kCuts + 1);
    ChildProcess run(TaviArguments(data, {"download"}), data + "/run", {limit});
    if (run.Wait() == 128 + SIGXFSZ) ++cut;
    ExpectOnlyWholeArticles(WithoutOldMessage(ReadBackMailbox(data, "News")));

    std::string output;
    EXPECT_EQ(RunTaviProgram(data, {"download"}, &output), 0) << output;
    const MailboxContents after = WithoutOldMessage(ReadBackMailbox(data, "News"));
    ExpectOnlyWholeArticles(after);
    EXPECT_EQ(after.bodies.size(), articles_.size());
  }
  EXPECT_EQ(cut, kCuts);
}

}  // namespace
}  // namespace tavi::testing
