#include "engine/download_run.h"

#include <algorithm>

#include "engine/document_prefetch.h"

namespace tavi {

namespace {

std::vector<platform::NetRequest> RequestsOf(const std::vector<FeedRecord>& feeds,
                                             const std::string& settings_file) {
  std::vector<platform::NetRequest> requests;
  for (const FeedRecord& feed : feeds) requests.push_back(FeedDocumentRequest(feed, settings_file));
  return requests;
}

}  // namespace

RunSummary DownloadFeeds(CheckRun& run, const std::vector<FeedRecord>& feeds,
                         const std::string& feed_file, CheckWindow& window,
                         const RunObserver& observer) {
  RunSummary summary;
  window.SetGeneralLine("Downloading articles... Please wait.");
  DocumentPrefetch prefetch(RequestsOf(feeds, run.SettingsFile()), feed_file,
                            ReadMaxDownloads(run.SettingsFile()));
  run.UsePrefetch(&prefetch);
  for (std::size_t position = 0; position < feeds.size(); ++position) {
    const FeedRecord& feed = feeds[position];
    prefetch.MoveTo(position);
    if (observer.feed_starting) observer.feed_starting(feed);
    run.CheckFeed(feed, false, feed_file);
    summary.feeds.push_back(run.OutcomeOf(feed));
    if (observer.feed_finished) observer.feed_finished(summary.feeds.back());
    if (observer.stop_requested && observer.stop_requested()) {
      summary.stopped = summary.feeds.size() < feeds.size();
      window.SetGeneralLine("Going offline now... Please wait.");
      break;
    }
    window.SetGeneralLine("Done. Moving to the next feed.");
  }
  run.UsePrefetch(nullptr);
  run.ReopenStagingMailbox();
  run.ReportTotal();
  summary.new_articles = run.TotalNewArticles();
  return summary;
}

int RunSummary::FailedFeeds() const {
  return static_cast<int>(std::count_if(feeds.begin(), feeds.end(),
                                        [](const FeedOutcome& feed) { return feed.Failed(); }));
}

}  // namespace tavi
