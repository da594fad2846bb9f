#include "ui/dialog_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_test_support.h"
#include "res/information_dialog_ids.h"
#include "support/dialog_person.h"

namespace tavi {
namespace {

using namespace platform;
using res::information_dialog::kMessageText;
using res::information_dialog::kOkButton;
using res::information_dialog::kVerifyButton;

constexpr MessageId kProbeMessage = WM_APP + 5;
constexpr int kProbeCode = -700;

// A window on the information dialog's template whose handlers write down
// what they hear, in a list that outlives the window object.
class ProbeWindow : public DialogWindow {
 public:
  explicit ProbeWindow(std::vector<std::string>& heard, int template_id = 106)
      : DialogWindow(template_id), heard_(heard) {
    MapMessage(WM_INITDIALOG, &ProbeWindow::OnInitDialog);
    MapMessage(WM_DESTROY, &ProbeWindow::OnDestroy);
    MapMessage(kProbeMessage, &ProbeWindow::OnProbe);
    MapCommand(kOkButton, &ProbeWindow::OnOk);
    MapNotify(kMessageText, kProbeCode, &ProbeWindow::OnTextNotice);
  }

  // Maps Cancel to a handler that ends the window with 9.
  void MapCancel() { MapCommand(IDCANCEL, &ProbeWindow::OnCancel); }
  // Maps WM_COMMAND itself: commands that no entry names come here.
  void MapOtherCommands() { MapMessage(WM_COMMAND, &ProbeWindow::OnOtherCommand); }

  using DialogWindow::EnableItem;
  using DialogWindow::EndDialog;
  using DialogWindow::ItemText;
  using DialogWindow::SetItemText;

 private:
  LResult OnInitDialog(WParam, LParam) {
    heard_.push_back("init, OK " + std::string(Item(kOkButton) ? "found" : "missing"));
    return 1;
  }
  LResult OnDestroy(WParam, LParam) {
    heard_.push_back("destroy");
    return 0;
  }
  LResult OnProbe(WParam wparam, LParam lparam) {
    heard_.push_back("probe " + std::to_string(wparam));
    return lparam * 2;
  }
  void OnOk() {
    heard_.push_back("ok");
    EndDialog(7);
  }
  void OnCancel() {
    heard_.push_back("cancel");
    EndDialog(9);
  }
  LResult OnOtherCommand(WParam wparam, LParam) {
    heard_.push_back("command " + std::to_string(LowWord(wparam)));
    return 0;
  }
  LResult OnTextNotice(const NotifyHeader& header) {
    heard_.push_back("notice from " + std::to_string(header.id));
    return 42;
  }

  std::vector<std::string>& heard_;
};

LResult Notify(WindowHandle dialog, int id, int code) {
  NotifyHeader header{GetDlgItem(dialog, id), id, code};
  return SendMessage(dialog, WM_NOTIFY, static_cast<WParam>(id), reinterpret_cast<LParam>(&header));
}

using DialogWindowTest = testing::WinsysTest;

TEST_F(DialogWindowTest, AModalWindowRunsItsMapOverItsOwnerAndReturnsWhatEndsIt) {
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  std::vector<std::string> heard;
  WindowHandle owner_seen;
  testing::DialogPerson person([&](WindowHandle dialog) {
    owner_seen = GetOwner(dialog);
    InjectClick(GetDlgItem(dialog, kOkButton));
  });
  ProbeWindow window(heard);

  EXPECT_EQ(window.RunModal(owner), 7);

  EXPECT_TRUE(person.Acted());
  EXPECT_EQ(owner_seen, owner);
  EXPECT_EQ(heard, (std::vector<std::string>{"init, OK found", "ok", "destroy"}));
  EXPECT_FALSE(window.Handle()) << "the window is gone with its modal loop";
}

TEST_F(DialogWindowTest, EscapeAndTheCloseBoxEndAWindowWithCancelUnlessItMapsCancel) {
  struct Case {
    const char* name;
    bool escape;  // else the close box
    bool maps_cancel;
    int result;
    std::vector<std::string> heard;
  };
  const Case cases[] = {
      {"Escape", true, false, IDCANCEL, {"init, OK found", "destroy"}},
      {"close box", false, false, IDCANCEL, {"init, OK found", "destroy"}},
      {"Escape, Cancel mapped", true, true, 9, {"init, OK found", "cancel", "destroy"}},
      {"close box, Cancel mapped", false, true, 9, {"init, OK found", "cancel", "destroy"}},
  };
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> heard;
    ProbeWindow window(heard);
    if (c.maps_cancel) window.MapCancel();
    // Escape is queued for the owner's thread before the window exists and
    // reaches the window's focus when its modal loop takes it.
    std::unique_ptr<testing::DialogPerson> person;
    if (c.escape) {
      ASSERT_TRUE(InjectKeyPress({}, virtual_key::kEscape));
    } else {
      person = std::make_unique<testing::DialogPerson>(
          [](WindowHandle dialog) { InjectSystemCommand(dialog, SC_CLOSE); });
    }

    EXPECT_EQ(window.RunModal(owner), c.result);
    EXPECT_EQ(heard, c.heard);
  }
}

TEST_F(DialogWindowTest, MessagesCommandsAndNotificationsReachTheHandlersTheirEntriesName) {
  std::vector<std::string> heard;
  ProbeWindow window(heard);
  const WindowHandle dialog = window.Create({});
  ASSERT_TRUE(dialog);
  heard.clear();

  EXPECT_EQ(SendMessage(dialog, kProbeMessage, 5, 21), 42);
  EXPECT_EQ(SendMessage(dialog, kProbeMessage + 1, 5, 21), 0) << "not in the map";
  EXPECT_EQ(Notify(dialog, kMessageText, kProbeCode), 42);
  EXPECT_EQ(Notify(dialog, kMessageText, kProbeCode - 1), 0) << "another code";
  EXPECT_EQ(Notify(dialog, kVerifyButton, kProbeCode), 0) << "another control";
  SendMessage(dialog, WM_COMMAND, MakeWParam(kVerifyButton, BN_CLICKED), 0);
  // A command id is mapped whatever the notification code (an accelerator's).
  SendMessage(dialog, WM_COMMAND, MakeWParam(kOkButton, kAcceleratorCommandCode), 0);
  EXPECT_EQ(heard, (std::vector<std::string>{"probe 5", "notice from 1032", "ok"}));

  heard.clear();
  window.MapOtherCommands();
  SendMessage(dialog, WM_COMMAND, MakeWParam(kVerifyButton, BN_CLICKED), 0);
  SendMessage(dialog, WM_COMMAND, MakeWParam(kOkButton, BN_CLICKED), 0);
  EXPECT_EQ(heard, (std::vector<std::string>{"command 1035", "ok"}));
}

TEST_F(DialogWindowTest, AModelessWindowLivesUntilItIsDestroyedOrItsObjectGoes) {
  std::vector<std::string> heard;
  const WindowHandle parent = MakeWindow("TaviAggregatorMainWindow", "Tavi");
  auto window = std::make_unique<ProbeWindow>(heard);
  const WindowHandle dialog = window->Create(parent);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(window->Handle(), dialog);
  EXPECT_FALSE(IsWindowVisible(dialog)) << "hidden until its creator shows it";
  EXPECT_EQ(GetOwner(dialog), parent);
  EXPECT_FALSE(window->Create(parent)) << "one window per object";
  EXPECT_EQ(window->RunModal(parent), -1);

  ShowWindow(dialog, SW_SHOW);
  ASSERT_TRUE(window->EndDialog(3));
  EXPECT_TRUE(IsWindow(dialog)) << "ending a modeless window hides it";
  EXPECT_FALSE(IsWindowVisible(dialog));

  DestroyWindow(dialog);
  EXPECT_FALSE(window->Handle());
  EXPECT_FALSE(window->EndDialog(3));
  const WindowHandle again = window->Create(parent);
  ASSERT_TRUE(again);
  EXPECT_NE(again, dialog);

  heard.clear();
  window.reset();
  EXPECT_FALSE(IsWindow(again));
  EXPECT_TRUE(heard.empty()) << "no handler runs once the object is going";
}

TEST_F(DialogWindowTest, CommonStepsWorkOnTheOpenWindowsControlsOnly) {
  std::vector<std::string> heard;
  ProbeWindow window(heard);
  EXPECT_FALSE(window.SetItemText(kMessageText, "x")) << "not open yet";
  const WindowHandle dialog = window.Create({});
  EXPECT_TRUE(window.SetItemText(kMessageText, "Two\nlines"));
  EXPECT_EQ(GetDlgItemText(dialog, kMessageText), "Two\nlines");
  EXPECT_EQ(window.ItemText(kMessageText), "Two\nlines");
  EXPECT_TRUE(window.EnableItem(kOkButton, false));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kOkButton)));
  EXPECT_FALSE(window.EnableItem(4711, true)) << "no such control";
}

TEST_F(DialogWindowTest, AWindowWithoutATemplateOrOverAStaleOwnerDoesNotOpen) {
  std::vector<std::string> heard;
  ProbeWindow unknown(heard, 4711);
  EXPECT_EQ(unknown.RunModal({}), -1);
  EXPECT_FALSE(unknown.Create({}));

  const WindowHandle gone = MakeWindow("EudoraMainWindow", "Eudora");
  DestroyWindow(gone);
  ProbeWindow window(heard);
  EXPECT_EQ(window.RunModal(gone), -1);
  EXPECT_TRUE(heard.empty());
}

}  // namespace
}  // namespace tavi
