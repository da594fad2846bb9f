#include "ui/splitter_bar.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input.h"
#include "platform/winsys_mouse.h"
#include "platform/winsys_test_support.h"

namespace tavi {
namespace {

using namespace platform;
using testing::Notice;

constexpr int kList = 10;
constexpr int kBar = 11;
constexpr int kPreview = 12;

// What the dialog heard of a drag that moved the bar.
struct Moved {
  int distance = 0;
  LParam bar_id = 0;
  int list_bottom = 0;  // where Layout had put the list by then

  bool operator==(const Moved&) const = default;
};

// A dialog 200 by 300 pixels at (100, 100) on the screen, frameless, so that
// its client coordinates are the screen's less 100: a list from 0 to 99, the
// bar from 100 to 104 and a preview from 105 to 300, with OK in a corner.
class SplitterBarTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    DialogTemplate board;
    board.id = 900;
    board.caption = "Board";
    board.rect = {0, 0, 100, 100};
    board.controls = {
        {ControlKind::kListView, kList, "", {}, 0, 0},
        // A plain label: the bar gives it the notify style.
        {ControlKind::kLabel, kBar, "", {}, 0, 0},
        {ControlKind::kBrowser, kPreview, "", {}, 0, 0},
        {ControlKind::kButton, IDOK, "OK", {}, control_style::kDefaultButton, 0},
    };
    dialog_ = CreateDialog(board, {}, Procedure(), 0);
    ASSERT_TRUE(dialog_);
    MoveWindow(dialog_, {100, 100, 300, 400});
    MoveWindow(Item(kList), {0, 0, 200, 99});
    MoveWindow(Item(kBar), {0, 100, 200, 104});
    MoveWindow(Item(kPreview), {0, 105, 200, 300});
    MoveWindow(Item(IDOK), {150, 280, 190, 295});
    ShowWindow(dialog_, SW_SHOW);
  }

  void AttachBar(int top_margin = 20, int bottom_margin = 30) {
    ASSERT_TRUE(bar_.Attach(dialog_, kBar));
    bar_.SetMargins(top_margin, bottom_margin);
    bar_.AddAbove(kList);
    bar_.AddBelow(kPreview);
  }

  WindowHandle Item(int id) const { return GetDlgItem(dialog_, id); }
  Rect RectOf(int id) const { return GetChildRect(Item(id)).value_or(Rect{}); }

  // Input as a person gives it, at points of the bar's client area where it
  // was when the input was given; handled once PumpWaitingMessages runs.
  void Mouse(MouseAction action, Point point) {
    ASSERT_TRUE(InjectMouse(Item(kBar), action, point));
  }
  void Key(int key) { ASSERT_TRUE(InjectKeyPress({}, key)); }
  // Runs `act` when the dialog gets to it, in the order of the input.
  void During(std::function<void()> act) {
    during_.push_back(std::move(act));
    PostMessage(dialog_, WM_APP, during_.size() - 1, 0);
  }
  // A drag from the bar's middle row, by `distance`, ended by `end`.
  void Drag(int distance, std::function<void()> end) {
    Mouse(MouseAction::kLeftDown, {50, 2});
    Mouse(MouseAction::kMove, {50, 2 + distance / 2});
    Mouse(MouseAction::kMove, {50, 2 + distance});
    end();
    PumpWaitingMessages();
  }

  WindowHandle Feedback() const {
    return FindChildWindow(dialog_, kSplitterFeedbackClass, kAnyText);
  }

  WindowHandle dialog_;
  SplitterBar bar_;
  std::vector<Moved> moved_;
  std::vector<Notice> notices_;

 private:
  DialogProcedure Procedure() {
    return [this](WindowHandle, MessageId message, WParam wparam,
                  LParam lparam) -> std::optional<LResult> {
      if (message == kSplitterMovedMessage) {
        moved_.push_back({SplitterDistance(wparam), lparam, RectOf(kList).bottom});
        return 0;
      }
      if (message == WM_COMMAND) notices_.push_back({message, LowWord(wparam), HighWord(wparam)});
      if (message == WM_APP) {
        during_.at(wparam)();
        return 0;
      }
      return std::nullopt;
    };
  }

  std::vector<std::function<void()>> during_;
};

TEST_F(SplitterBarTest, AttachingGivesTheLabelTheNotifyStyleAndTheResizeCursor) {
  EXPECT_EQ(GetWindowStyle(Item(kBar)) & control_style::kNotify, 0u);
  AttachBar();
  EXPECT_EQ(bar_.Handle(), Item(kBar));
  EXPECT_NE(GetWindowStyle(Item(kBar)) & control_style::kNotify, 0u);
  EXPECT_EQ(GetWindowCursor(Item(kBar)), 1080);
  EXPECT_FALSE(bar_.Attach(dialog_, kBar)) << "attached already";
  SplitterBar other;
  EXPECT_FALSE(other.Attach(dialog_, 4711));
  EXPECT_FALSE(other.Handle());
}

TEST_F(SplitterBarTest, ADragEndedByEscapeAfterThirtyPixelsMovesTheBarThirtyAndTellsTheDialog) {
  AttachBar();
  Drag(30, [&] { Key(virtual_key::kEscape); });

  EXPECT_EQ(RectOf(kBar), (Rect{0, 130, 200, 134}));
  EXPECT_EQ(RectOf(kList), (Rect{0, 0, 200, 129}));
  EXPECT_EQ(RectOf(kPreview), (Rect{0, 135, 200, 300}));
  EXPECT_EQ(moved_, (std::vector<Moved>{{30, kBar, 129}})) << "told after the layout";
  EXPECT_EQ(GetCapture(), WindowHandle{});
  EXPECT_EQ(GetClipCursor(), std::nullopt);
  EXPECT_FALSE(Feedback());
  EXPECT_TRUE(notices_.empty());
}

TEST_F(SplitterBarTest, EveryWayOfEndingADragMovesTheBarByTheDistanceReached) {
  AttachBar();
  struct Case {
    const char* name;
    int distance;
    std::function<void()> end;
    bool capture_taken = false;  // the window that took it keeps it
  };
  const Case cases[] = {
      {"left button up", 25,
       [this] {
         Mouse(MouseAction::kLeftUp, {50, 9});
       }},
      {"right button down", -25,
       [this] {
         Mouse(MouseAction::kRightDown, {50, 9});
       }},
      {"Escape", 40, [this] { Key(virtual_key::kEscape); }},
      {"capture taken", -40, [this] { During([this] { SetCapture(Item(kList)); }); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    moved_.clear();
    const Rect start = RectOf(kBar);
    Drag(c.distance, c.end);
    EXPECT_EQ(RectOf(kBar), start.Offset(0, c.distance));
    EXPECT_EQ(RectOf(kList).bottom, start.top + c.distance - 1);
    ASSERT_EQ(moved_.size(), 1u);
    EXPECT_EQ(moved_[0].distance, c.distance);
    EXPECT_EQ(moved_[0].bar_id, kBar);
    EXPECT_FALSE(Feedback());
    EXPECT_EQ(GetClipCursor(), std::nullopt);
    EXPECT_EQ(GetCapture(), c.capture_taken ? Item(kList) : WindowHandle{});
    // Let go of whatever the case left pressed or captured.
    Mouse(MouseAction::kRightUp, {50, 2});
    Mouse(MouseAction::kLeftUp, {50, 2});
    ReleaseCapture();
    PumpWaitingMessages();
  }
}

TEST_F(SplitterBarTest, AClickOrADragBackToTheStartChangesNothing) {
  AttachBar();
  Mouse(MouseAction::kLeftDown, {50, 2});
  Mouse(MouseAction::kLeftUp, {50, 2});
  PumpWaitingMessages();
  Drag(20, [&] {
    Mouse(MouseAction::kMove, {50, 2});
    Mouse(MouseAction::kLeftUp, {50, 2});
  });

  EXPECT_EQ(RectOf(kBar), (Rect{0, 100, 200, 104}));
  EXPECT_EQ(RectOf(kList), (Rect{0, 0, 200, 99}));
  EXPECT_EQ(RectOf(kPreview), (Rect{0, 105, 200, 300}));
  EXPECT_TRUE(moved_.empty());
  EXPECT_TRUE(notices_.empty()) << "the press and its release were the drag's";
  EXPECT_EQ(GetCapture(), WindowHandle{});
}

TEST_F(SplitterBarTest, KeysOtherThanEscapeDoNothingAndTheDragGoesOn) {
  AttachBar();
  SetFocus(Item(IDOK));
  Drag(40, [&] {
    // Enter would press the default button; Space's release would click
    // the focused one.
    Key(virtual_key::kReturn);
    Key(virtual_key::kSpace);
    Key(virtual_key::kTab);
    Key('A');
    Mouse(MouseAction::kMove, {50, 2 + 50});
    Mouse(MouseAction::kLeftUp, {50, 2 + 50});
  });

  EXPECT_TRUE(notices_.empty());
  EXPECT_EQ(GetFocus(), Item(IDOK));
  EXPECT_EQ(moved_, (std::vector<Moved>{{50, kBar, 149}}));
}

TEST_F(SplitterBarTest, ADragBeyondTheLimitsStopsAtThem) {
  AttachBar();
  std::optional<Rect> clip;
  Drag(-1000, [&] {
    During([&] { clip = GetClipCursor(); });
    Mouse(MouseAction::kLeftUp, {50, 2});
  });
  // Grabbed 2 pixels below its top, with margins 20 and 30 in a parent at
  // y 100 on the screen, 300 high.
  EXPECT_EQ(clip, (Rect{100, 122, 300, 369}));
  EXPECT_EQ(RectOf(kBar), (Rect{0, 20, 200, 24})) << "the top margin";
  EXPECT_EQ(RectOf(kList), (Rect{0, 0, 200, 19}));

  Drag(1000, [&] { Mouse(MouseAction::kLeftUp, {50, 2}); });
  EXPECT_EQ(RectOf(kBar), (Rect{0, 266, 200, 270})) << "the bottom margin";
  EXPECT_EQ(RectOf(kPreview), (Rect{0, 271, 200, 300}));
  EXPECT_EQ(moved_, (std::vector<Moved>{{-80, kBar, 19}, {246, kBar, 265}}));
}

TEST_F(SplitterBarTest, AParentTooShortForTheMarginsMakesTheBarInert) {
  AttachBar(200, 150);
  std::optional<WindowHandle> capture;
  bool feedback = true;
  Drag(30, [&] {
    During([&] {
      capture = GetCapture();
      feedback = static_cast<bool>(Feedback());
    });
    Mouse(MouseAction::kLeftUp, {50, 32});
  });

  EXPECT_EQ(capture, WindowHandle{});
  EXPECT_FALSE(feedback);
  EXPECT_EQ(RectOf(kBar), (Rect{0, 100, 200, 104}));
  EXPECT_TRUE(moved_.empty());
  // The release reaches the label as a click, as on any notifying label.
  EXPECT_EQ(notices_, (std::vector<Notice>{{WM_COMMAND, kBar, STN_CLICKED}}));
}

TEST_F(SplitterBarTest, TheFeedbackFollowsThePointerOnTopAndLeavesNoTrace) {
  AttachBar();
  struct Seen {
    Rect feedback;
    Rect bar;
    bool on_top = false;
    bool visible = false;
    int cursor = 0;
  };
  std::vector<Seen> seen;
  const auto look = [&] {
    const WindowHandle feedback = Feedback();
    seen.push_back({GetChildRect(feedback).value_or(Rect{}), RectOf(kBar),
                    GetTopWindow(dialog_) == feedback, IsWindowVisible(feedback),
                    GetWindowCursor(feedback)});
  };
  Mouse(MouseAction::kLeftDown, {50, 2});
  During(look);
  Mouse(MouseAction::kMove, {50, 12});
  During(look);
  Mouse(MouseAction::kMove, {50, 27});
  During(look);
  Key(virtual_key::kEscape);
  PumpWaitingMessages();

  ASSERT_EQ(seen.size(), 3u);
  const int expected_tops[] = {100, 110, 125};
  for (std::size_t index = 0; index < seen.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(seen[index].feedback, (Rect{0, expected_tops[index], 200, expected_tops[index] + 4}));
    EXPECT_EQ(seen[index].bar, (Rect{0, 100, 200, 104})) << "the bar waits for the end";
    EXPECT_TRUE(seen[index].on_top);
    EXPECT_TRUE(seen[index].visible);
    EXPECT_EQ(seen[index].cursor, 1080);
  }
  EXPECT_FALSE(Feedback());
  EXPECT_EQ(GetTopWindow(dialog_), Item(kList));
}

TEST_F(SplitterBarTest, LayoutMovesOnlyTheNeighboursFacingEdges) {
  AttachBar();
  bar_.AddAbove(4711);  // no such control: skipped
  MoveWindow(Item(kBar), {0, 150, 200, 154});
  bar_.Layout();

  EXPECT_EQ(RectOf(kList), (Rect{0, 0, 200, 149}));
  EXPECT_EQ(RectOf(kPreview), (Rect{0, 155, 200, 300}));
  EXPECT_EQ(RectOf(IDOK), (Rect{150, 280, 190, 295}));
}

TEST_F(SplitterBarTest, ABarThatGoesLeavesAPlainLabel) {
  {
    SplitterBar gone;
    ASSERT_TRUE(gone.Attach(dialog_, kBar));
    gone.SetMargins(20, 30);
  }
  Drag(30, [&] { Mouse(MouseAction::kLeftUp, {50, 32}); });

  EXPECT_EQ(RectOf(kBar), (Rect{0, 100, 200, 104}));
  EXPECT_TRUE(moved_.empty());
  EXPECT_EQ(notices_, (std::vector<Notice>{{WM_COMMAND, kBar, STN_CLICKED}}));
}

}  // namespace
}  // namespace tavi
