#include "cli/download_commands.h"

#include <functional>
#include <ostream>

#include "cli/interrupt_as_stop.h"
#include "cli/progress_bar.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "platform/ascii.h"
#include "ui/information_message.h"
#include "version.h"

namespace tavi::cli {
namespace {

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

std::string Plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Prints each feed's line as its check ends, after clearing the bar.
std::function<void(const FeedOutcome&)> FeedPrinter(std::ostream& out,
                                                    TerminalCheckWindow& window) {
  return [&out, &window](const FeedOutcome& feed) {
    window.Clear();
    out << FeedOutcomeLine(feed) << "\n" << std::flush;
  };
}

// The end of a run: the totals, the information dialog's report when asked
// for, and the exit code.
int FinishRun(const CommandContext& context, const RunSummary& summary) {
  context.out << RunTotalsLine(summary) << "\n";
  if (context.command.Has("--report")) PrintRunReport(context.out, summary);
  return ExitCodeOf(summary);
}

}  // namespace

std::string FeedOutcomeLine(const FeedOutcome& feed) {
  const FeedCheckReport& check = feed.check;
  std::string line = feed.alias + ": ";
  if (check.moved > 0) line += std::to_string(check.moved) + " new";
  if (feed.Failed())
    return PrintableText(line + (check.moved > 0 ? ", " : "") + "failed: " + check.failure);
  if (check.not_modified)
    line += "not modified";
  else if (check.moved == 0)
    line += "no new articles";
  if (!check.moved_to.empty()) line += "; moved permanently to " + check.moved_to;
  return PrintableText(line);
}

std::string RunTotalsLine(const RunSummary& summary) {
  const int checked = static_cast<int>(summary.feeds.size());
  std::string line = "Checked " + Plural(checked, "feed", "feeds") + ": ";
  line += summary.new_articles == 0 ? "no new articles"
                                    : Plural(summary.new_articles, "new article", "new articles");
  if (const int failed = summary.FailedFeeds(); failed > 0)
    line += ", " + Plural(failed, "feed", "feeds") + " failed";
  if (summary.stopped) line += "; stopped before the other feeds";
  return line + ".";
}

void PrintRunReport(std::ostream& out, const RunSummary& summary) {
  // The feed's own texts are made printable; the report's layout (tabs and
  // blank lines) is kept for scripts that read it.
  InformationInputs inputs = RunReportInputs(summary);
  for (std::string* feed_text : {&inputs.feed_name, &inputs.url, &inputs.newsbox})
    *feed_text = PrintableText(*feed_text);
  const InformationMessage message = ComposeInformationMessage(inputs, TAVI_PRODUCT_NAME);
  out << "\n"
      << message.caption << "\n"
      << std::string(message.caption.size(), '-') << "\n"
      << message.text << "\n";
}

int ExitCodeOf(const RunSummary& summary) {
  return summary.FailedFeeds() > 0 || summary.stopped ? kExitFailure : kExitSuccess;
}

int RunDownload(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  const std::vector<FeedRecord> listed = LoadFeedList(session->Paths().SettingsFile);
  std::vector<FeedRecord> feeds;
  std::string unknown;
  if (!SelectFeeds(context.command.positionals, listed, feeds, unknown)) {
    context.err << "tavi: download: there is no feed with the alias \"" << PrintableText(unknown)
                << "\"\n";
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
  RunObserver observer;
  observer.feed_starting = [&window](const FeedRecord& feed) { window.BeginFeed(feed.Alias); };
  observer.feed_finished = FeedPrinter(context.out, window);
  observer.stop_requested = [&interrupt] { return interrupt.Requested(); };
  const RunSummary summary = DownloadFeeds(run, feeds, session->Paths().FeedFile, window, observer);
  window.Clear();
  return FinishRun(context, summary);
}

RunSummary ImportCachedFeeds(const CommandContext& context, const PluginPaths& paths) {
  TerminalCheckWindow window(context.out, context.environment.out_is_terminal,
                             context.environment.terminal_width);
  CheckRun run(CheckPathsOf(paths), window);
  std::vector<FeedOutcome> feeds;
  const auto print = FeedPrinter(context.out, window);
  run.ImportCache([&](const FeedOutcome& feed) {
    feeds.push_back(feed);
    print(feed);
  });
  window.Clear();
  return {std::move(feeds), run.TotalNewArticles(), false};
}

int RunImport(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  if (ListCacheFiles(CacheFolder(session->Paths().DataFolder)).empty()) {
    context.out << "The background cache holds no feed documents.\n";
    return kExitSuccess;
  }
  return FinishRun(context, ImportCachedFeeds(context, session->Paths()));
}

}  // namespace tavi::cli
