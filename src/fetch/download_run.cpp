#include "fetch/download_run.h"

namespace tavi {

RunSummary DownloadFeeds(CheckRun& run, const std::vector<FeedRecord>& feeds,
                         const std::string& feed_file, CheckWindow& window,
                         const std::function<bool()>& stop_requested) {
  RunSummary summary;
  window.SetGeneralLine("Downloading articles... Please wait.");
  for (const FeedRecord& feed : feeds) {
    ++summary.feeds_processed;
    summary.last_result = run.CheckFeed(feed, false, feed_file);
    summary.last_name = feed.Name;
    summary.last_url = feed.URL;
    summary.last_newsbox = feed.Newsbox;
    if (stop_requested && stop_requested()) {
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

InformationInputs RunReportInputs(const RunSummary& summary) {
  InformationInputs inputs;
  inputs.mode = InformationMode::kRunResult;
  inputs.feeds_processed = summary.feeds_processed;
  inputs.result = summary.last_result;
  inputs.total = summary.new_articles;
  inputs.feed_name = summary.last_name;
  inputs.url = summary.last_url;
  inputs.newsbox = summary.last_newsbox;
  return inputs;
}

}  // namespace tavi
