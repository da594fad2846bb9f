#include "host/data_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/scoped_environment.h"

namespace tavi::host {
namespace {

struct FolderCase {
  const char* why;
  std::optional<std::string> tavi_data;
  std::optional<std::string> xdg_data_home;
  std::optional<std::string> home;
  std::string folder;
};

TEST(DefaultDataFolder, TaviDataThenTheDesktopsDataFolderThenHome) {
  const FolderCase cases[] = {
      {"TAVI_DATA wins", "/t", "/x", "/h", "/t"},
      {"an empty TAVI_DATA is not set", "", "/x", "/h", "/x/tavi"},
      {"the desktop's data folder", std::nullopt, "/x/", "/h", "/x/tavi"},
      {"a relative XDG_DATA_HOME is not valid", std::nullopt, "x", "/h", "/h/.local/share/tavi"},
      {"an empty XDG_DATA_HOME is not set", std::nullopt, "", "/h", "/h/.local/share/tavi"},
      {"HOME alone", std::nullopt, std::nullopt, "/h", "/h/.local/share/tavi"},
      {"nothing to go by", std::nullopt, std::nullopt, std::nullopt, ""},
  };
  for (const FolderCase& test : cases) {
    SCOPED_TRACE(test.why);
    const testing::ScopedEnvironmentVariable data("TAVI_DATA", test.tavi_data);
    const testing::ScopedEnvironmentVariable xdg("XDG_DATA_HOME", test.xdg_data_home);
    const testing::ScopedEnvironmentVariable home("HOME", test.home);
    EXPECT_EQ(DefaultDataFolder(), test.folder);
  }
}

TEST(AbsoluteFolder, IsTheNormalPathFromTheWorkingFolderWithoutATrailingSlash) {
  const std::string here = std::filesystem::current_path().string();
  EXPECT_EQ(AbsoluteFolder("news"), here + "/news");
  EXPECT_EQ(AbsoluteFolder("./a/../news/"), here + "/news");
  EXPECT_EQ(AbsoluteFolder("/srv//mail/"), "/srv/mail");
  EXPECT_EQ(AbsoluteFolder("/"), "/");
}

}  // namespace
}  // namespace tavi::host
