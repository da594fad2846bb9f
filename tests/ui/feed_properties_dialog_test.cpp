#include "ui/feed_properties_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/host.h"
#include "platform/winsys.h"
#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_tree_view.h"
#include "res/feed_properties_ids.h"
#include "res/information_dialog_ids.h"
#include "res/mailboxes_dialog_ids.h"
#include "store/feed_definitions.h"
#include "store/profile.h"
#include "support/dialog_person.h"
#include "support/host_test.h"
#include "support/loopback_server.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::feed_properties;

constexpr const char* kFeedDocument =
    "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Daily News</title>"
    "<item><title>One</title></item></channel></rss>";
constexpr const char* kLastArticle = "12/1/2026 10:00:00";

class FeedPropertiesTest : public testing::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    ClearShownShellRequests();
    context_.paths.settings_file = data_.Join("tavi.ini");
    context_.paths.data_folder = data_.path();
    context_.feed_file = data_.Join("feed.xml");
    context_.product_name = "Tavi";
    news_path_ = Store().Item(Store().CreateMailbox(host::kTopLevel, "News").value())->path;
    server_.Serve("/news.xml", kFeedDocument, "application/rss+xml");
    server_.Serve("/other.xml", kFeedDocument, "application/rss+xml");
  }
  void TearDown() override {
    dialog_.reset();
    HostTest::TearDown();
  }

  FeedRecord StoredNews(const std::string& alias = "Daily") const {
    FeedRecord feed = NewFeedRecord(alias, server_.Url("/news.xml"));
    feed.Name = "Daily News";
    feed.Newsbox = "News";
    feed.NewsboxPath = news_path_;
    return feed;
  }
  void Subscribe(const FeedRecord& feed) {
    ASSERT_TRUE(SaveFeed(feed, kLastArticle, context_.paths.settings_file));
  }
  std::string Settings() const { return testing::ReadFile(context_.paths.settings_file); }

  // Opens the dialog modeless and shown, so that the test's thread drives it
  // and looks at it between steps.
  WindowHandle Open(const std::string& alias = "") {
    dialog_ = std::make_unique<FeedPropertiesDialog>(context_, alias);
    window_ = dialog_->Create({});
    ShowWindow(window_, SW_SHOW);
    return window_;
  }
  WindowHandle Control(int id) const { return GetDlgItem(window_, id); }
  void Type(int id, const std::string& text) {
    ASSERT_TRUE(InjectText(Control(id), text));
    testing::PumpDialogMessages();
  }
  void Press(int id, std::uint32_t modifiers = 0) {
    ASSERT_TRUE(InjectClick(Control(id), modifiers));
    testing::PumpDialogMessages();
  }
  // The newsbox button, answered in the picker by a double click on the
  // top-level mailbox `name`.
  void ChooseNewsbox(const std::string& name) {
    testing::DialogPerson person("Mailboxes", [name](WindowHandle picker) {
      const WindowHandle tree = GetDlgItem(picker, res::mailboxes_dialog::kMailboxTree);
      const TreeItem root = GetNextTreeItem(tree, {}, TreeRelation::kRoot);
      for (TreeItem item = GetNextTreeItem(tree, root, TreeRelation::kChild); item;
           item = GetNextTreeItem(tree, item, TreeRelation::kNextSibling))
        if (GetTreeItem(tree, item)->content.text == name)
          InjectTreeViewClick(tree, item, ClickKind::kDouble);
    });
    Press(kNewsboxButton);
    EXPECT_TRUE(person.Acted());
  }
  // Presses `id`, which opens the information dialog captioned `caption`;
  // returns its text and acknowledges it.
  std::string PressForInformation(int id, const std::string& caption, std::uint32_t modifiers = 0) {
    std::string text;
    testing::DialogPerson person(caption, [&text](WindowHandle information) {
      text = GetDlgItemText(information, res::information_dialog::kMessageText);
      InjectClick(GetDlgItem(information, res::information_dialog::kOkButton));
    });
    Press(id, modifiers);
    EXPECT_TRUE(person.Acted());
    return text;
  }

  testing::RecordingSleeper sleeper_;
  testing::LoopbackServer server_;
  WindowContext context_;
  std::string news_path_;
  std::unique_ptr<FeedPropertiesDialog> dialog_;
  WindowHandle window_;
};

TEST_F(FeedPropertiesTest, ANewFeedStartsWithOnlyNewArticlesAndTheIntervalOffered) {
  Open();
  EXPECT_EQ(GetDlgItemText(window_, kNewsboxButton), "[No newsbox selected]");
  EXPECT_EQ(GetDlgItemText(window_, kInfoLine), "");
  EXPECT_FALSE(IsDlgButtonChecked(window_, kReferringArticlesBox));
  EXPECT_TRUE(IsDlgButtonChecked(window_, kOnlyNewArticlesBox));
  EXPECT_FALSE(IsDlgButtonChecked(window_, kAutoCheckBox));
  EXPECT_EQ(GetDlgItemText(window_, kIntervalEdit), "15");
  EXPECT_FALSE(IsWindowEnabled(Control(kIntervalEdit)));
  EXPECT_EQ(GetWindowIcon(Control(kOptionPicture)), 189);

  Press(kAutoCheckBox);
  EXPECT_TRUE(IsDlgButtonChecked(window_, kAutoCheckBox));
  EXPECT_TRUE(IsWindowEnabled(Control(kIntervalEdit)));
  EXPECT_EQ(GetWindowIcon(Control(kOptionPicture)), 191);
  Press(kReferringArticlesBox);
  Press(kOnlyNewArticlesBox);
  EXPECT_EQ(GetWindowIcon(Control(kOptionPicture)), 187);
  Press(kAutoCheckBox);
  EXPECT_FALSE(IsWindowEnabled(Control(kIntervalEdit)));
  EXPECT_EQ(GetWindowIcon(Control(kOptionPicture)), 128);
}

TEST_F(FeedPropertiesTest, TheInfoLineShowsFortyCharactersOfTheNameWhole) {
  const struct {
    std::string name;
    std::string line;
  } rows[] = {
      {std::string(40, 'n'), " >> " + std::string(40, 'n') + " << "},
      {std::string(41, 'n'), " >> " + std::string(40, 'n') + "... << "},
      {"Daily News", " >> Daily News << "},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name.size());
    FeedRecord feed = StoredNews();
    feed.Name = row.name;
    Subscribe(feed);
    Open("Daily");
    EXPECT_EQ(GetDlgItemText(window_, kInfoLine), row.line);
  }
}

TEST_F(FeedPropertiesTest, AnEditedFeedShowsItsStoredValuesHeldToTheirRange) {
  Subscribe(StoredNews());
  const std::string& file = context_.paths.settings_file;
  WriteProfileString("Daily", "DownloadReferringArticles", "5", file);
  WriteProfileString("Daily", "DownloadOnlyNewArticles", "-2", file);
  WriteProfileString("Daily", "AutoCheck", "9", file);
  WriteProfileString("Daily", "IntervalMinutes", "999999", file);

  Open("Daily");

  EXPECT_EQ(GetDlgItemText(window_, kAliasEdit), "Daily");
  EXPECT_EQ(GetDlgItemText(window_, kUrlEdit), server_.Url("/news.xml"));
  EXPECT_EQ(GetDlgItemText(window_, kNewsboxButton), "News");
  EXPECT_TRUE(IsDlgButtonChecked(window_, kReferringArticlesBox));
  EXPECT_FALSE(IsDlgButtonChecked(window_, kOnlyNewArticlesBox));
  EXPECT_TRUE(IsDlgButtonChecked(window_, kAutoCheckBox));
  EXPECT_TRUE(IsWindowEnabled(Control(kIntervalEdit)));
  EXPECT_EQ(GetDlgItemText(window_, kIntervalEdit), "10080");
  EXPECT_EQ(GetWindowIcon(Control(kOptionPicture)), 187);
  // One click turns the automatic check off, as the box shows.
  Press(kAutoCheckBox);
  Press(kOkButton);
  EXPECT_EQ(ReadFeedDefinition("Daily", file).AutoCheck, 0);
}

TEST_F(FeedPropertiesTest, ANewFeedLearnsItsNameAndIsStoredInItsFixedOrder) {
  Open();
  Type(kAliasEdit, "Daily");
  Type(kUrlEdit, server_.Url("/news.xml"));
  ChooseNewsbox("News");
  EXPECT_EQ(GetDlgItemText(window_, kNewsboxButton), "News");

  Press(kOkButton);

  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(Settings(), "[Aliases]\nDaily=Daily News\n[Daily]\nName=Daily News\nURL=" +
                            server_.Url("/news.xml") + "\nNewsbox=News\nNewsboxPath=" + news_path_ +
                            "\nDownloadReferringArticles=0\nDownloadOnlyNewArticles=1\n"
                            "LastArticle=\nAutoCheck=0\nIntervalMinutes=15\n");
  EXPECT_EQ(dialog_->Feed().Name, "Daily News");
}

TEST_F(FeedPropertiesTest, AnIncompleteDefinitionIsRefusedWithoutAWordAndNothingIsWritten) {
  ASSERT_TRUE(Store().CreateMailbox(host::kTopLevel, "Pending").has_value());
  struct Case {
    const char* what;
    std::string alias;
    std::string url;
    std::string newsbox;
    std::string newsbox_path;
  };
  const Case cases[] = {
      {"no alias", "", server_.Url("/news.xml"), "News", news_path_},
      {"no URL", "Daily", "", "News", news_path_},
      {"newsbox gone", "Daily", server_.Url("/news.xml"), "News", data_.Join("Gone.mbx")},
      {"staging mailbox", "Daily", server_.Url("/news.xml"), "pending", data_.Join("Pending.mbx")},
      {"outgoing mail", "Daily", server_.Url("/news.xml"), "OUT", data_.Join("Out.mbx")},
      {"alias the file cannot hold", "Da=ily", server_.Url("/news.xml"), "News", news_path_},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FeedRecord feed = StoredNews("Stored");
    feed.Newsbox = c.newsbox;
    feed.NewsboxPath = c.newsbox_path;
    Subscribe(feed);
    const std::string before = Settings();
    Open("Stored");
    Type(kAliasEdit, c.alias);
    Type(kUrlEdit, c.url);

    Press(kOkButton);

    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_TRUE(IsWindowEnabled(Control(kAliasEdit)));
    EXPECT_EQ(Settings(), before);
  }
  EXPECT_TRUE(ShownMessageBoxes().empty());
}

TEST_F(FeedPropertiesTest, ANameLearnedByARefusedOkIsKeptSoTheNextOkDownloadsNothing) {
  Open();
  Type(kUrlEdit, server_.Url("/news.xml"));
  ChooseNewsbox("News");
  Press(kOkButton);  // no alias yet: refused, but the name is learned
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(server_.Hits("/news.xml"), 1);

  Type(kAliasEdit, "Daily");
  Type(kUrlEdit, server_.Url("/other.xml"));
  Press(kOkButton);

  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(server_.Hits("/other.xml"), 0);
  const FeedRecord stored = ReadFeedDefinition("Daily", context_.paths.settings_file);
  EXPECT_EQ(stored.Name, "Daily News");
  EXPECT_EQ(stored.URL, server_.Url("/other.xml"));
}

TEST_F(FeedPropertiesTest, AFeedWhoseDocumentCannotBeReadIsRefusedWhileItHasNoName) {
  Open();
  Type(kAliasEdit, "Daily");
  Type(kUrlEdit, server_.Url("/missing.xml"));
  ChooseNewsbox("News");
  Press(kOkButton);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(Settings(), "");
}

TEST_F(FeedPropertiesTest, WhileAFeedIsEditedItStaysInTheFileAndCancelWritesNothing) {
  Subscribe(StoredNews());
  Subscribe(StoredNews("Other"));
  WriteProfileString("Daily", "LastCheck", "12/2/2026 08:00:00", context_.paths.settings_file);
  const std::string before = Settings();

  Open("Daily");
  // Another program (the background checker, a killed run) sees the feed.
  EXPECT_EQ(Settings(), before);
  Type(kAliasEdit, "other");
  EXPECT_EQ(PressForInformation(kOkButton, "Tavi"),
            " Feed: Daily News\n URL: " + server_.Url("/news.xml") +
                "\n Mailbox: News\n\n\nThere already exist the feed with the same alias.\n"
                "Please specify unique alias for this feed.");
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_TRUE(IsWindowEnabled(Control(kAliasEdit)));
  Press(kCancelButton);

  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(Settings(), before);
}

TEST_F(FeedPropertiesTest, OkKeepsTheAliasOrRenamesTheFeedWithItsLastArticleAndDownloadsNothing) {
  for (const char* alias : {"Daily", "DAILY", "Morning"}) {
    SCOPED_TRACE(alias);
    ASSERT_TRUE(DeleteFeed("Daily", context_.paths.settings_file));
    ASSERT_TRUE(DeleteFeed("DAILY", context_.paths.settings_file));
    ASSERT_TRUE(DeleteFeed("Morning", context_.paths.settings_file));
    Subscribe(StoredNews());
    Open("Daily");
    Type(kAliasEdit, alias);

    Press(kOkButton);

    EXPECT_FALSE(IsWindowVisible(window_)) << "its own alias is no duplicate";
    EXPECT_EQ(ReadListedAliases(context_.paths.settings_file), std::vector<std::string>{alias});
    EXPECT_EQ(ReadLastArticle(alias, context_.paths.settings_file), kLastArticle);
  }
  EXPECT_EQ(server_.Hits("/news.xml"), 0);
}

TEST_F(FeedPropertiesTest, AnIntervalOfZeroStoresTheAutomaticCheckOff) {
  FeedRecord feed = StoredNews();
  feed.AutoCheck = 1;
  feed.IntervalMinutes = 30;
  Subscribe(feed);
  Open("Daily");
  Type(kIntervalEdit, "0");
  Press(kOkButton);
  const FeedRecord stored = ReadFeedDefinition("Daily", context_.paths.settings_file);
  EXPECT_EQ(stored.AutoCheck, 0);
  EXPECT_EQ(stored.IntervalMinutes, 0);
}

TEST_F(FeedPropertiesTest, ValidateOpensTheValidatorOrWithShiftTestsTheFeedItself) {
  Open();
  Press(kValidateButton);
  EXPECT_TRUE(ShownShellRequests().empty()) << "no address, no page";
  Type(kUrlEdit, "http://example.com/rss?a=1&b=2");
  Press(kValidateButton);
  ASSERT_EQ(ShownShellRequests().size(), 1u);
  EXPECT_EQ(ShownShellRequests()[0].target,
            "https://validator.w3.org/feed/check.cgi?url=http%3A%2F%2Fexample.com%2Frss%3Fa%3D1%"
            "26b%3D2");

  Type(kUrlEdit, server_.Url("/missing.xml"));
  EXPECT_EQ(PressForInformation(kValidateButton, "Tavi - Feed Error", key_modifier::kShift),
            " Feed: \n URL: " + server_.Url("/missing.xml") +
                "\n Mailbox: \n\n\nThis is not a valid RSS/Atom feed.\nPlease check the URL-path, "
                "make sure computer is on-line, and try again.");
  Type(kUrlEdit, server_.Url("/news.xml"));
  EXPECT_EQ(PressForInformation(kValidateButton, "Tavi", key_modifier::kShift),
            " Feed: \n URL: " + server_.Url("/news.xml") +
                "\n Mailbox: \n\n\nThis is a valid RSS/Atom feed.");
  EXPECT_EQ(dialog_->Feed().Name, "Daily News") << "the test named the feed";
  EXPECT_EQ(ShownShellRequests().size(), 1u);
}

TEST_F(FeedPropertiesTest, OnlyOkCancelAndEscapeEndTheDialog) {
  Open();
  ASSERT_TRUE(InjectSystemCommand(window_, SC_CLOSE));
  testing::PumpDialogMessages();
  EXPECT_TRUE(IsWindowVisible(window_)) << "the close request";
  Type(kAliasEdit, "Daily");
  ASSERT_TRUE(InjectKeyPress(Control(kAliasEdit), virtual_key::kReturn));
  testing::PumpDialogMessages();
  EXPECT_TRUE(IsWindowVisible(window_)) << "Enter";
  ASSERT_TRUE(InjectKeyPress(Control(kAliasEdit), virtual_key::kEscape));
  testing::PumpDialogMessages();
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_EQ(Settings(), "");
}

TEST_F(FeedPropertiesTest, HelpOpensTheSettingsPageElseTheHelpFile) {
  context_.help_file = data_.Join("tavi.chm");
  testing::WriteFile(context_.help_file, "help");
  SetShellHandler(
      [](const ShellRequest& request) { return request.kind == ShellRequest::Kind::kOpen; });
  Open();
  Press(kHelpButton);
  SetShellHandler({});
  const std::vector<ShellRequest> requests = ShownShellRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].kind, ShellRequest::Kind::kRun);
  EXPECT_EQ(requests[0].target, "HH.EXE  mk:@MSITStore:" + context_.help_file + "::/Settings.htm");
  EXPECT_EQ(requests[1].target, context_.help_file);
  EXPECT_EQ(requests[1].owner, GetDesktopWindow());
}

TEST_F(FeedPropertiesTest, TheEntryReportsWhetherTheFeedWasStored) {
  Subscribe(StoredNews());
  for (const int button : {kCancelButton, kOkButton}) {
    SCOPED_TRACE(button);
    testing::DialogPerson person(
        [button](WindowHandle dialog) { InjectClick(GetDlgItem(dialog, button)); });
    EXPECT_EQ(ShowFeedProperties({}, context_, "Daily"), button == kOkButton);
  }
}

}  // namespace
}  // namespace tavi
