#include "platform/winsys_modal.h"

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_registry.h"

namespace tavi::platform::winsys_internal {

ModalBlock::ModalBlock(WindowHandle owner) {
  Registry& registry = TheRegistry();
  bool enabled;
  {
    Lock lock(registry.lock);
    top_level_ = TopLevelOf(registry, owner);
    WindowRecord* record = FindRecord(registry, top_level_);
    if (record == nullptr) return;
    ++record->modal_blocks;
    Touch(registry, *record);
    enabled = record->enabled;
  }
  if (enabled) disabled_here_ = EnableWindow(top_level_, false);
}

ModalBlock::~ModalBlock() { Release(); }

void ModalBlock::Release() {
  if (!top_level_) return;
  Registry& registry = TheRegistry();
  {
    Lock lock(registry.lock);
    if (WindowRecord* record = FindRecord(registry, top_level_)) {
      --record->modal_blocks;
      Touch(registry, *record);
    }
  }
  if (disabled_here_) EnableWindow(top_level_, true);
  top_level_ = {};
}

bool RunModalLoop(const std::function<bool()>& done) {
  Message message;
  while (!done()) {
    if (!GetMessage(message)) {
      PostQuitMessage(static_cast<int>(message.wparam));
      return false;
    }
    if (!TranslateDialogInput(message)) DispatchMessage(message);
  }
  return true;
}

int OpenRequest(Registry& registry) {
  const int id = registry.next_request_id++;
  registry.answers[id] = {QueueOfCallingThread(registry).thread, std::nullopt};
  TouchSystem(registry);
  return id;
}

int WaitForAnswer(int id, int on_quit) {
  Registry& registry = TheRegistry();
  std::optional<int> answer;
  RunModalLoop([&] {
    Lock lock(registry.lock);
    answer = registry.answers.at(id).answer;
    return answer.has_value();
  });
  Lock lock(registry.lock);
  registry.answers.erase(id);
  std::erase_if(registry.pending_boxes, [&](const auto& box) { return box.id == id; });
  std::erase_if(registry.pending_popups, [&](const auto& popup) { return popup.id == id; });
  TouchSystem(registry);
  return answer.value_or(on_quit);
}

bool StoreAnswer(int id, int answer) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const auto found = registry.answers.find(id);
  if (found == registry.answers.end() || found->second.answer) return false;
  found->second.answer = answer;
  TouchSystem(registry);
  // The waiting loop looks at its answer when it next wakes.
  PostToThread(registry, found->second.thread, {{}, WM_NULL, 0, 0});
  return true;
}

}  // namespace tavi::platform::winsys_internal
