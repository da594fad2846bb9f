#include "platform/winsys.h"

#include <algorithm>

#include "platform/ascii.h"
#include "platform/winsys_control_procedures.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindRecord;
using winsys_internal::kDesktop;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

// The desktop's class name, as the system calls it.
constexpr const char* kDesktopClass = "#32769";

bool IsTopLevelParent(WindowHandle parent) { return !parent || parent == kDesktop; }

bool Matches(const TextFilter& filter, const std::string& text) {
  return !filter || EqualsIgnoringCase(*filter, text);
}

// The children of `parent` topmost first, or nullptr when it is not a window.
const std::vector<WindowHandle>* ChildrenOf(Registry& registry, WindowHandle parent) {
  if (IsTopLevelParent(parent)) return &registry.top_levels;
  const WindowRecord* record = FindRecord(registry, parent);
  return record == nullptr ? nullptr : &record->children;
}

// The top-level window that owns a new top-level window given `owner`:
// the owner's own top-level window, as the system takes it. Lock held.
WindowHandle OwnerFor(Registry& registry, WindowHandle owner) {
  if (IsTopLevelParent(owner)) return {};
  return winsys_internal::TopLevelOf(registry, owner);
}

// Gives the record of a list view, tree view, toolbar or drop-down list the
// state of its kind.
void AddControlData(WindowRecord& record) {
  if (record.kind == ControlKind::kListView) {
    record.list_view = std::make_unique<winsys_internal::ListViewData>();
  } else if (record.kind == ControlKind::kTreeView) {
    record.tree_view = std::make_unique<winsys_internal::TreeViewData>();
  } else if (record.kind == ControlKind::kToolbar) {
    record.toolbar = std::make_unique<winsys_internal::ToolbarData>();
  } else if (record.kind == ControlKind::kDropDownList) {
    record.drop_down = std::make_unique<winsys_internal::DropDownData>();
  }
}

WindowRecord MakeRecord(Registry& registry, const WindowSpec& description, WindowHandle parent) {
  WindowRecord record;
  record.class_name = description.class_name;
  record.title = description.title;
  record.parent = parent;
  record.owner = parent ? WindowHandle{} : OwnerFor(registry, description.owner);
  record.visible = description.visible;
  record.enabled = description.enabled;
  record.thread = winsys_internal::QueueOfCallingThread(registry).thread;
  record.rect = description.rect;
  record.normal_rect = description.rect;
  record.kind = description.kind;
  record.control_id = description.control_id;
  record.style = description.style;
  record.icon_id = description.icon_id;
  AddControlData(record);
  WindowProcedure procedure = description.procedure;
  if (!procedure && description.kind)
    procedure = winsys_internal::ControlProcedure(*description.kind);
  if (procedure) record.procedure = std::make_shared<const WindowProcedure>(std::move(procedure));
  return record;
}

// Inserts a new record on top of its siblings (or below them); none when
// the parent is gone or on its way out. Lock held.
WindowHandle AddWindow(Registry& registry, const WindowSpec& description, bool on_top) {
  const WindowHandle parent =
      IsTopLevelParent(description.parent) ? WindowHandle{} : description.parent;
  std::vector<WindowHandle>* siblings = &registry.top_levels;
  if (parent) {
    WindowRecord* parent_record = FindRecord(registry, parent);
    if (parent_record == nullptr || parent_record->destroying) return {};
    siblings = &parent_record->children;
  }
  const WindowHandle handle{registry.next_window_id++};
  WindowRecord& record =
      registry.windows.emplace(handle, MakeRecord(registry, description, parent)).first->second;
  winsys_internal::Touch(registry, record);
  siblings->insert(on_top ? siblings->begin() : siblings->end(), handle);
  return handle;
}

// `window` and its descendants, parents before children. Lock held.
void CollectTree(Registry& registry, WindowHandle window, std::vector<WindowHandle>& tree) {
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return;
  tree.push_back(window);
  for (const WindowHandle child : record->children) CollectTree(registry, child, tree);
}

// Marks the tree of a window the calling thread may destroy and returns it,
// parents first; empty when the window cannot be destroyed now. Lock held.
std::vector<WindowHandle> ClaimTreeForDestruction(Registry& registry, WindowHandle window) {
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr || record->destroying) return {};
  if (record->thread != CurrentThreadId()) return {};
  std::vector<WindowHandle> tree;
  CollectTree(registry, window, tree);
  for (const WindowHandle member : tree) FindRecord(registry, member)->destroying = true;
  return tree;
}

// The caption's buttons and the system menu.
LResult HandleSystemCommand(WindowHandle window, WParam command) {
  switch (command) {
    case SC_CLOSE:
      SendMessage(window, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      ShowWindow(window, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(window, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(window, SW_RESTORE);
      break;
  }
  return 0;
}

}  // namespace

namespace winsys_internal {

WindowHandle CreateWindowInPlace(const WindowSpec& description, bool on_top) {
  Registry& registry = TheRegistry();
  WindowHandle handle;
  {
    Lock lock(registry.lock);
    handle = AddWindow(registry, description, on_top);
  }
  if (!handle) return {};
  if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LParam>(&description)) != -1)
    return handle;
  DestroyWindow(handle);
  return {};
}

}  // namespace winsys_internal

WindowHandle CreateWindow(const WindowSpec& description) {
  return winsys_internal::CreateWindowInPlace(description, true);
}

bool DestroyWindow(WindowHandle window) {
  Registry& registry = TheRegistry();
  std::vector<WindowHandle> tree;
  {
    Lock lock(registry.lock);
    tree = ClaimTreeForDestruction(registry, window);
  }
  if (tree.empty()) return false;
  for (const WindowHandle member : tree) SendMessage(member, WM_DESTROY, 0, 0);
  for (auto member = tree.rbegin(); member != tree.rend(); ++member) {
    SendMessage(*member, WM_NCDESTROY, 0, 0);
  }
  Lock lock(registry.lock);
  winsys_internal::RemoveWindowTree(registry, window);
  return true;
}

WindowHandle GetDesktopWindow() { return kDesktop; }

WindowHandle FindWindow(TextFilter class_name, TextFilter title) {
  return FindChildWindow({}, class_name, title);
}

WindowHandle FindChildWindow(WindowHandle parent, TextFilter class_name, TextFilter title,
                             WindowHandle after) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const std::vector<WindowHandle>* children = ChildrenOf(registry, parent);
  if (children == nullptr) return {};
  auto candidate = children->begin();
  if (after) {
    candidate = std::ranges::find(*children, after);
    if (candidate == children->end()) return {};
    ++candidate;
  }
  for (; candidate != children->end(); ++candidate) {
    const WindowRecord& record = *FindRecord(registry, *candidate);
    if (Matches(class_name, record.class_name) && Matches(title, record.title)) return *candidate;
  }
  return {};
}

WindowHandle GetTopWindow(WindowHandle parent) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const std::vector<WindowHandle>* children = ChildrenOf(registry, parent);
  if (children == nullptr || children->empty()) return {};
  return children->front();
}

bool BringWindowToTop(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  std::vector<WindowHandle>& siblings = winsys_internal::SiblingsOf(registry, *record);
  const auto position = std::ranges::find(siblings, window);
  std::rotate(siblings.begin(), position, position + 1);
  winsys_internal::Touch(registry, *record);
  return true;
}

bool IsWindow(WindowHandle window) {
  if (window == kDesktop) return true;
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return FindRecord(registry, window) != nullptr;
}

WindowHandle GetParent(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? WindowHandle{} : record->parent;
}

std::string GetWindowText(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? std::string() : record->title;
}

bool SetWindowText(WindowHandle window, const std::string& text) {
  return SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LParam>(text.c_str())) != 0;
}

std::string GetClassName(WindowHandle window) {
  if (window == kDesktop) return kDesktopClass;
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? std::string() : record->class_name;
}

bool IsWindowVisible(WindowHandle window) {
  if (window == kDesktop) return true;
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  for (; record != nullptr; record = FindRecord(registry, record->parent)) {
    if (!record->visible) return false;
  }
  return true;
}

ThreadId GetWindowThreadId(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? 0 : record->thread;
}

LResult DefWindowProc(WindowHandle window, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_SETTEXT: {
      Registry& registry = TheRegistry();
      Lock lock(registry.lock);
      WindowRecord* record = FindRecord(registry, window);
      if (record == nullptr) return 0;
      record->title = lparam == 0 ? "" : reinterpret_cast<const char*>(lparam);
      winsys_internal::Touch(registry, *record);
      return 1;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      return HandleSystemCommand(window, wparam);
    case winsys_internal::kWindowRectInput:
      MoveWindow(window, winsys_internal::RectFromLParam(lparam));
      return 0;
  }
  return 0;
}

WindowHandle GetOwner(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? WindowHandle{} : record->owner;
}

std::vector<WindowHandle> GetChildWindows(WindowHandle parent) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const std::vector<WindowHandle>* children = ChildrenOf(registry, parent);
  return children == nullptr ? std::vector<WindowHandle>() : *children;
}

std::uint32_t GetWindowStyle(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? 0 : record->style;
}

bool SetWindowStyle(WindowHandle window, std::uint32_t style) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  record->style = style;
  winsys_internal::Touch(registry, *record);
  return true;
}

std::optional<ControlKind> GetWindowKind(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? std::nullopt : record->kind;
}

WindowProcedure SubclassWindow(WindowHandle window, WindowProcedure procedure) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return {};
  WindowProcedure previous = record->procedure ? *record->procedure : WindowProcedure();
  winsys_internal::ReleaseAfterUnlock(registry, std::move(record->procedure));
  record->procedure =
      procedure ? std::make_shared<const WindowProcedure>(std::move(procedure)) : nullptr;
  return previous;
}

LResult CallWindowProcedure(const WindowProcedure& procedure, WindowHandle window,
                            MessageId message, WParam wparam, LParam lparam) {
  if (!procedure) return DefWindowProc(window, message, wparam, lparam);
  return procedure(window, message, wparam, lparam);
}

}  // namespace tavi::platform
