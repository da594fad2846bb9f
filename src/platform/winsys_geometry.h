#pragma once

// Where windows are and how they are shown: rectangles, the frame around a
// window's client area, coordinate mapping, show states, tracking sizes and
// the desktop's size.
//
// A window's rectangle is in pixels in its parent's client area; a
// top-level window's is on the screen, whose origin is the desktop's top-left
// corner. The client area is the rectangle inside the frame: a window with a
// caption (dialog_style::kCaption) has a caption bar and a border, a
// resizable one a wider border, one with a menu bar the bar under the
// caption; controls have no frame.

#include <optional>

#include "platform/winsys.h"
#include "platform/winsys_types.h"

namespace tavi::platform {

// Frame sizes, in pixels.
inline constexpr int kBorderWidth = 3;
inline constexpr int kResizableBorderWidth = 4;
inline constexpr int kCaptionHeight = 22;
inline constexpr int kMenuBarHeight = 20;

// The desktop's size when nobody has set one.
inline constexpr Size kDefaultDesktopSize{1280, 1024};

enum class ShowState { kNormal, kMinimized, kMaximized };

// The rectangle of a window (not a control) with `style` (dialog_style
// bits) and a menu bar or not whose client area is `client`.
Rect AdjustWindowRect(const Rect& client, std::uint32_t style, bool has_menu);

// Places the window at `rect` (parent client coordinates; top-level: screen)
// and sends WM_SIZE when its client size changed. Programs are not held to
// the tracking sizes; people are (InjectWindowRect). Moving a minimised or
// maximised window changes where it is now, not where SW_RESTORE puts it
// back. False for a stale handle or the desktop.
bool MoveWindow(WindowHandle window, const Rect& rect);

// The window's rectangle on the screen; nullopt for a stale handle. The
// desktop's is (0, 0) to its size.
std::optional<Rect> GetWindowRect(WindowHandle window);

// The window's rectangle in its parent's client area, as MoveWindow takes
// it (top-level: the screen); nullopt for a stale handle.
std::optional<Rect> GetChildRect(WindowHandle window);

// The client area in client coordinates: (0, 0) to its size, which is zero
// while the window is minimised; nullopt for a stale handle.
std::optional<Rect> GetClientRect(WindowHandle window);

// The client area's place inside the window's rectangle, relative to the
// window's top-left corner (what the frame takes); nullopt for a stale handle.
std::optional<Rect> GetClientAreaInWindow(WindowHandle window);

// Converts between a window's client coordinates and the screen. A stale
// handle leaves the point as it is.
Point ClientToScreen(WindowHandle window, Point point);
Point ScreenToClient(WindowHandle window, Point point);

// The window's show state; kNormal for a stale handle. Minimising keeps the
// rectangle; maximising fills the parent's client area (top-level: the
// desktop); restoring puts back the rectangle it had in the normal state.
ShowState GetShowState(WindowHandle window);
bool IsIconic(WindowHandle window);
bool IsZoomed(WindowHandle window);

// The smallest and largest size a person may give a resizable window; a
// zero width or height is no limit. Kept by the window system so that front
// ends can hold sizing to them. False for a stale handle.
bool SetWindowTrackingSizes(WindowHandle window, Size minimum, Size maximum);

struct TrackingSizes {
  Size minimum;
  Size maximum;
};
// nullopt for a stale handle.
std::optional<TrackingSizes> GetWindowTrackingSizes(WindowHandle window);

// Moves the window below all its siblings. False for a stale handle.
bool MoveWindowToBottom(WindowHandle window);

// Sets the desktop's size (the screen that maximised top-level windows
// fill and dialogs are centred on). Sizes below 1 pixel are raised to 1.
void SetDesktopSize(Size size);

}  // namespace tavi::platform
