#include "web/temporary_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tavi::web {

TemporaryFolder::TemporaryFolder(std::string_view prefix) {
  std::error_code error;
  std::string pattern = std::filesystem::temp_directory_path(error).string();
  if (error) pattern = "/tmp";
  pattern.append("/").append(prefix).append("XXXXXX");
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace tavi::web
