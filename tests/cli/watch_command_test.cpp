#include "cli/watch_command.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <thread>

#include "cli/run_tavi.h"
#include "engine/background_checker.h"
#include "files/file_names.h"
#include "platform/fs.h"
#include "store/feed_definitions.h"
#include "store/profile.h"
#include "store/settings_layout.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;
using testing::RunTaviOn;

constexpr const char* kRss =
    "<rss><channel><title>Stories</title><item><title>Story</title><guid>story-1</guid>"
    "<description>Body</description></item></channel></rss>";

class WatchCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Tavi({"init"}).code, 0); }

  testing::CommandRun Tavi(std::vector<std::string> arguments) {
    return RunTaviOn(data_.path(), std::move(arguments));
  }
  // A feed checked every minute whose due time has passed: the first tick
  // downloads it.
  void AddDueFeed(const std::string& alias, const std::string& path) {
    ASSERT_EQ(Tavi({"add", alias, server_.Url(path), "--name", alias, "--every", "1"}).code, 0);
    WriteProfileString(alias, settings::kLastCheck, "1/1/2020 12:00:00 AM", SettingsFile());
  }
  std::string SettingsFile() const { return data_.Join("plugins/tavi.ini"); }

  // Runs the watch in-process until `done` holds for what it printed.
  testing::CommandRun WatchUntil(const std::vector<std::string>& options,
                                 const std::function<bool(const std::string& out)>& done) {
    std::vector<std::string> arguments = {"--data", data_.path(), "watch"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const ParseOutcome parsed = ParseArguments(arguments);
    std::ostringstream out;
    std::ostringstream err;
    const CommandEnvironment environment;
    EXPECT_TRUE(parsed.command.has_value()) << parsed.error;
    const CommandContext context{*parsed.command, data_.path(), out, err, environment};
    const int code = Watch(context, [&] { return done(out.str()); });
    return {code, out.str(), err.str()};
  }

  // Ticks come at once instead of once a minute.
  tavi::testing::ScopedEnvironmentVariable period_{kCheckerPeriodVariable, "10"};
  tavi::testing::TempDir data_;
  tavi::testing::LoopbackServer server_;
};

TEST_F(WatchCommand, ImportDeliversWhatATickDownloaded) {
  server_.Serve("/a.rss", kRss, "text/xml");
  AddDueFeed("A", "/a.rss");
  const testing::CommandRun run =
      WatchUntil({"--import"}, [](const std::string& out) { return Contains(out, "Checked"); });
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Watching the feeds that are checked automatically; Ctrl+C stops.\n"
            "A: downloading " +
                server_.Url("/a.rss") +
                "\nA: downloaded\nA: 1 new\nChecked 1 feed: 1 new article.\n");
  EXPECT_TRUE(Contains(tavi::testing::ReadFile(data_.Join("A.mbx")), "Story"));
  EXPECT_FALSE(FileExists(CacheFilePath(data_.path(), "A")));
}

TEST_F(WatchCommand, WithoutImportTheDocumentWaitsInTheCacheAndFailuresAreNamed) {
  server_.Serve("/a.rss", kRss, "text/xml");
  AddDueFeed("A", "/a.rss");
  AddDueFeed("Gone", "/gone.rss");
  const testing::CommandRun run = WatchUntil({}, [](const std::string& out) {
    return Contains(out, "A: downloaded") && Contains(out, "Gone: failed");
  });
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(Contains(run.out, "Gone: failed: The server answered 404 Not Found.\n")) << run.out;
  EXPECT_FALSE(Contains(run.out, "Checked")) << run.out;
  EXPECT_EQ(tavi::testing::ReadFile(CacheFilePath(data_.path(), "A")), kRss);
  // The failure's message box goes where the session sends boxes.
  EXPECT_TRUE(Contains(run.err, "The server answered 404 Not Found.")) << run.err;
}

TEST_F(WatchCommand, CtrlCStopsItAndAbortsTheRunningDownload) {
  tavi::testing::LoopbackResponse silent;
  silent.ending = tavi::testing::LoopbackResponse::Ending::kStallBeforeHeader;
  server_.Serve("/silent.rss", silent);
  AddDueFeed("Slow", "/silent.rss");
  testing::CommandRun run;
  std::thread watch([&] { run = Tavi({"watch"}); });
  server_.WaitUntilStalled();
  std::raise(SIGINT);
  watch.join();
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(Contains(run.out, "Slow: failed: The operation was cancelled.\n")) << run.out;
  EXPECT_TRUE(platform::FindFiles(data_.Join("Feeds/*")).empty());
}

}  // namespace
}  // namespace tavi::cli
