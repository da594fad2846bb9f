#include "web/host_commands.h"

#include <algorithm>

namespace tavi::web {
namespace {

constexpr const char* kSettingsCommand = "Settings";

}  // namespace

HostCommands::HostCommands(host::PluginModule& plugin, Later later, std::function<void()> changed)
    : plugin_(plugin), later_(std::move(later)), changed_(std::move(changed)) {}

CommandStart HostCommands::ChooseMenuItem(int id) {
  const std::vector<host::MenuItemAnswer>& items = plugin_.Answers().menu_items;
  const auto item = std::find_if(items.begin(), items.end(), [id](const host::MenuItemAnswer& it) {
    return it.id == id && it.result == kEmsOk;
  });
  if (item == items.end()) return CommandStart::kNoSuchItem;
  return Start(item->text, [this, id] { plugin_.ChooseMenuItem(id); });
}

CommandStart HostCommands::OpenSettings() {
  return Start(kSettingsCommand, [this] { plugin_.OpenSettings(); });
}

CommandStart HostCommands::Start(std::string name, std::function<void()> command) {
  if (!running_.empty()) return CommandStart::kBusy;
  running_ = std::move(name);
  changed_();
  later_([this, command = std::move(command)] {
    command();
    running_.clear();
    changed_();
  });
  return CommandStart::kStarted;
}

}  // namespace tavi::web
