#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delivery/host_automation.h"
#include "delivery/mailbox_file.h"
#include "files/file_names.h"
#include "platform/fs.h"
#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_shell.h"
#include "res/information_dialog_ids.h"
#include "res/main_window_ids.h"
#include "store/pacing.h"
#include "store/profile.h"
#include "support/dialog_person.h"
#include "support/host_test.h"
#include "support/loopback_server.h"
#include "support/test_seams.h"
#include "ui/news_board.h"
#include "ui/window_messages.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::main_window;

std::string RssFeed(const std::string& guid) {
  return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Daily</title><item>"
         "<title>Story</title><link>http://example.com/" +
         guid + "</link><description>Body</description><guid>" + guid +
         "</guid><pubDate>Fri, 11 Dec 2026 08:00:00 GMT</pubDate></item></channel></rss>";
}

class MainWindowTest : public testing::HostTest {
 protected:
  void SetUp() override {
    SetPacing(Pacing::None());
    CreateFolder(data_.Join("plugins"));
    HostTest::SetUp();
    context_.paths = {data_.Join("plugins/tavi.ini"), data_.path(), data_.Join("In.mbx"),
                      data_.Join("plugins"), host_->Windows().DocumentArea()};
    context_.feed_file = data_.Join("plugins/feed.xml");
    context_.product_name = "Tavi";
    context_.help_file = data_.Join("plugins/help");
    ClearShownShellRequests();
  }
  void TearDown() override {
    window_.reset();
    CloseNewsBoard(news_board_);
    HostTest::TearDown();
  }

  // Subscribes `alias` delivering into `newsbox` (created when new), with
  // the feed served at /alias.
  void Subscribe(const std::string& alias, const std::string& newsbox) {
    FeedRecord feed;
    feed.Alias = alias;
    feed.Name = alias + " Daily";
    feed.URL = server_.Url("/" + alias);
    feed.Newsbox = newsbox;
    feed.NewsboxPath = MailboxFilePath(data_.path(), newsbox, false);
    if (!tavi::FileExists(feed.NewsboxPath)) feed.NewsboxPath = CreateTopLevelMailbox(newsbox);
    ASSERT_TRUE(SaveFeed(feed, "", context_.paths.settings_file));
  }

  WindowHandle Open(MainWindow::Mode mode = MainWindow::Mode::kInteractive) {
    window_ = std::make_unique<MainWindow>(context_, mode, news_board_,
                                           [this](WindowHandle owner, const std::string& alias) {
                                             edited_.push_back(alias);
                                             return edit_(owner, alias);
                                           });
    const WindowHandle window = window_->Create(host_->Windows().MainWindow());
    ShowWindow(window, SW_SHOW);
    return window;
  }

  WindowHandle Control(int id) const { return GetDlgItem(window_->Handle(), id); }
  std::string Text(int id) const { return GetDlgItemText(window_->Handle(), id); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)); }

  std::vector<std::string> Rows(int list) const {
    std::vector<std::string> rows;
    for (int row = 0; row < GetListViewRowCount(Control(list)); ++row)
      rows.push_back(GetListViewText(Control(list), row, 0));
    return rows;
  }
  std::vector<std::string> Selected(int list) const {
    std::vector<std::string> rows;
    for (int row = GetNextSelectedListViewRow(Control(list)); row >= 0;
         row = GetNextSelectedListViewRow(Control(list), row))
      rows.push_back(GetListViewText(Control(list), row, 0));
    return rows;
  }
  // Handles the waiting messages as the modal loop does, keys through the
  // dialog's own handling.
  static void Pump() {
    Message message;
    while (PeekMessage(message, true))
      if (!TranslateDialogInput(message)) DispatchMessage(message);
  }
  void Click(int id) {
    InjectClick(Control(id));
    Pump();
  }
  void ClickRow(int list, int row, ClickKind kind = ClickKind::kLeft, std::uint32_t modifiers = 0) {
    InjectListViewClick(Control(list), row, kind, modifiers);
    Pump();
  }
  bool Ended() const { return !IsWindowVisible(window_->Handle()); }

  testing::PinnedUtcClock clock_{testing::UtcInstant(2026, 12, 12, 12)};
  testing::RecordingSleeper sleeper_;
  testing::LoopbackServer server_;
  WindowContext context_;
  WindowHandle news_board_;
  std::function<bool(WindowHandle, const std::string&)> edit_ =
      [](WindowHandle, const std::string&) { return false; };
  std::vector<std::string> edited_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, ListsFeedsAndTheirNewsboxesSortedWithOneRowPerNewsbox) {
  Subscribe("zeta", "World");
  Subscribe("Alpha", "Tech");
  Subscribe("beta", "tech");
  Open();
  EXPECT_EQ(Rows(kFeedsList), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
  EXPECT_EQ(Rows(kNewsboxesList), (std::vector<std::string>{"Tech (0/0)", "World (0/0)"}));
  EXPECT_EQ(GetListViewColumnWidth(Control(kFeedsList), 0),
            GetWindowRect(Control(kFeedsList))->Width() - 20);
  EXPECT_EQ(Text(kGeneralLine), "Ready. For Help, press F1.");
  EXPECT_FALSE(Enabled(kStopButton));
  EXPECT_TRUE(IsWindow(news_board_));
  EXPECT_EQ(GetClassName(news_board_), "NewsBoardWindow");
  EXPECT_FALSE(IsWindowVisible(news_board_));
}

TEST_F(MainWindowTest, WithoutFeedsOnlyAddIsOffered) {
  Open();
  EXPECT_FALSE(Enabled(kEditButton));
  EXPECT_FALSE(Enabled(kDeleteButton));
  EXPECT_FALSE(Enabled(kDownloadButton));
  EXPECT_TRUE(Enabled(kAddButton));
}

TEST_F(MainWindowTest, FirstFeedIsSelectedAndTheClockRunsUntilTheSelectionChanges) {
  Subscribe("News", "News");
  Open();
  EXPECT_EQ(Selected(kFeedsList), std::vector<std::string>{"News"});
  EXPECT_EQ(Selected(kNewsboxesList), std::vector<std::string>{"News (0/0)"});
  EXPECT_EQ(Text(kInfoLine), "News - Last Article: \n");
  EXPECT_TRUE(Enabled(kEditButton));
  clock_.MoveTo(testing::UtcInstant(2026, 12, 12, 12, 0, 2));
  Pump();
  EXPECT_EQ(Text(kInfoLine), "Current Time: \n12/12/2026 12:00:02");
}

TEST_F(MainWindowTest, SelectionInOneListFollowsTheOther) {
  Subscribe("a", "Tech");
  Subscribe("b", "World");
  Subscribe("c", "Tech");
  Open();
  ClickRow(kFeedsList, 1);
  EXPECT_EQ(Selected(kNewsboxesList), std::vector<std::string>{"World (0/0)"});
  ClickRow(kNewsboxesList, 0);
  EXPECT_EQ(Selected(kFeedsList), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(GetFocus(), Control(kNewsboxesList));
  EXPECT_FALSE(Enabled(kEditButton));
  EXPECT_FALSE(Enabled(kDeleteButton));
  EXPECT_TRUE(Enabled(kDownloadButton));
}

TEST_F(MainWindowTest, SeveralSelectedFeedsShowTheRunningClock) {
  Subscribe("a", "Tech");
  Subscribe("b", "World");
  Open();
  ClickRow(kFeedsList, 1, ClickKind::kLeft, key_modifier::kControl);
  ASSERT_EQ(Selected(kFeedsList).size(), 2u);
  EXPECT_FALSE(Enabled(kEditButton));
  EXPECT_FALSE(Enabled(kDeleteButton));
  clock_.MoveTo(testing::UtcInstant(2026, 12, 12, 12, 0, 2));
  Pump();
  EXPECT_EQ(Text(kInfoLine).rfind("Current Time: \n", 0), 0u) << Text(kInfoLine);
}

TEST_F(MainWindowTest, EscapeAndTheCloseRequestLeaveTheWindowOpen) {
  Subscribe("a", "Tech");
  const WindowHandle window = Open();
  InjectKeyPress(Control(kFeedsList), virtual_key::kEscape);
  Pump();
  PostMessage(window, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_FALSE(Ended());
  Click(kCloseButton);
  EXPECT_TRUE(Ended());
}

TEST_F(MainWindowTest, EnterInTheFeedsListDownloadsAndEndsTheWindowSavingItsPlace) {
  Subscribe("a", "Tech");
  server_.Serve("/a", RssFeed("one"), "application/rss+xml");
  const WindowHandle window = Open();
  const Rect rect = *GetWindowRect(window);
  MoveWindow(window, rect.Offset(30 - rect.left, 40 - rect.top));
  InjectKeyPress(Control(kFeedsList), virtual_key::kReturn);
  Pump();
  EXPECT_TRUE(Ended());
  EXPECT_EQ(window_->Summary().FeedsProcessed(), 1);
  EXPECT_EQ(window_->Summary().new_articles, 1);
  EXPECT_EQ(ReadProfileInt("Windows", "PositionLeft", -1, context_.paths.settings_file), 30);
  EXPECT_EQ(ReadProfileInt("Windows", "PositionTop", -1, context_.paths.settings_file), 40);
}

TEST_F(MainWindowTest, StopDuringTheFirstFeedEndsTheRunAfterIt) {
  Subscribe("a", "Tech");
  Subscribe("b", "World");
  server_.Serve("/a", RssFeed("one"), "application/rss+xml");
  server_.Serve("/b", RssFeed("two"), "application/rss+xml");
  Open();
  ClickRow(kFeedsList, 1, ClickKind::kLeft, key_modifier::kControl);
  // The person presses Stop when the first article reaches the News Board:
  // the run pumps the click before it checks the next feed.
  WindowProcedure board;
  board = SubclassWindow(news_board_,
                         [&](WindowHandle window, MessageId message, WParam wparam, LParam lparam) {
                           if (message == RegisteredWindowMessages().new_article)
                             InjectClick(Control(kStopButton));
                           return CallWindowProcedure(board, window, message, wparam, lparam);
                         });
  Click(kDownloadButton);
  SubclassWindow(news_board_, board);
  EXPECT_TRUE(Ended());
  ASSERT_EQ(window_->Summary().FeedsProcessed(), 1);
  EXPECT_EQ(window_->Summary().feeds[0].alias, "a");
  EXPECT_TRUE(window_->Summary().stopped);
  // The second document may have been fetched ahead; it is not kept.
  EXPECT_TRUE(platform::FindFiles(context_.feed_file + "*").empty());
  EXPECT_EQ(Text(kGeneralLine), "Ready. For Help, press F1.");
  EXPECT_FALSE(Enabled(kStopButton));
  EXPECT_TRUE(Enabled(kCloseButton));
}

TEST_F(MainWindowTest, DeleteAsksAndKeepsTheNewsboxRow) {
  Subscribe("a", "Tech");
  Subscribe("b", "World");
  // Hidden, so that the person sees only the question; the button's click
  // is posted as the button posts it.
  const WindowHandle window = Open();
  ShowWindow(window, SW_HIDE);
  for (const bool confirm : {false, true}) {
    SCOPED_TRACE(confirm ? "confirmed" : "kept");
    std::string caption;
    {
      testing::DialogPerson person([confirm, &caption](WindowHandle dialog) {
        caption = GetWindowText(dialog);
        const WindowHandle ok = GetDlgItem(dialog, res::information_dialog::kOkButton);
        if (confirm)
          InjectClick(ok);
        else
          InjectKeyPress(ok, virtual_key::kEscape);
      });
      PostMessage(window, WM_COMMAND, MakeWParam(kDeleteButton, BN_CLICKED),
                  HandleToLParam(Control(kDeleteButton)));
      Pump();
    }
    EXPECT_EQ(caption, "Tavi - Delete Feed");
    const std::vector<std::string> expected =
        confirm ? std::vector<std::string>{"b"} : std::vector<std::string>{"a", "b"};
    EXPECT_EQ(Rows(kFeedsList), expected);
    EXPECT_EQ(ReadListedAliases(context_.paths.settings_file), expected);
  }
  EXPECT_EQ(Rows(kNewsboxesList), (std::vector<std::string>{"Tech (0/0)", "World (0/0)"}));
}

TEST_F(MainWindowTest, AddAndEditReadTheStoredFeedBack) {
  Subscribe("b", "Tech");
  Open();
  edit_ = [this](WindowHandle, const std::string& alias) {
    if (!alias.empty()) DeleteFeed(alias, context_.paths.settings_file);
    Subscribe(alias.empty() ? "a" : "c", "World");
    return true;
  };
  Click(kAddButton);
  EXPECT_EQ(Rows(kFeedsList), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Selected(kFeedsList), std::vector<std::string>{"a"});
  EXPECT_EQ(Rows(kNewsboxesList), (std::vector<std::string>{"Tech (0/0)", "World (0/0)"}));
  ClickRow(kFeedsList, 1, ClickKind::kDouble);
  EXPECT_EQ(edited_, (std::vector<std::string>{"", "b"}));
  EXPECT_EQ(Rows(kFeedsList), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(Selected(kFeedsList), std::vector<std::string>{"c"});
}

TEST_F(MainWindowTest, StoredPlaceIsKeptOnTheScreen) {
  struct Case {
    const char* name;
    const char* left;
    const char* top;
    bool at_origin;  // otherwise inside the screen, touching its far edges
  };
  const Case cases[] = {
      {"far beyond the screen", "99999", "88888", false},
      {"negative", "-500", "-7", true},
      {"not a number", "left", "", true},
  };
  const Rect screen = *GetWindowRect(GetDesktopWindow());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteProfileString("Windows", "PositionLeft", c.left, context_.paths.settings_file);
    WriteProfileString("Windows", "PositionTop", c.top, context_.paths.settings_file);
    const Rect rect = *GetWindowRect(Open());
    if (c.at_origin) {
      EXPECT_EQ(rect.left, 0);
      EXPECT_EQ(rect.top, 0);
    } else {
      EXPECT_EQ(rect.right, screen.right);
      EXPECT_EQ(rect.bottom, screen.bottom);
    }
  }
}

TEST_F(MainWindowTest, HelpOpensItsTopicOnlyWhenThePageIsThere) {
  Subscribe("a", "Tech");
  Open();
  Click(kHelpButton);
  EXPECT_TRUE(ShownShellRequests().empty());
  CreateFolder(context_.help_file);
  testing::WriteFile(data_.Join("plugins/help/Downloading Articles.htm"), "<p>");
  InjectKeyPress(Control(kFeedsList), virtual_key::kF1);
  Pump();
  const auto requests = ShownShellRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, "open");
  EXPECT_EQ(requests[0].target, data_.Join("plugins/help/Downloading Articles.htm"));
}

TEST_F(MainWindowTest, FirstRunOpensGettingStarted) {
  CreateFolder(context_.help_file);
  testing::WriteFile(data_.Join("plugins/help/Getting Started.htm"), "<p>");
  Open();
  ASSERT_EQ(ShownShellRequests().size(), 1u);
  EXPECT_EQ(ShownShellRequests()[0].target, data_.Join("plugins/help/Getting Started.htm"));
}

TEST_F(MainWindowTest, OpeningANewsboxEndsTheWindow) {
  Subscribe("a", "Tech");
  Open();
  ClickRow(kNewsboxesList, 0, ClickKind::kDouble);
  EXPECT_TRUE(Ended());
  EXPECT_TRUE(window_->OpenedNewsbox());
  EXPECT_EQ(window_->Summary().LastResult(), kNotCheckedYet);
}

TEST_F(MainWindowTest, NewsboardShowsTheBoardUntilTheHostSaysFarewell) {
  Open();
  Click(kNewsboardButton);
  EXPECT_TRUE(IsWindowVisible(news_board_));
  // The host's farewell hides the board, and the plug-in's finish ends it.
  SendMessage(news_board_, RegisteredWindowMessages().exit_host, 1, 1);
  EXPECT_FALSE(IsWindowVisible(news_board_));
  CloseNewsBoard(news_board_);
  EXPECT_FALSE(news_board_);
}

TEST_F(MainWindowTest, CacheImportDisablesEverythingImportsAndEnds) {
  Subscribe("a", "Tech");
  CreateFolder(data_.Join("Feeds"));
  testing::WriteFile(data_.Join("Feeds/a.rss"), RssFeed("cached"));
  const WindowHandle window = Open(MainWindow::Mode::kCacheImport);
  for (const int id : {kFeedsList, kNewsboxesList, kAddButton, kDownloadButton, kCloseButton})
    EXPECT_FALSE(Enabled(id)) << id;
  PostMessage(window, kImportCacheMessage, 0, 0);
  Pump();
  EXPECT_TRUE(Ended());
  EXPECT_EQ(window_->Summary().new_articles, 1);
  EXPECT_FALSE(tavi::FileExists(data_.Join("Feeds/a.rss")));
}

}  // namespace
}  // namespace tavi
