#include "platform/winsys_snapshot.h"

#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

bool IsFocused(Registry& registry, WindowHandle window, const WindowRecord& record) {
  const winsys_internal::ThreadQueue* queue = winsys_internal::FindQueue(registry, record.thread);
  return queue != nullptr && queue->focus == window;
}

bool IsBlocked(Registry& registry, WindowHandle window) {
  const WindowRecord* top = FindRecord(registry, winsys_internal::TopLevelOf(registry, window));
  return top != nullptr && top->modal_blocks > 0;
}

WindowSnapshot SnapshotOf(Registry& registry, WindowHandle window, const WindowRecord& record) {
  WindowSnapshot state;
  state.handle = window;
  state.parent = record.parent;
  state.owner = record.owner;
  state.thread = record.thread;
  state.class_name = record.class_name;
  state.text = record.title;
  state.kind = record.kind;
  state.is_dialog = record.dialog != nullptr;
  state.control_id = record.control_id;
  state.style = record.style;
  state.icon_id = record.icon_id;
  state.rect = record.rect;
  state.client = winsys_internal::ClientAreaInWindowOf(registry, record);
  state.visible = record.visible;
  state.enabled = record.enabled;
  state.focused = IsFocused(registry, window, record);
  state.show_state = record.show_state;
  state.blocked = IsBlocked(registry, window);
  state.tracking = record.tracking;
  state.checked = record.checked;
  state.progress = record.progress;
  state.version = record.version;
  return state;
}

void AppendWindows(Registry& registry, const std::vector<WindowHandle>& windows,
                   std::uint64_t since, Snapshot& snapshot) {
  for (const WindowHandle window : windows) {
    const WindowRecord& record = *FindRecord(registry, window);
    snapshot.order.push_back(window);
    if (record.version > since) snapshot.windows.push_back(SnapshotOf(registry, window, record));
    AppendWindows(registry, record.children, since, snapshot);
  }
}

}  // namespace

Snapshot TakeSnapshot(std::uint64_t since) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  Snapshot snapshot;
  snapshot.version = registry.version;
  snapshot.order.reserve(registry.windows.size());
  AppendWindows(registry, registry.top_levels, since, snapshot);
  snapshot.desktop = registry.desktop;
  snapshot.capture = registry.capture;
  snapshot.clip = registry.clip;
  snapshot.cursor = registry.cursor;
  return snapshot;
}

void SetChangeListener(std::function<void()> listener) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  registry.change_listener =
      listener ? std::make_shared<const std::function<void()>>(std::move(listener)) : nullptr;
}

}  // namespace tavi::platform
