#include "ui/information_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_test_support.h"
#include "res/information_dialog_ids.h"
#include "support/dialog_person.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::information_dialog;

// What a person sees of the dialog.
struct Shown {
  std::string caption;
  std::string text;
  int icon = 0;
  bool verify = false;
  bool ok_focused = false;
  WindowHandle owner;
};

Shown Look(WindowHandle dialog) {
  return {GetWindowText(dialog),
          GetDlgItemText(dialog, kMessageText),
          GetWindowIcon(GetDlgItem(dialog, kMessagePicture)),
          IsWindowVisible(GetDlgItem(dialog, kVerifyButton)),
          GetThreadFocus(GetWindowThreadId(dialog)) == GetDlgItem(dialog, kOkButton),
          GetOwner(dialog)};
}

// Runs `run` (which shows a dialog modally) while a person looks at the
// dialog and presses OK; returns what the person saw and stores the result.
template <typename Run>
Shown LookAndPressOk(Run run, int& result) {
  Shown shown;
  testing::DialogPerson person([&](WindowHandle dialog) {
    shown = Look(dialog);
    InjectClick(GetDlgItem(dialog, kOkButton));
  });
  result = run();
  EXPECT_TRUE(person.Acted());
  return shown;
}

InformationInputs Inputs(InformationMode mode, int feeds_processed = 0, int result = 0,
                         int total = 0) {
  InformationInputs inputs;
  inputs.mode = mode;
  inputs.feeds_processed = feeds_processed;
  inputs.result = result;
  inputs.total = total;
  inputs.feed_name = "Daily";
  inputs.url = "http://x/rss";
  inputs.newsbox = "News";
  inputs.error_text = "Invalid class string";
  return inputs;
}

const std::string kHeader = " Feed: Daily\n URL: http://x/rss\n Mailbox: News\n\n\n";

using InformationDialogTest = testing::WinsysTest;

TEST_F(InformationDialogTest, EachModeShowsItsCaptionTextIconAndVerifyButton) {
  struct Case {
    const char* name;
    InformationInputs inputs;
    std::string caption;
    std::string text;
    int icon;
    bool verify;
  };
  const Case cases[] = {
      {"duplicate alias", Inputs(InformationMode::kDuplicateAlias), "Tavi",
       kHeader + "There already exist the feed with the same alias.\n"
                 "Please specify unique alias for this feed.",
       kAliasConflictIcon, false},
      // No feed header, though the feed's fields are set.
      {"automation error", Inputs(InformationMode::kAutomationError), "Tavi - COM Error",
       "This plugin requires Eudora's COM server.\nTo enable automation, check: \n"
       "'Tools/Options/Automation/Automation enabled from this machine'.\n\n"
       "The error message follows:\nInvalid class string",
       kAutomationErrorIcon, false},
      {"not a feed", Inputs(InformationMode::kRunResult, 1, -1), "Tavi - Feed Error",
       kHeader + "This is not a valid RSS/Atom feed.\nPlease check the URL-path, make sure "
                 "computer is on-line, and try again.",
       kFeedValidityIcon, true},
      {"one feed, nothing new", Inputs(InformationMode::kRunResult, 1, 0), "No New Articles :-(",
       kHeader + "\t\tSorry, you've got no new articles for this feed.", kNoNewArticlesIcon, false},
      {"several feeds, nothing new", Inputs(InformationMode::kRunResult, 3, 0, 0),
       "No New Articles :-(", "\n\n\n\t\t\tSorry, you've got no new articles.", kNoNewArticlesIcon,
       false},
      {"one feed, one new", Inputs(InformationMode::kRunResult, 1, 1, 1),
       "You've Got New Articles!", kHeader + "\t\tYou've got one new article for this feed.",
       kNewArticlesIcon, false},
      {"several feeds, twelve new", Inputs(InformationMode::kRunResult, 2, 5, 12),
       "You've Got New Articles!", "\n\n\n\t\t\tYou've got 12 new articles.", kNewArticlesIcon,
       false},
      {"valid feed", Inputs(InformationMode::kValidFeed), "Tavi",
       kHeader + "This is a valid RSS/Atom feed.", kFeedValidityIcon, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InformationDialog dialog(c.inputs, "Tavi");
    int result = 0;
    const Shown shown = LookAndPressOk([&] { return dialog.RunModal({}); }, result);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(shown.caption, c.caption);
    EXPECT_EQ(shown.text, c.text);
    EXPECT_EQ(shown.icon, c.icon);
    EXPECT_EQ(shown.verify, c.verify);
    EXPECT_TRUE(shown.ok_focused);
    EXPECT_FALSE(shown.owner);
  }
}

TEST_F(InformationDialogTest, OverAnOwnerEnterAcknowledgesWithOneEvenWithVerifyShown) {
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  // Queued before the dialog exists: the dialog's focus takes them. Escape
  // ends a dialog that Enter failed to end, with another result.
  ASSERT_TRUE(InjectKeyPress({}, virtual_key::kReturn));
  ASSERT_TRUE(InjectKeyPress({}, virtual_key::kEscape));
  InformationDialog dialog(Inputs(InformationMode::kRunResult, 1, -1), "Tavi");

  EXPECT_EQ(dialog.RunModal(owner), 1);
  EXPECT_TRUE(ShownShellRequests().empty()) << "Enter is OK, not Verify";
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(InformationDialogTest, VerifyOpensTheValidatorForTheFeedAndTheDialogStaysOpen) {
  InformationInputs inputs = Inputs(InformationMode::kRunResult, 1, -1);
  inputs.url = "http://example.com/rss.php?cat=2&format=rss";
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  WindowHandle shown_dialog;
  testing::DialogPerson person([&](WindowHandle dialog) {
    shown_dialog = dialog;
    // The second press reaches the dialog only if the first left it open.
    InjectClick(GetDlgItem(dialog, kVerifyButton));
    InjectClick(GetDlgItem(dialog, kVerifyButton));
    InjectClick(GetDlgItem(dialog, kOkButton));
  });
  InformationDialog dialog(inputs, "Tavi");

  EXPECT_EQ(dialog.RunModal(owner), 1);

  const std::vector<ShellRequest> requests = ShownShellRequests();
  ASSERT_EQ(requests.size(), 2u);
  const ShellRequest& request = requests[0];
  EXPECT_EQ(request.kind, ShellRequest::Kind::kOpen);
  EXPECT_EQ(request.verb, "open");
  EXPECT_EQ(request.target,
            "https://validator.w3.org/feed/check.cgi?url="
            "http%3A%2F%2Fexample.com%2Frss.php%3Fcat%3D2%26format%3Drss");
  EXPECT_EQ(request.parameters, "");
  EXPECT_EQ(request.show, SW_SHOWNORMAL);
  EXPECT_EQ(request.owner, shown_dialog);
}

TEST_F(InformationDialogTest, TheRunReportNamesTheLastFeedThatCouldNotBeChecked) {
  RunSummary summary;
  summary.feeds = {{"a", "Alpha", "http://a/rss", "News", 3, {}},
                   {"b", "Beta", "http://b/rss", "Tech", kCheckFailed, {}},
                   {"c", "Gamma", "http://c/rss", "News", 2, {}}};
  summary.new_articles = 5;
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  int result = 0;

  const Shown shown = LookAndPressOk([&] { return ShowRunReport(owner, summary, "Tavi"); }, result);

  EXPECT_EQ(result, 1);
  EXPECT_EQ(shown.caption, "Tavi - Feed Error");
  EXPECT_EQ(shown.text.rfind(" Feed: Beta\n URL: http://b/rss\n Mailbox: Tech\n\n\n", 0), 0u)
      << shown.text;
  EXPECT_TRUE(shown.verify);
  EXPECT_EQ(shown.owner, owner);
}

}  // namespace
}  // namespace tavi
