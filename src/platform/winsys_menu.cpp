#include "platform/winsys_menu.h"

#include <algorithm>

#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace winsys_internal {
namespace {

MenuHandle NewMenu(Registry& registry) {
  const MenuHandle menu{registry.next_menu_id++};
  registry.menus.emplace(menu, MenuData{});
  return menu;
}

// An entry with entries of its own, or one that is neither a command nor a
// separator, opens a submenu.
bool OpensSubmenu(const MenuItemTemplate& item) {
  return !item.items.empty() || (item.command == 0 && !item.separator);
}

MenuData* FindMenu(Registry& registry, MenuHandle menu) {
  const auto found = registry.menus.find(menu);
  return found == registry.menus.end() ? nullptr : &found->second;
}

bool Contains(Registry& registry, MenuHandle menu, MenuHandle wanted) {
  if (menu == wanted) return true;
  const MenuData* data = FindMenu(registry, menu);
  if (data == nullptr) return false;
  return std::ranges::any_of(data->entries, [&](const MenuEntry& entry) {
    return entry.submenu && Contains(registry, entry.submenu, wanted);
  });
}

// Calls `visit` for every entry with `command` in `menu` and its submenus,
// depth first, until it returns true; returns whether it did.
template <typename Visit>
bool VisitCommand(Registry& registry, MenuHandle menu, int command, Visit visit) {
  MenuData* data = FindMenu(registry, menu);
  if (data == nullptr) return false;
  for (MenuEntry& entry : data->entries) {
    if (!entry.separator && !entry.submenu && entry.command == command && visit(entry)) {
      return true;
    }
    if (entry.submenu && VisitCommand(registry, entry.submenu, command, visit)) return true;
  }
  return false;
}

}  // namespace

MenuHandle BuildMenu(Registry& registry, const std::vector<MenuItemTemplate>& items) {
  const MenuHandle menu = NewMenu(registry);
  for (const MenuItemTemplate& item : items) {
    MenuEntry entry{item.text, item.command, item.separator, item.disabled, item.checked, {}};
    if (OpensSubmenu(item)) entry.submenu = BuildMenu(registry, item.items);
    registry.menus.at(menu).entries.push_back(std::move(entry));
  }
  return menu;
}

void DestroyMenuTree(Registry& registry, MenuHandle menu) {
  const MenuData* data = FindMenu(registry, menu);
  if (data == nullptr) return;
  for (const MenuEntry& entry : data->entries) {
    if (entry.submenu) DestroyMenuTree(registry, entry.submenu);
  }
  registry.menus.erase(menu);
}

void TouchMenuShowers(Registry& registry, MenuHandle menu) {
  for (auto& [handle, record] : registry.windows) {
    if (record.menu && Contains(registry, record.menu, menu)) Touch(registry, record);
  }
  TouchSystem(registry);
}

const MenuEntry* FindCommandEntry(Registry& registry, MenuHandle menu, int command) {
  const MenuEntry* found = nullptr;
  VisitCommand(registry, menu, command, [&](const MenuEntry& entry) {
    found = &entry;
    return true;
  });
  return found;
}

std::vector<MenuItemTemplate> MenuItemsOf(Registry& registry, MenuHandle menu) {
  std::vector<MenuItemTemplate> items;
  const MenuData* data = FindMenu(registry, menu);
  if (data == nullptr) return items;
  for (const MenuEntry& entry : data->entries) {
    items.push_back(
        {entry.text, entry.command, entry.separator, entry.disabled, entry.checked,
         entry.submenu ? MenuItemsOf(registry, entry.submenu) : std::vector<MenuItemTemplate>()});
  }
  return items;
}

bool IsMenu(Registry& registry, MenuHandle menu) { return FindMenu(registry, menu) != nullptr; }

}  // namespace winsys_internal

using winsys_internal::Lock;
using winsys_internal::MenuData;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;

namespace {

// Runs `act` on the menu's data under the lock; `fallback` for a stale
// handle. A change (act returns true) is shown wherever the menu is.
template <typename Result, typename Act>
Result WithMenu(MenuHandle menu, Result fallback, Act act) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const auto found = registry.menus.find(menu);
  if (found == registry.menus.end()) return fallback;
  return act(registry, found->second);
}

bool IsPosition(const MenuData& data, int position) {
  return position >= 0 && position < static_cast<int>(data.entries.size());
}

// Changes every entry with `command` and shows the change; false when no
// entry has it.
template <typename Change>
bool ChangeCommand(MenuHandle menu, int command, Change change) {
  return WithMenu(menu, false, [&](Registry& registry, MenuData&) {
    int changed = 0;
    winsys_internal::VisitCommand(registry, menu, command, [&](MenuEntry& entry) {
      change(entry);
      ++changed;
      return false;  // on to the next entry with the command
    });
    if (changed == 0) return false;
    winsys_internal::TouchMenuShowers(registry, menu);
    return true;
  });
}

}  // namespace

MenuHandle CreateMenuFromTemplate(const MenuTemplate& menu_template) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return winsys_internal::BuildMenu(registry, menu_template.items);
}

MenuHandle CreateMenu() { return CreateMenuFromTemplate({}); }

bool DestroyMenu(MenuHandle menu) {
  return WithMenu(menu, false, [&](Registry& registry, MenuData&) {
    winsys_internal::TouchMenuShowers(registry, menu);
    winsys_internal::DestroyMenuTree(registry, menu);
    return true;
  });
}

int GetMenuEntryCount(MenuHandle menu) {
  return WithMenu(menu, -1,
                  [](Registry&, MenuData& data) { return static_cast<int>(data.entries.size()); });
}

std::optional<MenuEntry> GetMenuEntry(MenuHandle menu, int position) {
  return WithMenu<std::optional<MenuEntry>>(menu, std::nullopt, [&](Registry&, MenuData& data) {
    return IsPosition(data, position) ? std::optional(data.entries[position]) : std::nullopt;
  });
}

MenuHandle GetSubMenu(MenuHandle menu, int position) {
  const std::optional<MenuEntry> entry = GetMenuEntry(menu, position);
  return entry ? entry->submenu : MenuHandle{};
}

bool InsertMenuEntry(MenuHandle menu, int position, const MenuEntry& entry) {
  return WithMenu(menu, false, [&](Registry& registry, MenuData& data) {
    if (entry.submenu && !winsys_internal::IsMenu(registry, entry.submenu)) return false;
    const int count = static_cast<int>(data.entries.size());
    const int at = position < 0 || position > count ? count : position;
    data.entries.insert(data.entries.begin() + at, entry);
    winsys_internal::TouchMenuShowers(registry, menu);
    return true;
  });
}

bool DeleteMenuEntry(MenuHandle menu, int position) {
  return WithMenu(menu, false, [&](Registry& registry, MenuData& data) {
    if (!IsPosition(data, position)) return false;
    const MenuHandle submenu = data.entries[position].submenu;
    data.entries.erase(data.entries.begin() + position);
    winsys_internal::DestroyMenuTree(registry, submenu);
    winsys_internal::TouchMenuShowers(registry, menu);
    return true;
  });
}

bool EnableMenuCommand(MenuHandle menu, int command, bool enabled) {
  return ChangeCommand(menu, command, [&](MenuEntry& entry) { entry.disabled = !enabled; });
}

bool CheckMenuCommand(MenuHandle menu, int command, bool checked) {
  return ChangeCommand(menu, command, [&](MenuEntry& entry) { entry.checked = checked; });
}

std::optional<MenuEntry> FindMenuCommand(MenuHandle menu, int command) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const MenuEntry* entry = winsys_internal::FindCommandEntry(registry, menu, command);
  return entry == nullptr ? std::nullopt : std::optional(*entry);
}

bool SetMenu(WindowHandle window, MenuHandle menu) {
  Registry& registry = TheRegistry();
  Size before;
  Size after;
  {
    Lock lock(registry.lock);
    winsys_internal::WindowRecord* record = winsys_internal::FindRecord(registry, window);
    if (record == nullptr || (menu && !winsys_internal::IsMenu(registry, menu))) return false;
    before = winsys_internal::ClientSizeOf(*record);
    record->menu = menu;
    after = winsys_internal::ClientSizeOf(*record);
    winsys_internal::Touch(registry, *record);
  }
  if (before != after) SendMessage(window, WM_SIZE, SIZE_RESTORED, MakeSizeLParam(after));
  return true;
}

MenuHandle GetMenu(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const winsys_internal::WindowRecord* record = winsys_internal::FindRecord(registry, window);
  return record == nullptr ? MenuHandle{} : record->menu;
}

}  // namespace tavi::platform
