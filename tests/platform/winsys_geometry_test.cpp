#include "platform/winsys_geometry.h"

#include <gtest/gtest.h>

#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

struct SizeMessage {
  WParam kind = 0;
  Size client;

  bool operator==(const SizeMessage&) const = default;
};

class GeometryTest : public testing::WinsysTest {
 protected:
  // A top-level window with a frame that records its WM_SIZE messages.
  WindowHandle MakeFramedWindow(const Rect& rect, std::uint32_t style) {
    WindowSpec description;
    description.class_name = "NewsBoardWindow";
    description.rect = rect;
    description.style = style;
    description.procedure = [this](WindowHandle window, MessageId message, WParam wparam,
                                   LParam lparam) {
      if (message == WM_SIZE) {
        const Point size = PointFromLParam(lparam);
        sizes_.push_back({wparam, {size.x, size.y}});
      }
      return DefWindowProc(window, message, wparam, lparam);
    };
    return CreateWindow(description);
  }

  std::vector<SizeMessage> sizes_;
};

constexpr std::uint32_t kResizableCaption = dialog_style::kCaption | dialog_style::kResizable;

TEST_F(GeometryTest, WmSizeComesOnlyWhenTheClientSizeChangesAndCarriesIt) {
  const WindowHandle board = MakeFramedWindow({100, 100, 400, 300}, kResizableCaption);
  struct Case {
    const char* name;
    Rect rect;
    std::optional<Size> client;  // nullopt: no WM_SIZE
  };
  // The frame takes 4 pixels on each side and a 22-pixel caption.
  const Case cases[] = {
      {"moved without resizing", {150, 120, 450, 320}, std::nullopt},
      {"wider", {150, 120, 550, 320}, Size{392, 170}},
      {"taller", {150, 120, 550, 420}, Size{392, 270}},
      {"smaller than its frame", {0, 0, 5, 5}, Size{0, 0}},
      {"still smaller than its frame", {0, 0, 6, 6}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sizes_.clear();
    ASSERT_TRUE(MoveWindow(board, c.rect));
    EXPECT_EQ(GetWindowRect(board), c.rect);
    if (!c.client) {
      EXPECT_TRUE(sizes_.empty());
      continue;
    }
    EXPECT_EQ(sizes_, (std::vector<SizeMessage>{{SIZE_RESTORED, *c.client}}));
    EXPECT_EQ(GetClientRect(board), (Rect{0, 0, c.client->width, c.client->height}));
  }
  EXPECT_FALSE(MoveWindow(WindowHandle{0xFFFFFF}, {0, 0, 1, 1}));
  EXPECT_FALSE(MoveWindow(GetDesktopWindow(), {0, 0, 1, 1}));
}

TEST_F(GeometryTest, AWindowThatRefusesToBeShownStaysHiddenButTakesItsState) {
  bool allow = false;
  WindowSpec description;
  description.class_name = "NewsBoardWindow";
  description.rect = {100, 100, 400, 300};
  description.style = kResizableCaption;
  description.visible = false;
  description.procedure = [&allow](WindowHandle window, MessageId message, WParam wparam,
                                   LParam lparam) {
    if (message == WM_WINDOWPOSCHANGING && !allow)
      reinterpret_cast<WindowPos*>(lparam)->flags &= ~SWP_SHOWWINDOW;
    return DefWindowProc(window, message, wparam, lparam);
  };
  const WindowHandle board = CreateWindow(description);
  ASSERT_TRUE(board);
  EXPECT_FALSE(ShowWindow(board, SW_SHOW));
  EXPECT_FALSE(IsWindowVisible(board));
  ShowWindow(board, SW_MAXIMIZE);
  EXPECT_FALSE(IsWindowVisible(board));
  EXPECT_EQ(GetShowState(board), ShowState::kMaximized);
  allow = true;
  ShowWindow(board, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(board));
  EXPECT_EQ(GetShowState(board), ShowState::kMaximized);
}

TEST_F(GeometryTest, MaximisingFillsTheDesktopAndRestoringBringsBackTheNormalRectangle) {
  SetDesktopSize({1000, 800});
  const Rect normal{100, 50, 500, 350};
  const WindowHandle board = MakeFramedWindow(normal, kResizableCaption);
  ShowWindow(board, SW_HIDE);

  // Minimising shows a hidden window, as it does on the system.
  EXPECT_FALSE(ShowWindow(board, SW_MINIMIZE));
  EXPECT_TRUE(IsWindowVisible(board));
  EXPECT_TRUE(IsIconic(board));
  EXPECT_EQ(GetWindowRect(board), normal);
  EXPECT_EQ(GetClientRect(board), Rect{});

  ShowWindow(board, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(board));
  EXPECT_EQ(GetWindowRect(board), (Rect{0, 0, 1000, 800}));

  // A program's move of a maximised window is not where it comes back to.
  MoveWindow(board, {10, 10, 900, 700});
  ShowWindow(board, SW_RESTORE);
  EXPECT_EQ(GetShowState(board), ShowState::kNormal);
  EXPECT_EQ(GetWindowRect(board), normal);

  EXPECT_EQ(sizes_, (std::vector<SizeMessage>{{SIZE_MINIMIZED, {0, 0}},
                                              {SIZE_MAXIMIZED, {992, 770}},
                                              {SIZE_MAXIMIZED, {882, 660}},
                                              {SIZE_RESTORED, {392, 270}}}));
}

TEST_F(GeometryTest, AMaximisedChildFillsItsParentsClientArea) {
  const WindowHandle board = MakeFramedWindow({0, 0, 308, 230}, kResizableCaption);
  WindowSpec description;
  description.class_name = "Preview";
  description.parent = board;
  description.rect = {10, 10, 20, 20};
  const WindowHandle preview = CreateWindow(description);

  ShowWindow(preview, SW_MAXIMIZE);

  EXPECT_EQ(GetChildRect(preview), (Rect{0, 0, 300, 200}));
}

TEST_F(GeometryTest, ClientCoordinatesCountFromInsideTheFrameOfEveryAncestor) {
  const WindowHandle top = MakeFramedWindow({100, 200, 500, 600}, dialog_style::kCaption);
  WindowSpec description;
  description.class_name = "Pane";
  description.parent = top;
  description.rect = {10, 20, 110, 120};
  const WindowHandle pane = CreateWindow(description);
  description.parent = pane;
  description.rect = {5, 5, 50, 25};
  description.kind = ControlKind::kLabel;
  const WindowHandle label = CreateWindow(description);

  // A caption frame: 3 pixels of border, 22 of caption.
  EXPECT_EQ(GetClientAreaInWindow(top), (Rect{3, 25, 397, 397}));
  EXPECT_EQ(GetWindowRect(pane), (Rect{113, 245, 213, 345}));
  EXPECT_EQ(GetChildRect(pane), (Rect{10, 20, 110, 120}));
  EXPECT_EQ(GetWindowRect(label), (Rect{118, 250, 163, 270}));
  EXPECT_EQ(ClientToScreen(label, {1, 2}), (Point{119, 252}));
  EXPECT_EQ(ScreenToClient(label, {119, 252}), (Point{1, 2}));
  EXPECT_EQ(ScreenToClient(top, {100, 200}), (Point{-3, -25}));
  EXPECT_EQ(ClientToScreen(WindowHandle{0xFFFFFF}, {7, 8}), (Point{7, 8}));
  EXPECT_EQ(GetWindowRect(GetDesktopWindow()), (Rect{0, 0, 1280, 1024}));
}

TEST_F(GeometryTest, AWindowMovedToTheBottomGoesBelowAllItsSiblings) {
  const WindowHandle main = MakeWindow("TaviAggregatorMainWindow", "");
  const WindowHandle board = MakeWindow("NewsBoardWindow", "");
  const WindowHandle viewer = MakeWindow("#32770", "");

  ASSERT_TRUE(MoveWindowToBottom(viewer));

  EXPECT_EQ(GetChildWindows(GetDesktopWindow()), (std::vector<WindowHandle>{board, main, viewer}));
  EXPECT_FALSE(MoveWindowToBottom(WindowHandle{0xFFFFFF}));
}

}  // namespace
}  // namespace tavi::platform
