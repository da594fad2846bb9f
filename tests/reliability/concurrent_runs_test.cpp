// Several tavi programs on one data folder at once: the second download
// waits for the first, adds run side by side lose no feed, and no article
// arrives twice or damaged.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "store/feed_definitions.h"
#include "support/loopback_server.h"
#include "tavi_runs.h"

namespace tavi::testing {
namespace {

constexpr int kArticles = 40;
constexpr int kAdds = 8;

class ConcurrentRunsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_ = folder_.Join("data");
    std::filesystem::create_directories(data_);
    ASSERT_EQ(RunTaviProgram(data_, {"init"}), 0);
  }

  // Starts one tavi program per argument list, all at once, and returns
  // their exit codes in the same order.
  std::vector<int> RunAtOnce(const std::vector<std::vector<std::string>>& runs) {
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (std::size_t i = 0; i < runs.size(); ++i)
      children.push_back(std::make_unique<ChildProcess>(TaviArguments(data_, runs[i]),
                                                        data_ + "/run-" + std::to_string(i)));
    std::vector<int> codes;
    for (const auto& child : children) codes.push_back(child->Wait());
    return codes;
  }

  TempDir folder_;
  std::string data_;
  LoopbackServer server_;
};

TEST_F(ConcurrentRunsTest, TwoDownloadsAtOnceDeliverEachArticleOnce) {
  const auto articles = FeedArticles(kArticles);
  server_.Serve("/a.rss", FeedDocument(articles), "application/rss+xml");
  for (const char* alias : {"A", "B"})
    ASSERT_EQ(RunTaviProgram(data_, {"add", alias, server_.Url("/a.rss"), "--name", alias,
                                     "--newsbox", "News"}),
              0);
  EXPECT_EQ(RunAtOnce({{"download"}, {"download"}}), (std::vector<int>{0, 0}));
  const MailboxContents contents = ReadBackMailbox(data_, "News");
  EXPECT_EQ(contents.damaged, 0);
  EXPECT_EQ(contents.duplicates, 0);
  EXPECT_EQ(contents.bodies.size(), articles.size());
  for (const auto& [message_id, body] : contents.bodies) EXPECT_EQ(body, articles.at(message_id));
}

TEST_F(ConcurrentRunsTest, AddsRunAtOnceKeepEveryFeedAndOnlyOneOfASharedAlias) {
  std::vector<std::vector<std::string>> distinct;
  for (int i = 0; i < kAdds; ++i) {
    const std::string alias = "Feed" + std::to_string(i);
    distinct.push_back({"add", alias, "http://127.0.0.1:1/" + alias, "--name", alias});
  }
  EXPECT_EQ(RunAtOnce(distinct), std::vector<int>(kAdds, 0));
  EXPECT_EQ(LoadFeedList(data_ + "/plugins/tavi.ini").size(), static_cast<std::size_t>(kAdds));

  const std::vector<std::string> same = {"add", "Same", "http://127.0.0.1:1/same", "--name",
                                         "Same"};
  const std::vector<int> codes = RunAtOnce(std::vector<std::vector<std::string>>(kAdds, same));
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 0), 1);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), 1), kAdds - 1);
  EXPECT_EQ(LoadFeedList(data_ + "/plugins/tavi.ini").size(), static_cast<std::size_t>(kAdds + 1));
}

}  // namespace
}  // namespace tavi::testing
