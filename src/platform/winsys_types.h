#pragma once

// The values the window system's functions pass around: handles, message
// parameters, and pixel geometry.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace tavi::platform {

using MessageId = std::uint32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using TimerId = std::uintptr_t;

// A thread as the window system knows it: a process-wide number given to a
// thread when it first asks for one; 0 is no thread.
using ThreadId = std::uint32_t;

// A window, by value. Handles are never reused, so a stale handle stays
// invalid; the default handle (0) is "no window".
struct WindowHandle {
  std::uint32_t id = 0;

  explicit operator bool() const { return id != 0; }
  friend auto operator<=>(const WindowHandle&, const WindowHandle&) = default;
};

// A menu, by value; never reused; the default handle (0) is "no menu".
struct MenuHandle {
  std::uint32_t id = 0;

  explicit operator bool() const { return id != 0; }
  friend auto operator<=>(const MenuHandle&, const MenuHandle&) = default;
};

// A point in pixels; screen or client coordinates, as each function says.
struct Point {
  int x = 0;
  int y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle in pixels, right and bottom exclusive, as the system's.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Contains(Point point) const {
    return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
  }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }

  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace tavi::platform

template <>
struct std::hash<tavi::platform::WindowHandle> {
  std::size_t operator()(const tavi::platform::WindowHandle& handle) const noexcept {
    return std::hash<std::uint32_t>{}(handle.id);
  }
};

template <>
struct std::hash<tavi::platform::MenuHandle> {
  std::size_t operator()(const tavi::platform::MenuHandle& handle) const noexcept {
    return std::hash<std::uint32_t>{}(handle.id);
  }
};
