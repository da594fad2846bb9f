#include "cli/download_commands.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "cli/run_tavi.h"
#include "files/file_names.h"
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

TEST_F(DownloadCommands, DeliversNewArticlesOnceAndSaysSoFeedByFeed) {
  server_.Serve("/a.rss", Rss(1, 3), "text/xml");
  Add("A", "/a.rss");
  const testing::CommandRun first = Tavi({"download"});
  ASSERT_EQ(first.code, 0) << first.out << first.err;
  EXPECT_EQ(first.out, "A: 3 new\nChecked 1 feed: 3 new articles.\n");
  EXPECT_TRUE(Contains(Tavi({"mailboxes"}).out, "A (3/3)\n"));
  EXPECT_TRUE(Contains(Tavi({"show", "a"}).out, "Story 2")) << Tavi({"show", "a"}).out;

  server_.Serve("/a.rss", Rss(1, 4), "text/xml");
  EXPECT_EQ(Tavi({"download", "a"}).out, "A: 1 new\nChecked 1 feed: 1 new article.\n");
  const testing::CommandRun third = Tavi({"download"});
  EXPECT_EQ(third.out, "A: no new articles\nChecked 1 feed: no new articles.\n");
  EXPECT_EQ(third.code, 0);
}

TEST_F(DownloadCommands, UnchangedAndMovedFeedsSaySoAndTheMoveSticks) {
  tavi::testing::LoopbackResponse answer;
  answer.body = Rss(1, 1);
  answer.headers = {{"ETag", "\"v1\""}};
  server_.Serve("/new.rss", answer);
  server_.Redirect("/a.rss", "/new.rss", 301);
  Add("A", "/a.rss");
  EXPECT_EQ(Tavi({"download"}).out, "A: 1 new; moved permanently to " + server_.Url("/new.rss") +
                                        "\nChecked 1 feed: 1 new article.\n");

  tavi::testing::LoopbackResponse not_modified;
  not_modified.status = 304;
  server_.Serve("/new.rss", not_modified);
  const testing::CommandRun second = Tavi({"download"});
  EXPECT_EQ(second.out, "A: not modified\nChecked 1 feed: no new articles.\n");
  EXPECT_EQ(second.code, 0);
  EXPECT_EQ(server_.Hits("/a.rss"), 1);
}

TEST_F(DownloadCommands, TheInformationDialogsReportIsThereForScriptsThatWantIt) {
  server_.Serve("/a.rss", Rss(1, 3), "text/xml");
  Add("A", "/a.rss");
  const testing::CommandRun run = Tavi({"download", "--report"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "You've Got New Articles!\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, " Feed: A Feed\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, "\t\tYou've got 3 new articles for this feed.")) << run.out;
  // Without it, no window text reaches the output.
  server_.Serve("/a.rss", Rss(1, 4), "text/xml");
  const testing::CommandRun plain = Tavi({"download"});
  EXPECT_FALSE(Contains(plain.out, "\t")) << plain.out;
  EXPECT_FALSE(Contains(plain.out, "Ready. For Help")) << plain.out;
  EXPECT_FALSE(Contains(plain.out, "Checking A Feed")) << plain.out;
}

TEST_F(DownloadCommands, ADeadFeedInTheMiddleIsNamedAndFailsTheRun) {
  server_.Serve("/a.rss", Rss(1, 2), "text/xml");
  server_.Serve("/c.rss", Rss(10, 3), "text/xml");
  Add("A", "/a.rss");
  ASSERT_EQ(Tavi({"add", "Dead", server_.Url("/gone.rss"), "--name", "Dead Feed"}).code, 0);
  Add("C", "/c.rss");
  const testing::CommandRun run = Tavi({"download"});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out,
            "A: 2 new\n"
            "Dead: failed: The server answered 404 Not Found.\n"
            "C: 3 new\n"
            "Checked 3 feeds: 5 new articles, 1 feed failed.\n");
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

TEST_F(DownloadCommands, CtrlCEndsTheTransferAtOnceAndLeavesNoPartFile) {
  tavi::testing::LoopbackResponse silent;
  silent.ending = tavi::testing::LoopbackResponse::Ending::kStallBeforeHeader;
  server_.Serve("/silent.rss", silent);
  ASSERT_EQ(Tavi({"add", "Slow", server_.Url("/silent.rss"), "--name", "Slow"}).code, 0);
  testing::CommandRun run;
  std::thread download([&] { run = Tavi({"download"}); });
  // Both downloads of the feed document would wait a minute for a byte.
  server_.WaitUntilStalled();
  std::raise(SIGINT);
  download.join();
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out,
            "Slow: failed: The operation was cancelled.\nChecked 1 feed: no new articles, 1 feed "
            "failed.\n");
  EXPECT_TRUE(platform::FindFiles(data_.Join("plugins/*.part*")).empty());
}

TEST_F(DownloadCommands, AFeedThatCannotBeReadSaysWhyAndLeavesTheNewsbox) {
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
    const testing::CommandRun run = Tavi({"download", "--report"});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.out, "Box: failed: not a feed document (")) << run.out;
    EXPECT_TRUE(Contains(run.out, "Tavi - Feed Error\n")) << run.out;
    EXPECT_EQ(Newsbox("Box"), delivered);
  }
  ASSERT_EQ(Tavi({"edit", "Box", "--url", "http://127.0.0.1:1/unreachable"}).code, 0);
  const testing::CommandRun unreachable = Tavi({"download"});
  EXPECT_EQ(unreachable.code, 1);
  EXPECT_TRUE(Contains(unreachable.out,
                       "Box: failed: A connection with the server could not be established\n"))
      << unreachable.out;
  EXPECT_EQ(Newsbox("Box"), delivered);
}

TEST_F(DownloadCommands, ImportDeliversTheCachedDocuments) {
  EXPECT_TRUE(Contains(Tavi({"import"}).out, "holds no feed documents"));
  server_.Serve("/a.rss", Rss(1, 1), "text/xml");
  Add("A", "/a.rss");
  ASSERT_TRUE(platform::CreateFolder(CacheFolder(data_.path())));
  tavi::testing::WriteFile(CacheFilePath(data_.path(), "A"), Rss(1, 2));
  const testing::CommandRun run = Tavi({"import", "--report"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "A: 2 new\nChecked 1 feed: 2 new articles.\n")) << run.out;
  EXPECT_TRUE(Contains(run.out, " Feed: A Feed\n")) << run.out;
  EXPECT_FALSE(FileExists(CacheFilePath(data_.path(), "A")));
  EXPECT_EQ(server_.Hits("/a.rss"), 0);
}

}  // namespace
}  // namespace tavi::cli
