#include "delivery/new_mailbox.h"

#include <vector>

#include "delivery/host_automation.h"
#include "files/file_names.h"
#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi {
namespace {

constexpr const char* kMailboxExtension = ".mbx";

// The names of the mailbox files in the folder, as the file system has them.
std::vector<std::string> MailboxFilesIn(const std::string& folder_path) {
  return platform::FindFiles(platform::JoinPath(folder_path, std::string("*") + kMailboxExtension));
}

bool HoldsIgnoringCase(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& listed : names)
    if (platform::EqualsIgnoringCase(listed, name)) return true;
  return false;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t separator = path.rfind(platform::kPathSeparator);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace

bool IsFreeMailboxName(const std::string& folder_path, const std::string& name) {
  if (name.empty() || !IsValidFileName(name)) return false;
  return !HoldsIgnoringCase(MailboxFilesIn(folder_path),
                            MakeSafeFileName(name) + kMailboxExtension);
}

std::string CreateNewMailbox(const std::string& name, const std::string& folder_path,
                             bool top_level) {
  const std::vector<std::string> existing = MailboxFilesIn(folder_path);
  const std::string path =
      top_level ? CreateTopLevelMailbox(name) : CreateMailboxInFolder(name, folder_path);
  if (path.empty() || !FileExists(path)) return "";
  if (HoldsIgnoringCase(existing, FileNameOf(path))) return "";
  return path;
}

}  // namespace tavi
