#include <gtest/gtest.h>

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::Notice;

constexpr int kAlias = 1008;
constexpr int kFeeds = 1001;
constexpr int kNotes = 1100;
constexpr int kAdd = 1003;
constexpr int kDownload = 1011;
constexpr int kHiddenButton = 1200;

DialogTemplate FeedsTemplate() {
  using namespace control_style;
  DialogTemplate dialog;
  dialog.rect = {0, 0, 200, 150};
  dialog.controls = {
      {ControlKind::kEdit, kAlias, "", {5, 5, 100, 12}, kTabStop, 0},
      {ControlKind::kListView, kFeeds, "", {5, 20, 100, 60}, kTabStop, 0},
      {ControlKind::kEdit, kNotes, "", {5, 85, 100, 20}, kTabStop | kMultiline, 0},
      {ControlKind::kLabel, -1, "Feeds:", {110, 5, 50, 8}, 0, 0},
      {ControlKind::kButton, kAdd, "&Add", {110, 20, 50, 14}, kTabStop, 0},
      {ControlKind::kButton,
       kDownload,
       "D&ownload",
       {110, 40, 50, 14},
       kTabStop | kDefaultButton,
       0},
      {ControlKind::kButton, IDCANCEL, "&Close", {110, 60, 50, 14}, kTabStop, 0},
      {ControlKind::kButton, kHiddenButton, "", {110, 80, 50, 14}, kTabStop | kHidden, 0},
  };
  return dialog;
}

Message Key(WindowHandle window, int key, std::uint32_t modifiers = 0) {
  return {window, WM_KEYDOWN, static_cast<WParam>(key), static_cast<LParam>(modifiers)};
}

class DialogKeysTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    dialog_ = CreateDialog(FeedsTemplate(), {}, log_.Dialog(), 0);
    ShowWindow(dialog_, SW_SHOW);
  }

  // Presses `key` with the focus on control `id`, as the dialog's message
  // loop would get it, and returns what the dialog heard.
  std::vector<Notice> Press(int id, int key, std::uint32_t modifiers = 0) {
    const WindowHandle control = GetDlgItem(dialog_, id);
    SetFocus(control);
    log_.ClearNotices();
    EXPECT_TRUE(TranslateDialogInput(Key(control, key, modifiers)));
    return log_.Notices();
  }

  WindowHandle dialog_;
};

TEST_F(DialogKeysTest, EnterPressesTheDefaultButtonUnlessTheFocusedControlTakesItItself) {
  struct Case {
    const char* name;
    int focus;
    std::vector<Notice> heard;
  };
  const Case cases[] = {
      {"an edit leaves Enter to the default button", kAlias, {{WM_COMMAND, kDownload, BN_CLICKED}}},
      {"a focused push button is pressed", kAdd, {{WM_COMMAND, kAdd, BN_CLICKED}}},
      {"a list view keeps Enter and tells its parent",
       kFeeds,
       {{WM_NOTIFY, kFeeds, LVN_KEYDOWN}, {WM_NOTIFY, kFeeds, NM_RETURN}}},
      // A multi-line edit takes Enter as a line break, which changes it.
      {"a multi-line edit keeps Enter", kNotes, {{WM_COMMAND, kNotes, EN_CHANGE}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Press(c.focus, virtual_key::kReturn), c.heard);
  }
  EXPECT_EQ(GetDlgItemText(dialog_, kNotes), "\r\n");
}

TEST_F(DialogKeysTest, EnterDoesNothingWhenTheDefaultButtonIsDisabledAndIsOkWithoutOne) {
  EnableWindow(GetDlgItem(dialog_, kDownload), false);
  EXPECT_EQ(Press(kAlias, virtual_key::kReturn), std::vector<Notice>{});

  DestroyWindow(GetDlgItem(dialog_, kDownload));
  EXPECT_EQ(Press(kAlias, virtual_key::kReturn),
            (std::vector<Notice>{{WM_COMMAND, IDOK, BN_CLICKED}}));
}

TEST_F(DialogKeysTest, EscapeIsCancelUnlessTheCancelButtonIsDisabled) {
  EXPECT_EQ(Press(kAlias, virtual_key::kEscape),
            (std::vector<Notice>{{WM_COMMAND, IDCANCEL, BN_CLICKED}}));

  EnableWindow(GetDlgItem(dialog_, IDCANCEL), false);
  EXPECT_EQ(Press(kAlias, virtual_key::kEscape), std::vector<Notice>{});
}

TEST_F(DialogKeysTest, KeysThatAreNotDialogKeysReachTheFocusedControl) {
  ASSERT_TRUE(SetDialogKeys(dialog_, {.enter = false, .escape = false}));

  EXPECT_EQ(Press(kAlias, virtual_key::kReturn), std::vector<Notice>{});
  EXPECT_EQ(Press(kAdd, virtual_key::kReturn), std::vector<Notice>{});
  EXPECT_EQ(Press(kAlias, virtual_key::kEscape), std::vector<Notice>{});
  EXPECT_EQ(Press(kNotes, virtual_key::kReturn),
            (std::vector<Notice>{{WM_COMMAND, kNotes, EN_CHANGE}}));
  EXPECT_EQ(Press(kFeeds, virtual_key::kEscape),
            (std::vector<Notice>{{WM_NOTIFY, kFeeds, LVN_KEYDOWN}}));
  EXPECT_FALSE(SetDialogKeys(MakeWindow("Plain", ""), {}));
}

TEST_F(DialogKeysTest, TabWalksTheVisibleEnabledTabStopsBothWaysAndWraps) {
  EnableWindow(GetDlgItem(dialog_, kAdd), false);
  struct Case {
    int from;
    std::uint32_t modifiers;
    int to;
  };
  const Case cases[] = {
      {kAlias, 0, kFeeds},
      {kNotes, 0, kDownload},  // the label is no tab stop, Add is disabled
      {IDCANCEL, 0, kAlias},   // the hidden button is skipped and the walk wraps
      {kAlias, key_modifier::kShift, IDCANCEL},
      {kDownload, key_modifier::kShift, kNotes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    Press(c.from, virtual_key::kTab, c.modifiers);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, c.to));
  }
  EXPECT_EQ(GetNextDlgTabItem(dialog_, {}, false), GetDlgItem(dialog_, kAlias));
  EXPECT_EQ(GetNextDlgTabItem(dialog_, {}, true), GetDlgItem(dialog_, IDCANCEL));
}

TEST_F(DialogKeysTest, AcceleratorsComeBeforeEveryOtherKeyAndMatchTheirModifiersExactly) {
  ASSERT_TRUE(SetDialogAccelerators(dialog_, {228,
                                              {{virtual_key::kF1, 0, 32810},
                                               {virtual_key::kF1, key_modifier::kShift, 32822},
                                               {virtual_key::kReturn, 0, 32813}}}));

  EXPECT_EQ(Press(kAlias, virtual_key::kF1),
            (std::vector<Notice>{{WM_COMMAND, 32810, kAcceleratorCommandCode}}));
  EXPECT_EQ(Press(kAlias, virtual_key::kF1, key_modifier::kShift),
            (std::vector<Notice>{{WM_COMMAND, 32822, kAcceleratorCommandCode}}));
  EXPECT_EQ(Press(kAlias, virtual_key::kF1, key_modifier::kControl), std::vector<Notice>{});
  EXPECT_EQ(Press(kAlias, virtual_key::kReturn),
            (std::vector<Notice>{{WM_COMMAND, 32813, kAcceleratorCommandCode}}));
}

TEST_F(DialogKeysTest, MessagesOfWindowsOutsideTheDialogAreNotItsOwn) {
  const WindowHandle main = MakeWindow("Main", "", {}, log_.Procedure());
  const Message outside = Key(main, virtual_key::kReturn);

  EXPECT_FALSE(IsDialogMessage(dialog_, outside));
  EXPECT_FALSE(TranslateDialogInput(outside));
  EXPECT_FALSE(TranslateDialogInput(Key({}, virtual_key::kReturn)));
  EXPECT_TRUE(log_.Seen(WM_KEYDOWN).empty());
}

}  // namespace
}  // namespace tavi::platform
