#include "cli/feed_commands.h"

#include <gtest/gtest.h>

#include "cli/run_tavi.h"
#include "files/file_names.h"
#include "platform/fs.h"
#include "store/feed_definitions.h"
#include "store/profile.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;
using testing::RunTaviOn;

constexpr const char* kTitledFeed =
    "<rss><channel><title>Harbour News</title><item><guid>1</guid></item></channel></rss>";

class FeedCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Tavi({"init"}).code, 0);
    server_.Serve("/feed.rss", kTitledFeed, "application/rss+xml");
    server_.Serve("/untitled.rss", "<rss><channel><item/></channel></rss>", "text/xml");
  }

  testing::CommandRun Tavi(std::vector<std::string> arguments) {
    return RunTaviOn(data_.path(), std::move(arguments));
  }
  std::string Settings() const { return data_.Join("plugins/tavi.ini"); }
  std::string Read(const std::string& section, const std::string& key) const {
    return ReadProfileString(section, key, "<absent>", Settings());
  }

  tavi::testing::TempDir data_;
  tavi::testing::LoopbackServer server_;
};

TEST_F(FeedCommands, AddLearnsTheNameAndCreatesTheNewsboxNamedAfterTheAlias) {
  const testing::CommandRun run = Tavi({"add", "News", server_.Url("/feed.rss")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Read("Aliases", "News"), "Harbour News");
  EXPECT_EQ(Read("News", "Newsbox"), "News");
  EXPECT_EQ(Read("News", "NewsboxPath"), data_.Join("News.mbx"));
  EXPECT_TRUE(FileExists(data_.Join("News.mbx")));
  // The dialog's defaults for a new feed.
  EXPECT_EQ(Read("News", "DownloadReferringArticles"), "0");
  EXPECT_EQ(Read("News", "DownloadOnlyNewArticles"), "1");
  EXPECT_EQ(Read("News", "AutoCheck"), "0");
  EXPECT_EQ(Read("News", "IntervalMinutes"), "15");
  EXPECT_EQ(Read("News", "LastArticle"), "");
  EXPECT_TRUE(Contains(Tavi({"feeds"}).out, "Name:    Harbour News")) << Tavi({"feeds"}).out;
}

TEST_F(FeedCommands, AddOptionsSetTheStoredFlags) {
  ASSERT_EQ(Tavi({"add", "A", "http://x", "--name", "A", "--full", "--all", "--every", "30"}).code,
            0);
  EXPECT_EQ(Read("A", "DownloadReferringArticles"), "1");
  EXPECT_EQ(Read("A", "DownloadOnlyNewArticles"), "0");
  EXPECT_EQ(Read("A", "AutoCheck"), "1");
  EXPECT_EQ(Read("A", "IntervalMinutes"), "30");
  // An interval outside a minute to a week is refused before anything is written.
  for (const char* every : {"0", "10081", "soon"}) {
    SCOPED_TRACE(every);
    const testing::CommandRun run = Tavi({"add", "B", "http://x", "--name", "B", "--every", every});
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_TRUE(Contains(run.err, "from 1 to 10080")) << run.err;
  }
  EXPECT_EQ(Read("Aliases", "B"), "<absent>");
}

TEST_F(FeedCommands, EditOnDemandStopsTheAutomaticCheckAndKeepsTheInterval) {
  ASSERT_EQ(Tavi({"add", "A", "http://x", "--name", "A", "--every", "30"}).code, 0);
  ASSERT_EQ(Tavi({"edit", "A", "--on-demand"}).code, 0);
  EXPECT_EQ(Read("A", "AutoCheck"), "0");
  EXPECT_EQ(Read("A", "IntervalMinutes"), "30");
  ASSERT_EQ(Tavi({"edit", "A", "--every", "45"}).code, 0);
  EXPECT_EQ(Read("A", "AutoCheck"), "1");
  EXPECT_EQ(Read("A", "IntervalMinutes"), "45");
}

TEST_F(FeedCommands, AddUsesAnExistingMailboxAsNewsbox) {
  ASSERT_EQ(Tavi({"add", "A", "http://x", "--name", "A", "--newsbox", "in"}).code, 0);
  EXPECT_EQ(Read("A", "Newsbox"), "In");
  EXPECT_EQ(Read("A", "NewsboxPath"), data_.Join("In.mbx"));
}

struct Refusal {
  std::vector<std::string> arguments;
  std::string message;
};

TEST_F(FeedCommands, RefusalsNameTheRuleAndWriteNothing) {
  ASSERT_EQ(Tavi({"add", "News", "http://x", "--name", "N"}).code, 0);
  const std::string before = tavi::testing::ReadFile(Settings());
  const Refusal refusals[] = {
      {{"add", "news", "http://y", "--name", "N"}, "There already exist the feed with the same"},
      {{"add", "P", "http://y", "--name", "N", "--newsbox", "PENDING"}, "\"Pending\" and \"Out\""},
      {{"add", "O", "http://y", "--name", "N", "--newsbox", "out"}, "\"Pending\" and \"Out\""},
      {{"add", "", "http://y", "--name", "N"}, "needs both an alias and a URL"},
      {{"add", "a=b", "http://y", "--name", "N"}, "An alias cannot hold"},
      {{"add", "Dead", "http://127.0.0.1:1/feed", "--newsbox", "Dead"},
       "could not be downloaded and read as a feed (A connection with the server could not be "
       "established)"},
      // Such a feed would share its section with the list of every feed.
      {{"add", "aliases", "http://y", "--name", "N"}, "or be \"Aliases\", \"Windows\""},
      {{"add", "windows", "http://y", "--name", "N"}, "or be \"Aliases\", \"Windows\""},
      // "News?" downloads in the background into the file of "News".
      {{"add", "News?", "http://y", "--name", "N"},
       "The alias \"News?\" gives the same file name for background downloads as the feed "
       "\"News\""},
      {{"add", "In folder", "http://y", "--name", "N", "--newsbox", "Nowhere/News"},
       "There is no folder \"Nowhere\" for the newsbox."},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.arguments[1]);
    const testing::CommandRun run = Tavi(refusal.arguments);
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(Contains(run.err, refusal.message)) << run.err;
  }
  EXPECT_EQ(tavi::testing::ReadFile(Settings()), before);
  // Nothing was created for a refused feed.
  EXPECT_FALSE(FileExists(data_.Join("Dead.mbx")));
  EXPECT_FALSE(FileExists(data_.Join("P.mbx")));
}

TEST_F(FeedCommands, AnUntitledDocumentNamesTheFeedAfterItsAlias) {
  const testing::CommandRun run = Tavi({"add", "Bare", server_.Url("/untitled.rss")});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.err, "no title")) << run.err;
  EXPECT_EQ(Read("Aliases", "Bare"), "Bare");
  ASSERT_EQ(LoadFeedList(Settings()).size(), 1u);
}

TEST_F(FeedCommands, ANewsboxInAFolderIsCreatedThereNotAtTheTop) {
  ASSERT_TRUE(platform::CreateFolder(data_.Join("Work.fol")));
  const testing::CommandRun run =
      Tavi({"add", "News", "http://x", "--name", "N", "--newsbox", "work/Daily"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Read("News", "Newsbox"), "Daily");
  EXPECT_EQ(Read("News", "NewsboxPath"), data_.Join("Work.fol/Daily.mbx"));
  EXPECT_TRUE(FileExists(data_.Join("Work.fol/Daily.mbx")));
  EXPECT_FALSE(FileExists(data_.Join("workDaily.mbx")));
  // The same path finds it the next time.
  ASSERT_EQ(Tavi({"add", "More", "http://x", "--name", "M", "--newsbox", "Work/daily"}).code, 0);
  EXPECT_EQ(Read("More", "NewsboxPath"), data_.Join("Work.fol/Daily.mbx"));
}

TEST_F(FeedCommands, FeedTextsReachTheTerminalEscaped) {
  ASSERT_EQ(Tavi({"add", "News", "http://x", "--name", "Evil\x1b]0;owned\x07"}).code, 0);
  const testing::CommandRun run = Tavi({"feeds"});
  EXPECT_TRUE(Contains(run.out, "Name:    Evil\\x1B]0;owned\\x07")) << run.out;
  EXPECT_FALSE(Contains(run.out, "\x1b")) << run.out;
}

TEST_F(FeedCommands, EditRenamesAndKeepsLastArticle) {
  ASSERT_EQ(Tavi({"add", "News", "http://x", "--name", "N", "--full"}).code, 0);
  WriteProfileString("News", "LastArticle", "11/05/2025 12:00:00", Settings());
  const testing::CommandRun run = Tavi({"edit", "NEWS", "--alias", "Tech", "--every", "5"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Read("Aliases", "News"), "<absent>");
  EXPECT_EQ(Read("News", "URL"), "<absent>");
  EXPECT_EQ(Read("Tech", "LastArticle"), "11/05/2025 12:00:00");
  EXPECT_EQ(Read("Tech", "DownloadReferringArticles"), "1");
  EXPECT_EQ(Read("Tech", "AutoCheck"), "1");
  EXPECT_EQ(Read("Tech", "IntervalMinutes"), "5");
  EXPECT_EQ(Read("Tech", "Newsbox"), "News");
}

TEST_F(FeedCommands, ARefusedEditPutsTheFeedBackAsItWas) {
  ASSERT_EQ(Tavi({"add", "A", "http://x", "--name", "A"}).code, 0);
  ASSERT_EQ(Tavi({"add", "B", "http://x", "--name", "B"}).code, 0);
  WriteProfileString("A", "LastArticle", "11/05/2025 12:00:00", Settings());
  WriteProfileString("A", "LastCheck", "12/7/2026 9:00:00 AM", Settings());
  const std::string before = tavi::testing::ReadFile(Settings());
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"edit", "A", "--alias", "b", "--no-full"},
        {"edit", "A", "--alias", "B!", "--no-full"},
        {"edit", "A", "--name", "", "--url", "http://127.0.0.1:1/gone.rss"},
        {"edit", "A", "--newsbox", "Pending"}}) {
    SCOPED_TRACE(arguments[3]);
    const testing::CommandRun run = Tavi(arguments);
    EXPECT_EQ(run.code, 1);
    // Byte for byte: the feed never left the file.
    EXPECT_EQ(tavi::testing::ReadFile(Settings()), before);
  }
  EXPECT_EQ(Tavi({"edit", "Nobody", "--name", "x"}).code, 1);
}

TEST_F(FeedCommands, DeleteRemovesTheFeedButKeepsItsNewsbox) {
  ASSERT_EQ(Tavi({"add", "News", "http://x", "--name", "N"}).code, 0);
  ASSERT_EQ(Tavi({"delete", "news"}).code, 0);
  EXPECT_EQ(Read("Aliases", "News"), "<absent>");
  EXPECT_EQ(Read("News", "URL"), "<absent>");
  EXPECT_TRUE(FileExists(data_.Join("News.mbx")));
  EXPECT_EQ(Tavi({"delete", "news"}).code, 1);
}

}  // namespace
}  // namespace tavi::cli
