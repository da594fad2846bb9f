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

}  // namespace tavi::platform::winsys_internal
