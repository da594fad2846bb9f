#pragma once

// The toolbar: a row of command buttons (and separators) along the top of
// a window's client area, made from a ToolbarTemplate. A click on an
// enabled button sends its parent WM_COMMAND with the button's command
// (code BN_CLICKED, the toolbar's handle); a click on a dropdown button sends
// WM_NOTIFY with TBN_DROPDOWN instead, for the parent to show its menu. The
// tooltips are kept for front ends to show.

#include <optional>

#include "platform/window_templates.h"
#include "platform/winsys.h"

namespace tavi::platform {

inline constexpr int TBN_DROPDOWN = -710;

// The toolbar's measures: each button is its image with this padding on
// every side, a separator is this wide, and the bar has this margin above
// and below its buttons.
inline constexpr int kToolbarButtonPadding = 4;
inline constexpr int kToolbarSeparatorWidth = 8;
inline constexpr int kToolbarMargin = 2;

// The data of TBN_DROPDOWN.
struct ToolbarNotify {
  NotifyHeader header;
  int command = 0;
  Rect button;  // in the toolbar's client coordinates
};

struct ToolbarPlacement {
  WindowHandle toolbar;  // none when it could not be made
  int height = 0;
};

// Creates a toolbar with control id `control_id` as a child of `window`,
// at the top of its client area and as wide as it; returns the toolbar and
// its height (the caller makes room for it). Every button starts enabled.
ToolbarPlacement CreateToolbar(WindowHandle window, const ToolbarTemplate& toolbar_template,
                               int control_id);

// Enables or disables the button with `command`; false when the toolbar
// has none.
bool EnableToolbarButton(WindowHandle toolbar, int command, bool enabled);
bool IsToolbarButtonEnabled(WindowHandle toolbar, int command);

// Where the button with `command` is, in the toolbar's client coordinates.
std::optional<Rect> GetToolbarButtonRect(WindowHandle toolbar, int command);

}  // namespace tavi::platform
