#include "ui/news_board.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "delivery/host_automation.h"
#include "platform/web_browser.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_toolbar.h"
#include "res/news_board_ids.h"
#include "store/profile.h"
#include "support/host_test.h"
#include "support/temp_dir.h"
#include "ui/article_viewer.h"
#include "ui/window_messages.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::news_board;

class NewsBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_.paths.settings_file = dir_.Join("tavi.ini");
    ClearShownShellRequests();
    ClearShownPopupMenus();
  }
  void TearDown() override {
    CloseAllArticleViewers();
    CloseNewsBoard(board_);
  }

  WindowHandle Open() {
    EnsureNewsBoard(board_, context_);
    return board_;
  }
  // Closes the board as the plug-in's finish does and opens a new one on
  // the same settings.
  void Reopen() {
    CloseNewsBoard(board_);
    Open();
  }
  WindowHandle Control(int id) const { return GetDlgItem(board_, id); }
  static void Pump() {
    Message message;
    while (PeekMessage(message, true))
      if (!TranslateDialogInput(message)) DispatchMessage(message);
  }
  void Add(const std::string& subject, const std::string& website = "http://example.com/a",
           const std::string& feed = "Daily") {
    NewArticleNotice notice;
    notice.HeaderText = "From: Ann\r\nSubject: " + subject + "\r\nFeed: " + feed +
                        "\r\nWebsite: " + website +
                        "\r\nDate: 01 Dec 2026 10:00:00\r\nDownloaded: 12/01/2026 11:00:00\r\n\r\n";
    notice.MessageText = "<p>" + subject + "</p>";
    notice.Newsbox = "News";
    notice.MailboxText = dir_.Join("News.mbx");
    EXPECT_EQ(SendMessage(board_, RegisteredWindowMessages().new_article, 0,
                          reinterpret_cast<LParam>(&notice)),
              1);
  }
  std::vector<std::string> Headlines() const {
    std::vector<std::string> rows;
    for (int row = 0; row < GetListViewRowCount(Control(kHeadlineList)); ++row)
      rows.push_back(GetListViewText(Control(kHeadlineList), row, 0));
    return rows;
  }
  void ClickRow(int row, ClickKind kind = ClickKind::kLeft) {
    InjectListViewClick(Control(kHeadlineList), row, kind);
    Pump();
  }
  // Handles the board's messages until the preview has loaded the empty
  // page and the board has written its rows into it.
  void PumpUntilPreviewShows(const std::string& wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      Pump();
      if (!BrowserBusy(Control(kPreview)) &&
          GetBrowserBodyHtml(Control(kPreview)).find(wanted) != std::string::npos)
        return;
      Message message;
      if (GetMessageUntil(message, Now() + std::chrono::milliseconds(100)) == WaitResult::kMessage)
        DispatchMessage(message);
    }
    FAIL() << "the preview never showed " << wanted;
  }
  int Setting(const char* section, const char* key) const {
    return ReadProfileInt(section, key, -1, context_.paths.settings_file);
  }

  testing::TempDir dir_;
  WindowContext context_;
  WindowHandle board_;
};

TEST_F(NewsBoardTest, StartsHiddenAndEachArticleAddsASortedRowAndShowsIt) {
  ASSERT_TRUE(Open());
  EXPECT_EQ(GetClassName(board_), std::string(kWindowClass));
  EXPECT_FALSE(IsWindowVisible(board_));
  // Only the board shows itself.
  ShowWindow(board_, SW_SHOW);
  EXPECT_FALSE(IsWindowVisible(board_));
  Add("banana");
  EXPECT_TRUE(IsWindowVisible(board_));
  Add("Cherry");
  Add("apple");
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"apple", "banana", "Cherry"}));
  EXPECT_EQ(GetListViewText(Control(kHeadlineList), 0, 3), "12/01/2026 10:00:00");

  // The same column again sorts the other way; another column keeps it.
  InjectListViewColumnClick(Control(kHeadlineList), 0);
  Pump();
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"Cherry", "banana", "apple"}));
  Add("date");
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"date", "Cherry", "banana", "apple"}));
  InjectListViewColumnClick(Control(kHeadlineList), 1);
  Pump();
  SendMessage(board_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(board_));
  EXPECT_EQ(Setting(settings::kColumnsSection, settings::kSortKey), 1);
  EXPECT_EQ(Setting(settings::kColumnsSection, settings::kSortOrder), kSortDescending);
}

TEST_F(NewsBoardTest, DisplayWindowShowsAndHidesAndTheExitSavesOnlyAVisibleBoard) {
  ASSERT_TRUE(Open());
  const WindowMessages& messages = RegisteredWindowMessages();
  SendMessage(board_, messages.exit_host, 1, 1);
  EXPECT_EQ(Setting(settings::kWindowsSection, settings::kNewsboardState), -1);
  EXPECT_EQ(SendMessage(board_, messages.display_window, 1, 0), 1);
  EXPECT_TRUE(IsWindowVisible(board_));
  EXPECT_EQ(SendMessage(board_, messages.display_window, 0, 0), 1);
  EXPECT_FALSE(IsWindowVisible(board_));
  SendMessage(board_, messages.display_window, 1, 0);
  CloseNewsBoard(board_);
  EXPECT_FALSE(board_);
  EXPECT_EQ(Setting(settings::kWindowsSection, settings::kNewsboardState), 0);
}

TEST_F(NewsBoardTest, CommandsAndPopupNeedASelection) {
  ASSERT_TRUE(Open());
  Add("one");
  Add("two");
  const std::vector<int> buttons = {kOpenButton, kBrowseButton, kRemoveButton, kOpenNewsboxButton};
  for (int button : buttons) EXPECT_FALSE(IsToolbarButtonEnabled(Control(kToolbar), button));
  ClickRow(-1, ClickKind::kRight);
  EXPECT_TRUE(ShownPopupMenus().empty());

  ClickRow(1, ClickKind::kRight);
  for (int button : buttons) EXPECT_TRUE(IsToolbarButtonEnabled(Control(kToolbar), button));
  ASSERT_EQ(ShownPopupMenus().size(), 1u);
  EXPECT_EQ(ShownPopupMenus()[0].owner, board_);

  InjectKeyPress(Control(kHeadlineList), virtual_key::kF10, key_modifier::kShift);
  Pump();
  EXPECT_EQ(ShownPopupMenus().size(), 2u);
}

TEST_F(NewsBoardTest, BrowseHandsOnlyAWebAddressToTheBrowserAsItsOneParameter) {
  ASSERT_TRUE(Open());
  Add("a", "http://example.com/a?x=1&y=2");
  Add("b", "calc.exe\" & del x");
  Add("c", "https://example.org/c");
  SendMessage(board_, RegisteredWindowMessages().display_window, 1, 0);
  for (int row = 0; row < 3; ++row)
    SetListViewRowState(Control(kHeadlineList), row, LVIS_SELECTED, LVIS_SELECTED);
  InjectKeyPress(Control(kHeadlineList), virtual_key::kReturn, key_modifier::kControl);
  Pump();
  const std::vector<ShellRequest> requests = ShownShellRequests();
  ASSERT_EQ(requests.size(), 2u);
  const std::vector<std::string> expected = {"http://example.com/a?x=1&y=2",
                                             "https://example.org/c"};
  for (std::size_t index = 0; index < requests.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(requests[index].kind, ShellRequest::Kind::kOpen);
    EXPECT_EQ(requests[index].owner, GetDesktopWindow());
    EXPECT_EQ(requests[index].verb, "open");
    EXPECT_EQ(requests[index].target, "Iexplore.exe");
    EXPECT_EQ(requests[index].parameters, expected[index]);
    EXPECT_EQ(requests[index].show, SW_SHOWNORMAL);
  }
}

TEST_F(NewsBoardTest, RemoveDeletesEverySelectedRowAndSelectAllTakesThemAll) {
  ASSERT_TRUE(Open());
  Add("one");
  Add("two");
  Add("three");
  InjectListViewClick(Control(kHeadlineList), 0, ClickKind::kLeft);
  InjectListViewClick(Control(kHeadlineList), 2, ClickKind::kLeft, key_modifier::kControl);
  Pump();
  InjectMenuCommand(Control(kToolbar), kRemoveButton);
  Pump();
  EXPECT_EQ(Headlines(), (std::vector<std::string>{"three"}));
  SendMessage(board_, WM_COMMAND, kSelectAllCommand, 0);
  SendMessage(board_, WM_COMMAND, kRemoveCommand, 0);
  EXPECT_TRUE(Headlines().empty());
  EXPECT_FALSE(IsToolbarButtonEnabled(Control(kToolbar), kRemoveButton));
}

TEST_F(NewsBoardTest, OnlyTheNormalRectangleIsKeptAndTheStateComesBack) {
  ASSERT_TRUE(Open());
  SendMessage(board_, RegisteredWindowMessages().display_window, 1, 0);
  const Rect normal{40, 50, 640, 450};
  InjectWindowRect(board_, normal);
  Pump();
  SendMessage(board_, WM_CLOSE, 0, 0);
  EXPECT_EQ(Setting(settings::kWindowsSection, settings::kNewsboardWidth), 600);

  SendMessage(board_, RegisteredWindowMessages().display_window, 1, 0);
  InjectSystemCommand(board_, SC_MAXIMIZE);
  Pump();
  SendMessage(board_, WM_CLOSE, 0, 0);
  EXPECT_EQ(Setting(settings::kWindowsSection, settings::kNewsboardState), 2);
  EXPECT_EQ(Setting(settings::kWindowsSection, settings::kNewsboardLeft), 40);
  EXPECT_EQ(Setting(settings::kWindowsSection, settings::kNewsboardHeight), 400);

  Reopen();
  EXPECT_FALSE(IsWindowVisible(board_));
  SendMessage(board_, RegisteredWindowMessages().display_window, 1, 0);
  EXPECT_TRUE(IsZoomed(board_));
  ShowWindow(board_, SW_RESTORE);
  EXPECT_EQ(GetWindowRect(board_), normal);
}

TEST_F(NewsBoardTest, ColumnWidthsAndTheSplitterPlaceAreKept) {
  WriteProfileInt(settings::kColumnsSection, "Author", 140, context_.paths.settings_file);
  WriteProfileInt(settings::kWindowsSection, settings::kSplitterTop, 120,
                  context_.paths.settings_file);
  ASSERT_TRUE(Open());
  EXPECT_EQ(GetListViewColumnWidth(Control(kHeadlineList), 2), 140);
  EXPECT_EQ(GetListViewColumnWidth(Control(kHeadlineList), 0), 100);
  EXPECT_EQ(GetChildRect(Control(kSplitterBar))->top, 120);
  EXPECT_EQ(GetChildRect(Control(kHeadlineList))->bottom, 119);
  EXPECT_EQ(GetChildRect(Control(kPreview))->top, 125);
  EXPECT_EQ(GetWindowTrackingSizes(board_)->minimum, (Size{250, 195}));

  SetListViewColumnWidth(Control(kHeadlineList), 5, 77);
  SendMessage(board_, RegisteredWindowMessages().display_window, 1, 0);
  Reopen();
  EXPECT_EQ(GetListViewColumnWidth(Control(kHeadlineList), 5), 77);
  EXPECT_EQ(GetListViewColumnWidth(Control(kHeadlineList), 2), 140);
  EXPECT_EQ(GetChildRect(Control(kSplitterBar))->top, 120);
}

TEST_F(NewsBoardTest, EnterOpensEachSelectedArticleInAViewerAndMarksItsRowOpened) {
  ASSERT_TRUE(Open());
  Add("one", "http://127.0.0.1:9/one");
  Add("two", "http://127.0.0.1:9/two");
  Add("three", "http://127.0.0.1:9/three");
  ClickRow(0);
  InjectListViewClick(Control(kHeadlineList), 2, ClickKind::kLeft, key_modifier::kControl);
  Pump();
  InjectKeyPress(Control(kHeadlineList), virtual_key::kReturn);
  Pump();
  EXPECT_EQ(OpenArticleViewers().size(), 2u);
  const std::vector<int> images = {GetListViewRow(Control(kHeadlineList), 0)->image,
                                   GetListViewRow(Control(kHeadlineList), 1)->image,
                                   GetListViewRow(Control(kHeadlineList), 2)->image};
  // The rows are in headline order: one, three, two.
  EXPECT_EQ(images, (std::vector<int>{1, 0, 1}));
  EXPECT_TRUE(ShownShellRequests().empty());
}

TEST_F(NewsBoardTest, ADoubleClickOpensTheArticleAndWithControlHeldBrowsesIt) {
  ASSERT_TRUE(Open());
  Add("one", "http://127.0.0.1:9/one");
  InjectListViewClick(Control(kHeadlineList), 0, ClickKind::kDouble, key_modifier::kControl);
  Pump();
  EXPECT_TRUE(OpenArticleViewers().empty());
  ASSERT_EQ(ShownShellRequests().size(), 1u);
  EXPECT_EQ(ShownShellRequests()[0].parameters, "http://127.0.0.1:9/one");

  ClickRow(0, ClickKind::kDouble);
  EXPECT_EQ(OpenArticleViewers().size(), 1u);
  EXPECT_EQ(ShownShellRequests().size(), 1u);
}

TEST_F(NewsBoardTest, ThePreviewShowsEveryRowAndIsEmptyOnceAllAreRemoved) {
  ASSERT_TRUE(Open());
  Add("one");
  Add("two");
  SendMessage(board_, RegisteredWindowMessages().update_blog_report, 0, 0);
  PumpUntilPreviewShows("<p>two</p>");
  const std::string page = GetBrowserBodyHtml(Control(kPreview));
  EXPECT_NE(page.find("<p>one</p>"), std::string::npos) << page;
  EXPECT_NE(page.find("Newsbox: News"), std::string::npos) << page;
  EXPECT_EQ(GetBrowserLocation(Control(kPreview)), "about:blank");

  SendMessage(board_, WM_COMMAND, kSelectAllCommand, 0);
  SendMessage(board_, WM_COMMAND, kRemoveCommand, 0);
  PumpUntilPreviewShows("");
  EXPECT_EQ(GetBrowserBodyHtml(Control(kPreview)), "");
}

TEST_F(NewsBoardTest, ALinkInThePreviewNeverNavigatesIt) {
  ASSERT_TRUE(Open());
  Add("one");
  SendMessage(board_, RegisteredWindowMessages().update_blog_report, 0, 0);
  PumpUntilPreviewShows("<p>one</p>");
  const WindowHandle preview = Control(kPreview);
  EXPECT_FALSE(ClickBrowserLink(preview, "http://127.0.0.1:9/a", false));
  EXPECT_FALSE(ClickBrowserLink(preview, "https://127.0.0.1:9/new", true));
  // Addresses that are not web pages go nowhere at all.
  EXPECT_FALSE(ClickBrowserLink(preview, "file:///etc/passwd", false));
  EXPECT_FALSE(ClickBrowserLink(preview, "javascript:alert(1)", false));
  EXPECT_FALSE(BrowserNavigate(preview, "http://127.0.0.1:9/by-program"));
  Pump();
  EXPECT_EQ(GetBrowserLocation(preview), "about:blank");
  EXPECT_NE(GetBrowserBodyHtml(preview).find("<p>one</p>"), std::string::npos);
  const std::vector<ShellRequest> requests = ShownShellRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].owner, GetDesktopWindow());
  EXPECT_EQ(requests[0].verb, "open");
  EXPECT_EQ(requests[0].target, "http://127.0.0.1:9/a");
  EXPECT_EQ(requests[0].parameters, "");
  EXPECT_EQ(requests[0].show, SW_SHOWNORMAL);
}

// The same board, its newsboxes in a running host.
class NewsBoardInHostTest : public testing::HostTest {
 protected:
  void TearDown() override {
    CloseNewsBoard(board_);
    HostTest::TearDown();
  }

  WindowContext context_;
  WindowHandle board_;
};

TEST_F(NewsBoardInHostTest, OpenTheNewsboxOpensEachRowsMailboxAndBringsTheHostForward) {
  context_.paths.settings_file = data_.Join("tavi.ini");
  context_.paths.mdi_client = host_->Windows().DocumentArea();
  context_.host_main_window = host_->Windows().MainWindow();
  EnsureNewsBoard(board_, context_);
  NewArticleNotice notice;
  notice.HeaderText = "Subject: One\r\n\r\n";
  notice.Newsbox = "Tech";
  notice.MailboxText = CreateTopLevelMailbox("Tech");
  SendMessage(board_, RegisteredWindowMessages().new_article, 0, reinterpret_cast<LParam>(&notice));
  SendMessage(board_, WM_COMMAND, res::news_board::kSelectAllCommand, 0);
  SendMessage(board_, WM_COMMAND, res::news_board::kOpenNewsboxCommand, 0);
  const WindowHandle mailbox = GetTopWindow(context_.paths.mdi_client);
  EXPECT_EQ(GetWindowText(mailbox), "Tech");
  EXPECT_EQ(GetForegroundWindow(), context_.host_main_window);
  EXPECT_EQ(GetFocus(), GetDlgItem(board_, res::news_board::kHeadlineList));
}

}  // namespace
}  // namespace tavi
