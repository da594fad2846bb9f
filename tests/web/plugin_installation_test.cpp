#include "web/plugin_installation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tavi::web {
namespace {

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(InstallPluginModule, CopiesTheModuleIntoThePluginsFolderOnlyWhenItDiffers) {
  const testing::TempDir root;
  std::filesystem::create_directories(root.Join("plugins"));
  testing::WriteFile(root.Join("tavi.so"), "module one");
  std::string error;
  const std::string installed =
      InstallPluginModule(root.Join("tavi.so"), root.Join("plugins"), error);
  EXPECT_EQ(installed, root.Join("plugins/tavi.so"));
  EXPECT_EQ(testing::ReadFile(installed), "module one");
  const ino_t first = InodeOf(installed);
  EXPECT_EQ(InstallPluginModule(root.Join("tavi.so"), root.Join("plugins"), error), installed);
  EXPECT_EQ(InodeOf(installed), first);
  // A new build replaces it whole, as a new file.
  testing::WriteFile(root.Join("tavi.so"), "module two");
  EXPECT_EQ(InstallPluginModule(root.Join("tavi.so"), root.Join("plugins"), error), installed);
  EXPECT_EQ(testing::ReadFile(installed), "module two");
  EXPECT_NE(InodeOf(installed), first);
  // The module already in the folder is installed as it is.
  EXPECT_EQ(InstallPluginModule(installed, root.Join("plugins"), error), installed);
  EXPECT_EQ(error, "");
}

TEST(InstallPluginHelp, CopiesTheHelpPagesShippedBesideTheModule) {
  const testing::TempDir root;
  std::filesystem::create_directories(root.Join("plugins"));
  testing::WriteFile(root.Join("tavi.so"), "module");
  EXPECT_EQ(InstallPluginHelp(root.Join("tavi.so"), root.Join("plugins")), "")
      << "a module without help";
  std::filesystem::create_directories(root.Join("tavi-help"));
  testing::WriteFile(root.Join("tavi-help/Settings.htm"), "<p>one</p>");
  testing::WriteFile(root.Join("tavi-help/notes.txt"), "not a page");
  const std::string installed = InstallPluginHelp(root.Join("tavi.so"), root.Join("plugins"));
  EXPECT_EQ(installed, root.Join("plugins/tavi-help"));
  EXPECT_EQ(testing::ReadFile(installed + "/Settings.htm"), "<p>one</p>");
  EXPECT_FALSE(std::filesystem::exists(installed + "/notes.txt"));
  // A new build's pages replace the old ones; the installed module's own
  // help is the installed folder.
  testing::WriteFile(root.Join("tavi-help/Settings.htm"), "<p>two</p>");
  EXPECT_EQ(InstallPluginHelp(root.Join("tavi.so"), root.Join("plugins")), installed);
  EXPECT_EQ(testing::ReadFile(installed + "/Settings.htm"), "<p>two</p>");
  EXPECT_EQ(InstallPluginHelp(root.Join("plugins/tavi.so"), root.Join("plugins")), installed);
}

TEST(InstallPluginModule, SaysWhyWhenItCannot) {
  const testing::TempDir root;
  testing::WriteFile(root.Join("tavi.so"), "module");
  std::string error;
  EXPECT_EQ(InstallPluginModule(root.Join("missing.so"), root.path(), error), "");
  EXPECT_EQ(error, "cannot read the plug-in " + root.Join("missing.so"));
  EXPECT_EQ(InstallPluginModule(root.Join("tavi.so"), root.Join("no-such-folder"), error), "");
  EXPECT_EQ(error, "cannot install the plug-in into " + root.Join("no-such-folder"));
}

}  // namespace
}  // namespace tavi::web
