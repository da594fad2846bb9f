#include "cli/watch_command.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>

#include "cli/download_commands.h"
#include "cli/interrupt_as_stop.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "engine/background_checker.h"

namespace tavi::cli {
namespace {

// How long the watch waits for news before it asks whether to stop: a
// signal handler cannot wake it.
constexpr std::chrono::milliseconds kStopPollInterval{100};

// What the checker's threads hand to the command's thread, which alone
// writes the output.
class WatchNews {
 public:
  void AddLine(std::string line) {
    std::lock_guard guard(lock_);
    lines_.push_back(std::move(line));
    changed_.notify_all();
  }
  void RequestImport() {
    std::lock_guard guard(lock_);
    import_requested_ = true;
    changed_.notify_all();
  }
  // Waits up to `timeout` for news; gives back the lines and whether an
  // import was asked for since the last call.
  bool Take(std::chrono::milliseconds timeout, std::deque<std::string>& lines) {
    std::unique_lock guard(lock_);
    changed_.wait_for(guard, timeout, [&] { return !lines_.empty() || import_requested_; });
    lines.swap(lines_);
    lines_.clear();
    return std::exchange(import_requested_, false);
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<std::string> lines_;
  bool import_requested_ = false;
};

CheckerEvents WatchEvents(WatchNews& news, bool with_import) {
  CheckerEvents events;
  events.download_started = [&news](const std::string& alias, const std::string& url) {
    news.AddLine(DownloadStartedLine(alias, url));
  };
  events.download_ended = [&news](const std::string& alias, bool ok, const std::string& message) {
    news.AddLine(DownloadEndedLine(alias, ok, message));
  };
  if (with_import) events.downloads_finished = [&news] { news.RequestImport(); };
  return events;
}

void PrintLines(std::ostream& out, std::deque<std::string>& lines) {
  for (const std::string& line : lines) out << line << "\n";
  out << std::flush;
  lines.clear();
}

// The import runs as the main window's does: the checker skips its ticks
// meanwhile.
void ImportWhileTicksWait(const CommandContext& context, const PluginPaths& paths,
                          std::atomic<bool>& importing) {
  importing = true;
  const RunSummary summary = ImportCachedFeeds(context, paths);
  context.out << RunTotalsLine(summary) << "\n" << std::flush;
  importing = false;
}

}  // namespace

std::string DownloadStartedLine(const std::string& alias, const std::string& url) {
  return PrintableText(alias + ": downloading " + url);
}

std::string DownloadEndedLine(const std::string& alias, bool ok, const std::string& message) {
  return PrintableText(alias + (ok ? ": downloaded" : ": failed: " + message));
}

int Watch(const CommandContext& context, const std::function<bool()>& stop_requested) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  const bool with_import = context.command.Has("--import");
  WatchNews news;
  std::atomic<bool> importing{false};
  const PluginPaths& paths = session->Paths();
  BackgroundChecker checker({paths.SettingsFile, paths.DataFolder, CheckerPeriodFromEnvironment(),
                             WatchEvents(news, with_import)},
                            importing);
  if (!checker.Start()) {
    context.err << "tavi: watch: the background checker could not start\n";
    return kExitFailure;
  }
  context.out << "Watching the feeds that are checked automatically; Ctrl+C stops.\n" << std::flush;
  std::deque<std::string> lines;
  while (!stop_requested()) {
    const bool import_due = news.Take(kStopPollInterval, lines);
    PrintLines(context.out, lines);
    if (import_due) ImportWhileTicksWait(context, paths, importing);
    platform::PumpWaitingMessages();
  }
  checker.Stop();
  news.Take(std::chrono::milliseconds(0), lines);
  PrintLines(context.out, lines);
  return kExitSuccess;
}

int RunWatch(const CommandContext& context) {
  const InterruptAsStop interrupt;
  return Watch(context, [&interrupt] { return interrupt.Requested(); });
}

}  // namespace tavi::cli
