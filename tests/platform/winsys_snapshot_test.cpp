#include "platform/winsys_snapshot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/winsys_controls.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

class SnapshotTest : public testing::WinsysTest {};

std::vector<WindowHandle> HandlesOf(const std::vector<WindowSnapshot>& windows) {
  std::vector<WindowHandle> handles;
  for (const WindowSnapshot& window : windows) handles.push_back(window.handle);
  return handles;
}

TEST_F(SnapshotTest, ASnapshotSinceAVersionHoldsExactlyTheWindowsChangedAfterIt) {
  const WindowHandle main = MakeWindow("Main", "Tavi");
  const WindowHandle status = MakeWindow("Status", "Ready.", main);
  const WindowHandle list = MakeWindow("List", "", main);
  const std::uint64_t start = TakeSnapshot().version;

  struct Case {
    const char* name;
    std::function<void()> change;
    std::vector<WindowHandle> changed;
  };
  const Case cases[] = {
      {"nothing", [] {}, {}},
      {"text", [&] { SetWindowText(status, "Downloading articles... Please wait."); }, {status}},
      {"rectangle",
       [&] {
         MoveWindow(list, {0, 0, 10, 10});
       },
       {list}},
      {"enabled state", [&] { EnableWindow(list, false); }, {list}},
      {"focus, won and lost",
       [&] {
         SetFocus(status);
         SetFocus(main);
       },
       {main, status}},
      {"visibility", [&] { ShowWindow(main, SW_HIDE); }, {main}},
      {"z-order", [&] { BringWindowToTop(status); }, {status}},
  };
  std::uint64_t known = start;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.change();
    const Snapshot snapshot = TakeSnapshot(known);
    EXPECT_EQ(HandlesOf(snapshot.windows), c.changed);
    EXPECT_GE(snapshot.version, known);
    known = snapshot.version;
  }
  const Snapshot everything = TakeSnapshot(start);
  EXPECT_EQ(HandlesOf(everything.windows), (std::vector<WindowHandle>{main, status, list}));
  EXPECT_EQ(everything.order, (std::vector<WindowHandle>{main, status, list}));
  EXPECT_EQ(everything.windows[1].text, "Downloading articles... Please wait.");
  EXPECT_FALSE(everything.windows[2].enabled);
  EXPECT_TRUE(everything.windows[0].focused);
  EXPECT_FALSE(everything.windows[1].focused);
}

TEST_F(SnapshotTest, AGoneWindowLeavesTheOrderAndAChangedOneKeepsItsPlace) {
  const WindowHandle main = MakeWindow("Main", "");
  const WindowHandle board = MakeWindow("NewsBoardWindow", "");
  const std::uint64_t known = TakeSnapshot().version;

  DestroyWindow(board);
  const Snapshot snapshot = TakeSnapshot(known);

  EXPECT_GT(snapshot.version, known) << "a removal is a change";
  EXPECT_EQ(snapshot.order, std::vector<WindowHandle>{main});
  EXPECT_TRUE(snapshot.windows.empty());
}

TEST_F(SnapshotTest, TheListenerHearsOfEveryChangeOutsideTheLock) {
  std::atomic<int> calls{0};
  std::atomic<ThreadId> caller{0};
  std::uint64_t seen_version = 0;
  // Taking a snapshot inside the listener would dead-lock if it were called
  // with the window system's lock held.
  SetChangeListener([&] {
    ++calls;
    caller = CurrentThreadId();
    seen_version = TakeSnapshot().version;
  });

  const WindowHandle main = MakeWindow("Main", "");
  const int after_create = calls.load();
  SetWindowText(main, "Tavi");
  const int after_text = calls.load();
  GetWindowText(main);
  IsWindowVisible(main);

  EXPECT_GE(after_create, 1);
  EXPECT_EQ(after_text, after_create + 1);
  EXPECT_EQ(calls.load(), after_text) << "reading changes nothing";
  EXPECT_EQ(seen_version, TakeSnapshot().version);

  ThreadId mover = 0;
  std::thread other([&] {
    mover = CurrentThreadId();
    MoveWindow(main, {5, 5, 5, 5});
  });
  other.join();
  EXPECT_EQ(calls.load(), after_text + 1);
  EXPECT_EQ(caller.load(), mover);
}

TEST_F(SnapshotTest, ControlsShowTheirKindIdStyleAndState) {
  WindowSpec spec;
  spec.class_name = "Button";
  spec.parent = MakeWindow("Main", "");
  spec.kind = ControlKind::kCheckBox;
  spec.control_id = 1039;
  spec.style = control_style::kAutoCheck | control_style::kTabStop;
  spec.rect = {5, 6, 105, 26};
  const WindowHandle box = CreateWindow(spec);
  SendMessage(box, BM_SETCHECK, BST_CHECKED, 0);

  const Snapshot snapshot = TakeSnapshot();
  const WindowSnapshot& state = snapshot.windows.at(1);
  EXPECT_EQ(state.handle, box);
  EXPECT_EQ(state.kind, ControlKind::kCheckBox);
  EXPECT_EQ(state.control_id, 1039);
  EXPECT_EQ(state.style, control_style::kAutoCheck | control_style::kTabStop);
  EXPECT_EQ(state.rect, (Rect{5, 6, 105, 26}));
  EXPECT_TRUE(state.checked);
  EXPECT_FALSE(snapshot.windows.at(0).kind);
}

}  // namespace
}  // namespace tavi::platform
