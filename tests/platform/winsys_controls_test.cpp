#include "platform/winsys_controls.h"

#include <gtest/gtest.h>

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::Notice;

constexpr int kButton = 10;
constexpr int kBox = 11;
constexpr int kAutoBox = 12;
constexpr int kPlainLabel = 13;
constexpr int kNotifyLabel = 14;
constexpr int kMinutes = 15;
constexpr int kProgress = 16;

DialogTemplate ControlsTemplate() {
  using namespace control_style;
  DialogTemplate dialog;
  dialog.rect = {0, 0, 200, 150};
  dialog.controls = {
      {ControlKind::kButton, kButton, "&Validate", {5, 5, 50, 14}, kTabStop, 0},
      {ControlKind::kCheckBox, kBox, "Check for new articles every", {5, 25, 100, 10}, kTabStop, 0},
      {ControlKind::kCheckBox, kAutoBox, "Remember", {5, 40, 100, 10}, kTabStop | kAutoCheck, 0},
      {ControlKind::kLabel, kPlainLabel, "minutes.", {5, 55, 50, 8}, 0, 0},
      {ControlKind::kLabel, kNotifyLabel, "", {5, 70, 190, 3}, kNotify, 0},
      {ControlKind::kEdit, kMinutes, "15", {5, 80, 30, 12}, kTabStop | kDigitsOnly, 0},
      {ControlKind::kProgressBar, kProgress, "", {5, 100, 190, 10}, 0, 0},
  };
  return dialog;
}

class ControlsTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    dialog_ = CreateDialog(ControlsTemplate(), {}, log_.Dialog(), 0);
    ShowWindow(dialog_, SW_SHOW);
  }

  // A press and release of the left button at client point `up` of control
  // `id` (pressed at (2, 2)), handled as the dialog's loop would.
  std::vector<Notice> Click(int id, Point up = {2, 2}) {
    const WindowHandle control = GetDlgItem(dialog_, id);
    log_.ClearNotices();
    PostMessage(control, WM_LBUTTONDOWN, MK_LBUTTON, MakePointLParam({2, 2}));
    PostMessage(control, WM_LBUTTONUP, 0, MakePointLParam(up));
    Message message;
    while (PeekMessage(message, true)) TranslateDialogInput(message);
    return log_.Notices();
  }

  WindowHandle dialog_;
};

TEST_F(ControlsTest, AClickTellsTheParentAndOnlyAnAutoCheckBoxTogglesItself) {
  struct Case {
    int id;
    bool checked_after;
  };
  const Case cases[] = {{kButton, false}, {kBox, false}, {kAutoBox, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(Click(c.id), (std::vector<Notice>{{WM_COMMAND, c.id, BN_CLICKED}}));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, c.id), c.checked_after);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, c.id));
    EXPECT_EQ(GetCapture(), WindowHandle{});
  }
  Click(kAutoBox);
  EXPECT_FALSE(IsDlgButtonChecked(dialog_, kAutoBox));
  // A box without kAutoCheck is set by its parent.
  ASSERT_TRUE(CheckDlgButton(dialog_, kBox, true));
  EXPECT_TRUE(IsDlgButtonChecked(dialog_, kBox));
  EXPECT_FALSE(CheckDlgButton(dialog_, 9999, true));
}

TEST_F(ControlsTest, AButtonReleasedOffItOrDisabledIsNotClicked) {
  EXPECT_EQ(Click(kButton, {-3, 2}), std::vector<Notice>{});
  EXPECT_EQ(GetCapture(), WindowHandle{});

  const WindowHandle button = GetDlgItem(dialog_, kButton);
  EnableWindow(button, false);
  log_.ClearNotices();
  SendMessage(button, BM_CLICK, 0, 0);
  EXPECT_EQ(log_.Notices(), std::vector<Notice>{});

  EnableWindow(button, true);
  SendMessage(button, BM_CLICK, 0, 0);
  PostMessage(button, WM_KEYUP, virtual_key::kSpace, 0);
  PumpWaitingMessages();
  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, kButton, BN_CLICKED},
                                                 {WM_COMMAND, kButton, BN_CLICKED}}));
}

TEST_F(ControlsTest, OnlyALabelWithNotifyReportsClicks) {
  EXPECT_EQ(Click(kPlainLabel), std::vector<Notice>{});
  EXPECT_EQ(Click(kNotifyLabel), (std::vector<Notice>{{WM_COMMAND, kNotifyLabel, STN_CLICKED}}));
}

TEST_F(ControlsTest, AnEditReportsEveryChangeOfItsText) {
  EXPECT_TRUE(SetDlgItemText(dialog_, kMinutes, "30"));
  EXPECT_TRUE(SetDlgItemText(dialog_, kMinutes, "30"));

  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, kMinutes, EN_CHANGE},
                                                 {WM_COMMAND, kMinutes, EN_CHANGE}}));
  EXPECT_EQ(GetDlgItemText(dialog_, kMinutes), "30");
}

TEST_F(ControlsTest, AProgressBarIsHeldToZeroToAHundred) {
  const WindowHandle bar = GetDlgItem(dialog_, kProgress);
  struct Case {
    int set;
    int kept;
  };
  const Case cases[] = {{40, 40}, {250, 100}, {-5, 0}, {100, 100}};
  int previous = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    EXPECT_EQ(SendMessage(bar, PBM_SETPOS, static_cast<WParam>(c.set), 0), previous);
    EXPECT_EQ(GetProgressPosition(bar), c.kept);
    previous = c.kept;
  }
  EXPECT_EQ(SetProgressPosition(GetDlgItem(dialog_, kButton), 5), -1);
  EXPECT_EQ(GetProgressPosition(GetDlgItem(dialog_, kButton)), -1);
}

}  // namespace
}  // namespace tavi::platform
