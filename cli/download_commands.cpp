#include "cli/download_commands.h"

#include <csignal>
#include <ostream>

#include "cli/progress_bar.h"
#include "cli/session.h"
#include "platform/ascii.h"
#include "ui/information_message.h"
#include "version.h"

namespace tavi::cli {
namespace {

volatile std::sig_atomic_t g_stop_requested = 0;

extern "C" void RequestStop(int) { g_stop_requested = 1; }

// While it lives, an interrupt (Ctrl+C) asks the run to stop after the
// current feed, as the main window's Stop button does; a second one ends
// the program as usual.
class InterruptAsStop {
 public:
  InterruptAsStop() {
    g_stop_requested = 0;
    struct sigaction action {};
    action.sa_handler = RequestStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &saved_);
  }
  ~InterruptAsStop() { sigaction(SIGINT, &saved_, nullptr); }
  InterruptAsStop(const InterruptAsStop&) = delete;
  InterruptAsStop& operator=(const InterruptAsStop&) = delete;

  bool Requested() const { return g_stop_requested != 0; }

 private:
  struct sigaction saved_ {};
};

// The listed feeds named by `aliases` (letter case ignored), in the order
// named; every feed when none is named. False, naming the alias in
// `unknown`, when one is not listed.
bool SelectFeeds(const std::vector<std::string>& aliases, const std::vector<FeedRecord>& listed,
                 std::vector<FeedRecord>& selected, std::string& unknown) {
  if (aliases.empty()) {
    selected = listed;
    return true;
  }
  for (const std::string& alias : aliases) {
    const auto found = std::find_if(listed.begin(), listed.end(), [&](const FeedRecord& feed) {
      return platform::EqualsIgnoringCase(feed.Alias, alias);
    });
    if (found == listed.end()) {
      unknown = alias;
      return false;
    }
    selected.push_back(*found);
  }
  return true;
}

RunSummary ImportSummary(const CheckRun& run, const std::vector<std::string>& files,
                         const std::string& settings_file) {
  RunSummary summary;
  summary.feeds_processed = static_cast<int>(files.size());
  summary.last_result = run.LastResult();
  summary.new_articles = run.TotalNewArticles();
  // The import takes the files in this same order, so the last one listed
  // is the last feed it checked.
  const FeedRecord last = ReadFeedDefinition(
      AliasOfCacheFile(files.back(), ReadListedAliases(settings_file)), settings_file);
  summary.last_name = last.Name;
  summary.last_url = last.URL;
  summary.last_newsbox = last.Newsbox;
  return summary;
}

}  // namespace

void PrintRunReport(std::ostream& out, const RunSummary& summary) {
  const InformationMessage message =
      ComposeInformationMessage(RunReportInputs(summary), TAVI_PRODUCT_NAME);
  out << "\n"
      << message.caption << "\n"
      << std::string(message.caption.size(), '-') << "\n"
      << message.text << "\n";
}

int ExitCodeOf(const RunSummary& summary) {
  return summary.last_result < 0 ? kExitFailure : kExitSuccess;
}

int RunDownload(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  const std::vector<FeedRecord> listed = LoadFeedList(session->Paths().SettingsFile);
  std::vector<FeedRecord> feeds;
  std::string unknown;
  if (!SelectFeeds(context.command.positionals, listed, feeds, unknown)) {
    context.err << "tavi: download: there is no feed with the alias \"" << unknown << "\"\n";
    return kExitFailure;
  }
  if (feeds.empty()) {
    context.err << "tavi: download: no feeds; subscribe one with: tavi add ALIAS URL\n";
    return kExitFailure;
  }
  TerminalCheckWindow window(context.out, context.environment.out_is_terminal,
                             context.environment.terminal_width);
  CheckRun run(CheckPathsOf(session->Paths()), window);
  const InterruptAsStop interrupt;
  const RunSummary summary = DownloadFeeds(run, feeds, session->Paths().FeedFile, window,
                                           [&interrupt] { return interrupt.Requested(); });
  window.Finish();
  PrintRunReport(context.out, summary);
  return ExitCodeOf(summary);
}

int RunImport(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  const std::vector<std::string> files = ListCacheFiles(CacheFolder(session->Paths().DataFolder));
  if (files.empty()) {
    context.out << "The background cache holds no feed documents.\n";
    return kExitSuccess;
  }
  TerminalCheckWindow window(context.out, context.environment.out_is_terminal,
                             context.environment.terminal_width);
  CheckRun run(CheckPathsOf(session->Paths()), window);
  run.ImportCache();
  window.Finish();
  const RunSummary summary = ImportSummary(run, files, session->Paths().SettingsFile);
  PrintRunReport(context.out, summary);
  return ExitCodeOf(summary);
}

}  // namespace tavi::cli
