#pragma once

// The mouse: the capture (the window that gets every mouse message while it
// holds it, wherever the pointer is), the cursor's position, the rectangle
// the cursor is confined to, and the cursor each window shows. One capture
// for the whole process: Tavi's windows all live on one thread.

#include <optional>

#include "platform/winsys.h"

namespace tavi::platform {

// Gives the capture to `window` and returns the window that held it (none
// when none did). The window that loses it gets WM_CAPTURECHANGED with the
// new holder. None, changing nothing, for a stale handle.
WindowHandle SetCapture(WindowHandle window);

// Ends the capture; its holder gets WM_CAPTURECHANGED with 0. True (also
// when nobody held it).
bool ReleaseCapture();

// The window that holds the capture, or none.
WindowHandle GetCapture();

// Confines the cursor to `rect` (screen coordinates; nullopt frees it) and
// moves the cursor inside when it is outside. Mouse input that front ends
// inject lands inside it.
void ClipCursor(std::optional<Rect> rect);

// The rectangle the cursor is confined to, or nullopt when it is free.
std::optional<Rect> GetClipCursor();

// The cursor's position on the screen: where the last mouse input was.
Point GetCursorPos();

// Moves the cursor, held inside the clip rectangle; returns where it went.
Point SetCursorPos(Point point);

// Sets the cursor shown while the pointer is over `window`: a program's
// cursor resource id, or 0 for none of its own (the front end shows its
// usual arrow). Front ends read it from the snapshot; under the capture they
// show the capture's cursor. False for a stale handle.
bool SetWindowCursor(WindowHandle window, int cursor_id);

// The window's cursor resource id; 0 for none or a stale handle.
int GetWindowCursor(WindowHandle window);

}  // namespace tavi::platform
