#include "gallery_information.h"

#include <string>
#include <vector>

#include "ui/information_dialog.h"

namespace tavi::testing {
namespace {

struct InformationSample {
  const char* entry;
  InformationInputs inputs;
};

InformationInputs FeedInputs(InformationMode mode, int result, int total) {
  InformationInputs inputs;
  inputs.mode = mode;
  inputs.feeds_processed = 1;
  inputs.result = result;
  inputs.total = total;
  inputs.feed_name = "Harbour Gazette";
  // The query keeps its second parameter only when the validator's address
  // encodes it.
  inputs.url = "http://127.0.0.1:9/feed?cat=2&format=rss";
  inputs.newsbox = "Gazette";
  return inputs;
}

const std::vector<InformationSample>& Samples() {
  static const std::vector<InformationSample> samples = [] {
    InformationInputs automation;
    automation.mode = InformationMode::kAutomationError;
    automation.error_text = "Invalid class string";
    return std::vector<InformationSample>{
        {"&Duplicate alias", FeedInputs(InformationMode::kDuplicateAlias, 0, 0)},
        {"&Automation error", automation},
        {"&New articles", FeedInputs(InformationMode::kRunResult, 3, 3)},
        {"N&o new articles", FeedInputs(InformationMode::kRunResult, 0, 0)},
        {"&Invalid feed", FeedInputs(InformationMode::kRunResult, -1, 0)},
        {"&Valid feed", FeedInputs(InformationMode::kValidFeed, 1, 1)},
    };
  }();
  return samples;
}

constexpr int kFirstCommand = 301;

}  // namespace

platform::MenuItemTemplate InformationMenu() {
  platform::MenuItemTemplate menu{.text = "&Information"};
  int command = kFirstCommand;
  for (const InformationSample& sample : Samples())
    menu.items.push_back({.text = sample.entry, .command = command++});
  return menu;
}

bool ShowInformationFor(int command, platform::WindowHandle owner, GalleryLog& log) {
  const int index = command - kFirstCommand;
  if (index < 0 || index >= static_cast<int>(Samples().size())) return false;
  const int result = InformationDialog(Samples()[index].inputs, "Tavi").RunModal(owner);
  log.Add("information " + std::to_string(command) + " " + std::to_string(result));
  return true;
}

}  // namespace tavi::testing
