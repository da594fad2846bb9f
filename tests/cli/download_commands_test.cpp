#include "cli/download_commands.h"

#include <gtest/gtest.h>

#include "cli/run_tavi.h"
#include "fetch/file_names.h"
#include "platform/fs.h"
#include "store/feed_definitions.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;
using testing::RunTaviOn;

std::string Rss(int first, int count) {
  std::string items;
  for (int i = first; i < first + count; ++i) {
    const std::string n = std::to_string(i);
    items += "<item><title>Story " + n + "</title><guid>story-" + n +
             "</guid><pubDate>Mon, 03 Nov 2025 08:" + (i < 10 ? "0" : "") + n +
             ":00 GMT</pubDate><description>Body " + n + "</description></item>";
  }
  return "<rss><channel><title>Stories</title>" + items + "</channel></rss>";
}

class DownloadCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Tavi({"init"}).code, 0); }

  testing::CommandRun Tavi(std::vector<std::string> arguments) {
    return RunTaviOn(data_.path(), std::move(arguments));
  }
  void Add(const std::string& alias, const std::string& path) {
    ASSERT_EQ(Tavi({"add", alias, server_.Url(path), "--name", alias + " Feed"}).code, 0);
  }
  std::string Newsbox(const std::string& alias) const {
    return tavi::testing::ReadFile(data_.Join(alias + ".mbx"));
  }

  tavi::testing::TempDir data_;
  tavi::testing::LoopbackServer server_;
};

TEST_F(DownloadCommands, DeliversNewArticlesOnceAndReportsEachRun) {
  server_.Serve("/a.rss", Rss(1, 3), "text/xml");
  Add("A", "/a.rss");
  const testing::CommandRun first = Tavi({"download"});
  ASSERT_EQ(first.code, 0) << first.out << first.err;
  EXPECT_TRUE(Contains(first.out, "You've Got New Articles!\n")) << first.out;
  EXPECT_TRUE(Contains(first.out, " Feed: A Feed\n")) << first.out;
  EXPECT_TRUE(Contains(first.out, "\t\tYou've got 3 new articles for this feed.")) << first.out;
  EXPECT_TRUE(Contains(Tavi({"mailboxes"}).out, "A (3/3)\n"));
  EXPECT_TRUE(Contains(Tavi({"show", "a"}).out, "Story 2")) << Tavi({"show", "a"}).out;

  server_.Serve("/a.rss", Rss(1, 4), "text/xml");
  const testing::CommandRun second = Tavi({"download", "a"});
  EXPECT_TRUE(Contains(second.out, "You've got one new article for this feed.")) << second.out;
  const testing::CommandRun third = Tavi({"download"});
  EXPECT_TRUE(Contains(third.out, "No New Articles :-(\n")) << third.out;
  EXPECT_EQ(third.code, 0);
}

TEST_F(DownloadCommands, SeveralFeedsReportTheTotal) {
  server_.Serve("/a.rss", Rss(1, 2), "text/xml");
  server_.Serve("/b.rss", Rss(10, 3), "text/xml");
  Add("A", "/a.rss");
  Add("B", "/b.rss");
  const testing::CommandRun run = Tavi({"download"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "\n\n\n\t\t\tYou've got 5 new articles.")) << run.out;
  EXPECT_FALSE(Contains(run.out, " Feed: ")) << run.out;
}

TEST_F(DownloadCommands, AnUnknownAliasOrNoFeedRunsNothing) {
  const testing::CommandRun none = Tavi({"download"});
  EXPECT_EQ(none.code, 1);
  EXPECT_TRUE(Contains(none.err, "no feeds")) << none.err;
  server_.Serve("/a.rss", Rss(1, 2), "text/xml");
  Add("A", "/a.rss");
  const testing::CommandRun unknown = Tavi({"download", "A", "Z"});
  EXPECT_EQ(unknown.code, 1);
  EXPECT_TRUE(Contains(unknown.err, "no feed with the alias \"Z\"")) << unknown.err;
  EXPECT_EQ(server_.Hits("/a.rss"), 0);
}

struct BadDocument {
  const char* why;
  std::string body;
};

TEST_F(DownloadCommands, AFeedThatCannotBeReadGivesTheFeedErrorAndLeavesTheNewsbox) {
  server_.Serve("/good.rss", Rss(1, 2), "text/xml");
  Add("Box", "/good.rss");
  ASSERT_EQ(Tavi({"download"}).code, 0);
  const std::string delivered = Newsbox("Box");
  const BadDocument documents[] = {
      {"not XML", "This is plain text, not a feed at all."},
      {"empty", ""},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0\xff\xfe", 22)},
      {"two roots", Rss(20, 1) + Rss(21, 1)},
  };
  for (const BadDocument& document : documents) {
    SCOPED_TRACE(document.why);
    server_.Serve("/good.rss", document.body, "text/xml");
    const testing::CommandRun run = Tavi({"download"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.out, "Tavi - Feed Error\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "This is not a valid RSS/Atom feed.")) << run.out;
    EXPECT_EQ(Newsbox("Box"), delivered);
  }
  ASSERT_EQ(Tavi({"edit", "Box", "--url", "http://127.0.0.1:1/unreachable"}).code, 0);
  const testing::CommandRun unreachable = Tavi({"download"});
  EXPECT_EQ(unreachable.code, 1);
  EXPECT_TRUE(Contains(unreachable.out, "Tavi - Feed Error\n")) << unreachable.out;
  EXPECT_EQ(Newsbox("Box"), delivered);
}

TEST_F(DownloadCommands, ImportDeliversTheCachedDocuments) {
  EXPECT_TRUE(Contains(Tavi({"import"}).out, "holds no feed documents"));
  server_.Serve("/a.rss", Rss(1, 1), "text/xml");
  Add("A", "/a.rss");
  ASSERT_TRUE(platform::CreateFolder(CacheFolder(data_.path())));
  tavi::testing::WriteFile(CacheFilePath(data_.path(), "A"), Rss(1, 2));
  const testing::CommandRun run = Tavi({"import"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, " Feed: A Feed\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "You've got 2 new articles for this feed.")) << run.out;
  EXPECT_FALSE(FileExists(CacheFilePath(data_.path(), "A")));
  EXPECT_EQ(server_.Hits("/a.rss"), 0);
}

}  // namespace
}  // namespace tavi::cli
