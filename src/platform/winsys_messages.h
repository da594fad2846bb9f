#pragma once

// Message numbers, the notification codes every control shares, and the
// packing of message parameters. The numbers are the system's, so code
// written against it reads the same here.

#include "platform/winsys_types.h"

namespace tavi::platform {

inline constexpr MessageId WM_NULL = 0x0000;
inline constexpr MessageId WM_CREATE = 0x0001;  // lparam: const WindowSpec*
inline constexpr MessageId WM_DESTROY = 0x0002;
inline constexpr MessageId WM_SIZE = 0x0005;       // wparam: SIZE_*; lparam: MakeSizeLParam(client)
inline constexpr MessageId WM_SETFOCUS = 0x0007;   // wparam: the window that lost the focus
inline constexpr MessageId WM_KILLFOCUS = 0x0008;  // wparam: the window that gets the focus
inline constexpr MessageId WM_SETTEXT = 0x000C;    // lparam: const char* (NUL-terminated)
inline constexpr MessageId WM_CLOSE = 0x0010;
inline constexpr MessageId WM_QUIT = 0x0012;  // wparam: the exit code
// Sent before a window is shown or hidden; lparam: WindowPos*. A window
// that clears SWP_SHOWWINDOW from the flags stays hidden.
inline constexpr MessageId WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr MessageId WM_NOTIFY = 0x004E;  // wparam: control id; lparam: NotifyHeader*
inline constexpr MessageId WM_NCDESTROY = 0x0082;
// Keys: wparam the virtual key; lparam the key_modifier bits held with it.
inline constexpr MessageId WM_KEYDOWN = 0x0100;
inline constexpr MessageId WM_KEYUP = 0x0101;
inline constexpr MessageId WM_INITDIALOG = 0x0110;  // wparam: first tab stop; lparam: init value
// wparam: MakeWParam(id, code); lparam: the control's handle (HandleToLParam),
// 0 for a menu or accelerator command.
inline constexpr MessageId WM_COMMAND = 0x0111;
inline constexpr MessageId WM_SYSCOMMAND = 0x0112;  // wparam: an SC_ command
inline constexpr MessageId WM_TIMER = 0x0113;       // wparam: the timer id
// Mouse: wparam the MK_ bits held; lparam MakePointLParam(client point).
inline constexpr MessageId WM_MOUSEMOVE = 0x0200;
inline constexpr MessageId WM_LBUTTONDOWN = 0x0201;
inline constexpr MessageId WM_LBUTTONUP = 0x0202;
inline constexpr MessageId WM_LBUTTONDBLCLK = 0x0203;
inline constexpr MessageId WM_RBUTTONDOWN = 0x0204;
inline constexpr MessageId WM_RBUTTONUP = 0x0205;
inline constexpr MessageId WM_CAPTURECHANGED = 0x0215;  // lparam: the new capture (or 0)
inline constexpr MessageId WM_USER = 0x0400;
inline constexpr MessageId WM_APP = 0x8000;

// The range RegisterWindowMessage hands out.
inline constexpr MessageId kFirstRegisteredMessage = 0xC000;
inline constexpr MessageId kLastRegisteredMessage = 0xFFFF;

// What WM_WINDOWPOSCHANGING carries: the change about to happen.
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr std::uint32_t SWP_HIDEWINDOW = 0x0080;
struct WindowPos {
  WindowHandle window;
  std::uint32_t flags = 0;
};

// System commands (wparam of WM_SYSCOMMAND).
inline constexpr WParam SC_MINIMIZE = 0xF020;
inline constexpr WParam SC_MAXIMIZE = 0xF030;
inline constexpr WParam SC_CLOSE = 0xF060;
inline constexpr WParam SC_RESTORE = 0xF120;

// wparam of WM_SIZE.
inline constexpr WParam SIZE_RESTORED = 0;
inline constexpr WParam SIZE_MINIMIZED = 1;
inline constexpr WParam SIZE_MAXIMIZED = 2;

// Mouse-message wparam bits.
inline constexpr WParam MK_LBUTTON = 0x0001;
inline constexpr WParam MK_RBUTTON = 0x0002;
inline constexpr WParam MK_SHIFT = 0x0004;
inline constexpr WParam MK_CONTROL = 0x0008;

// Buttons and check boxes.
inline constexpr MessageId BM_GETCHECK = 0x00F0;
inline constexpr MessageId BM_SETCHECK = 0x00F1;  // wparam: BST_CHECKED or BST_UNCHECKED
inline constexpr MessageId BM_CLICK = 0x00F5;
inline constexpr WParam BST_UNCHECKED = 0;
inline constexpr WParam BST_CHECKED = 1;

// Progress bars.
inline constexpr MessageId PBM_SETPOS = WM_USER + 2;  // wparam: 0..100; returns the old one
inline constexpr MessageId PBM_GETPOS = WM_USER + 8;

// WM_COMMAND codes.
inline constexpr int BN_CLICKED = 0;
inline constexpr int STN_CLICKED = 0;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr int kAcceleratorCommandCode = 1;

// WM_NOTIFY codes common to the list view and the tree view; their own codes
// and data are in their headers.
inline constexpr int NM_CLICK = -2;
inline constexpr int NM_DBLCLK = -3;
inline constexpr int NM_RETURN = -4;
inline constexpr int NM_RCLICK = -5;

// What every WM_NOTIFY points at, first in each control's notification data.
struct NotifyHeader {
  WindowHandle window;  // the control
  int id = 0;           // its control id
  int code = 0;
};

constexpr WParam MakeWParam(int low, int high) {
  return (static_cast<WParam>(high & 0xFFFF) << 16) | static_cast<WParam>(low & 0xFFFF);
}
constexpr int LowWord(std::uintptr_t value) { return static_cast<int>(value & 0xFFFF); }
constexpr int HighWord(std::uintptr_t value) { return static_cast<int>((value >> 16) & 0xFFFF); }

// A point as mouse messages carry it: x and y as signed 16-bit halves, so a
// point left of or above a window under the capture stays negative.
constexpr LParam MakePointLParam(Point point) {
  return static_cast<LParam>(MakeWParam(point.x, point.y));
}
constexpr Point PointFromLParam(LParam lparam) {
  const auto value = static_cast<std::uintptr_t>(lparam);
  return {static_cast<std::int16_t>(LowWord(value)), static_cast<std::int16_t>(HighWord(value))};
}
constexpr LParam MakeSizeLParam(Size size) {
  return static_cast<LParam>(MakeWParam(size.width, size.height));
}

constexpr LParam HandleToLParam(WindowHandle window) { return static_cast<LParam>(window.id); }
constexpr WindowHandle HandleFromLParam(LParam lparam) {
  return WindowHandle{static_cast<std::uint32_t>(lparam)};
}

}  // namespace tavi::platform
