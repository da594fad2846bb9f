#include "ui/help_topics.h"

#include "files/file_names.h"
#include "platform/fs.h"
#include "platform/winsys_shell.h"

namespace tavi {
namespace {

// The shell's results up to this one are failures.
constexpr int kLastShellFailure = 32;

}  // namespace

std::string HelpTopicPath(const std::string& help_file, const std::string& topic) {
  return platform::JoinPath(help_file, topic);
}

bool OpenHelpTopic(platform::WindowHandle owner, const std::string& help_file,
                   const std::string& topic) {
  const std::string page = HelpTopicPath(help_file, topic);
  if (!IsDirectory(help_file) || !FileExists(page)) return false;
  return platform::ShellExecute(owner, "open", page, "", platform::SW_SHOWNORMAL) >
         kLastShellFailure;
}

}  // namespace tavi
