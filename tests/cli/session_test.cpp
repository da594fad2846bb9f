#include "cli/session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace tavi::cli {
namespace {

// Sets or unsets an environment variable for as long as it lives, then puts
// back what was there.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    Set(value);
  }
  ~ScopedVariable() { Set(saved_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_, value->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

  const char* name_;
  std::optional<std::string> saved_;
};

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
    const ScopedVariable data("TAVI_DATA", test.tavi_data);
    const ScopedVariable xdg("XDG_DATA_HOME", test.xdg_data_home);
    const ScopedVariable home("HOME", test.home);
    EXPECT_EQ(DefaultDataFolder(), test.folder);
  }
}

}  // namespace
}  // namespace tavi::cli
