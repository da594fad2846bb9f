#include "ui/help_page.h"

#include "files/file_names.h"
#include "platform/winsys.h"
#include "platform/winsys_shell.h"

namespace tavi {
namespace {

// The shell's results below this mean failure.
constexpr int kFirstSuccessResult = 32;

}  // namespace

bool ShowHelpPage(const std::string& help_file, const std::string& page) {
  if (!FileExists(help_file)) return false;
  const std::string viewer = "HH.EXE  mk:@MSITStore:" + help_file + "::/" + page;
  if (platform::WinExec(viewer, platform::SW_SHOWNORMAL) >= kFirstSuccessResult) return true;
  return platform::ShellExecute(platform::GetDesktopWindow(), "open", help_file, "",
                                platform::SW_SHOWNORMAL) >= kFirstSuccessResult;
}

}  // namespace tavi
