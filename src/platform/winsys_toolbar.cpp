#include "platform/winsys_toolbar.h"

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_controls.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::Registry;
using winsys_internal::ToolbarButton;
using winsys_internal::ToolbarData;
using winsys_internal::WindowRecord;

template <typename Result, typename Act>
Result WithToolbar(WindowHandle toolbar, Result fallback, Act act) {
  return winsys_internal::WithControlData(toolbar, &WindowRecord::toolbar, fallback, act);
}

int ToolbarHeight(int button_size) {
  return button_size + 2 * kToolbarButtonPadding + 2 * kToolbarMargin;
}

ToolbarButton* FindButton(ToolbarData& data, int command) {
  if (command == 0) return nullptr;  // separators are no buttons
  for (ToolbarButton& button : data.buttons) {
    if (button.button.command == command) return &button;
  }
  return nullptr;
}

// A person's click on the button with `command`: a dropdown button asks
// its parent to show its menu, any other sends its command.
void ClickButton(WindowHandle toolbar, int command) {
  bool dropdown = false;
  std::optional<Rect> rect;
  const bool enabled =
      WithToolbar(toolbar, false, [&](Registry&, WindowRecord&, ToolbarData& data) {
        const ToolbarButton* button = FindButton(data, command);
        if (button == nullptr || !button->enabled) return false;
        dropdown = button->button.dropdown;
        rect = winsys_internal::ButtonRect(data, command);
        return true;
      });
  if (!enabled) return;
  if (!dropdown) {
    SendMessage(GetParent(toolbar), WM_COMMAND, MakeWParam(command, BN_CLICKED),
                HandleToLParam(toolbar));
    return;
  }
  ToolbarNotify notify;
  notify.command = command;
  notify.button = rect.value_or(Rect{});
  winsys_internal::NotifyParent(toolbar, notify.header, TBN_DROPDOWN);
}

}  // namespace

namespace winsys_internal {

LResult ToolbarProcedure(WindowHandle toolbar, MessageId message, WParam wparam, LParam lparam) {
  if (message == kToolbarClickInput) {
    ClickButton(toolbar, static_cast<int>(wparam));
    return 0;
  }
  return DefWindowProc(toolbar, message, wparam, lparam);
}

std::optional<Rect> ButtonRect(const ToolbarData& data, int command) {
  const int cell = data.button_size + 2 * kToolbarButtonPadding;
  int left = 0;
  for (const ToolbarButton& button : data.buttons) {
    const bool separator = button.button.command == 0;
    const int width = separator ? kToolbarSeparatorWidth : cell;
    if (!separator && button.button.command == command) {
      return Rect{left, kToolbarMargin, left + width, kToolbarMargin + cell};
    }
    left += width;
  }
  return std::nullopt;
}

}  // namespace winsys_internal

ToolbarPlacement CreateToolbar(WindowHandle window, const ToolbarTemplate& toolbar_template,
                               int control_id) {
  const std::optional<Rect> client = GetClientRect(window);
  if (!client) return {};
  const int height = ToolbarHeight(toolbar_template.button_size);
  WindowSpec description;
  description.class_name = ControlClassName(ControlKind::kToolbar);
  description.parent = window;
  description.rect = {0, 0, client->Width(), height};
  description.kind = ControlKind::kToolbar;
  description.control_id = control_id;
  const WindowHandle toolbar = CreateWindow(description);
  if (!toolbar) return {};
  WithToolbar(toolbar, false, [&](Registry& registry, WindowRecord& record, ToolbarData& data) {
    data.button_size = toolbar_template.button_size;
    for (const ToolbarButtonTemplate& button : toolbar_template.buttons) {
      data.buttons.push_back({button, true});
    }
    winsys_internal::Touch(registry, record);
    return true;
  });
  return {toolbar, height};
}

bool EnableToolbarButton(WindowHandle toolbar, int command, bool enabled) {
  return WithToolbar(toolbar, false,
                     [&](Registry& registry, WindowRecord& record, ToolbarData& data) {
                       ToolbarButton* button = FindButton(data, command);
                       if (button == nullptr) return false;
                       button->enabled = enabled;
                       winsys_internal::Touch(registry, record);
                       return true;
                     });
}

bool IsToolbarButtonEnabled(WindowHandle toolbar, int command) {
  return WithToolbar(toolbar, false, [&](Registry&, WindowRecord&, ToolbarData& data) {
    const ToolbarButton* button = FindButton(data, command);
    return button != nullptr && button->enabled;
  });
}

std::optional<Rect> GetToolbarButtonRect(WindowHandle toolbar, int command) {
  return WithToolbar<std::optional<Rect>>(toolbar, std::nullopt,
                                          [&](Registry&, WindowRecord&, ToolbarData& data) {
                                            return winsys_internal::ButtonRect(data, command);
                                          });
}

}  // namespace tavi::platform
