#include "engine/background_checker.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "files/file_names.h"
#include "platform/fs.h"
#include "store/feed_definitions.h"
#include "store/profile.h"
#include "store/settings_layout.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;
using ::tavi::testing::LoopbackResponse;
using ::tavi::testing::LoopbackServer;
using ::tavi::testing::TempDir;

// What the checker reported, for a test to wait on.
class CheckerLog {
 public:
  CheckerEvents Events() {
    CheckerEvents events;
    events.download_started = [this](const std::string& alias, const std::string&) {
      Note([&] { started_.push_back(alias); });
    };
    events.download_ended = [this](const std::string& alias, bool ok, const std::string&) {
      Note([&] { ended_.push_back(alias + (ok ? " ok" : " failed")); });
    };
    events.downloads_finished = [this] { Note([&] { ++batches_finished_; }); };
    events.tick_handled = [this] { Note([&] { ++ticks_; }); };
    return events;
  }

  void WaitForTicks(int count) {
    WaitUntil([&] { return ticks_ >= count; });
  }
  void WaitForFinishedBatches(int count) {
    WaitUntil([&] { return batches_finished_ >= count; });
  }
  std::vector<std::string> Started() {
    std::lock_guard guard(lock_);
    return started_;
  }
  std::vector<std::string> Ended() {
    std::lock_guard guard(lock_);
    return ended_;
  }

 private:
  template <typename Change>
  void Note(Change change) {
    std::lock_guard guard(lock_);
    change();
    changed_.notify_all();
  }
  template <typename Done>
  void WaitUntil(Done done) {
    std::unique_lock guard(lock_);
    changed_.wait(guard, done);
  }

  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> started_;
  std::vector<std::string> ended_;
  int batches_finished_ = 0;
  int ticks_ = 0;
};

class BackgroundCheckerTest : public ::testing::Test {
 protected:
  BackgroundCheckerTest() { server_.Serve("/feed", "<rss>fresh</rss>"); }

  void AddFeed(const std::string& alias, int auto_check, int interval,
               const std::string& last_check = "") {
    const std::string& file = settings_file_;
    WriteProfileString(settings::kAliasesSection, alias, alias, file);
    WriteProfileString(alias, settings::kUrl, server_.Url("/feed"), file);
    WriteProfileInt(alias, settings::kAutoCheck, auto_check, file);
    WriteProfileInt(alias, settings::kIntervalMinutes, interval, file);
    if (!last_check.empty()) WriteProfileString(alias, settings::kLastCheck, last_check, file);
  }
  std::string LastCheck(const std::string& alias) {
    return ReadProfileString(alias, settings::kLastCheck, "", settings_file_);
  }
  std::string CacheFile(const std::string& alias) { return CacheFilePath(folder_.path(), alias); }

  void StartChecker() {
    checker_ = std::make_unique<BackgroundChecker>(
        CheckerSetup{settings_file_, folder_.path(), kCheckerPeriod, log_.Events()},
        main_window_open_);
    ASSERT_TRUE(checker_->Start());
  }
  // Moves the clock to `minute` minutes after the start and waits for the
  // timer's tick.
  void TickAt(int minute) {
    clock_.MoveTo(kStart + minutes(minute));
    platform::WakeMessageQueues();
    log_.WaitForTicks(++ticks_);
  }

  static inline const platform::Clock::time_point kStart = testing::UtcInstant(2026, 12, 7, 15);
  testing::PinnedUtcClock clock_{kStart};
  testing::RecordingSleeper sleeper_;
  TempDir folder_;
  std::string settings_file_ = folder_.Join("tavi.ini");
  LoopbackServer server_;
  std::atomic<bool> main_window_open_{false};
  CheckerLog log_;
  std::unique_ptr<BackgroundChecker> checker_;
  int ticks_ = 0;
};

TEST_F(BackgroundCheckerTest, FirstTickSchedulesAndTheDueTickDownloadsIntoTheCacheFile) {
  AddFeed("News", 1, 30);
  StartChecker();

  TickAt(1);
  EXPECT_EQ(LastCheck("News"), "12/7/2026 3:31:00 PM");
  EXPECT_EQ(server_.Hits("/feed"), 0);

  TickAt(30);  // not due yet
  EXPECT_EQ(LastCheck("News"), "12/7/2026 3:31:00 PM");
  EXPECT_EQ(server_.Hits("/feed"), 0);

  TickAt(31);
  log_.WaitForFinishedBatches(1);
  EXPECT_EQ(testing::ReadFile(CacheFile("News")), "<rss>fresh</rss>");
  EXPECT_EQ(LastCheck("News"), "12/7/2026 4:01:00 PM");
  EXPECT_EQ(log_.Ended(), std::vector<std::string>{"News ok"});
}

TEST_F(BackgroundCheckerTest, HandEditedSchedulesDownloadOrStayAsTheyAre) {
  const std::string past = "12/7/2026 2:00:00 PM";
  AddFeed("Every", 1, 0, past);       // never moved on: fetched on every tick
  AddFeed("Off", 0, 30, past);        // never fetched, never written
  AddFeed("Backward", 1, -30, past);  // as interval 0, not written into the past
  StartChecker();

  TickAt(1);
  log_.WaitForFinishedBatches(1);
  TickAt(2);
  log_.WaitForFinishedBatches(2);

  EXPECT_EQ(log_.Started(), (std::vector<std::string>{"Every", "Backward", "Every", "Backward"}));
  for (const char* alias : {"Every", "Off", "Backward"}) {
    SCOPED_TRACE(alias);
    EXPECT_EQ(LastCheck(alias), past);
  }
  EXPECT_FALSE(FileExists(CacheFile("Off")));
}

TEST_F(BackgroundCheckerTest, TicksWhileTheMainWindowIsOpenChangeNothing) {
  AddFeed("Due", 1, 30, "12/7/2026 2:00:00 PM");
  AddFeed("New", 1, 30);
  const std::string before = testing::ReadFile(settings_file_);
  main_window_open_ = true;
  StartChecker();

  TickAt(1);
  EXPECT_EQ(testing::ReadFile(settings_file_), before);
  EXPECT_TRUE(log_.Started().empty());

  main_window_open_ = false;
  TickAt(2);
  log_.WaitForFinishedBatches(1);
  EXPECT_EQ(log_.Started(), std::vector<std::string>{"Due"});
  EXPECT_EQ(LastCheck("New"), "12/7/2026 3:32:00 PM");
}

// The host unloads the module right after the stop: a download must neither
// hold the stop up nor run on, and the cache file keeps its last whole
// document.
TEST_F(BackgroundCheckerTest, StopAbortsARunningDownloadAndLeavesTheCacheFileWhole) {
  LoopbackResponse stalling;
  stalling.body = "<rss>half";
  stalling.ending = LoopbackResponse::Ending::kStallAfterBody;
  server_.Serve("/feed", stalling);
  AddFeed("News", 1, 30, "12/7/2026 2:00:00 PM");
  platform::CreateFolder(CacheFolder(folder_.path()));
  testing::WriteFile(CacheFile("News"), "<rss>older</rss>");
  platform::ClearShownMessageBoxes();
  StartChecker();

  TickAt(1);
  server_.WaitUntilStalled();
  EXPECT_EQ(testing::ReadFile(CacheFile("News")), "<rss>older</rss>");

  const auto stop_began = std::chrono::steady_clock::now();
  checker_->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stop_began, std::chrono::seconds(5));
  EXPECT_FALSE(checker_->Running());
  EXPECT_EQ(log_.Ended(), std::vector<std::string>{"News failed"});
  EXPECT_EQ(platform::FindFiles(platform::JoinPath(CacheFolder(folder_.path()), "*")),
            std::vector<std::string>{"News.rss"});
  EXPECT_EQ(testing::ReadFile(CacheFile("News")), "<rss>older</rss>");
  EXPECT_TRUE(platform::ShownMessageBoxes().empty()) << "a stop is no error for the user";
  // Later transfers of the process run again.
  server_.Serve("/feed", "<rss>again</rss>");
  EXPECT_TRUE(
      DownloadToFile(server_.Url("/feed"), folder_.Join("again.xml"), platform::kNoByteLimit));
}

TEST_F(BackgroundCheckerTest, StartsOnceAndStopsOnce) {
  StartChecker();
  EXPECT_TRUE(checker_->Running());
  EXPECT_FALSE(checker_->Start());
  checker_->Stop();
  checker_->Stop();
  EXPECT_FALSE(checker_->Running());
  EXPECT_FALSE(checker_->Start()) << "never restarted";
}

TEST(CheckerPeriod, ComesFromTheEnvironmentWhenItHoldsMilliseconds) {
  struct Case {
    std::optional<std::string> value;
    milliseconds period;
  };
  const Case cases[] = {
      {std::nullopt, milliseconds(60000)},
      {"250", milliseconds(250)},
      {"1", platform::kMinimumTimerInterval},  // raised to the shortest timer
      {"0", milliseconds(60000)},
      {"-5", milliseconds(60000)},
      {"12x", milliseconds(60000)},
      {"", milliseconds(60000)},
      {"99999999999999999999", milliseconds(60000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value.value_or("(unset)"));
    testing::ScopedEnvironmentVariable variable(kCheckerPeriodVariable, c.value);
    EXPECT_EQ(CheckerPeriodFromEnvironment(), c.period);
  }
}

}  // namespace
}  // namespace tavi
