#include "platform/winsys_toolbar.h"

#include <gtest/gtest.h>

#include "platform/winsys_dialog.h"
#include "platform/winsys_input.h"
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
  WindowSpec description;
  description.class_name = "NewsBoardWindow";
  description.style = dialog_style::kCaption;
  description.rect = {0, 0, 406, 328};  // a client area 400 wide
  const WindowHandle board = CreateWindow(description);

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

TEST_F(ToolbarTest, AClickSendsTheCommandOrAsksForTheDropdownMenu) {
  int dropdown_command = 0;
  Rect dropdown_button;
  const WindowHandle board =
      MakeWindow("NewsBoardWindow", "", {},
                 log_.Procedure([&](WindowHandle, MessageId message, WParam,
                                    LParam lparam) -> std::optional<LResult> {
                   if (message != WM_NOTIFY) return std::nullopt;
                   const auto* notify = reinterpret_cast<const ToolbarNotify*>(lparam);
                   dropdown_command = notify->command;
                   dropdown_button = notify->button;
                   return 0;
                 }));
  const WindowHandle toolbar = CreateToolbar(board, BoardToolbar(), kToolbarId).toolbar;
  EnableToolbarButton(toolbar, 32819, false);

  EXPECT_TRUE(InjectMenuCommand(toolbar, 32817));
  EXPECT_TRUE(InjectMenuCommand(toolbar, 32820));
  EXPECT_FALSE(InjectMenuCommand(toolbar, 32819)) << "disabled";
  EXPECT_FALSE(InjectMenuCommand(toolbar, 0)) << "a separator";
  PumpWaitingMessages();

  EXPECT_EQ(log_.Notices(), (std::vector<testing::Notice>{{WM_COMMAND, 32817, BN_CLICKED},
                                                          {WM_NOTIFY, kToolbarId, TBN_DROPDOWN}}));
  EXPECT_EQ(dropdown_command, 32820);
  EXPECT_EQ(dropdown_button, *GetToolbarButtonRect(toolbar, 32820));
}

}  // namespace
}  // namespace tavi::platform
