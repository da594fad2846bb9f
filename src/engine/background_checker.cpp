#include "engine/background_checker.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "engine/check_engine.h"
#include "engine/check_schedule.h"
#include "platform/fs.h"
#include "platform/net.h"
#include "store/feed_definitions.h"
#include "store/profile.h"
#include "store/settings_layout.h"

namespace tavi {

// One download thread and whether it has served its request.
struct BackgroundChecker::Download {
  std::unique_ptr<cwtDownloadFile> thread;
  std::shared_ptr<std::atomic<bool>> ended;
};

// The downloads one tick started that have not ended, plus one for the tick
// itself while it runs: whoever brings it to 0 tells the watcher.
struct BackgroundChecker::TickDownloads {
  std::atomic<int> outstanding{1};
  std::atomic<bool> any_started{false};
  std::function<void()> finished;

  void Release() {
    if (--outstanding == 0 && any_started && finished) finished();
  }
};

namespace {

std::string AliasOfLine(const std::string& line) { return line.substr(0, line.find('=')); }

// The feed's document asked for as a check would ask for it: only if it
// changed since the copy the last completed check read.
platform::NetRequest DocumentRequest(const std::string& alias, const std::string& settings_file) {
  FeedRecord feed;
  feed.Alias = alias;
  feed.URL = ReadProfileString(alias, settings::kUrl, "", settings_file);
  return FeedDocumentRequest(feed, settings_file);
}

}  // namespace

std::chrono::milliseconds CheckerPeriodFromEnvironment() {
  const char* text = std::getenv(kCheckerPeriodVariable);
  if (text == nullptr) return kCheckerPeriod;
  long long milliseconds = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, milliseconds);
  if (error != std::errc() || stop != end || milliseconds < 1) return kCheckerPeriod;
  return std::max(std::chrono::milliseconds(milliseconds), platform::kMinimumTimerInterval);
}

BackgroundChecker::BackgroundChecker(CheckerSetup setup, const std::atomic<bool>& main_window_open)
    : setup_(std::move(setup)), main_window_open_(main_window_open) {}

BackgroundChecker::~BackgroundChecker() { Stop(); }

bool BackgroundChecker::Start() {
  if (started_) return false;
  std::promise<platform::ThreadId> started;
  std::future<platform::ThreadId> thread_id = started.get_future();
  try {
    thread_ = std::thread(&BackgroundChecker::Loop, this, std::move(started));
  } catch (const std::system_error&) {
    return false;
  }
  started_ = true;
  thread_id_ = thread_id.get();
  return true;
}

void BackgroundChecker::Stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  platform::PostThreadMessage(thread_id_, platform::WM_QUIT, 0, 0);
  thread_.join();
  EndDownloads();
}

void BackgroundChecker::Loop(std::promise<platform::ThreadId> started) {
  const platform::ThreadId self = platform::EnsureMessageQueue();
  const platform::TimerId timer =
      platform::SetTimer({}, 0, setup_.period, [this](platform::WindowHandle, platform::TimerId) {
        Tick();
        if (setup_.events.tick_handled) setup_.events.tick_handled();
      });
  started.set_value(self);
  platform::Message message;
  while (platform::GetMessage(message)) platform::DispatchMessage(message);
  platform::KillTimer({}, timer);
}

void BackgroundChecker::Tick() {
  JoinEndedDownloads();
  if (main_window_open_ || stopping_) return;
  const platform::OleDate now = platform::CurrentLocalDate();
  // A folder that cannot be made fails each download, which reports it.
  platform::CreateFolder(CacheFolder(setup_.data_folder));
  std::vector<std::string> lines;
  ReadProfileSection(lines, settings::kAliasesSection, false, setup_.settings_file);
  auto tick = std::make_shared<TickDownloads>();
  tick->finished = setup_.events.downloads_finished;
  for (const std::string& line : lines) {
    // A stop abandons the tick: the host is about to unload the module.
    if (stopping_) break;
    TickFeed(AliasOfLine(line), now, tick);
  }
  tick->Release();
}

void BackgroundChecker::TickFeed(const std::string& alias, const platform::OleDate& now,
                                 const std::shared_ptr<TickDownloads>& tick) {
  const std::string& file = setup_.settings_file;
  FeedSchedule schedule;
  schedule.auto_check = ReadProfileInt(alias, settings::kAutoCheck, 0, file);
  // Most feeds are checked by hand: they cost one read.
  if (!IsAutoCheckOn(schedule.auto_check)) return;
  schedule.last_check = ReadProfileString(alias, settings::kLastCheck, "", file);
  schedule.interval_minutes = ReadProfileInt(alias, settings::kIntervalMinutes, 0, file);
  const ScheduleStep step = PlanTick(schedule, now);
  if (step.download) StartDownload(alias, DocumentRequest(alias, file), tick);
  if (step.next_due) WriteNextDue(alias, *step.next_due);
}

// Only while the feed is still there: a feed deleted since it was read must
// not come back as a section holding nothing but its due time.
void BackgroundChecker::WriteNextDue(const std::string& alias, const std::string& next_due) const {
  EditProfileBatch(setup_.settings_file, [&](ProfileBatch& batch) {
    if (!IsAutoCheckOn(batch.ReadInt(alias, settings::kAutoCheck, 0))) return true;
    return batch.WriteString(alias, settings::kLastCheck, next_due);
  });
}

void BackgroundChecker::StartDownload(const std::string& alias, const platform::NetRequest& request,
                                      const std::shared_ptr<TickDownloads>& tick) {
  if (setup_.events.download_started) setup_.events.download_started(alias, request.url);
  auto ended = std::make_shared<std::atomic<bool>>(false);
  ++tick->outstanding;
  tick->any_started = true;
  DownloadRequest download{CacheFilePath(setup_.data_folder, alias), request};
  download.Finished = [alias, ended, tick, on_end = setup_.events.download_ended](
                          bool ok, const std::string& message) {
    if (on_end) on_end(alias, ok, message);
    *ended = true;
    tick->Release();
  };
  std::unique_ptr<cwtDownloadFile> thread = StartBackgroundDownload(std::move(download));
  if (!thread) {
    // Skipped for this tick; its due time still moves on.
    if (setup_.events.download_ended)
      setup_.events.download_ended(alias, false, "The download could not be started.");
    tick->Release();
    return;
  }
  downloads_.push_back(std::make_unique<Download>(Download{std::move(thread), ended}));
}

// An ended thread keeps its stack until it is joined: a host that runs for
// weeks would gather them.
void BackgroundChecker::JoinEndedDownloads() {
  std::erase_if(downloads_, [](const std::unique_ptr<Download>& download) {
    if (!*download->ended) return false;
    download->thread->WaitUntilEnded();
    return true;
  });
}

void BackgroundChecker::EndDownloads() {
  // The cancel reaches every transfer of the process: none is asked for
  // when no download of the checker's is left.
  if (downloads_.empty()) return;
  platform::CancelNetTransfers();
  for (const std::unique_ptr<Download>& download : downloads_) {
    // Ends a thread still waiting for its request or for a message box.
    platform::PostThreadMessage(download->thread->ThreadId(), platform::WM_QUIT, 0, 0);
    download->thread->WaitUntilEnded();
  }
  downloads_.clear();
  platform::ResetNetCancel();
}

}  // namespace tavi
