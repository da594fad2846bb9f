#include "web/program_files.h"

#include <filesystem>
#include <system_error>

namespace tavi::web {
namespace {

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string FindProgramFile(const std::string& program, const std::string& name,
                            const std::string& build_path) {
  const std::filesystem::path folder = std::filesystem::path(program).parent_path();
  for (const std::filesystem::path& candidate : {folder / name, folder / build_path}) {
    if (IsFile(candidate)) return candidate.lexically_normal().string();
  }
  return "";
}

}  // namespace tavi::web
