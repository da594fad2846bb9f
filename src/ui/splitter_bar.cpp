#include "ui/splitter_bar.h"

#include <algorithm>
#include <optional>

#include "platform/winsys_dialog.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_mouse.h"
#include "res/cursors.h"

namespace tavi {
namespace {

using platform::LParam;
using platform::LResult;
using platform::Message;
using platform::MessageId;
using platform::Point;
using platform::Rect;
using platform::WindowHandle;
using platform::WParam;

// Where the bar's top may go during a drag (screen y).
struct DragRange {
  int low = 0;
  int high = 0;
};

// The range for a bar in a parent whose client area is at `parent_client`,
// with its neighbours at `above` and `below` (all on the screen): the top
// margin away from the client area's top and from the top of every control
// above, the bottom margin away from the client area's bottom and from the
// bottom of every control below. nullopt when the parent is too short for
// the margins.
std::optional<DragRange> AllowedDragRange(const Rect& parent_client, const std::vector<Rect>& above,
                                          const std::vector<Rect>& below, int top_margin,
                                          int bottom_margin) {
  DragRange range{parent_client.top + top_margin, parent_client.bottom - bottom_margin};
  for (const Rect& control : above) range.low = std::max(range.low, control.top + top_margin);
  for (const Rect& control : below) {
    range.high = std::min(range.high, control.bottom - bottom_margin);
  }
  if (range.low >= range.high) return std::nullopt;
  return range;
}

// The cursor's confinement for a drag of the bar at `bar` (screen) grabbed
// `grab_y` pixels below its top: the bar's width across; down, the points
// that keep the bar's top from rising above `low` and its bottom from
// sinking below `high` (the rectangle's bottom is exclusive).
Rect DragClipRect(const Rect& bar, int grab_y, const DragRange& range) {
  return {bar.left, range.low + grab_y, bar.right, range.high + grab_y - bar.Height() + 1};
}

// The feedback: a window the size of the bar at `rect` (the parent's client
// coordinates), on top of the parent's controls. Disabled, as it is only
// drawn and never takes input.
WindowHandle CreateFeedback(WindowHandle parent, const Rect& rect) {
  platform::WindowSpec description;
  description.class_name = kSplitterFeedbackClass;
  description.parent = parent;
  description.enabled = false;
  description.rect = rect;
  const WindowHandle feedback = platform::CreateWindow(description);
  platform::SetWindowCursor(feedback, res::kSplitterCursor.id);
  return feedback;
}

// The next message of the drag's loop; false when a WM_QUIT ends the drag,
// in which case the quit is put back for the outer loop.
bool NextDragMessage(Message& message) {
  if (platform::GetMessage(message)) return true;
  platform::PostQuitMessage(static_cast<int>(message.wparam));
  return false;
}

bool EndsDrag(const Message& message) {
  return message.message == platform::WM_LBUTTONUP || message.message == platform::WM_RBUTTONDOWN ||
         (message.message == platform::WM_KEYDOWN &&
          message.wparam == static_cast<WParam>(platform::virtual_key::kEscape));
}

// Keys go nowhere during a drag: neither down, where Enter would press the
// default button, nor up, where Space would click the focused button.
bool IsKey(const Message& message) {
  return message.message == platform::WM_KEYDOWN || message.message == platform::WM_KEYUP;
}

// Follows the pointer from `press` (the bar's client coordinates) with the
// feedback until the drag ends, dispatching what is not the drag's own, and
// returns the vertical distance reached.
int TrackDrag(WindowHandle bar, WindowHandle feedback, const Rect& start, Point press) {
  int distance = 0;
  Message message;
  while (platform::GetCapture() == bar && NextDragMessage(message)) {
    if (EndsDrag(message)) break;
    if (message.message == platform::WM_MOUSEMOVE && message.window == bar) {
      distance = platform::PointFromLParam(message.lparam).y - press.y;
      platform::MoveWindow(feedback, start.Offset(0, distance));
      continue;
    }
    if (!IsKey(message)) platform::DispatchMessage(message);
  }
  return distance;
}

}  // namespace

int SplitterDistance(WParam wparam) { return static_cast<int>(static_cast<LParam>(wparam)); }

SplitterBar::~SplitterBar() {
  if (platform::IsWindow(bar_)) platform::SubclassWindow(bar_, previous_);
}

bool SplitterBar::Attach(WindowHandle parent, int control_id) {
  const WindowHandle bar = platform::GetDlgItem(parent, control_id);
  if (!bar || bar_) return false;
  parent_ = parent;
  bar_ = bar;
  control_id_ = control_id;
  platform::SetWindowStyle(bar, platform::GetWindowStyle(bar) | platform::control_style::kNotify);
  platform::SetWindowCursor(bar, res::kSplitterCursor.id);
  previous_ = platform::SubclassWindow(
      bar, [this](WindowHandle window, MessageId message, WParam wparam, LParam lparam) {
        return Procedure(window, message, wparam, lparam);
      });
  return true;
}

void SplitterBar::SetMargins(int top, int bottom) {
  top_margin_ = top;
  bottom_margin_ = bottom;
}

void SplitterBar::AddAbove(int control_id) { above_.push_back(control_id); }

void SplitterBar::AddBelow(int control_id) { below_.push_back(control_id); }

void SplitterBar::Layout() const {
  const std::optional<Rect> bar = platform::GetChildRect(bar_);
  if (!bar) return;
  const auto move_edge = [this](int control_id, auto change) {
    const WindowHandle control = platform::GetDlgItem(parent_, control_id);
    std::optional<Rect> rect = platform::GetChildRect(control);
    if (!rect) return;
    change(*rect);
    platform::MoveWindow(control, *rect);
  };
  for (const int id : above_) move_edge(id, [&](Rect& rect) { rect.bottom = bar->top - 1; });
  for (const int id : below_) move_edge(id, [&](Rect& rect) { rect.top = bar->bottom + 1; });
}

LResult SplitterBar::Procedure(WindowHandle window, MessageId message, WParam wparam,
                               LParam lparam) {
  if (message == platform::WM_LBUTTONDOWN && !platform::GetCapture()) {
    Drag(platform::PointFromLParam(lparam));
    return 0;
  }
  return platform::CallWindowProcedure(previous_, window, message, wparam, lparam);
}

void SplitterBar::Drag(Point press) {
  const std::optional<Rect> client = platform::GetClientRect(parent_);
  if (!client) return;
  const Point origin = platform::ClientToScreen(parent_, {});
  const std::optional<DragRange> range =
      AllowedDragRange(client->Offset(origin.x, origin.y), ScreenRects(above_), ScreenRects(below_),
                       top_margin_, bottom_margin_);
  if (!range) return;
  // Kept here: the messages the drag dispatches may take the dialog, and
  // this bar with it, away.
  const WindowHandle bar = bar_;
  const Rect start = *platform::GetChildRect(bar);
  platform::ClipCursor(DragClipRect(*platform::GetWindowRect(bar), press.y, *range));
  platform::SetCapture(bar);
  const WindowHandle feedback = CreateFeedback(parent_, start);
  const int distance = TrackDrag(bar, feedback, start, press);
  platform::DestroyWindow(feedback);
  if (platform::GetCapture() == bar) platform::ReleaseCapture();
  platform::ClipCursor(std::nullopt);
  if (distance == 0 || !platform::IsWindow(bar)) return;
  platform::MoveWindow(bar_, start.Offset(0, distance));
  Layout();
  platform::SendMessage(parent_, kSplitterMovedMessage, static_cast<WParam>(distance), control_id_);
}

std::vector<Rect> SplitterBar::ScreenRects(const std::vector<int>& control_ids) const {
  std::vector<Rect> rects;
  for (const int id : control_ids) {
    if (const std::optional<Rect> rect = platform::GetWindowRect(platform::GetDlgItem(parent_, id)))
      rects.push_back(*rect);
  }
  return rects;
}

}  // namespace tavi
