#include "host/data_folder.h"

#include <cstdlib>

#include "platform/fs.h"

namespace tavi::host {
namespace {

// The variable's value; "" when it is not set.
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

}  // namespace

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
