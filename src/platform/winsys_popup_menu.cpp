// Popup menus: shown at a point for an owner, answered by a front end (in
// a modal loop), by the installed handler, or dismissed at once.

#include <algorithm>

#include "platform/winsys_input.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_modal.h"
#include "platform/winsys_registry.h"
#include "platform/winsys_request_log.h"

namespace tavi::platform {
namespace {

using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;

winsys_internal::RequestLog<PopupMenuRequest, PopupMenuHandler>& TheLog() {
  static auto* const log = new winsys_internal::RequestLog<PopupMenuRequest, PopupMenuHandler>;
  return *log;
}

bool IsEnabledCommandOf(MenuHandle menu, int command) {
  const std::optional<MenuEntry> entry = FindMenuCommand(menu, command);
  return entry && !entry->disabled;
}

}  // namespace

void SetPopupMenuHandler(PopupMenuHandler handler) { TheLog().SetHandler(std::move(handler)); }

bool TrackPopupMenu(MenuHandle menu, Point point, WindowHandle owner) {
  if (GetMenuEntryCount(menu) < 0) return false;
  PopupMenuRequest request{0, menu, point, owner, CurrentThreadId()};
  int command = 0;
  {
    winsys_internal::FrontEndRequest<PopupMenuRequest> asked(request, &Registry::pending_popups,
                                                             owner);
    const PopupMenuHandler handler = TheLog().Record(request);
    if (asked.pending()) {
      command = asked.Wait(0);
    } else if (handler) {
      command = handler(request);
    }
  }
  if (command == 0 || !IsEnabledCommandOf(menu, command)) return false;
  // As the system does, the command arrives once the menu is gone.
  return PostMessage(owner, WM_COMMAND, MakeWParam(command, 0), 0);
}

bool AnswerPopupMenu(int id, int command) {
  MenuHandle menu;
  {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    const auto popup = std::ranges::find_if(
        registry.pending_popups, [&](const PopupMenuRequest& popup) { return popup.id == id; });
    if (popup == registry.pending_popups.end()) return false;
    menu = popup->menu;
  }
  if (command != 0 && !IsEnabledCommandOf(menu, command)) return false;
  return winsys_internal::StoreAnswer(id, command);
}

std::vector<PopupMenuRequest> ShownPopupMenus() { return TheLog().Shown(); }

void ClearShownPopupMenus() { TheLog().Clear(); }

}  // namespace tavi::platform
