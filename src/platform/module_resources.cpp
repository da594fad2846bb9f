#include "platform/module_resources.h"

#include <map>
#include <mutex>

namespace tavi::platform {
namespace {

struct Registry {
  std::mutex lock;
  std::map<int, std::string> icons;
  std::map<int, std::string> cursors;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry();  // lives until the process ends
  return *registry;
}

std::optional<std::string> Find(const std::map<int, std::string>& table, int id) {
  const auto found = table.find(id);
  if (found == table.end()) return std::nullopt;
  return found->second;
}

}  // namespace

void RegisterIconImages(std::span<const IconImage> images) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  for (const IconImage& image : images) registry.icons[image.id] = std::string(image.svg);
}

std::optional<std::string> FindIconImage(int id) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  return Find(registry.icons, id);
}

void RegisterCursor(int id, std::string_view css_cursor) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  registry.cursors[id] = std::string(css_cursor);
}

std::optional<std::string> FindCursor(int id) {
  Registry& registry = TheRegistry();
  const std::lock_guard<std::mutex> guard(registry.lock);
  return Find(registry.cursors, id);
}

}  // namespace tavi::platform
