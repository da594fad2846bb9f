#include "host/data_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/fs.h"

namespace tavi::host {
namespace {

// The variable's value; "" when it is not set.
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

}  // namespace

std::string AbsoluteFolder(const std::string& folder) {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(folder, error);
  if (error) return folder;
  std::string text = path.lexically_normal().string();
  while (text.size() > 1 && text.back() == platform::kPathSeparator) text.pop_back();
  return text;
}

std::string DefaultDataFolder() {
  if (const std::string data = Environment("TAVI_DATA"); !data.empty()) return data;
  // The user's data folder as the desktop names it; a relative one is not
  // valid there and is passed over.
  if (const std::string xdg = Environment("XDG_DATA_HOME"); !xdg.empty() && xdg.front() == '/')
    return platform::JoinPath(xdg, "tavi");
  const std::string home = Environment("HOME");
  if (home.empty()) return "";
  return home + "/.local/share/tavi";
}

}  // namespace tavi::host
