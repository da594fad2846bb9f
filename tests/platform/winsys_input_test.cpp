#include "platform/winsys_input.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/winsys_controls.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::Notice;
using testing::SeenMessage;

constexpr int kOk = 1;
constexpr int kAlias = 1008;
constexpr int kMinutes = 1048;
constexpr int kName = 1049;

DialogTemplate PropertiesTemplate() {
  using namespace control_style;
  DialogTemplate dialog;
  dialog.rect = {0, 0, 200, 100};
  dialog.controls = {
      {ControlKind::kEdit, kAlias, "", {5, 5, 100, 12}, kTabStop, 0},
      {ControlKind::kEdit, kMinutes, "15", {5, 20, 30, 12}, kTabStop | kDigitsOnly, 0},
      {ControlKind::kEdit, kName, "", {5, 35, 100, 12}, kReadOnly, 0},
      {ControlKind::kButton, kOk, "&OK", {5, 80, 50, 14}, kTabStop | kDefaultButton, 0},
  };
  return dialog;
}

class InputTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    dialog_ = CreateDialog(PropertiesTemplate(), {}, log_.Dialog(), 0);
    ShowWindow(dialog_, SW_SHOW);
  }

  // Handles what waits, as the dialog's message loop would.
  static void Pump() {
    Message message;
    while (PeekMessage(message, true)) {
      if (!TranslateDialogInput(message)) DispatchMessage(message);
    }
  }

  WindowHandle dialog_;
};

TEST_F(InputTest, InputForAWindowThatCannotTakeItIsRefused) {
  const WindowHandle ok = GetDlgItem(dialog_, kOk);
  const WindowHandle hidden_dialog = CreateDialog(PropertiesTemplate(), {}, {}, 0);
  const WindowHandle gone = MakeWindow("Gone", "");
  DestroyWindow(gone);
  const WindowHandle disabled = MakeWindow("Disabled", "");
  EnableWindow(disabled, false);
  const WindowHandle inside_disabled = MakeWindow("Button", "", disabled);

  struct Case {
    const char* name;
    WindowHandle window;
    bool taken;
  };
  const Case cases[] = {
      {"an enabled, shown button", ok, true},
      {"a window that is gone", gone, false},
      {"a disabled window", disabled, false},
      {"a window inside a disabled one", inside_disabled, false},
      {"a window inside a hidden one", GetDlgItem(hidden_dialog, kOk), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InjectClick(c.window), c.taken);
    EXPECT_EQ(InjectKey(c.window, virtual_key::kSpace, true), c.taken);
  }
  EXPECT_FALSE(InjectKey(ok, 0, true)) << "no such key";
  EXPECT_FALSE(InjectKey(ok, 256, true)) << "no such key";
}

TEST_F(InputTest, InputThatCanNoLongerBeDeliveredWhenItsTurnComesIsDropped) {
  const WindowHandle ok = GetDlgItem(dialog_, kOk);
  ASSERT_TRUE(InjectClick(ok));
  EnableWindow(ok, false);

  Pump();

  EXPECT_EQ(log_.Notices(), std::vector<Notice>{});
  EXPECT_EQ(GetCapture(), WindowHandle{});
}

TEST_F(InputTest, KeysWithoutAWindowGoToTheFocusAndSetTheKeyState) {
  const WindowHandle minutes = GetDlgItem(dialog_, kMinutes);
  SetFocus(minutes);
  const WindowHandle recorder = MakeWindow("Recorder", "", {}, log_.Procedure());
  ShowWindow(recorder, SW_HIDE);  // the dialog stays the foreground window

  ASSERT_TRUE(InjectKey({}, virtual_key::kShift, true, key_modifier::kShift));
  ASSERT_TRUE(InjectKeyPress({}, virtual_key::kF10, key_modifier::kShift));
  Message message;
  ASSERT_TRUE(PeekMessage(message, true));
  EXPECT_EQ(message.window, minutes);
  EXPECT_EQ(message.message, WM_KEYDOWN);
  EXPECT_EQ(message.wparam, static_cast<WParam>(virtual_key::kShift));
  EXPECT_LT(GetAsyncKeyState(virtual_key::kShift), 0);
  EXPECT_EQ(GetAsyncKeyState(virtual_key::kControl), 0);
  ASSERT_TRUE(PeekMessage(message, true));
  EXPECT_EQ(KeyModifiersOf(message), key_modifier::kShift);
  EXPECT_LT(GetAsyncKeyState(virtual_key::kF10), 0) << "held until its key-up is taken";
  ASSERT_TRUE(PeekMessage(message, true));
  EXPECT_EQ(message.message, WM_KEYUP);
  EXPECT_EQ(GetAsyncKeyState(virtual_key::kF10), 0);

  EXPECT_FALSE(InjectKey(recorder, virtual_key::kShift, false)) << "the recorder is hidden";
  ShowWindow(recorder, SW_SHOW);
  ASSERT_TRUE(InjectKey(recorder, virtual_key::kShift, false));
  Pump();
  EXPECT_EQ(GetAsyncKeyState(virtual_key::kShift), 0);
  EXPECT_EQ(log_.Seen(WM_KEYUP).size(), 1u);
}

TEST_F(InputTest, TypedTextReplacesAnEditsTextAndADigitsOnlyEditKeepsTheDigits) {
  ASSERT_TRUE(InjectText(GetDlgItem(dialog_, kAlias), "Planet Tavi"));
  ASSERT_TRUE(InjectText(GetDlgItem(dialog_, kMinutes), "3a0 "));
  EXPECT_FALSE(InjectText(GetDlgItem(dialog_, kName), "read-only"));
  EXPECT_FALSE(InjectText(GetDlgItem(dialog_, kOk), "no edit"));
  EXPECT_EQ(GetDlgItemText(dialog_, kAlias), "") << "typing is handled by the edit's thread";

  Pump();

  EXPECT_EQ(GetDlgItemText(dialog_, kAlias), "Planet Tavi");
  EXPECT_EQ(GetDlgItemText(dialog_, kMinutes), "30");
  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, kAlias, EN_CHANGE},
                                                 {WM_COMMAND, kMinutes, EN_CHANGE}}));
}

TEST_F(InputTest, APersonsResizeIsHeldToTheTrackingSizes) {
  WindowSpec description;
  description.class_name = "NewsBoardWindow";
  description.style = dialog_style::kCaption | dialog_style::kResizable;
  description.rect = {10, 10, 310, 210};
  const WindowHandle board = CreateWindow(description);
  SetWindowTrackingSizes(board, {250, 146}, {2250, 2150});
  struct Case {
    Rect asked;
    Rect got;
  };
  const Case cases[] = {
      {{20, 30, 420, 330}, {20, 30, 420, 330}},
      {{20, 30, 120, 60}, {20, 30, 270, 176}},
      {{0, 0, 3000, 2000}, {0, 0, 2250, 2000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked.Width());
    ASSERT_TRUE(InjectWindowRect(board, c.asked));
    Pump();
    EXPECT_EQ(GetWindowRect(board), c.got);
  }
  EXPECT_FALSE(InjectWindowRect(GetDlgItem(dialog_, kOk), {0, 0, 1, 1})) << "a child";
}

TEST_F(InputTest, CaptionButtonsMinimiseMaximiseRestoreAndClose) {
  const WindowHandle board = MakeWindow("NewsBoardWindow", "", {}, log_.Procedure());

  ASSERT_TRUE(InjectSystemCommand(board, SC_MAXIMIZE));
  Pump();
  EXPECT_TRUE(IsZoomed(board));
  ASSERT_TRUE(InjectSystemCommand(board, SC_MINIMIZE));
  Pump();
  EXPECT_TRUE(IsIconic(board));
  ASSERT_TRUE(InjectSystemCommand(board, SC_RESTORE));
  Pump();
  EXPECT_EQ(GetShowState(board), ShowState::kNormal);
  EXPECT_FALSE(InjectSystemCommand(board, SC_CLOSE + 1));
  ASSERT_TRUE(InjectSystemCommand(board, SC_CLOSE));
  Pump();
  EXPECT_EQ(log_.Seen(WM_CLOSE).size(), 1u);
  EXPECT_FALSE(IsWindow(board));
}

TEST_F(InputTest, InputFromAnotherThreadReachesALoopRunningElsewhere) {
  WindowHandle dialog;
  std::vector<Notice> heard;
  testing::LoopThread ui([&] {
    dialog = CreateDialog(
        PropertiesTemplate(), {},
        [&](WindowHandle, MessageId message, WParam wparam, LParam) -> std::optional<LResult> {
          if (message == WM_COMMAND) {
            heard.push_back({message, LowWord(wparam), HighWord(wparam)});
          }
          return std::nullopt;
        },
        0);
    ShowWindow(dialog, SW_SHOW);
  });

  ASSERT_TRUE(InjectClick(GetDlgItem(dialog, kOk)));
  ASSERT_TRUE(InjectText(GetDlgItem(dialog, kAlias), "x"));
  ui.Stop();

  EXPECT_EQ(heard,
            (std::vector<Notice>{{WM_COMMAND, kOk, BN_CLICKED}, {WM_COMMAND, kAlias, EN_CHANGE}}));
}

}  // namespace
}  // namespace tavi::platform
