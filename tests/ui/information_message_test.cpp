#include "ui/information_message.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

InformationInputs RunInputs(int feeds_processed, int result, int total) {
  InformationInputs inputs;
  inputs.mode = InformationMode::kRunResult;
  inputs.feeds_processed = feeds_processed;
  inputs.result = result;
  inputs.total = total;
  inputs.feed_name = "Daily";
  inputs.url = "http://x";
  inputs.newsbox = "News";
  return inputs;
}

const std::string kHeader = " Feed: Daily\n URL: http://x\n Mailbox: News\n\n\n";

TEST(InformationMessage, RunResultWordingFollowsFeedsAndCounts) {
  const struct {
    const char* what;
    InformationInputs inputs;
    std::string caption;
    std::string text;
  } rows[] = {
      {"one feed, one article", RunInputs(1, 1, 1), "You've Got New Articles!",
       kHeader + "\t\tYou've got one new article for this feed."},
      {"one feed, several", RunInputs(1, 7, 7), "You've Got New Articles!",
       kHeader + "\t\tYou've got 7 new articles for this feed."},
      // Several feeds count the run's total and drop the feed header.
      {"several feeds, total 1", RunInputs(3, 1, 1), "You've Got New Articles!",
       "\n\n\n\t\t\tYou've got one new article."},
      {"several feeds, total 12", RunInputs(2, 5, 12), "You've Got New Articles!",
       "\n\n\n\t\t\tYou've got 12 new articles."},
      {"one feed, nothing", RunInputs(1, 0, 0), "No New Articles :-(",
       kHeader + "\t\tSorry, you've got no new articles for this feed."},
      {"several feeds, nothing", RunInputs(2, 0, 4), "No New Articles :-(",
       "\n\n\n\t\t\tSorry, you've got no new articles."},
      {"feed error", RunInputs(1, -1, 0), "Tavi - Feed Error",
       kHeader +
           "This is not a valid RSS/Atom feed.\nPlease check the URL-path, make sure computer "
           "is on-line, and try again."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const InformationMessage message = ComposeInformationMessage(row.inputs, "Tavi");
    EXPECT_EQ(message.caption, row.caption);
    EXPECT_EQ(message.text, row.text);
    EXPECT_EQ(message.verify_button, row.inputs.result < 0);
  }
}

TEST(InformationMessage, UrlIsShownUpToSixtyCharacters) {
  InformationInputs inputs = RunInputs(1, 0, 0);
  inputs.url = std::string(60, 'u');
  EXPECT_NE(ComposeInformationMessage(inputs, "Tavi").text.find(" URL: " + inputs.url + "\n"),
            std::string::npos);
  inputs.url += "v";
  EXPECT_NE(ComposeInformationMessage(inputs, "Tavi")
                .text.find(" URL: " + inputs.url.substr(0, 60) + "\n"),
            std::string::npos);
}

TEST(InformationMessage, AutomationErrorStandsAloneAndOthersAppendToTheHeader) {
  InformationInputs inputs = RunInputs(1, 0, 0);
  inputs.mode = InformationMode::kAutomationError;
  inputs.error_text = "Invalid class string";
  InformationMessage message = ComposeInformationMessage(inputs, "Tavi");
  EXPECT_EQ(message.caption, "Tavi - COM Error");
  EXPECT_EQ(message.text,
            "This plugin requires Eudora's COM server.\nTo enable automation, check: \n"
            "'Tools/Options/Automation/Automation enabled from this machine'.\n\n"
            "The error message follows:\nInvalid class string");

  inputs.mode = InformationMode::kDuplicateAlias;
  message = ComposeInformationMessage(inputs, "Tavi");
  EXPECT_EQ(message.caption, "Tavi");
  EXPECT_EQ(message.text, kHeader +
                              "There already exist the feed with the same alias.\nPlease "
                              "specify unique alias for this feed.");
  inputs.mode = InformationMode::kValidFeed;
  EXPECT_EQ(ComposeInformationMessage(inputs, "Tavi").text,
            kHeader + "This is a valid RSS/Atom feed.");
}

FeedOutcome Outcome(const std::string& alias, int result) {
  FeedOutcome outcome;
  outcome.alias = alias;
  outcome.name = alias + " Feed";
  outcome.url = "http://" + alias;
  outcome.newsbox = alias + "box";
  outcome.result = result;
  return outcome;
}

TEST(RunReport, SeveralFeedsAreReportedByTheirTotalAndAFailureByTheLastFailedFeed) {
  const struct {
    const char* what;
    std::vector<FeedOutcome> feeds;
    int total;
    int result;
    const char* named;
  } rows[] = {
      {"one feed", {Outcome("A", 3)}, 3, 3, "A"},
      // The last feed brought nothing, the run did.
      {"several, the last empty", {Outcome("A", 2), Outcome("B", 0)}, 2, 2, "B"},
      {"several, none new", {Outcome("A", 0), Outcome("B", 0)}, 0, 0, "B"},
      // A failure is not hidden by the feeds after it.
      {"a failure before the last",
       {Outcome("A", -1), Outcome("B", 3), Outcome("C", 0)},
       3,
       -1,
       "A"},
      {"two failures", {Outcome("A", -1), Outcome("B", -1), Outcome("C", 4)}, 4, -1, "B"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const InformationInputs inputs = RunReportInputs({row.feeds, row.total, false});
    EXPECT_EQ(inputs.mode, InformationMode::kRunResult);
    EXPECT_EQ(inputs.feeds_processed, static_cast<int>(row.feeds.size()));
    EXPECT_EQ(inputs.total, row.total);
    EXPECT_EQ(inputs.result, row.result);
    EXPECT_EQ(inputs.feed_name, std::string(row.named) + " Feed");
    EXPECT_EQ(inputs.url, std::string("http://") + row.named);
    EXPECT_EQ(inputs.newsbox, std::string(row.named) + "box");
  }
  EXPECT_EQ(RunReportInputs({}).result, kNotCheckedYet);
  // The several-feeds wording with the run's total.
  EXPECT_EQ(ComposeInformationMessage(
                RunReportInputs({{Outcome("A", 2), Outcome("B", 0)}, 2, false}), "Tavi")
                .text,
            "\n\n\n\t\t\tYou've got 2 new articles.");
}

}  // namespace
}  // namespace tavi
