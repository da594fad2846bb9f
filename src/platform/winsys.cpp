#include "platform/winsys.h"

#include <algorithm>

#include "platform/ascii.h"
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

// Inserts a new record on top of its siblings; none when the parent is gone
// or on its way out. Lock held.
WindowHandle AddWindow(Registry& registry, const WindowSpec& description) {
  const WindowHandle parent =
      IsTopLevelParent(description.parent) ? WindowHandle{} : description.parent;
  std::vector<WindowHandle>* siblings = &registry.top_levels;
  if (parent) {
    WindowRecord* parent_record = FindRecord(registry, parent);
    if (parent_record == nullptr || parent_record->destroying) return {};
    siblings = &parent_record->children;
  }
  const WindowHandle handle{registry.next_window_id++};
  WindowRecord record;
  record.class_name = description.class_name;
  record.title = description.title;
  record.parent = parent;
  record.visible = description.visible;
  record.thread = winsys_internal::QueueOfCallingThread(registry).thread;
  if (description.procedure)
    record.procedure = std::make_shared<const WindowProcedure>(description.procedure);
  registry.windows.emplace(handle, std::move(record));
  siblings->insert(siblings->begin(), handle);
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

void AppendStates(Registry& registry, const std::vector<WindowHandle>& windows,
                  std::vector<WindowState>& states) {
  for (const WindowHandle handle : windows) {
    const WindowRecord& record = *FindRecord(registry, handle);
    states.push_back(
        {handle, record.class_name, record.title, record.parent, record.visible, record.thread});
    AppendStates(registry, record.children, states);
  }
}

}  // namespace

WindowHandle CreateWindow(const WindowSpec& description) {
  Registry& registry = TheRegistry();
  WindowHandle handle;
  {
    Lock lock(registry.lock);
    handle = AddWindow(registry, description);
  }
  if (!handle) return {};
  if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LParam>(&description)) != -1)
    return handle;
  DestroyWindow(handle);
  return {};
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
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  std::vector<WindowHandle>& siblings =
      record->parent ? FindRecord(registry, record->parent)->children : registry.top_levels;
  const auto position = std::ranges::find(siblings, window);
  std::rotate(siblings.begin(), position, position + 1);
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

bool ShowWindow(WindowHandle window, int command) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  const bool was_visible = record->visible;
  record->visible = command != SW_HIDE;
  return was_visible;
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
      return 1;
    }
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      if (wparam == SC_CLOSE) SendMessage(window, WM_CLOSE, 0, 0);
      return 0;
  }
  return 0;
}

std::vector<WindowState> SnapshotWindows() {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  std::vector<WindowState> states;
  states.reserve(registry.windows.size());
  AppendStates(registry, registry.top_levels, states);
  return states;
}

}  // namespace tavi::platform
