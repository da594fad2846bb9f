#include "platform/winsys_focus.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::SeenMessage;

class FocusTest : public testing::WinsysTest {};

TEST_F(FocusTest, TheFocusMovesWithKillAndSetFocusNamingEachOther) {
  const WindowHandle main = MakeWindow("TaviAggregatorMainWindow", "", {}, log_.Procedure());
  const WindowHandle feeds = MakeWindow("SysListView32", "", main, log_.Procedure());
  const WindowHandle newsboxes = MakeWindow("SysListView32", "", main, log_.Procedure());
  const ThreadId me = CurrentThreadId();

  EXPECT_EQ(SetFocus(feeds), WindowHandle{});
  EXPECT_EQ(SetFocus(newsboxes), feeds);
  EXPECT_EQ(SetFocus(newsboxes), newsboxes);  // no change, nothing sent
  EXPECT_EQ(GetFocus(), newsboxes);

  EXPECT_EQ(log_.Seen(WM_SETFOCUS),
            (std::vector<SeenMessage>{{feeds, WM_SETFOCUS, 0, me},
                                      {newsboxes, WM_SETFOCUS, feeds.id, me}}));
  EXPECT_EQ(log_.Seen(WM_KILLFOCUS),
            (std::vector<SeenMessage>{{feeds, WM_KILLFOCUS, newsboxes.id, me}}));
}

TEST_F(FocusTest, EachThreadHasItsOwnFocusAndCannotTakeAnothers) {
  const WindowHandle mine = MakeWindow("Mine", "");
  SetFocus(mine);
  WindowHandle seen_there{0xFFFF};
  WindowHandle taken_there{0xFFFF};
  std::thread other([&] {
    seen_there = GetFocus();
    taken_there = SetFocus(mine);
  });
  other.join();

  EXPECT_EQ(seen_there, WindowHandle{});
  EXPECT_EQ(taken_there, WindowHandle{});
  EXPECT_EQ(GetFocus(), mine);
  EXPECT_EQ(GetThreadFocus(CurrentThreadId()), mine);
}

TEST_F(FocusTest, DisablingOrDestroyingWhatHoldsTheFocusTakesItAway) {
  const WindowHandle main = MakeWindow("Main", "");
  const WindowHandle group = MakeWindow("Group", "", main);
  const WindowHandle list = MakeWindow("SysListView32", "", group, log_.Procedure());
  const WindowHandle button = MakeWindow("Button", "", main);

  SetFocus(list);
  ASSERT_TRUE(EnableWindow(button, false));
  EXPECT_EQ(GetFocus(), list) << "disabling another window keeps the focus";
  ASSERT_TRUE(EnableWindow(group, false));
  EXPECT_EQ(GetFocus(), WindowHandle{});
  EXPECT_EQ(log_.Seen(WM_KILLFOCUS).size(), 1u);
  EXPECT_FALSE(IsWindowEnabled(group));
  EXPECT_TRUE(IsWindowEnabled(list)) << "each window keeps its own flag";

  SetFocus(button);
  DestroyWindow(button);
  EXPECT_EQ(GetFocus(), WindowHandle{});
  EXPECT_FALSE(EnableWindow(button, true));
}

TEST_F(FocusTest, TheForegroundIsTheTopmostVisibleTopLevelWindow) {
  const WindowHandle main = MakeWindow("Main", "");
  const WindowHandle list = MakeWindow("SysListView32", "", main);
  const WindowHandle board = MakeWindow("NewsBoardWindow", "");
  const WindowHandle hidden = MakeWindow("Hidden", "", {}, {}, false);

  EXPECT_EQ(GetForegroundWindow(), board);
  ASSERT_TRUE(SetForegroundWindow(list));
  EXPECT_EQ(GetForegroundWindow(), main);
  EXPECT_EQ(GetTopLevelWindow(list), main);
  EXPECT_EQ(GetTopLevelWindow(hidden), hidden);
}

}  // namespace
}  // namespace tavi::platform
