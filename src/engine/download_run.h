#pragma once

// The main window's Download: checks the chosen feeds one after another and
// sums the run up for the report.

#include <functional>
#include <string>
#include <vector>

#include "engine/check_engine.h"

namespace tavi {

// What a run leaves for its report.
struct RunSummary {
  std::vector<FeedOutcome> feeds;  // every feed checked, in order
  int new_articles = 0;            // over the whole run
  bool stopped = false;            // a stop request ended the run early

  int FeedsProcessed() const { return static_cast<int>(feeds.size()); }
  // The last feed's result; kNotCheckedYet when no feed was checked.
  int LastResult() const { return feeds.empty() ? kNotCheckedYet : feeds.back().result; }
  int FailedFeeds() const;
};

// What a front end hears while a run goes on; an empty function is skipped.
struct RunObserver {
  std::function<void(const FeedRecord&)> feed_starting;
  std::function<void(const FeedOutcome&)> feed_finished;
  // Asked after each feed: true ends the run there.
  std::function<bool()> stop_requested;
};

// Checks each feed in order, live, fetching into `feed_file`, telling
// `observer` of each. The documents of later feeds download while earlier
// ones are checked, as many at once as the settings file's "MaxDownloads"
// says (DocumentPrefetch); checking, composing and delivering keep the run's
// order, and no prefetched document outlives the run. Finally lets the host index "Pending" once
// more, shows the run's total in the host's status bar and brings the News Board forward when
// articles arrived.
RunSummary DownloadFeeds(CheckRun& run, const std::vector<FeedRecord>& feeds,
                         const std::string& feed_file, CheckWindow& window,
                         const RunObserver& observer);

}  // namespace tavi
