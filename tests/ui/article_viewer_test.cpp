#include "ui/article_viewer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "delivery/staging_lease.h"
#include "files/file_names.h"
#include "host/host.h"
#include "platform/fs.h"
#include "platform/save_file_dialog_template.h"
#include "platform/web_browser.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_mouse.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_toolbar.h"
#include "res/article_viewer_ids.h"
#include "store/pacing.h"
#include "store/profile.h"
#include "support/dialog_person.h"
#include "support/host_test.h"
#include "support/loopback_server.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::article_viewer;

constexpr const char* kStoredBody = "<p>Stored body</p>";

std::string HeaderBlock(const std::string& link) {
  std::string block = "Feed: Daily\r\nSubject: Story\r\nDate: 12/11/2026 8:00:00 AM\r\n";
  if (!link.empty()) block += "Website: " + link + "\r\n";
  return block + "\r\n";
}

class ArticleViewerTest : public testing::HostTest {
 protected:
  void SetUp() override {
    SetPacing(Pacing::None());
    CreateFolder(data_.Join("plugins"));
    HostTest::SetUp();
    context_.paths = {data_.Join("plugins/tavi.ini"), data_.path(), data_.Join("In.mbx"),
                      data_.Join("plugins"), host_->Windows().DocumentArea()};
    context_.out_mailbox_file = data_.Join("Out.mbx");
    context_.product_name = "Tavi";
    context_.release_notes_file = data_.Join("plugins/tavi.txt");
    server_.Serve("/story", "<html><body><p>Live page</p></body></html>", "text/html");
    testing::LoopbackResponse gone;
    gone.status = 404;
    gone.body = "gone";
    server_.Serve("/gone", gone);
    ClearShownShellRequests();
    ClearShownPopupMenus();
  }
  void TearDown() override {
    CloseAllArticleViewers();
    SetShellHandler({});
    SetPopupMenuHandler({});
    HostTest::TearDown();
  }

  // Opens a viewer and lets its first load end.
  WindowHandle Open(const std::string& link) {
    const WindowHandle viewer = OpenArticleViewer(context_, HeaderBlock(link), kStoredBody);
    EXPECT_TRUE(viewer);
    PumpUntilLoaded(viewer);
    return viewer;
  }
  static void PumpUntilLoaded(WindowHandle viewer) {
    const WindowHandle browser = GetDlgItem(viewer, kArticleBrowser);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (BrowserBusy(browser) && std::chrono::steady_clock::now() < deadline) {
      Message message;
      if (GetMessageUntil(message, Now() + std::chrono::milliseconds(100)) == WaitResult::kMessage)
        DispatchMessage(message);
    }
    testing::PumpDialogMessages();
  }
  static void Command(WindowHandle viewer, int command) {
    SendMessage(viewer, WM_COMMAND, MakeWParam(command, 0), 0);
  }
  std::string ForwardedBody(WindowHandle viewer) {
    Command(viewer, kForwardInlineCommand);
    if (host_->ComposedMessages().empty()) return "";
    return host_->ComposedMessages().back().body;
  }
  int Setting(const char* key) {
    return ReadProfileInt("Windows", key, -1, context_.paths.settings_file);
  }
  static std::vector<std::string> MenuTexts(MenuHandle menu) {
    std::vector<std::string> texts;
    for (int position = 0; position < GetMenuEntryCount(menu); ++position)
      texts.push_back(GetMenuEntry(menu, position)->text);
    return texts;
  }

  WindowContext context_;
  testing::LoopbackServer server_;
};

TEST_F(ArticleViewerTest, OpensOnTheLivePageWithItsTitleToolbarAndSettings) {
  const WindowHandle viewer = Open(server_.Url("/story"));

  EXPECT_EQ(GetWindowText(viewer), "Daily, 12/11/2026 8:00:00 AM, Story");
  EXPECT_EQ(OpenArticleViewers(), std::vector<WindowHandle>{viewer});
  EXPECT_TRUE(IsWindowVisible(viewer));
  const WindowHandle browser = GetDlgItem(viewer, kArticleBrowser);
  EXPECT_EQ(GetBrowserLocation(browser), server_.Url("/story"));
  EXPECT_TRUE(GetBrowserProperties(browser).offline);
  EXPECT_TRUE(GetBrowserProperties(browser).silent);
  EXPECT_FALSE(GetBrowserProperties(browser).theater_mode);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(viewer, kSourcePane)));
  EXPECT_TRUE(FindMenuCommand(GetMenu(viewer), kFullArticleCommand)->checked);
  EXPECT_FALSE(IsToolbarButtonEnabled(GetDlgItem(viewer, kToolbar), kModifiedArticleButton));
  // The browser sits below the toolbar.
  const int toolbar_bottom = GetChildRect(GetDlgItem(viewer, kToolbar))->bottom;
  EXPECT_EQ(GetChildRect(browser)->top, toolbar_bottom);
  EXPECT_EQ(GetWindowTrackingSizes(viewer)->minimum, (Size{400, 200}));
  EXPECT_EQ(GetWindowTrackingSizes(viewer)->maximum, (Size{2000, 2000}));
}

TEST_F(ArticleViewerTest, TheTransferMenuOffersInThenTheHostsTreeWithoutSystemMailboxes) {
  const int archive = Store().CreateMailbox(host::kTopLevel, "Archive").value_or(-1);
  const int feeds = Store().CreateFolder(host::kTopLevel, "Feeds").value_or(-1);
  const int daily = Store().CreateMailbox(feeds, "Daily").value_or(-1);
  Store().CreateMailbox(host::kTopLevel, "Pending");

  const WindowHandle viewer = Open("");

  const MenuHandle transfer = GetSubMenu(GetMenu(viewer), 2);
  EXPECT_EQ(MenuTexts(transfer), (std::vector<std::string>{"&In", "Archive", "Feeds"}));
  EXPECT_EQ(GetMenuEntry(transfer, 0)->command, kInCommand);
  EXPECT_EQ(GetMenuEntry(transfer, 1)->command, archive);
  EXPECT_EQ(MenuTexts(GetSubMenu(transfer, 2)), std::vector<std::string>{"Daily"});
  EXPECT_EQ(GetMenuEntry(GetSubMenu(transfer, 2), 0)->command, daily);
  // The toolbar's drop-down shows the same menu at the mouse.
  SetCursorPos({123, 45});
  InjectMenuCommand(GetDlgItem(viewer, kToolbar), kTransferButton);
  testing::PumpDialogMessages();
  ASSERT_EQ(ShownPopupMenus().size(), 1u);
  EXPECT_EQ(ShownPopupMenus()[0].menu, transfer);
  EXPECT_EQ(ShownPopupMenus()[0].point, (Point{123, 45}));
}

TEST_F(ArticleViewerTest, WithoutTheHostTheTransferMenuHoldsOnlyInAfterAMessageBox) {
  host_->SetAutomationEnabled(false);
  SetMessageBoxHandler([](const MessageBoxRequest&) { return IDOK; });
  const WindowHandle viewer = Open("");
  EXPECT_EQ(MenuTexts(GetSubMenu(GetMenu(viewer), 2)), std::vector<std::string>{"&In"});
  EXPECT_EQ(ShownMessageBoxes().size(), 1u);
}

TEST_F(ArticleViewerTest, CommandsUseTheLivePageOnlyWhenOneWasCaptured) {
  const struct {
    const char* name;
    std::string link;
    std::string forwarded;
  } cases[] = {
      {"live page", server_.Url("/story"), "<p>Live page</p>"},
      // An error page is never the article.
      {"failed load", server_.Url("/gone"), kStoredBody},
      {"no Website line", "", kStoredBody},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowHandle viewer = Open(c.link);
    EXPECT_EQ(ForwardedBody(viewer), "--- begin forwarded article\r\n\r\n" + HeaderBlock(c.link) +
                                         c.forwarded + "\r\n\r\n--- end forwarded article");
    Command(viewer, kCloseCommand);
  }
}

TEST_F(ArticleViewerTest, NewsboxArticleShowsTheStoredBodyAndSourceReturnsToTheBrowser) {
  const WindowHandle viewer = Open(server_.Url("/story"));
  Command(viewer, kSourceCommand);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(viewer, kSourcePane)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(viewer, kArticleBrowser)));
  EXPECT_EQ(GetWindowText(GetDlgItem(viewer, kSourcePane)), "<p>Live page</p>");
  EXPECT_TRUE(FindMenuCommand(GetMenu(viewer), kSourceCommand)->checked);

  Command(viewer, kNewsboxArticleCommand);
  PumpUntilLoaded(viewer);

  const WindowHandle browser = GetDlgItem(viewer, kArticleBrowser);
  EXPECT_TRUE(IsWindowVisible(browser));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(viewer, kSourcePane)));
  EXPECT_FALSE(FindMenuCommand(GetMenu(viewer), kSourceCommand)->checked);
  EXPECT_TRUE(FindMenuCommand(GetMenu(viewer), kNewsboxArticleCommand)->checked);
  EXPECT_FALSE(FindMenuCommand(GetMenu(viewer), kFullArticleCommand)->checked);
  EXPECT_EQ(GetBrowserBodyHtml(browser), kStoredBody);
  EXPECT_NE(ForwardedBody(viewer).find(kStoredBody), std::string::npos);
}

TEST_F(ArticleViewerTest, InFilesTheArticleIntoMailboxTwoAndClosesTheViewer) {
  const WindowHandle viewer = Open(server_.Url("/story"));
  InjectMenuCommand(viewer, kInCommand);
  testing::PumpDialogMessages();

  const std::vector<std::string> in = Store().RawMessages(host::kInMailboxNumber);
  ASSERT_EQ(in.size(), 1u);
  EXPECT_NE(in[0].find("<x-html><p>Live page</p></x-html>"), std::string::npos);
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_TRUE(OpenArticleViewers().empty());
}

TEST_F(ArticleViewerTest, TransferIsRefusedInABoxWhileACheckRunHoldsPending) {
  const WindowHandle viewer = Open("");
  SetMessageBoxHandler([](const MessageBoxRequest&) { return IDOK; });
  std::optional<StagingLease> run = StagingLease::Take("a check run");
  ASSERT_TRUE(run);

  Command(viewer, kInCommand);

  ASSERT_EQ(ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(ShownMessageBoxes()[0].text, StagingBusyText("a check run"));
  EXPECT_TRUE(IsWindow(viewer));
  EXPECT_TRUE(Store().RawMessages(host::kInMailboxNumber).empty());
}

TEST_F(ArticleViewerTest, ClosePlacementIsWrittenOnlyInTheNormalState) {
  const WindowHandle normal = Open("");
  ASSERT_TRUE(MoveWindow(normal, {30, 40, 530, 440}));
  Command(normal, kCloseCommand);
  EXPECT_FALSE(IsWindow(normal));
  EXPECT_EQ(Setting("MessageLeft"), 30);
  EXPECT_EQ(Setting("MessageTop"), 40);
  EXPECT_EQ(Setting("MessageWidth"), 500);
  EXPECT_EQ(Setting("MessageHeight"), 400);
  EXPECT_EQ(Setting("MessageState"), 0);

  const WindowHandle maximized = Open("");
  EXPECT_EQ(GetWindowRect(maximized)->left, 30);
  Command(maximized, kMaximizeCommand);
  ASSERT_TRUE(IsZoomed(maximized));
  Command(maximized, platform::IDCANCEL);
  EXPECT_FALSE(IsWindow(maximized));
  EXPECT_EQ(Setting("MessageWidth"), 500);
  EXPECT_EQ(Setting("MessageState"), 2);
}

TEST_F(ArticleViewerTest, ClickedLinksGoToTheShellAndNewWindowsAreRefused) {
  const WindowHandle viewer = Open(server_.Url("/story"));
  const WindowHandle browser = GetDlgItem(viewer, kArticleBrowser);

  EXPECT_FALSE(ClickBrowserLink(browser, "https://example.com/next", false));
  EXPECT_FALSE(ClickBrowserLink(browser, "http://example.com/popup", true));
  testing::PumpDialogMessages();

  ASSERT_EQ(ShownShellRequests().size(), 1u);
  EXPECT_EQ(ShownShellRequests()[0].verb, "open");
  EXPECT_EQ(ShownShellRequests()[0].target, "https://example.com/next");
  EXPECT_EQ(GetBrowserLocation(browser), server_.Url("/story"));
}

TEST_F(ArticleViewerTest, CloseAllSavesEachPlacementAndDestroysEveryViewer) {
  const WindowHandle first = Open("");
  const WindowHandle second = Open("");
  ASSERT_TRUE(MoveWindow(second, {50, 60, 550, 360}));
  EXPECT_EQ(OpenArticleViewers(), (std::vector<WindowHandle>{first, second}));

  CloseAllArticleViewers();

  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(second));
  EXPECT_TRUE(OpenArticleViewers().empty());
  EXPECT_EQ(Setting("MessageLeft"), 50);
}

TEST_F(ArticleViewerTest, SaveAsWritesTheChosenFileWithCrOnlyBreaks) {
  const WindowHandle viewer = Open("");
  const std::string path = data_.Join("story.nws");
  testing::DialogPerson person("Save Article As...", [&](WindowHandle dialog) {
    InjectText(GetDlgItem(dialog, save_file_dialog::kFileName), path);
    InjectClick(GetDlgItem(dialog, IDOK));
  });
  InjectMenuCommand(viewer, kSaveAsCommand);
  testing::PumpDialogMessages();

  EXPECT_TRUE(person.Acted());
  EXPECT_EQ(ReadWholeFile(path), "Feed: Daily\rSubject: Story\rDate: 12/11/2026 8:00:00 AM\r\r" +
                                     std::string(kStoredBody) + "\r\n");
}

TEST_F(ArticleViewerTest, ReleaseNotesOpenInNotepadWhenPresentElseOnTheWeb) {
  const WindowHandle viewer = Open("");
  Command(viewer, kReleaseNotesCommand);
  ASSERT_TRUE(AppendLineToFile(context_.release_notes_file, "notes"));
  Command(viewer, kReleaseNotesCommand);

  ASSERT_EQ(ShownShellRequests().size(), 2u);
  EXPECT_EQ(ShownShellRequests()[0].target, "https://tavi.example.org/release-notes");
  EXPECT_EQ(ShownShellRequests()[1].target, "notepad.exe");
  EXPECT_EQ(ShownShellRequests()[1].parameters, context_.release_notes_file);
}

TEST_F(ArticleViewerTest, EnterAndEscapeLeaveTheViewerOpen) {
  const WindowHandle viewer = Open("");
  InjectKeyPress(GetDlgItem(viewer, kArticleBrowser), virtual_key::kReturn);
  InjectKeyPress(GetDlgItem(viewer, kArticleBrowser), virtual_key::kEscape);
  testing::PumpDialogMessages();
  EXPECT_TRUE(IsWindow(viewer));
  EXPECT_EQ(OpenArticleViewers(), std::vector<WindowHandle>{viewer});
}

TEST_F(ArticleViewerTest, AFailedSaveIsReportedAndLeavesTheOldFile) {
  const WindowHandle viewer = Open("");
  // A link to itself names no file that could be written.
  const std::string path = data_.Join("story.nws");
  std::filesystem::create_symlink("story.nws", path);
  SetMessageBoxHandler(
      [](const MessageBoxRequest& box) { return DefaultMessageBoxAnswer(box.flags); });
  testing::DialogPerson person("Save Article As...", [&](WindowHandle dialog) {
    InjectText(GetDlgItem(dialog, save_file_dialog::kFileName), path);
    InjectClick(GetDlgItem(dialog, IDOK));
  });
  InjectMenuCommand(viewer, kSaveAsCommand);
  testing::PumpDialogMessages();

  ASSERT_TRUE(person.Acted());
  ASSERT_FALSE(ShownMessageBoxes().empty());
  EXPECT_EQ(ShownMessageBoxes().back().text,
            "The article could not be saved in the file " + path + ".");
  EXPECT_TRUE(std::filesystem::is_symlink(path));
}

TEST_F(ArticleViewerTest, StretchAndCenterPlaceTheWindowOnTheDesktop) {
  SetDesktopSize({1200, 800});
  const WindowHandle viewer = Open("");
  Command(viewer, kMaximizeCommand);
  Command(viewer, kStretchCommand);
  EXPECT_FALSE(IsZoomed(viewer));
  EXPECT_EQ(*GetWindowRect(viewer), (Rect{0, 0, 1200, 748}));
  Command(viewer, kCenterCommand);
  EXPECT_EQ(*GetWindowRect(viewer), (Rect{300, 200, 900, 600}));
  SetDesktopSize(kDefaultDesktopSize);
}

}  // namespace
}  // namespace tavi
