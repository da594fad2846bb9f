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

// A frameless dialog 200 by 300 pixels at (100, 100) on the screen: a list
// from 10 to 99, the bar from 100 to 104, a preview from 105 to 290, and OK.
// Input is queued as a person gives it, at points of the bar where it was
// then, and handled when the test pumps.
class SplitterBarTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    DialogTemplate board;
    board.controls = {
        {ControlKind::kListView, kList, "", {}, 0, 0},
        {ControlKind::kLabel, kBar, "", {}, 0, 0},  // the bar gives it the notify style
        {ControlKind::kBrowser, kPreview, "", {}, 0, 0},
        {ControlKind::kButton, IDOK, "OK", {}, control_style::kDefaultButton, 0},
    };
    dialog_ = CreateDialog(board, {}, Procedure(), 0);
    MoveWindow(dialog_, {100, 100, 300, 400});
    MoveWindow(Item(kList), {0, 10, 200, 99});
    MoveWindow(Item(kBar), {0, 100, 200, 104});
    MoveWindow(Item(kPreview), {0, 105, 200, 290});
    MoveWindow(Item(IDOK), {150, 292, 190, 299});
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
  WindowHandle Feedback() const {
    return FindChildWindow(dialog_, kSplitterFeedbackClass, kAnyText);
  }

  void Mouse(MouseAction action, int y) { ASSERT_TRUE(InjectMouse(Item(kBar), action, {50, y})); }
  void Key(int key) { ASSERT_TRUE(InjectKeyPress({}, key)); }
  // Runs `act` on the dialog's thread, in the order of the input.
  void During(std::function<void()> act) {
    during_.push_back(std::move(act));
    PostMessage(dialog_, WM_APP, during_.size() - 1, 0);
  }
  // Grabs the bar 2 pixels below its top, drags it by `distance` and ends
  // the drag with `end`.
  void Drag(int distance, const std::function<void()>& end) {
    Mouse(MouseAction::kLeftDown, 2);
    Mouse(MouseAction::kMove, 2 + distance / 2);
    Mouse(MouseAction::kMove, 2 + distance);
    end();
    PumpWaitingMessages();
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
      if (message != WM_APP) return std::nullopt;
      during_.at(wparam)();
      return 0;
    };
  }

  std::vector<std::function<void()>> during_;
};

TEST_F(SplitterBarTest, ADragEndedByEscapeAfterThirtyPixelsMovesTheBarThirtyAndTellsTheDialog) {
  AttachBar();
  EXPECT_NE(GetWindowStyle(Item(kBar)) & control_style::kNotify, 0u);
  EXPECT_EQ(GetWindowCursor(Item(kBar)), 1080);
  EXPECT_FALSE(bar_.Attach(dialog_, kBar)) << "attached already";

  Drag(30, [&] { Key(virtual_key::kEscape); });

  EXPECT_EQ(RectOf(kBar), (Rect{0, 130, 200, 134}));
  EXPECT_EQ(RectOf(kList), (Rect{0, 10, 200, 129}));
  EXPECT_EQ(RectOf(kPreview), (Rect{0, 135, 200, 290}));
  EXPECT_EQ(moved_, (std::vector<Moved>{{30, kBar, 129}})) << "told after the layout";
  EXPECT_EQ(GetCapture(), WindowHandle{});
  EXPECT_EQ(GetClipCursor(), std::nullopt);
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
      {"left button up", 25, [this] { Mouse(MouseAction::kLeftUp, 9); }},
      {"right button down", -25, [this] { Mouse(MouseAction::kRightDown, 9); }},
      {"Escape", 40, [this] { Key(virtual_key::kEscape); }},
      {"capture taken", -40, [this] { During([this] { SetCapture(Item(kList)); }); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    moved_.clear();
    const Rect start = RectOf(kBar);
    Drag(c.distance, c.end);
    EXPECT_EQ(RectOf(kBar), start.Offset(0, c.distance));
    EXPECT_EQ(moved_, (std::vector<Moved>{{c.distance, kBar, start.top + c.distance - 1}}));
    EXPECT_FALSE(Feedback());
    EXPECT_EQ(GetClipCursor(), std::nullopt);
    EXPECT_EQ(GetCapture(), c.capture_taken ? Item(kList) : WindowHandle{});
    // Let go of what the case left pressed or captured.
    Mouse(MouseAction::kRightUp, 2);
    Mouse(MouseAction::kLeftUp, 2);
    ReleaseCapture();
    PumpWaitingMessages();
  }
}

TEST_F(SplitterBarTest, AQuitEndsTheDragLikeAnyEndAndIsLeftForTheOuterLoop) {
  AttachBar();
  Drag(30, [&] { During([] { PostQuitMessage(3); }); });

  EXPECT_EQ(moved_, (std::vector<Moved>{{30, kBar, 129}}));
  EXPECT_EQ(GetCapture(), WindowHandle{});
  Message message;
  EXPECT_FALSE(GetMessage(message));
  EXPECT_EQ(message.wparam, 3u);
}

TEST_F(SplitterBarTest, AClickOrADragBackToTheStartChangesNothing) {
  AttachBar();
  Mouse(MouseAction::kLeftDown, 2);
  Mouse(MouseAction::kLeftUp, 2);
  Drag(20, [&] {
    Mouse(MouseAction::kMove, 2);
    Mouse(MouseAction::kLeftUp, 2);
  });

  EXPECT_EQ(RectOf(kBar), (Rect{0, 100, 200, 104}));
  EXPECT_EQ(RectOf(kList), (Rect{0, 10, 200, 99}));
  EXPECT_TRUE(moved_.empty());
  EXPECT_TRUE(notices_.empty()) << "the presses and releases were the drags'";
}

TEST_F(SplitterBarTest, KeysOtherThanEscapeDoNothingAndTheDragGoesOn) {
  AttachBar();
  SetFocus(Item(IDOK));
  Drag(40, [&] {
    // Enter would press the default button, Space's release the focused one.
    for (const int key : {virtual_key::kReturn, virtual_key::kSpace, virtual_key::kTab, int{'A'}})
      Key(key);
    Mouse(MouseAction::kMove, 2 + 50);
    Mouse(MouseAction::kLeftUp, 2 + 50);
  });

  EXPECT_TRUE(notices_.empty());
  EXPECT_EQ(GetFocus(), Item(IDOK));
  EXPECT_EQ(moved_, (std::vector<Moved>{{50, kBar, 149}}));
}

// The top margin holds the bar off the list's top (10 + 20), the bottom one
// off the preview's bottom (290 - 30), both nearer than the dialog's edges.
TEST_F(SplitterBarTest, ADragBeyondTheLimitsStopsAtThem) {
  AttachBar();
  std::optional<Rect> clip;
  Drag(-1000, [&] {
    During([&] { clip = GetClipCursor(); });
    Mouse(MouseAction::kLeftUp, 2);
  });
  EXPECT_EQ(clip, (Rect{100, 100 + 30 + 2, 300, 100 + 260 + 2 - 4 + 1}));
  EXPECT_EQ(RectOf(kBar), (Rect{0, 30, 200, 34}));

  Drag(1000, [&] { Mouse(MouseAction::kLeftUp, 2); });
  EXPECT_EQ(RectOf(kBar), (Rect{0, 256, 200, 260}));
  EXPECT_EQ(RectOf(kPreview), (Rect{0, 261, 200, 290}));
  EXPECT_EQ(moved_, (std::vector<Moved>{{-70, kBar, 29}, {226, kBar, 255}}));
}

TEST_F(SplitterBarTest, AParentTooShortForTheMarginsMakesTheBarInert) {
  AttachBar(160, 150);
  std::optional<WindowHandle> capture;
  Drag(30, [&] {
    During([&] { capture = GetCapture(); });
    Mouse(MouseAction::kLeftUp, 32);
  });

  EXPECT_EQ(capture, WindowHandle{});
  EXPECT_EQ(RectOf(kBar), (Rect{0, 100, 200, 104}));
  EXPECT_TRUE(moved_.empty());
  // The release reaches the label as a click, as on any notifying label.
  EXPECT_EQ(notices_, (std::vector<Notice>{{WM_COMMAND, kBar, STN_CLICKED}}));
}

TEST_F(SplitterBarTest, TheFeedbackFollowsThePointerOnTopAndLeavesNoTrace) {
  AttachBar();
  std::vector<Rect> feedback;
  std::vector<Rect> bar;
  const auto look = [&] {
    const WindowHandle shown = Feedback();
    EXPECT_EQ(GetTopWindow(dialog_), shown);
    EXPECT_TRUE(IsWindowVisible(shown));
    EXPECT_EQ(GetWindowCursor(shown), 1080);
    feedback.push_back(GetChildRect(shown).value_or(Rect{}));
    bar.push_back(RectOf(kBar));
  };
  Mouse(MouseAction::kLeftDown, 2);
  During(look);
  Mouse(MouseAction::kMove, 27);
  During(look);
  Key(virtual_key::kEscape);
  PumpWaitingMessages();

  EXPECT_EQ(feedback, (std::vector<Rect>{{0, 100, 200, 104}, {0, 125, 200, 129}}));
  EXPECT_EQ(bar, (std::vector<Rect>(2, {0, 100, 200, 104}))) << "the bar waits for the end";
  EXPECT_FALSE(Feedback());
}

TEST_F(SplitterBarTest, LayoutMovesOnlyTheNeighboursFacingEdges) {
  AttachBar();
  bar_.AddAbove(4711);  // no such control: skipped
  MoveWindow(Item(kBar), {0, 150, 200, 154});
  bar_.Layout();

  EXPECT_EQ(RectOf(kList), (Rect{0, 10, 200, 149}));
  EXPECT_EQ(RectOf(kPreview), (Rect{0, 155, 200, 290}));
  EXPECT_EQ(RectOf(IDOK), (Rect{150, 292, 190, 299}));
}

TEST_F(SplitterBarTest, ABarThatGoesLeavesAPlainLabel) {
  {
    SplitterBar gone;
    ASSERT_TRUE(gone.Attach(dialog_, kBar));
  }
  Drag(30, [&] { Mouse(MouseAction::kLeftUp, 32); });

  EXPECT_EQ(RectOf(kBar), (Rect{0, 100, 200, 104}));
  EXPECT_EQ(notices_, (std::vector<Notice>{{WM_COMMAND, kBar, STN_CLICKED}}));
}

}  // namespace
}  // namespace tavi
