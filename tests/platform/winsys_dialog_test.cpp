#include "platform/winsys_dialog.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/winsys_controls.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::Notice;

constexpr int kText = 1032;
constexpr int kPicture = 1033;
constexpr int kOk = 1034;
constexpr int kVerify = 1035;
constexpr int kRemember = 1036;

// A dialog like the information dialog, with a check box added.
DialogTemplate InformationTemplate() {
  DialogTemplate dialog;
  dialog.id = 106;
  dialog.caption = "Tavi";
  dialog.rect = {0, 0, 267, 116};
  dialog.style = dialog_style::kCaption | dialog_style::kCentered;
  dialog.controls = {
      {ControlKind::kLabel, kText, "Feed:", {7, 7, 200, 80}, 0, 0},
      {ControlKind::kIcon, kPicture, "", {220, 7, 20, 20}, 0, 105},
      {ControlKind::kButton,
       kOk,
       "&OK",
       {7, 95, 50, 14},
       control_style::kTabStop | control_style::kDefaultButton,
       0},
      {ControlKind::kButton,
       kVerify,
       "&Verify this Feed...",
       {60, 95, 80, 14},
       control_style::kTabStop | control_style::kHidden,
       0},
      {ControlKind::kCheckBox,
       kRemember,
       "Remember",
       {150, 95, 60, 14},
       control_style::kTabStop | control_style::kDisabled,
       0},
  };
  return dialog;
}

class DialogTest : public testing::WinsysTest {};

TEST_F(DialogTest, ControlsAreChildWindowsOfTheirKindsAtTheirPixelRectanglesInTemplateOrder) {
  const WindowHandle dialog = CreateDialog(InformationTemplate(), {}, {}, 0);
  ASSERT_TRUE(dialog);

  const std::vector<WindowHandle> children = GetChildWindows(dialog);
  ASSERT_EQ(children.size(), 5u);
  struct Expected {
    int id;
    const char* class_name;
    const char* text;
    Rect rect;
    bool visible;
    bool enabled;
  };
  // 8-point units: 1.5 pixels across, 1.625 down, rounded.
  const Expected expected[] = {
      {kText, "Static", "Feed:", {11, 11, 311, 141}, true, true},
      {kPicture, "Static", "", {330, 11, 360, 44}, true, true},
      {kOk, "Button", "&OK", {11, 154, 86, 177}, true, true},
      {kVerify, "Button", "&Verify this Feed...", {90, 154, 210, 177}, false, true},
      {kRemember, "Button", "Remember", {225, 154, 315, 177}, true, false},
  };
  for (std::size_t i = 0; i < children.size(); ++i) {
    SCOPED_TRACE(expected[i].id);
    const WindowHandle child = children[i];
    EXPECT_EQ(GetDlgItem(dialog, expected[i].id), child);
    EXPECT_EQ(GetDlgCtrlID(child), expected[i].id);
    EXPECT_EQ(GetClassName(child), expected[i].class_name);
    EXPECT_EQ(GetWindowText(child), expected[i].text);
    EXPECT_EQ(GetChildRect(child), expected[i].rect);
    EXPECT_EQ(IsWindowVisible(child), false) << "the dialog itself starts hidden";
    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(IsWindowVisible(child), expected[i].visible);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(IsWindowEnabled(child), expected[i].enabled);
  }
  EXPECT_EQ(GetWindowKind(children[4]), ControlKind::kCheckBox);
  EXPECT_EQ(GetWindowIcon(children[1]), 105);
  EXPECT_EQ(GetDlgItem(dialog, 9999), WindowHandle{});
}

TEST_F(DialogTest, TheDialogIsOfTheTemplatesClassOrTheSystemsAndOwnedByItsParentsTopWindow) {
  const WindowHandle main = MakeWindow("TaviAggregatorMainWindow", "Tavi");
  const WindowHandle list = MakeWindow("SysListView32", "", main);
  DialogTemplate board = InformationTemplate();
  board.class_name = "NewsBoardWindow";
  board.caption = "News Board";

  const WindowHandle plain = CreateDialog(InformationTemplate(), list, {}, 0);
  const WindowHandle classed = CreateDialog(board, GetDesktopWindow(), {}, 0);

  EXPECT_EQ(GetClassName(plain), kDialogClass);
  EXPECT_EQ(GetOwner(plain), main);
  EXPECT_EQ(GetParent(plain), WindowHandle{});
  EXPECT_EQ(GetClassName(classed), "NewsBoardWindow");
  EXPECT_EQ(GetWindowText(classed), "News Board");
  EXPECT_EQ(GetOwner(classed), WindowHandle{});
  EXPECT_EQ(FindWindow("NewsBoardWindow"), classed);
  EXPECT_TRUE(IsDialog(classed));
  EXPECT_FALSE(IsDialog(main));
  DestroyWindow(list);
  EXPECT_FALSE(CreateDialog(InformationTemplate(), list, {}, 0)) << "a stale parent";
}

TEST_F(DialogTest, ADialogIsCentredOnItsOwnerOrTheDesktopAndKeptOnTheScreen) {
  // 267 by 116 units are 401 by 189 pixels; the caption frame makes 407 by 217.
  WindowSpec description;
  description.class_name = "Owner";
  description.style = dialog_style::kCaption;
  description.rect = {600, 300, 1000, 700};
  const WindowHandle large = CreateWindow(description);
  description.rect = {100, 100, 300, 200};
  const WindowHandle small = CreateWindow(description);
  DialogTemplate placed = InformationTemplate();
  placed.style = dialog_style::kCaption;
  placed.rect = {10, 20, 267, 116};

  struct Case {
    const char* name;
    DialogTemplate dialog_template;
    WindowHandle owner;
    Rect rect;
  };
  const Case cases[] = {
      {"on the desktop", InformationTemplate(), {}, {436, 403, 843, 620}},
      {"on its owner", InformationTemplate(), large, {597, 391, 1004, 608}},
      // Centred on the small owner it would start left of the screen.
      {"kept on the screen", InformationTemplate(), small, {0, 42, 407, 259}},
      // Not centred: x and y count from the owner's client area (103, 125).
      {"placed from its owner", placed, small, {118, 158, 525, 375}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowHandle dialog = CreateDialog(c.dialog_template, c.owner, {}, 0);
    EXPECT_EQ(GetWindowRect(dialog), c.rect);
    EXPECT_EQ(GetClientRect(dialog), (Rect{0, 0, 401, 189}));
  }
}

TEST_F(DialogTest, InitDialogFindsTheControlsAndItsAnswerDecidesWhoGetsTheFocus) {
  struct Case {
    const char* name;
    std::optional<LResult> answer;
    bool focus_on_ok;
  };
  const Case cases[] = {
      {"not handled", std::nullopt, true},
      {"handled, default focus asked", 1, true},
      {"handled, focus set by the dialog", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFocus({});
    WindowHandle ok_at_init;
    WParam first_tab_stop = 0;
    LParam init_value = 0;
    const WindowHandle dialog =
        CreateDialog(InformationTemplate(), {},
                     log_.Dialog([&](WindowHandle dialog, MessageId message, WParam wparam,
                                     LParam lparam) -> std::optional<LResult> {
                       if (message != WM_INITDIALOG) return std::nullopt;
                       ok_at_init = GetDlgItem(dialog, kOk);
                       first_tab_stop = wparam;
                       init_value = lparam;
                       return c.answer;
                     }),
                     42);
    const WindowHandle ok = GetDlgItem(dialog, kOk);
    EXPECT_EQ(ok_at_init, ok);
    // The hidden Verify button and the disabled check box are no tab stops.
    EXPECT_EQ(first_tab_stop, ok.id);
    EXPECT_EQ(init_value, 42);
    EXPECT_EQ(GetFocus(), c.focus_on_ok ? ok : WindowHandle{});
  }
}

TEST_F(DialogTest, AModalDialogEndedByInputFromAnotherThreadReturnsItsResultAndFreesItsOwner) {
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  SetFocus(owner);
  std::promise<WindowHandle> running;
  bool owner_enabled_meanwhile = true;
  bool owner_blocked_meanwhile = false;
  bool dialog_shown_meanwhile = false;
  bool owner_click_refused = false;
  std::thread person([&, running_dialog = running.get_future()]() mutable {
    const WindowHandle dialog = running_dialog.get();
    owner_enabled_meanwhile = IsWindowEnabled(owner);
    for (const WindowSnapshot& state : TakeSnapshot().windows) {
      if (state.handle == owner) owner_blocked_meanwhile = state.blocked;
    }
    dialog_shown_meanwhile = IsWindowVisible(dialog);
    // The owner is blocked: a click on it is refused.
    owner_click_refused = !InjectClick(owner);
    InjectClick(GetDlgItem(dialog, kOk));
  });

  const int result = DialogBox(InformationTemplate(), owner,
                               log_.Dialog([&](WindowHandle dialog, MessageId message,
                                               WParam wparam, LParam) -> std::optional<LResult> {
                                 // Told once the modal loop runs.
                                 if (message == WM_INITDIALOG) PostMessage(dialog, WM_APP, 0, 0);
                                 if (message == WM_APP) running.set_value(dialog);
                                 if (message == WM_COMMAND && LowWord(wparam) == kOk)
                                   EndDialog(dialog, 7);
                                 return std::nullopt;
                               }),
                               0);
  person.join();

  EXPECT_EQ(result, 7);
  EXPECT_FALSE(owner_enabled_meanwhile);
  EXPECT_TRUE(owner_blocked_meanwhile);
  EXPECT_TRUE(dialog_shown_meanwhile);
  EXPECT_TRUE(owner_click_refused);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetFocus(), owner);
  EXPECT_FALSE(FindWindow(kDialogClass));
  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, kOk, BN_CLICKED}}));
}

TEST_F(DialogTest, AQuitEndsAModalDialogAndIsLeftForTheOuterLoop) {
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  EnableWindow(owner, false);

  const int result = DialogBox(
      InformationTemplate(), owner,
      log_.Dialog([](WindowHandle, MessageId message, WParam, LParam) -> std::optional<LResult> {
        if (message == WM_INITDIALOG) PostQuitMessage(3);
        return std::nullopt;
      }),
      0);

  EXPECT_EQ(result, -1);
  EXPECT_FALSE(IsWindowEnabled(owner)) << "an owner disabled before stays disabled";
  Message message;
  EXPECT_FALSE(GetMessage(message));
  EXPECT_EQ(message.wparam, 3u);
}

TEST_F(DialogTest, ClosingADialogAsksForCancelAndEndingAModelessOneHidesIt) {
  const WindowHandle dialog = CreateDialog(InformationTemplate(), {}, log_.Dialog(), 0);
  ShowWindow(dialog, SW_SHOW);

  SendMessage(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(dialog)) << "only the dialog decides to go";
  EXPECT_EQ(log_.Notices(), (std::vector<Notice>{{WM_COMMAND, IDCANCEL, BN_CLICKED}}));

  ASSERT_TRUE(EndDialog(dialog, 1));
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_FALSE(EndDialog(MakeWindow("Plain", ""), 1));
}

}  // namespace
}  // namespace tavi::platform
