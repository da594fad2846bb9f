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
  int last_result = kNotCheckedYet;  // the last feed's result
  int new_articles = 0;
  int feeds_processed = 0;
  std::string last_name;
  std::string last_url;
  std::string last_newsbox;
  std::vector<FeedOutcome> feeds;  // every feed checked, in order
  bool stopped = false;            // a stop request ended the run early

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
// `observer` of each. Finally lets the host index "Pending" once more, shows
// the run's total in the host's status bar and brings the News Board forward
// when articles arrived.
RunSummary DownloadFeeds(CheckRun& run, const std::vector<FeedRecord>& feeds,
                         const std::string& feed_file, CheckWindow& window,
                         const RunObserver& observer);

}  // namespace tavi
