#include "plugin/about_box.h"

#include "plugin/host_windows.h"
#include "ui/about_dialog.h"

namespace tavi {
namespace {

constexpr const char* kNoticeLines[] = {
    "Feeds delivered as messages into your mailboxes.",
    "Provided as is, without warranty of any kind.",
};

}  // namespace

std::string AboutCaption(const PluginPaths& paths) { return "About " + paths.ProductName; }

std::string AboutText(const PluginPaths& paths) {
  return paths.ProductName + "\r\n" + "Version: " + paths.VersionText + " / Final" + "\r\n\r\n" +
         kNoticeLines[0] + "\r\n" + kNoticeLines[1] + "\r\n\r\n" + "Installed in: " + "\r\n" +
         paths.ConfigDir;
}

void ShowAboutBox(const PluginPaths& paths) {
  AboutDialog(AboutCaption(paths), AboutText(paths)).RunModal(FindHostMainWindow());
}

}  // namespace tavi
