#include "web/help_pages.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/fs.h"

namespace tavi::web {
namespace {

// The path with every link and "." or ".." followed; "" when it cannot be
// told.
std::string Canonical(const std::string& path) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
  return error ? "" : canonical.string();
}

bool IsPlainFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::regular;
}

}  // namespace

HelpPages::HelpPages(const std::string& help_folder) : folder_(Canonical(help_folder)) {
  if (folder_.empty()) return;
  // A link is no page, even to a page: it could lead out of the folder.
  for (const std::string& name : platform::FindFiles(platform::JoinPath(folder_, "*.htm")))
    if (IsPlainFile(platform::JoinPath(folder_, name))) names_.push_back(name);
  std::sort(names_.begin(), names_.end());
}

std::optional<std::string> HelpPages::AddressOf(const std::string& path) const {
  if (folder_.empty()) return std::nullopt;
  const std::filesystem::path page = Canonical(path);
  if (page.parent_path().string() != folder_) return std::nullopt;
  const auto found = std::find(names_.begin(), names_.end(), page.filename().string());
  if (found == names_.end()) return std::nullopt;
  return "/help/" + std::to_string(found - names_.begin() + 1) + ".htm";
}

std::optional<std::string> HelpPages::Page(int number) const {
  if (number < 1 || number > static_cast<int>(names_.size())) return std::nullopt;
  return platform::ReadFileBytes(platform::JoinPath(folder_, names_[number - 1]));
}

void AddHelpRoutes(PageRouter& router, const HelpPages& pages) {
  router.Add({"GET", "/help/{}.htm", [&pages](const PageCall& call) {
                const std::optional<std::string> page = pages.Page(call.numbers.at(0));
                if (!page) return ErrorAnswer(404, "no such help page");
                // The image policy: a document that runs nothing, even
                // opened on its own, which is all a help page needs.
                return PageResponse{200, "text/html; charset=utf-8", *page, AnswerPolicy::kImage};
              }});
}

}  // namespace tavi::web
