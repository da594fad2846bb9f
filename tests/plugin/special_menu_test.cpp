#include "plugin/special_menu.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "delivery/host_automation.h"
#include "host/host.h"
#include "platform/fs.h"
#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "plugin/host_blocks.h"
#include "res/information_dialog_ids.h"
#include "res/main_window_ids.h"
#include "store/feed_definitions.h"
#include "store/pacing.h"
#include "support/dialog_person.h"
#include "support/host_test.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

TEST(SpecialMenu, DescribesItsOneItemWithIconAndFlagsFromApiVersionFour) {
  struct Case {
    const char* name;
    std::int16_t api_version;
    std::int32_t id;
    std::int32_t result;
    const char* text;  // nullptr: none given
    std::int32_t flags;
    bool icon;  // the plug-in's icon
  };
  const Case cases[] = {
      {"current host", 7, 1, kEmsOk, "Tavi...", 0x8000, true},
      {"first full host", 4, 1, kEmsOk, "Tavi...", 0x8000, true},
      {"old host", 3, 1, kEmsOk, "Tavi...", 0, false},
      {"unknown item", 7, 2, kEmsInvalidId, nullptr, 0, false},
      {"item zero", 7, 0, kEmsInvalidId, nullptr, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PluginPaths paths;
    paths.ApiVersion = c.api_version;
    EmsMenu menu{};
    menu.id = c.id;
    EXPECT_EQ(FillSpecialMenu(paths, &menu), c.result);
    if (c.text != nullptr) {
      ASSERT_NE(menu.description, nullptr);
      EXPECT_STREQ(menu.description, c.text);
    } else {
      EXPECT_EQ(menu.description, nullptr);
    }
    EXPECT_EQ(menu.flags, c.flags);
    EXPECT_EQ(menu.icon != nullptr ? *menu.icon : 0u, c.icon ? 1000u : 0u);
    FreeHostBlock(menu.description);
    FreeHostBlock(menu.icon);
  }
  EXPECT_EQ(FillSpecialMenu(PluginPaths{}, nullptr), kEmsUnknownFailure);
}

TEST(SpecialMenu, CacheCountsOnlyRssFilesInTheFeedsFolderOrBelow) {
  struct Case {
    const char* name;
    std::vector<const char*> files;  // below the data folder; a trailing '/' makes a folder
    bool expected;
  };
  const Case cases[] = {
      {"no cache folder", {}, false},
      {"empty cache folder", {"Feeds/"}, false},
      {"one cached feed", {"Feeds/Daily News.rss"}, true},
      {"cached feed in a subfolder", {"Feeds/old/", "Feeds/old/a.rss"}, true},
      {"cached feed two levels down", {"Feeds/a/b/", "Feeds/a/b/c.rss"}, true},
      {"other documents only", {"Feeds/a.xml", "Feeds/a.rss.tmp", "Feeds/rss"}, false},
      {"rss beside the cache folder", {"Feeds/", "a.rss"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TempDir data;
    for (const std::string file : c.files) {
      const std::filesystem::path path = data.Join(file);
      std::filesystem::create_directories(path.parent_path());
      if (file.back() != '/') testing::WriteFile(path.string(), "<rss/>");
    }
    EXPECT_EQ(CacheHoldsDocuments(data.path()), c.expected);
  }
}

class MenuHookTest : public testing::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    paths_.ApiVersion = 7;
    paths_.ProductName = "Tavi";
    paths_.DataFolder = data_.path();
  }
  void CacheOneFeed() {
    std::filesystem::create_directories(data_.Join("Feeds"));
    testing::WriteFile(data_.Join("Feeds/News.rss"), "<rss/>");
  }

  void TearDown() override {
    if (platform::IsWindow(paths_.NewsBoardWindow)) platform::DestroyWindow(paths_.NewsBoardWindow);
    HostTest::TearDown();
  }
  // A feed of one item, published at `hour` on 11 December 2026.
  static std::string RssWithItem(const std::string& guid, int hour) {
    return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Daily</title><item>"
           "<title>Story</title><link>http://example.com/" +
           guid + "</link><guid>" + guid + "</guid><pubDate>Fri, 11 Dec 2026 " +
           std::to_string(hour) + ":00:00 GMT</pubDate></item></channel></rss>";
  }

  testing::PinnedUtcClock clock_{testing::UtcInstant(2026, 12, 12, 12)};
  testing::RecordingSleeper sleeper_;
  testing::LoopbackServer server_;
  PluginPaths paths_;
};

TEST_F(MenuHookTest, ChoosesCacheImportOnlyWhenTheCacheHoldsAFeed) {
  MenuHookStart start = StartMenuHook(paths_);
  EXPECT_EQ(start.result, kEmsOk);
  EXPECT_EQ(start.mode, MainWindowMode::kInteractive);
  EXPECT_EQ(host_->StatusText(), "Tavi. For Help, press F1.");

  CacheOneFeed();
  start = StartMenuHook(paths_);
  EXPECT_EQ(start.result, kEmsOk);
  EXPECT_EQ(start.mode, MainWindowMode::kImportCache);
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(MenuHookTest, OldHostIsRefusedBeforeTheHostIsAsked) {
  paths_.ApiVersion = 3;
  CacheOneFeed();
  const std::string status_before = host_->StatusText();
  const MenuHookStart start = StartMenuHook(paths_);
  EXPECT_EQ(start.result, kEmsRefused);
  EXPECT_EQ(start.mode, MainWindowMode::kNone);
  EXPECT_EQ(host_->StatusText(), status_before);
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(MenuHookTest, AutomationOffShowsTheComErrorOverTheHostWhileTheFlagIsSet) {
  host_->SetAutomationEnabled(false);
  CacheOneFeed();
  std::string caption;
  std::string text;
  int icon = 0;
  bool verify_shown = true;
  platform::WindowHandle owner;
  bool open_while_shown = false;
  testing::DialogPerson person([&](platform::WindowHandle dialog) {
    caption = platform::GetWindowText(dialog);
    text = platform::GetDlgItemText(dialog, res::information_dialog::kMessageText);
    icon = platform::GetWindowIcon(
        platform::GetDlgItem(dialog, res::information_dialog::kMessagePicture));
    verify_shown = platform::IsWindowVisible(
        platform::GetDlgItem(dialog, res::information_dialog::kVerifyButton));
    owner = platform::GetOwner(dialog);
    open_while_shown = paths_.MainWindowOpen;
    platform::InjectClick(platform::GetDlgItem(dialog, res::information_dialog::kOkButton));
  });

  EXPECT_EQ(RunMenuHook(paths_, {}), kEmsRefused);

  ASSERT_TRUE(person.Acted());
  EXPECT_EQ(caption, "Tavi - COM Error");
  EXPECT_EQ(text,
            "This plugin requires Eudora's COM server.\n"
            "To enable automation, check: \n"
            "'Tools/Options/Automation/Automation enabled from this machine'.\n\n"
            "The error message follows:\nInvalid class string");
  EXPECT_EQ(icon, res::information_dialog::kAutomationErrorIcon);
  EXPECT_FALSE(verify_shown);
  EXPECT_EQ(owner, host_->Windows().MainWindow());
  EXPECT_TRUE(open_while_shown);
  EXPECT_FALSE(paths_.MainWindowOpen);
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(MenuHookTest, RunFindsTheHostWindowsAndOpensTheMainWindowOverTheHost) {
  platform::WindowHandle owner;
  bool open_while_shown = false;
  testing::DialogPerson person([&](platform::WindowHandle dialog) {
    owner = platform::GetOwner(dialog);
    open_while_shown = paths_.MainWindowOpen;
    platform::InjectClick(platform::GetDlgItem(dialog, res::main_window::kCloseButton));
  });
  EXPECT_EQ(RunMenuHook(paths_, {}), kEmsOk);
  ASSERT_TRUE(person.Acted());
  EXPECT_EQ(owner, host_->Windows().MainWindow());
  EXPECT_TRUE(open_while_shown);
  EXPECT_EQ(paths_.HostMainWindow, host_->Windows().MainWindow());
  EXPECT_EQ(paths_.MdiClient, host_->Windows().DocumentArea());
  EXPECT_FALSE(paths_.MainWindowOpen);

  paths_.ApiVersion = 3;
  EXPECT_EQ(RunMenuHook(paths_, {}), kEmsRefused);
  EXPECT_FALSE(paths_.MainWindowOpen);
}

TEST_F(MenuHookTest, ASecondUseWhileTheFirstRunsReturnsAtOnce) {
  paths_.MainWindowOpen = true;
  const std::string status_before = host_->StatusText();
  EXPECT_EQ(RunMenuHook(paths_, {}), kEmsOk);
  // Nothing ran: not the checks, and no window; the first use's flag stays.
  EXPECT_EQ(host_->StatusText(), status_before);
  EXPECT_FALSE(paths_.HostMainWindow);
  EXPECT_TRUE(paths_.MainWindowOpen);
}

// The whole item: the cached document is imported first, the person then
// downloads the one feed in the main window, and the run is reported.
TEST_F(MenuHookTest, ImportsTheCacheThenReportsTheWindowsDownload) {
  SetPacing(Pacing::None());
  platform::CreateFolder(data_.Join("plugins"));
  paths_.SettingsFile = data_.Join("plugins/tavi.ini");
  paths_.FeedFile = data_.Join("plugins/feed.xml");
  paths_.ConfigDir = data_.Join("plugins");
  paths_.InMailboxFile = data_.Join("In.mbx");
  FeedRecord feed;
  feed.Alias = "News";
  feed.Name = "Daily";
  feed.URL = server_.Url("/news");
  feed.Newsbox = "News";
  feed.NewsboxPath = CreateTopLevelMailbox("News");
  ASSERT_TRUE(SaveFeed(feed, "", paths_.SettingsFile));
  std::filesystem::create_directories(data_.Join("Feeds"));
  testing::WriteFile(data_.Join("Feeds/News.rss"), RssWithItem("cached", 8));
  server_.Serve("/news", RssWithItem("online", 9), "application/rss+xml");

  std::string report;
  testing::DialogPerson person([&](platform::WindowHandle) {
    const platform::WindowHandle main = person.WaitForDialog([](platform::WindowHandle dialog) {
      return platform::IsWindowEnabled(
          platform::GetDlgItem(dialog, res::main_window::kCloseButton));
    });
    platform::InjectClick(platform::GetDlgItem(main, res::main_window::kDownloadButton));
    // The News Board shows itself with the first article; the report is the
    // dialog with an OK button.
    const platform::WindowHandle shown =
        person.WaitForDialog([main](platform::WindowHandle dialog) {
          return dialog != main && platform::GetDlgItem(dialog, res::information_dialog::kOkButton);
        });
    report = platform::GetWindowText(shown);
    platform::InjectClick(platform::GetDlgItem(shown, res::information_dialog::kOkButton));
  });
  EXPECT_EQ(RunMenuHook(paths_, {}), kEmsOk);

  EXPECT_EQ(report, "You've Got New Articles!");
  EXPECT_FALSE(std::filesystem::exists(data_.Join("Feeds/News.rss")));
  const auto news = host_->Store().FindByName("News");
  ASSERT_TRUE(news);
  host_->Store().ReadMailboxAgain(*news);
  EXPECT_EQ(host_->Store().RawMessages(*news).size(), 2u);
  EXPECT_TRUE(platform::IsWindow(paths_.NewsBoardWindow));
  EXPECT_FALSE(paths_.MainWindowOpen);
}

}  // namespace
}  // namespace tavi
