#include "engine/download_run.h"

#include <algorithm>

namespace tavi {

RunSummary DownloadFeeds(CheckRun& run, const std::vector<FeedRecord>& feeds,
                         const std::string& feed_file, CheckWindow& window,
                         const RunObserver& observer) {
  RunSummary summary;
  window.SetGeneralLine("Downloading articles... Please wait.");
  for (const FeedRecord& feed : feeds) {
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
