#include "ui/information_message.h"

#include <algorithm>

#include "res/information_dialog_ids.h"

namespace tavi {
namespace {

constexpr std::size_t kShownUrlLength = 60;

using res::information_dialog::kAliasConflictIcon;
using res::information_dialog::kAutomationErrorIcon;
using res::information_dialog::kFeedValidityIcon;
using res::information_dialog::kNewArticlesIcon;
using res::information_dialog::kNoNewArticlesIcon;

std::string FeedHeader(const InformationInputs& inputs) {
  return " Feed: " + inputs.feed_name + "\n URL: " + inputs.url.substr(0, kShownUrlLength) +
         "\n Mailbox: " + inputs.newsbox + "\n\n\n";
}

std::string CountedArticles(int count, const char* one, const char* many) {
  return count == 1 ? std::string(one) : std::to_string(count) + many;
}

InformationMessage RunResultMessage(const InformationInputs& inputs,
                                    const std::string& product_name) {
  const bool one_feed = inputs.feeds_processed == 1;
  if (inputs.result < 0)
    return {product_name + " - Feed Error",
            FeedHeader(inputs) + "This is not a valid RSS/Atom feed.\n" +
                "Please check the URL-path, make sure computer is on-line, and try again.",
            kFeedValidityIcon, true};
  if (inputs.result == 0) {
    const std::string text =
        one_feed ? FeedHeader(inputs) + "\t\tSorry, you've got no new articles for this feed."
                 : "\n\n\n\t\t\tSorry, you've got no new articles.";
    return {"No New Articles :-(", text, kNoNewArticlesIcon, false};
  }
  const std::string text =
      one_feed ? FeedHeader(inputs) + "\t\tYou've got " +
                     CountedArticles(inputs.result, "one new article for this feed.",
                                     " new articles for this feed.")
               : "\n\n\n\t\t\tYou've got " +
                     CountedArticles(inputs.total, "one new article.", " new articles.");
  return {"You've Got New Articles!", text, kNewArticlesIcon, false};
}

}  // namespace

InformationMessage ComposeInformationMessage(const InformationInputs& inputs,
                                             const std::string& product_name) {
  switch (inputs.mode) {
    case InformationMode::kDuplicateAlias:
      return {product_name,
              FeedHeader(inputs) + "There already exist the feed with the same alias.\n" +
                  "Please specify unique alias for this feed.",
              kAliasConflictIcon, false};
    case InformationMode::kAutomationError:
      return {product_name + " - COM Error",
              std::string("This plugin requires Eudora's COM server.\n") +
                  "To enable automation, check: \n" +
                  "'Tools/Options/Automation/Automation enabled from this machine'.\n\n" +
                  "The error message follows:\n" + inputs.error_text,
              kAutomationErrorIcon, false};
    case InformationMode::kRunResult:
      return RunResultMessage(inputs, product_name);
    case InformationMode::kConfirmDelete:
      return {product_name + " - Delete Feed",
              FeedHeader(inputs) + "Press OK to unsubscribe this feed.\n" +
                  "Its newsbox and the articles in it stay.",
              kAliasConflictIcon, false};
    case InformationMode::kValidFeed:
      return {product_name, FeedHeader(inputs) + "This is a valid RSS/Atom feed.",
              kFeedValidityIcon, false};
  }
  return {};
}

InformationInputs RunReportInputs(const RunSummary& summary) {
  InformationInputs inputs;
  inputs.mode = InformationMode::kRunResult;
  inputs.feeds_processed = summary.FeedsProcessed();
  inputs.total = summary.new_articles;
  if (summary.feeds.empty()) {
    inputs.result = kNotCheckedYet;
    return inputs;
  }
  // A feed that could not be checked is reported, the last such one,
  // whatever came after it; otherwise a run of several feeds is reported by
  // its total, one feed by its own result.
  const auto failed = std::find_if(summary.feeds.rbegin(), summary.feeds.rend(),
                                   [](const FeedOutcome& feed) { return feed.result < 0; });
  const FeedOutcome& named = failed != summary.feeds.rend() ? *failed : summary.feeds.back();
  if (failed != summary.feeds.rend())
    inputs.result = kCheckFailed;
  else
    inputs.result = summary.feeds.size() == 1 ? named.result : summary.new_articles;
  inputs.feed_name = named.name;
  inputs.url = named.url;
  inputs.newsbox = named.newsbox;
  return inputs;
}

}  // namespace tavi
