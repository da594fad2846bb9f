#pragma once

// The main window's Download: checks the chosen feeds one after another and
// sums the run up for the report.

#include <functional>
#include <string>
#include <vector>

#include "fetch/check_engine.h"
#include "ui/information_message.h"

namespace tavi {

// What a run leaves for its report.
struct RunSummary {
  int last_result = kNotCheckedYet;  // the last feed's result
  int new_articles = 0;
  int feeds_processed = 0;
  std::string last_name;
  std::string last_url;
  std::string last_newsbox;
};

// Checks each feed in order, live, fetching into `feed_file`. After each feed
// `stop_requested` is asked; when it says yes the run ends there. Finally
// lets the host index "Pending" once more, shows the run's total in the
// host's status bar and brings the News Board forward when articles arrived.
RunSummary DownloadFeeds(CheckRun& run, const std::vector<FeedRecord>& feeds,
                         const std::string& feed_file, CheckWindow& window,
                         const std::function<bool()>& stop_requested);

// The information dialog's inputs for the run's report (its result form).
InformationInputs RunReportInputs(const RunSummary& summary);

}  // namespace tavi
