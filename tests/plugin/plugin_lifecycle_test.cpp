#include "plugin/plugin_lifecycle.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/module_loader.h"
#include "plugin/host_blocks.h"
#include "store/profile.h"
#include "support/temp_dir.h"
#include "ui/article_viewer.h"
#include "ui/window_messages.h"

namespace tavi {
namespace {

using SetResultFunction = void (*)(std::int32_t);
using CallsFunction = std::int32_t (*)();

// The file of the window-system library: a real library without the
// registration export.
std::string PlatformLibraryFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&platform::GetDesktopWindow), &info) == 0) return "";
  return info.dli_fname;
}

class PluginLifecycleTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(PluginsFolder()); }

  std::string PluginsFolder() const { return dir_.Join("Mail/plugins"); }
  std::string TidyFile() const { return PluginsFolder() + "/TidyCOM.so"; }
  // Puts the clean-up stand-in beside the plug-in, answering `result`, and
  // keeps it loaded so that its call count can be read.
  void InstallTidy(std::int32_t result) {
    std::filesystem::copy_file(TAVI_TIDY_STAND_IN_PATH, TidyFile());
    tidy_ = platform::LoadModule(TidyFile());
    ASSERT_NE(tidy_, nullptr);
    platform::FindModuleFunction<SetResultFunction>(tidy_, "TidyStandInSetResult")(result);
  }
  std::int32_t TidyCalls() const {
    return platform::FindModuleFunction<CallsFunction>(tidy_, "TidyStandInCalls")();
  }
  void TearDown() override { platform::FreeModule(tidy_); }

  testing::TempDir dir_;
  platform::ModuleHandle tidy_ = nullptr;
};

TEST_F(PluginLifecycleTest, StartFillsTheInformationRecordAndThePaths) {
  PluginPaths paths;
  paths.NewsBoardWindow = platform::WindowHandle{77};
  const std::string config_dir = PluginsFolder();
  EmsMailConfig config{config_dir.c_str()};
  EmsPluginInfo info{};

  EXPECT_EQ(InitPlugin(paths, 7, &config, &info, "-1"), kEmsOk);

  EXPECT_EQ(info.translator_count, 1);
  EXPECT_EQ(info.attacher_count, 0);
  EXPECT_EQ(info.special_count, 1);
  EXPECT_EQ(info.id, 4410);
  ASSERT_NE(info.icon, nullptr);
  EXPECT_EQ(*info.icon, 1000u);
  // No module file in the configuration folder: no version block.
  ASSERT_NE(info.description, nullptr);
  EXPECT_STREQ(info.description, " ");
  EXPECT_EQ(paths.ApiVersion, 7);
  EXPECT_EQ(paths.DataFolder, dir_.Join("Mail"));
  EXPECT_EQ(paths.DesktopWindow, platform::GetDesktopWindow());
  EXPECT_FALSE(paths.NewsBoardWindow);
  EXPECT_FALSE(paths.TidyRegistered);
  EXPECT_TRUE(paths.CheckerRunning);
  FreeHostBlock(info.description);
  FreeHostBlock(info.icon);
}

// The host unloads the module right after its finish call: the checker's
// thread must be gone by then.
TEST_F(PluginLifecycleTest, TheCheckerRunsFromStartToFinishOnFullHostsOnly) {
  const std::string config_dir = PluginsFolder();
  EmsMailConfig config{config_dir.c_str()};
  for (const std::int16_t api_version : {3, 4, 7}) {
    SCOPED_TRACE(api_version);
    PluginPaths paths;
    EmsPluginInfo info{};
    ASSERT_EQ(InitPlugin(paths, api_version, &config, &info, "-1"), kEmsOk);
    const bool full = api_version >= 4;
    EXPECT_EQ(paths.CheckerRunning, full);
    ASSERT_EQ(paths.CheckerThread != nullptr, full);
    if (full) {
      const BackgroundChecker* first = paths.CheckerThread.get();
      EXPECT_TRUE(first->Running());
      FreeHostBlock(info.description);
      FreeHostBlock(info.icon);
      EXPECT_EQ(InitPlugin(paths, api_version, &config, &info, "-1"), kEmsOk);
      EXPECT_EQ(paths.CheckerThread.get(), first) << "a running checker is not started again";
    }

    EXPECT_EQ(FinishPlugin(paths), kEmsOk);
    EXPECT_FALSE(paths.CheckerRunning);
    EXPECT_EQ(paths.CheckerThread, nullptr);
    FreeHostBlock(info.description);
    FreeHostBlock(info.icon);
  }
}

TEST_F(PluginLifecycleTest, StartWithoutRecordsFillsNothing) {
  PluginPaths paths;
  const std::string config_dir = PluginsFolder();
  EmsMailConfig config{config_dir.c_str()};
  EXPECT_EQ(InitPlugin(paths, 7, &config, nullptr, "-1"), kEmsOk);
  EXPECT_EQ(paths.ConfigDir, "");
  EXPECT_EQ(paths.ApiVersion, 0);

  EmsPluginInfo info{};
  EXPECT_EQ(InitPlugin(paths, 7, nullptr, &info, "-1"), kEmsUnknownFailure);
  EmsMailConfig no_folder{nullptr};
  EXPECT_EQ(InitPlugin(paths, 7, &no_folder, &info, "-1"), kEmsUnknownFailure);
  EXPECT_EQ(info.description, nullptr);
  EXPECT_EQ(info.icon, nullptr);
  EXPECT_EQ(info.special_count, 0);
}

TEST_F(PluginLifecycleTest, StartRegistersTheCleanUpComponentBesideTheModule) {
  InstallTidy(0);
  PluginPaths paths;
  const std::string config_dir = PluginsFolder();
  EmsMailConfig config{config_dir.c_str()};
  EmsPluginInfo info{};
  ASSERT_EQ(InitPlugin(paths, 7, &config, &info, "-1"), kEmsOk);
  EXPECT_TRUE(paths.TidyRegistered);
  EXPECT_EQ(TidyCalls(), 1);
  FreeHostBlock(info.description);
  FreeHostBlock(info.icon);
}

TEST_F(PluginLifecycleTest, CleanUpRegistrationFailsOnANegativeResultOrNoExport) {
  InstallTidy(-2147467259);
  EXPECT_FALSE(RegisterTidyModule(TidyFile()));
  EXPECT_EQ(TidyCalls(), 1);

  testing::WriteFile(dir_.Join("not-a-library.so"), "TidyCOM");
  EXPECT_FALSE(RegisterTidyModule(dir_.Join("not-a-library.so")));
  EXPECT_FALSE(RegisterTidyModule(dir_.Join("absent.so")));
  const std::string library = PlatformLibraryFile();
  ASSERT_FALSE(library.empty());
  EXPECT_FALSE(RegisterTidyModule(library));
}

TEST(PluginLifecycle, FinishTellsAnExistingNewsBoardThatTheHostExitsThenDestroysIt) {
  std::vector<std::pair<platform::WParam, platform::LParam>> seen;
  const platform::MessageId exit_host = RegisteredWindowMessages().exit_host;
  platform::WindowSpec description;
  description.class_name = "NewsBoardWindow";
  description.procedure = [&](platform::WindowHandle window, platform::MessageId message,
                              platform::WParam wparam, platform::LParam lparam) {
    if (message == exit_host) seen.emplace_back(wparam, lparam);
    return platform::DefWindowProc(window, message, wparam, lparam);
  };
  const platform::WindowHandle news_board = platform::CreateWindow(description);
  ASSERT_TRUE(news_board);

  PluginPaths paths;
  EXPECT_EQ(FinishPlugin(paths), kEmsOk);
  EXPECT_TRUE(seen.empty());

  paths.NewsBoardWindow = news_board;
  EXPECT_EQ(FinishPlugin(paths), kEmsOk);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], std::make_pair(platform::WParam{1}, platform::LParam{1}));
  EXPECT_EQ(platform::RegisterWindowMessage("uiIzlazEudora"), exit_host);
  EXPECT_FALSE(platform::IsWindow(news_board));
  EXPECT_FALSE(paths.NewsBoardWindow);
}

TEST(PluginLifecycle, FinishClosesEveryArticleViewerSavingItsPlacement) {
  testing::TempDir folder;
  platform::SetMessageBoxHandler([](const platform::MessageBoxRequest&) { return platform::IDOK; });
  WindowContext context;
  context.paths.settings_file = folder.Join("tavi.ini");
  const platform::WindowHandle viewer =
      OpenArticleViewer(context, "Subject: Story\r\n\r\n", "<p>Body</p>");
  ASSERT_TRUE(viewer);

  PluginPaths paths;
  EXPECT_EQ(FinishPlugin(paths), kEmsOk);

  EXPECT_FALSE(platform::IsWindow(viewer));
  EXPECT_TRUE(OpenArticleViewers().empty());
  EXPECT_EQ(ReadProfileInt("Windows", "MessageState", -1, context.paths.settings_file), 0);
  platform::SetMessageBoxHandler({});
  platform::ClearShownMessageBoxes();
}

}  // namespace
}  // namespace tavi
