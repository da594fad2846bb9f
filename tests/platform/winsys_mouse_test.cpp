#include "platform/winsys_mouse.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::SeenMessage;

// One mouse message as a window got it.
struct MouseMessage {
  WindowHandle window;
  MessageId message = 0;
  WParam keys = 0;
  Point point;

  bool operator==(const MouseMessage&) const = default;
};

bool IsMouseMessage(MessageId message) {
  return message >= WM_MOUSEMOVE && message <= WM_RBUTTONUP;
}

class MouseTest : public testing::WinsysTest {
 protected:
  // A window at `rect` on the screen (or in `parent`) that records its
  // mouse messages, handing them to `handle` first when given.
  WindowHandle MakeMouseWindow(const Rect& rect, WindowHandle parent = {},
                               std::function<void(WindowHandle, MessageId)> handle = {}) {
    WindowSpec description;
    description.class_name = "Pane";
    description.parent = parent;
    description.rect = rect;
    description.procedure = [this, handle](WindowHandle window, MessageId message, WParam wparam,
                                           LParam lparam) {
      if (IsMouseMessage(message))
        seen_.push_back({window, message, wparam, PointFromLParam(lparam)});
      if (handle) handle(window, message);
      return log_.Procedure()(window, message, wparam, lparam);
    };
    return CreateWindow(description);
  }

  std::vector<MouseMessage> seen_;
};

TEST_F(MouseTest, MessagesGoToTheWindowUnderThePointerOrToTheCaptureInItsCoordinates) {
  const WindowHandle left = MakeMouseWindow({100, 100, 200, 200});
  const WindowHandle right = MakeMouseWindow({300, 100, 400, 200});

  InjectMouse(right, MouseAction::kMove, {10, 20}, key_modifier::kShift);
  PumpWaitingMessages();
  SetCapture(left);
  InjectMouse(right, MouseAction::kLeftDown, {10, 20}, key_modifier::kControl);
  InjectMouse(right, MouseAction::kLeftUp, {10, 20});
  PumpWaitingMessages();

  EXPECT_EQ(seen_, (std::vector<MouseMessage>{
                       {right, WM_MOUSEMOVE, MK_SHIFT, {10, 20}},
                       {left, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, {210, 20}},
                       {left, WM_LBUTTONUP, 0, {210, 20}},
                   }));
  EXPECT_EQ(GetCursorPos(), (Point{310, 120}));
}

TEST_F(MouseTest, ALabelLetsTheMouseThroughUnlessItReportsClicks) {
  const WindowHandle dialog = MakeMouseWindow({100, 100, 500, 400});
  WindowSpec description;
  description.class_name = "Static";
  description.parent = dialog;
  description.rect = {0, 100, 400, 104};
  description.kind = ControlKind::kLabel;
  description.procedure = log_.Procedure();
  const WindowHandle bar = CreateWindow(description);

  InjectMouse(bar, MouseAction::kLeftDown, {5, 1});
  PumpWaitingMessages();
  SetWindowStyle(bar, control_style::kNotify);
  InjectMouse(bar, MouseAction::kLeftUp, {5, 1});
  PumpWaitingMessages();

  EXPECT_EQ(seen_, (std::vector<MouseMessage>{{dialog, WM_LBUTTONDOWN, MK_LBUTTON, {5, 101}}}));
  EXPECT_EQ(log_.Seen(WM_LBUTTONUP).size(), 1u);
}

TEST_F(MouseTest, TheWindowThatLosesTheCaptureIsToldWhoHasItNow) {
  const WindowHandle list = MakeMouseWindow({0, 0, 10, 10});
  const WindowHandle splitter = MakeMouseWindow({0, 20, 10, 24});

  EXPECT_EQ(SetCapture(list), WindowHandle{});
  EXPECT_EQ(SetCapture(splitter), list);
  EXPECT_EQ(GetCapture(), splitter);
  ASSERT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), WindowHandle{});

  const ThreadId me = CurrentThreadId();
  EXPECT_EQ(log_.Seen(WM_CAPTURECHANGED),
            (std::vector<SeenMessage>{{list, WM_CAPTURECHANGED, 0, me},
                                      {splitter, WM_CAPTURECHANGED, 0, me}}));
  SetCapture(list);
  DestroyWindow(list);
  EXPECT_EQ(GetCapture(), WindowHandle{});
}

// A drag as a splitter bar makes it: on the press, capture the mouse and
// confine the cursor, then take messages in a loop of its own until the
// button comes up.
TEST_F(MouseTest, ADragLoopGetsItsMovesHeldInsideTheClipRectangle) {
  const WindowHandle dialog = MakeMouseWindow({100, 100, 500, 400});
  std::vector<Point> moves;
  const WindowHandle bar =
      MakeMouseWindow({0, 100, 400, 104}, dialog, [&](WindowHandle window, MessageId message) {
        if (message != WM_LBUTTONDOWN) return;
        SetCapture(window);
        ClipCursor(Rect{100, 150, 500, 300});
        Message next;
        while (GetMessage(next) && next.message != WM_LBUTTONUP) {
          if (next.message == WM_MOUSEMOVE) moves.push_back(PointFromLParam(next.lparam));
        }
        ClipCursor(std::nullopt);
        ReleaseCapture();
      });

  // Everything is injected before the bar sees its press: the moves are
  // routed and held when the loop takes them, after the capture and the
  // clip are in place.
  ASSERT_TRUE(InjectMouse(bar, MouseAction::kLeftDown, {50, 2}));
  ASSERT_TRUE(InjectMouse(bar, MouseAction::kMove, {50, 30}));
  ASSERT_TRUE(InjectMouse(bar, MouseAction::kMove, {50, -80}));
  ASSERT_TRUE(InjectMouse(bar, MouseAction::kMove, {600, 500}));
  ASSERT_TRUE(InjectMouse(bar, MouseAction::kLeftUp, {50, 30}));
  PumpWaitingMessages();

  // The bar's client origin is (100, 200) on the screen.
  EXPECT_EQ(moves, (std::vector<Point>{{50, 30}, {50, -50}, {399, 99}}));
  EXPECT_EQ(GetCapture(), WindowHandle{});
  EXPECT_EQ(GetClipCursor(), std::nullopt);
  EXPECT_EQ(GetAsyncKeyState(virtual_key::kLeftButton), 0);
}

// A front end learns which cursor to show over a window from the snapshot,
// and redraws it when the window's version rises.
TEST_F(MouseTest, AWindowsCursorIsInItsSnapshotAndChangingItIsAChange) {
  const WindowHandle dialog = MakeMouseWindow({100, 100, 500, 400});
  const WindowHandle bar = MakeMouseWindow({0, 100, 400, 104}, dialog);
  const auto state_of = [](WindowHandle window, std::uint64_t since) {
    std::optional<WindowSnapshot> found;
    for (const WindowSnapshot& state : TakeSnapshot(since).windows) {
      if (state.handle == window) found = state;
    }
    return found;
  };
  const std::uint64_t before = TakeSnapshot().version;
  EXPECT_EQ(GetWindowCursor(bar), 0);

  ASSERT_TRUE(SetWindowCursor(bar, 1080));
  EXPECT_EQ(GetWindowCursor(bar), 1080);
  const std::optional<WindowSnapshot> changed = state_of(bar, before);
  ASSERT_TRUE(changed.has_value());
  EXPECT_EQ(changed->cursor_id, 1080);
  EXPECT_EQ(state_of(dialog, before), std::nullopt) << "only the bar changed";

  DestroyWindow(dialog);
  EXPECT_FALSE(SetWindowCursor(bar, 1080));
  EXPECT_EQ(GetWindowCursor(bar), 0);
}

TEST_F(MouseTest, PressingAButtonBringsItsTopLevelWindowToTheTop) {
  const WindowHandle main = MakeMouseWindow({0, 0, 100, 100});
  const WindowHandle list = MakeMouseWindow({0, 0, 50, 50}, main);
  const WindowHandle board = MakeMouseWindow({200, 0, 300, 100});

  InjectMouse(list, MouseAction::kMove, {1, 1});
  PumpWaitingMessages();
  EXPECT_EQ(GetForegroundWindow(), board) << "moving raises nothing";
  InjectMouse(list, MouseAction::kRightDown, {1, 1});
  PumpWaitingMessages();
  EXPECT_EQ(GetForegroundWindow(), main);
  EXPECT_LT(GetAsyncKeyState(virtual_key::kRightButton), 0);
  InjectMouse(list, MouseAction::kRightUp, {1, 1});
  PumpWaitingMessages();
  EXPECT_EQ(GetAsyncKeyState(virtual_key::kRightButton), 0);
}

}  // namespace
}  // namespace tavi::platform
