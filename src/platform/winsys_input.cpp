#include "platform/winsys_input.h"

#include "platform/winsys_geometry.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_tree_view_state.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

// Posts input for `window` to its thread when the window takes input and
// `valid` accepts it (lock held while it looks).
template <typename Valid>
bool PostInput(WindowHandle window, MessageId message, WParam wparam, LParam lparam, Valid valid) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr || !winsys_internal::TakesInput(registry, window)) return false;
  if (!valid(registry, *record)) return false;
  return winsys_internal::PostToThread(registry, record->thread, {window, message, wparam, lparam},
                                       true);
}

bool Always(Registry&, WindowRecord&) { return true; }

bool IsKey(int key) { return key > 0 && key < 256; }

bool IsRowOf(const WindowRecord& record, int row) {
  return record.list_view && row >= -1 && row < static_cast<int>(record.list_view->rows.size());
}

bool IsColumnOf(const WindowRecord& record, int column) {
  return record.list_view && column >= 0 &&
         column < static_cast<int>(record.list_view->columns.size());
}

bool IsItemOf(const WindowRecord& record, int index) {
  return record.drop_down && index >= 0 && index < static_cast<int>(record.drop_down->items.size());
}

const winsys_internal::TreeNode* NodeOf(WindowRecord& record, TreeItem item) {
  return record.tree_view ? winsys_internal::FindNode(*record.tree_view, item) : nullptr;
}

bool IsEnabledCommand(Registry& registry, WindowRecord& record, int command) {
  if (record.toolbar) {
    for (const winsys_internal::ToolbarButton& button : record.toolbar->buttons) {
      if (button.button.command == command && command != 0) return button.enabled;
    }
    return false;
  }
  const MenuEntry* entry = winsys_internal::FindCommandEntry(registry, record.menu, command);
  return entry != nullptr && !entry->disabled;
}

bool IsCaptionCommand(WParam command) {
  return command == SC_CLOSE || command == SC_MINIMIZE || command == SC_MAXIMIZE ||
         command == SC_RESTORE;
}

}  // namespace

void SetFrontEndPresent(bool present) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  registry.front_end_present = present;
}

bool IsFrontEndPresent() {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return registry.front_end_present;
}

bool InjectMouse(WindowHandle window, MouseAction action, Point point, std::uint32_t modifiers) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  // With a capture held, the input goes to the capture's thread, whatever
  // window the pointer is over.
  const WindowRecord* capture = FindRecord(registry, registry.capture);
  if (capture == nullptr && !winsys_internal::TakesInput(registry, window)) return false;
  const Point origin = winsys_internal::ClientOriginOf(registry, *record);
  const Message input{window, winsys_internal::kMouseInput,
                      winsys_internal::PackClick(static_cast<int>(action), modifiers),
                      MakePointLParam({origin.x + point.x, origin.y + point.y})};
  const ThreadId thread = capture != nullptr ? capture->thread : record->thread;
  return winsys_internal::PostToThread(registry, thread, input, true);
}

bool InjectClick(WindowHandle window, std::uint32_t modifiers) {
  const std::optional<Rect> client = GetClientRect(window);
  if (!client) return false;
  const Point middle{client->Width() / 2, client->Height() / 2};
  return InjectMouse(window, MouseAction::kLeftDown, middle, modifiers) &&
         InjectMouse(window, MouseAction::kLeftUp, middle, modifiers);
}

bool InjectKey(WindowHandle window, int key, bool down, std::uint32_t modifiers) {
  if (!IsKey(key)) return false;
  const auto packed = static_cast<LParam>(winsys_internal::PackClick(down ? 1 : 0, modifiers));
  if (window) {
    return PostInput(window, winsys_internal::kKeyInput, static_cast<WParam>(key), packed, Always);
  }
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  for (const WindowHandle top : registry.top_levels) {
    const WindowRecord& record = *FindRecord(registry, top);
    if (!record.visible) continue;
    return winsys_internal::PostToThread(
        registry, record.thread, {{}, winsys_internal::kKeyInput, static_cast<WParam>(key), packed},
        true);
  }
  return false;
}

void HoldModifierKeys(std::uint32_t modifiers) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  registry.keys_down[virtual_key::kShift] = (modifiers & key_modifier::kShift) != 0;
  registry.keys_down[virtual_key::kControl] = (modifiers & key_modifier::kControl) != 0;
  registry.keys_down[virtual_key::kMenu] = (modifiers & key_modifier::kAlt) != 0;
}

bool InjectKeyPress(WindowHandle window, int key, std::uint32_t modifiers) {
  return InjectKey(window, key, true, modifiers) && InjectKey(window, key, false, modifiers);
}

bool InjectText(WindowHandle edit, const std::string& text) {
  std::uint64_t serial = 0;
  {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    serial = registry.next_typed_text++;
  }
  return PostInput(edit, winsys_internal::kTextInput, 0, static_cast<LParam>(serial),
                   [&](Registry& registry, WindowRecord& record) {
                     if (record.kind != ControlKind::kEdit) return false;
                     if ((record.style & control_style::kReadOnly) != 0) return false;
                     registry.typed_texts[serial] = {edit, text};
                     return true;
                   });
}

bool InjectListViewClick(WindowHandle list, int row, ClickKind kind, std::uint32_t modifiers) {
  return PostInput(
      list, winsys_internal::kListViewClickInput, static_cast<WParam>(row),
      static_cast<LParam>(winsys_internal::PackClick(static_cast<int>(kind), modifiers)),
      [&](Registry&, WindowRecord& record) { return IsRowOf(record, row); });
}

bool InjectListViewColumnClick(WindowHandle list, int column) {
  return PostInput(list, winsys_internal::kListViewColumnInput, static_cast<WParam>(column), 0,
                   [&](Registry&, WindowRecord& record) { return IsColumnOf(record, column); });
}

bool InjectTreeViewClick(WindowHandle tree, TreeItem item, ClickKind kind) {
  return PostInput(
      tree, winsys_internal::kTreeViewClickInput, item.id,
      static_cast<LParam>(winsys_internal::PackClick(static_cast<int>(kind), 0)),
      [&](Registry&, WindowRecord& record) { return NodeOf(record, item) != nullptr; });
}

bool InjectTreeViewExpand(WindowHandle tree, TreeItem item, bool expand) {
  return PostInput(tree, winsys_internal::kTreeViewExpandInput, item.id, expand ? 1 : 0,
                   [&](Registry&, WindowRecord& record) {
                     const winsys_internal::TreeNode* node = NodeOf(record, item);
                     return node != nullptr && !node->children.empty();
                   });
}

bool InjectDropDownSelection(WindowHandle list, int index) {
  return PostInput(list, winsys_internal::kDropDownSelectInput, static_cast<WParam>(index), 0,
                   [&](Registry&, WindowRecord& record) { return IsItemOf(record, index); });
}

bool InjectMenuCommand(WindowHandle window, int command) {
  const MessageId message = GetWindowKind(window) == ControlKind::kToolbar
                                ? winsys_internal::kToolbarClickInput
                                : winsys_internal::kMenuCommandInput;
  return PostInput(window, message, static_cast<WParam>(command), 0,
                   [&](Registry& registry, WindowRecord& record) {
                     return IsEnabledCommand(registry, record, command);
                   });
}

bool InjectWindowRect(WindowHandle window, const Rect& rect) {
  return PostInput(window, winsys_internal::kWindowRectInput, 0,
                   winsys_internal::MakeRectLParam(rect),
                   [](Registry&, WindowRecord& record) { return !record.parent; });
}

bool InjectSystemCommand(WindowHandle window, WParam command) {
  return PostInput(window, WM_SYSCOMMAND, command, 0, [&](Registry&, WindowRecord& record) {
    return !record.parent && IsCaptionCommand(command);
  });
}

}  // namespace tavi::platform
