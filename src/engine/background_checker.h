#pragma once

// The background checker: a thread of its own with a message loop and a
// thread timer that ticks once a period (a minute unless the environment
// says otherwise). Each tick, unless the main window is open, reads the feed
// list and, for every feed with automatic checking whose due time has come,
// starts a download of its document into its cache file and moves its due
// time on (engine/check_schedule.h). The download asks for the document only
// if it changed since the last completed check; what the server answered
// waits beside the document (store/cache_answer.h). The checker writes
// nothing else: the documents wait in the cache folder for the next cache
// import (CheckRun::ImportCache).
//
// Every download runs on a short-lived cwtDownloadFile thread and writes a
// part file that takes the cache file's place only when the whole document
// arrived, so an import never reads half a document. Stopping is prompt: the
// checker abandons a tick in progress, aborts running downloads (every
// network transfer of the process fails at once until the stop is over) and
// joins every thread it started before Stop returns, since code of an
// unloaded module must not run on.

#include <atomic>
#include <cassert>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fetch/downloader.h"
#include "platform/net.h"
#include "platform/oledate.h"
#include "platform/winsys.h"

namespace tavi {

// How often the checker ticks.
inline constexpr std::chrono::milliseconds kCheckerPeriod{60000};
// The environment variable read at start that sets another period in
// milliseconds, so that a test of a whole program sees a tick promptly.
inline constexpr const char* kCheckerPeriodVariable = "TAVI_CHECKER_PERIOD_MS";

// The period named by kCheckerPeriodVariable when it holds a whole number of
// milliseconds from 1 up (shorter than platform::kMinimumTimerInterval is
// raised to it); kCheckerPeriod when it is absent or holds anything else.
std::chrono::milliseconds CheckerPeriodFromEnvironment();

// What the checker tells whoever watches it. Every member may be empty.
// Called on the checker thread, except where a member says otherwise.
struct CheckerEvents {
  // A download is about to start.
  std::function<void(const std::string& alias, const std::string& url)> download_started;
  // A download ended, on its own thread: ok, or the error's text.
  std::function<void(const std::string& alias, bool ok, const std::string& message)> download_ended;
  // Every download that one tick started has ended; on the thread of the
  // last one to end (the checker thread when they all ended during the tick).
  std::function<void()> downloads_finished;
  // A timer event was handled (a skipped tick included).
  std::function<void()> tick_handled;
};

// Where the checker reads and writes, and how often.
struct CheckerSetup {
  std::string settings_file;
  std::string data_folder;
  std::chrono::milliseconds period = kCheckerPeriod;
  CheckerEvents events;
};

class BackgroundChecker {
 public:
  // `main_window_open` is the flag that is set while the main window exists;
  // it must outlive the checker.
  BackgroundChecker(CheckerSetup setup, const std::atomic<bool>& main_window_open);
  // Stops the checker (Stop).
  ~BackgroundChecker();
  BackgroundChecker(const BackgroundChecker&) = delete;
  BackgroundChecker& operator=(const BackgroundChecker&) = delete;

  // Starts the checker thread and returns once its timer runs. False when
  // the thread cannot be started, or the checker was started before (it is
  // never restarted).
  bool Start();

  // Ends the checker thread and every download it started, and returns when
  // they have all ended. Does nothing when the checker is not running.
  void Stop();

  // Runs one tick on the calling thread as the timer runs it on the
  // checker's, for a measurement; only while the checker is not running.
  void RunTick() {
    assert(!Running() && "a tick runs on the checker's thread while it runs");
    Tick();
  }

  bool Running() const { return thread_.joinable(); }

 private:
  struct Download;
  struct TickDownloads;

  void Loop(std::promise<platform::ThreadId> started);
  void Tick();
  void TickFeed(const std::string& alias, const platform::OleDate& now,
                const std::shared_ptr<TickDownloads>& tick);
  void StartDownload(const std::string& alias, const platform::NetRequest& request,
                     const std::shared_ptr<TickDownloads>& tick);
  void WriteNextDue(const std::string& alias, const std::string& next_due) const;
  void JoinEndedDownloads();
  void EndDownloads();

  CheckerSetup setup_;
  const std::atomic<bool>& main_window_open_;
  std::atomic<bool> stopping_{false};
  bool started_ = false;
  std::thread thread_;
  platform::ThreadId thread_id_ = 0;
  // Touched by the checker thread, and by Stop once that thread has ended.
  std::vector<std::unique_ptr<Download>> downloads_;
};

}  // namespace tavi
