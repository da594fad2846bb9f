#include "platform/winsys_toolbar.h"

#include <gtest/gtest.h>

#include "platform/winsys_dialog.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

constexpr int kToolbarId = 59392;

// The News Board's toolbar: Open, Browse, Remove, separator, Open the
// Newsbox, separator, About.
ToolbarTemplate BoardToolbar() {
  return {293,
          32,
          {{32817, 295, "Open", false},
           {32818, 296, "Browse", false},
           {32819, 297, "Remove", false},
           {0, 0, "", false},
           {32820, 298, "Open the Newsbox", true},
           {0, 0, "", false},
           {32824, 1002, "About", false}}};
}

class ToolbarTest : public testing::WinsysTest {};

TEST_F(ToolbarTest, AToolbarSpansTheTopOfTheClientAreaWithItsButtonsSideBySide) {
  WindowSpec spec;
  spec.class_name = "NewsBoardWindow";
  spec.style = dialog_style::kCaption;
  spec.rect = {0, 0, 406, 328};  // a client area 400 wide
  const WindowHandle board = CreateWindow(spec);

  const ToolbarPlacement placement = CreateToolbar(board, BoardToolbar(), kToolbarId);

  ASSERT_TRUE(placement.toolbar);
  EXPECT_EQ(placement.height, 32 + 2 * kToolbarButtonPadding + 2 * kToolbarMargin);
  EXPECT_EQ(GetChildRect(placement.toolbar), (Rect{0, 0, 400, placement.height}));
  EXPECT_EQ(GetDlgItem(board, kToolbarId), placement.toolbar);
  EXPECT_EQ(GetWindowKind(placement.toolbar), ControlKind::kToolbar);
  struct Case {
    int command;
    int left;
  };
  // 40-pixel buttons, 8-pixel separators.
  const Case cases[] = {{32817, 0}, {32818, 40}, {32819, 80}, {32820, 128}, {32824, 176}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(GetToolbarButtonRect(placement.toolbar, c.command),
              (Rect{c.left, kToolbarMargin, c.left + 40, kToolbarMargin + 40}));
  }
  EXPECT_EQ(GetToolbarButtonRect(placement.toolbar, 0), std::nullopt) << "a separator";
  EXPECT_FALSE(CreateToolbar(WindowHandle{0xFFFFFF}, BoardToolbar(), kToolbarId).toolbar);
}

TEST_F(ToolbarTest, ButtonsAreEnabledAndDisabledByCommandAndShowInTheSnapshot) {
  const WindowHandle toolbar = CreateToolbar(MakeWindow("Board", ""), BoardToolbar(), 1).toolbar;

  for (const int command : {32817, 32818, 32819, 32820}) {
    ASSERT_TRUE(EnableToolbarButton(toolbar, command, false));
  }
  EXPECT_FALSE(EnableToolbarButton(toolbar, 4242, false));
  EXPECT_FALSE(IsToolbarButtonEnabled(toolbar, 32817));
  EXPECT_TRUE(IsToolbarButtonEnabled(toolbar, 32824));

  const Snapshot snapshot = TakeSnapshot();
  const WindowSnapshot& state = snapshot.windows.at(1);
  ASSERT_TRUE(state.toolbar);
  ASSERT_EQ(state.toolbar->buttons.size(), 7u);
  EXPECT_EQ(state.toolbar->buttons[4].button.tooltip, "Open the Newsbox");
  EXPECT_TRUE(state.toolbar->buttons[4].button.dropdown);
  EXPECT_FALSE(state.toolbar->buttons[4].enabled);
  EXPECT_TRUE(state.toolbar->buttons[6].enabled);
  EXPECT_EQ(state.toolbar->buttons[6].rect.left, 176);
}

}  // namespace
}  // namespace tavi::platform
