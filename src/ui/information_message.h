#pragma once

// The caption and text of the information dialog, the one window through
// which the user acknowledges an outcome: a run's result, an invalid or valid
// feed, a duplicate alias, a host without automation. The dialog window and
// the tavi command both show what these functions compose.

#include <string>

#include "engine/download_run.h"

namespace tavi {

enum class InformationMode {
  kDuplicateAlias = 2,
  kAutomationError = 3,
  kRunResult = 5,
  kValidFeed = 6,
  kConfirmDelete = 7,  // OK deletes the feed; Escape or the close box keeps it
};

// What the caller fills in before the dialog is shown.
struct InformationInputs {
  InformationMode mode = InformationMode::kRunResult;
  int feeds_processed = 0;
  int result = 0;  // negative: not a valid feed; 0: nothing new; above: new articles
  int total = 0;   // new articles over the whole run
  std::string feed_name;
  std::string url;
  std::string newsbox;
  std::string error_text;  // the automation error (kAutomationError)
};

struct InformationMessage {
  std::string caption;
  std::string text;
  int icon = 0;                // the icon resource shown beside the text
  bool verify_button = false;  // whether "Verify this Feed..." is offered
};

// Composes the dialog's caption, text, icon and buttons. `product_name`
// titles the captions that carry no text of their own.
InformationMessage ComposeInformationMessage(const InformationInputs& inputs,
                                             const std::string& product_name);

// The inputs of the run's report (the result form): the number of feeds
// checked and the run's total; when a feed could not be checked, the feed
// error of the last such feed (even when feeds after it brought articles);
// otherwise the last feed's result for a run of one feed and the total for a
// run of several, with the last feed's name, URL and newsbox.
InformationInputs RunReportInputs(const RunSummary& summary);

}  // namespace tavi
