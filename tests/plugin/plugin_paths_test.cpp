#include "plugin/plugin_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tavi {
namespace {

// The text with "%DATA%" replaced by `data_folder`.
std::string WithDataFolder(std::string text, const std::string& data_folder) {
  const std::size_t at = text.find("%DATA%");
  if (at != std::string::npos) text.replace(at, 6, data_folder);
  return text;
}

class DataFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Join("Mail/PlugIns"));
    std::filesystem::create_directories(dir_.Join("Program"));
    std::filesystem::create_directories(dir_.Join("Elsewhere/Data"));
  }
  std::string HostProgram() const { return dir_.Join("Program/Eudora.exe"); }
  void WriteHostSettings(const std::string& text) const {
    testing::WriteFile(dir_.Join("Program/deudora.ini"), text);
  }
  std::string SettingsFile() const { return dir_.Join("Mail/PlugIns/tavi.ini"); }

  testing::TempDir dir_;
};

TEST_F(DataFolderTest, TakesTheHostsDataFolderOnlyWhenItIsAFolder) {
  struct Case {
    const char* name;
    const char* host_settings;  // nullptr: no deudora.ini
    std::string expected;
  };
  const std::string fallback = dir_.Join("Mail");
  const std::string data = dir_.Join("Elsewhere/Data");
  const Case cases[] = {
      {"valid folder", "[Settings]\nDataFolder=%DATA%\n", data},
      {"key in any letter case", "[settings]\ndatafolder=%DATA%\n", data},
      {"folder that does not exist", "[Settings]\nDataFolder=%DATA%/Gone\n", fallback},
      {"a file, not a folder", "[Settings]\nDataFolder=%DATA%/../../Program/deudora.ini\n",
       fallback},
      {"no such key", "[Settings]\nOther=1\n", fallback},
      {"empty value", "[Settings]\nDataFolder=\n", fallback},
      {"no host settings file", nullptr, fallback},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir_.Join("Program/deudora.ini"));
    if (c.host_settings != nullptr) WriteHostSettings(WithDataFolder(c.host_settings, data));
    EXPECT_EQ(FindDataFolder(SettingsFile(), HostProgram()), c.expected);
  }
}

TEST_F(DataFolderTest, UnknownHostProgramFallsBackToTheFolderAbovePlugins) {
  WriteHostSettings("[Settings]\nDataFolder=" + dir_.Join("Elsewhere/Data") + "\n");
  EXPECT_EQ(FindDataFolder(SettingsFile(), "-1"), dir_.Join("Mail"));
  EXPECT_EQ(FindDataFolder(SettingsFile(), ""), dir_.Join("Mail"));
}

TEST(PluginPaths, FallbackKeepsTheLetterCaseOfTheConfigurationFolder) {
  struct Case {
    const char* config_dir;
    const char* expected;
  };
  const Case cases[] = {
      {"/Users/Ann/Mail/PlugIns", "/Users/Ann/Mail"},
      {"/users/ann/mail/plugins", "/users/ann/mail"},
      {"/Users/Ann/Mail/PLUGINS/", "/Users/Ann/Mail"},
      // A configuration folder of another name still gives a folder.
      {"/Users/Ann/Mail/Extensions", "/Users/Ann/Mail"},
      {"/plugins", "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config_dir);
    PluginPaths paths;
    ResolvePaths(paths, c.config_dir, "-1");
    EXPECT_EQ(paths.DataFolder, c.expected);
  }
}

TEST(PluginPaths, ResolvesEveryPathBesideTheConfigurationFolder) {
  PluginPaths paths;
  ResolvePaths(paths, "/Users/Ann/Mail/PlugIns", "-1");
  EXPECT_EQ(paths.ConfigDir, "/Users/Ann/Mail/PlugIns");
  EXPECT_EQ(paths.SettingsFile, "/Users/Ann/Mail/PlugIns/tavi.ini");
  EXPECT_EQ(paths.FeedFile, "/Users/Ann/Mail/PlugIns/feed.xml");
  EXPECT_EQ(paths.ModuleFile, "/Users/Ann/Mail/PlugIns/tavi.so");
  EXPECT_EQ(paths.TidyModule, "/Users/Ann/Mail/PlugIns/TidyCOM.so");
  EXPECT_EQ(paths.HelpFile, "/Users/Ann/Mail/PlugIns/tavi-help");
  EXPECT_EQ(paths.InMailboxFile, "/Users/Ann/Mail/In.mbx");
  EXPECT_EQ(paths.OutMailboxFile, "/Users/Ann/Mail/Out.mbx");
}

TEST(PluginPaths, HostSettingsFileReplacesTheProgramsFileName) {
  EXPECT_EQ(HostSettingsFile("/opt/Mail Client/Eudora.exe"), "/opt/Mail Client/deudora.ini");
  EXPECT_EQ(HostSettingsFile("/usr/bin/mail-host"), "/usr/bin/deudora.ini");
  EXPECT_EQ(HostSettingsFile("-1"), "");
  EXPECT_EQ(HostSettingsFile(""), "");
}

TEST(PluginPaths, VersionTextTakesTheFirstTwoNumbers) {
  struct Case {
    const char* product_version;
    const char* expected;
  };
  const Case cases[] = {
      {"0, 1, 0, 0", "0.1"},
      {"2,4,0,1", "2.4"},
      {"2, 4", "2.4"},
      {" 3,\t5, 9", "3.5"},
      {"10, 20, 30, 40", "10.20"},
      {"-1, 2", "-1.2"},
      // A blank before a comma ends the reading, as the pattern reads it.
      {"12 , 3", ""},
      {"7", ""},
      {"7,", ""},
      {"one, two", ""},
      {"", ""},
      // Numbers that do not fit are not read.
      {"99999999999, 1", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.product_version);
    EXPECT_EQ(FormatVersionText(c.product_version), c.expected);
  }
}

TEST(PluginPaths, DescriptionIsNameBlankVersionEvenWhenUnreadable) {
  PluginPaths paths;
  ApplyVersionBlock(paths, platform::ModuleVersionBlock{
                               {{"ProductName", "Tavi"}, {"ProductVersion", "0, 1, 0, 0"}}});
  EXPECT_EQ(paths.ProductName, "Tavi");
  EXPECT_EQ(paths.VersionText, "0.1");
  EXPECT_EQ(paths.Description, "Tavi 0.1");

  ApplyVersionBlock(paths, platform::ModuleVersionBlock{{{"ProductName", "Tavi"}}});
  EXPECT_EQ(paths.Description, "Tavi ");

  ApplyVersionBlock(paths, std::nullopt);
  EXPECT_EQ(paths.ProductName, "");
  EXPECT_EQ(paths.VersionText, "");
  EXPECT_EQ(paths.Description, " ");
}

}  // namespace
}  // namespace tavi
