#include "web/window_input.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "host/host_windows.h"
#include "platform/winsys_drop_down.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_test_support.h"
#include "web/window_routes.h"

namespace tavi::web {
namespace {

using platform::ControlKind;
using platform::WindowHandle;
using platform::WindowSpec;

// A dialog with a list view and an edit, whose messages the log records.
class WindowInputTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    AddWindowRoutes(router_);
    dialog_ = platform::CreateWindow(
        {"TaviDialog", "Feeds", {}, true, log_.Procedure(), 0, {}, true, {100, 100, 500, 400}});
    WindowSpec list{"SysListView32", "", dialog_, true};
    list.kind = ControlKind::kListView;
    list.rect = {0, 0, 300, 200};
    list_ = platform::CreateWindow(list);
    platform::InsertListViewColumn(list_, 0, {"Title", 100});
    platform::InsertListViewRow(list_, 0, {{"one"}, 0, 0});
    WindowSpec edit{"Edit", "", dialog_, true};
    edit.kind = ControlKind::kEdit;
    edit.style = platform::control_style::kDigitsOnly;
    edit_ = platform::CreateWindow(edit);
  }

  int Post(const std::string& body) {
    return router_.Answer({"POST", "/api/input", {}, "application/json", body}).status;
  }
  static std::string Window(WindowHandle window) {
    return "\"window\": " + std::to_string(window.id);
  }

  PageRouter router_;
  WindowHandle dialog_;
  WindowHandle list_;
  WindowHandle edit_;
};

TEST_F(WindowInputTest, EachInputReachesItsWindowAsTheMessageItNames) {
  struct Case {
    std::string body;
    platform::MessageId message;
    platform::WParam wparam;
  };
  const std::string dialog = Window(dialog_);
  const Case cases[] = {
      {"{\"kind\": \"mouse\", " + dialog +
           ", \"action\": \"left_down\", \"x\": 5, \"y\": 6, "
           "\"shift\": true}",
       platform::WM_LBUTTONDOWN, platform::MK_LBUTTON | platform::MK_SHIFT},
      {"{\"kind\": \"mouse\", " + dialog +
           ", \"action\": \"move\", \"x\": -5, \"y\": 6, "
           "\"ctrl\": true}",
       platform::WM_MOUSEMOVE, platform::MK_LBUTTON | platform::MK_CONTROL},
      {"{\"kind\": \"mouse\", " + dialog + ", \"action\": \"left_up\", \"x\": 5, \"y\": 6}",
       platform::WM_LBUTTONUP, 0},
      {"{\"kind\": \"mouse\", " + dialog + ", \"action\": \"right_down\", \"x\": 1, \"y\": 1}",
       platform::WM_RBUTTONDOWN, platform::MK_RBUTTON},
      {"{\"kind\": \"mouse\", " + dialog + ", \"action\": \"right_up\", \"x\": 1, \"y\": 1}",
       platform::WM_RBUTTONUP, 0},
      {"{\"kind\": \"mouse\", " + dialog + ", \"action\": \"left_double\", \"x\": 1, \"y\": 1}",
       platform::WM_LBUTTONDBLCLK, platform::MK_LBUTTON},
      {"{\"kind\": \"key\", " + dialog + ", \"key\": 112, \"down\": true, \"alt\": true}",
       platform::WM_KEYDOWN, 112},
      {"{\"kind\": \"key\", " + dialog + ", \"key\": 112, \"down\": false}", platform::WM_KEYUP,
       112},
      {"{\"kind\": \"system_command\", " + dialog + ", \"command\": \"minimize\"}",
       platform::WM_SYSCOMMAND, platform::SC_MINIMIZE},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.body);
    const std::size_t before = log_.Seen(test.message).size();
    ASSERT_EQ(Post(test.body), 200);
    platform::PumpWaitingMessages();
    const std::vector<testing::SeenMessage> seen = log_.Seen(test.message);
    ASSERT_EQ(seen.size(), before + 1);
    EXPECT_EQ(seen.back().window, dialog_);
    EXPECT_EQ(seen.back().wparam, test.wparam);
  }
}

TEST_F(WindowInputTest, ListClicksAndTypingReachTheirControls) {
  ASSERT_EQ(Post("{\"kind\": \"list_click\", " + Window(list_) +
                 ", \"row\": 0, \"click\": \"double\", \"ctrl\": true}"),
            200);
  ASSERT_EQ(Post("{\"kind\": \"text\", " + Window(edit_) + ", \"text\": \"12a3\"}"), 200);
  platform::PumpWaitingMessages();
  EXPECT_EQ(platform::GetListViewRowState(list_, 0, platform::LVIS_SELECTED),
            platform::LVIS_SELECTED);
  const std::vector<testing::Notice> notices = log_.Notices();
  EXPECT_NE(
      std::ranges::find(notices, testing::Notice{platform::WM_NOTIFY, 0, platform::NM_DBLCLK}),
      notices.end());
  EXPECT_EQ(platform::GetWindowText(edit_), "123");
}

TEST_F(WindowInputTest, APickFromADropDownListReachesItAndItsParentHears) {
  WindowSpec description{"ComboBox", "", dialog_, true};
  description.kind = ControlKind::kDropDownList;
  description.control_id = 5;
  const WindowHandle types = platform::CreateWindow(description);
  platform::AddDropDownItem(types, "News File");
  platform::AddDropDownItem(types, "Any File Type");

  EXPECT_EQ(Post("{\"kind\": \"select\", " + Window(types) + ", \"index\": 2}"), 409);
  EXPECT_EQ(Post("{\"kind\": \"select\", " + Window(types) + ", \"index\": -1}"), 400);
  EXPECT_EQ(Post("{\"kind\": \"select\", " + Window(list_) + ", \"index\": 0}"), 409);
  ASSERT_EQ(Post("{\"kind\": \"select\", " + Window(types) + ", \"index\": 1}"), 200);
  platform::PumpWaitingMessages();

  EXPECT_EQ(platform::GetDropDownSelection(types), 1);
  EXPECT_EQ(log_.Notices(),
            (std::vector<testing::Notice>{{platform::WM_COMMAND, 5, platform::CBN_SELCHANGE}}));
}

// Refused input changes nothing: nothing reaches the windows' thread.
TEST_F(WindowInputTest, BadOrUndeliverableInputIsRefusedWithItsOwnStatus) {
  const WindowHandle host = platform::CreateWindow({host::kMainWindowClass, "Mail Host", {}, true});
  const WindowHandle hidden = platform::CreateWindow({"TaviDialog", "", {}, false});
  const WindowHandle gone = platform::CreateWindow({"TaviDialog", "", {}, true});
  platform::DestroyWindow(gone);
  const std::string dialog = Window(dialog_);
  struct Case {
    const char* why;
    std::string body;
    int status;
  };
  const Case cases[] = {
      {"no kind", "{" + dialog + "}", 400},
      {"an unknown kind", "{\"kind\": \"format\", " + dialog + "}", 400},
      {"no window", "{\"kind\": \"click\"}", 400},
      {"a window as text", "{\"kind\": \"click\", \"window\": \"1\"}", 400},
      {"a modifier that is no boolean", "{\"kind\": \"click\", " + dialog + ", \"shift\": 1}", 400},
      {"an unknown mouse action",
       "{\"kind\": \"mouse\", " + dialog + ", \"action\": \"wheel\", \"x\": 1, \"y\": 1}", 400},
      {"a point beyond 16 bits",
       "{\"kind\": \"mouse\", " + dialog + ", \"action\": \"move\", \"x\": 40000, \"y\": 1}", 400},
      {"key 0", "{\"kind\": \"key\", " + dialog + ", \"key\": 0, \"down\": true}", 400},
      {"key 256", "{\"kind\": \"key_press\", " + dialog + ", \"key\": 256}", 400},
      {"an empty rectangle",
       "{\"kind\": \"rect\", " + dialog +
           ", \"left\": 10, \"top\": 10, \"right\": 10, \"bottom\": 50}",
       400},
      {"an unknown system command",
       "{\"kind\": \"system_command\", " + dialog + ", \"command\": \"shutdown\"}", 400},
      {"an unknown click",
       "{\"kind\": \"list_click\", " + Window(list_) + ", \"row\": 0, \"click\": \"triple\"}", 400},
      {"tree item 0",
       "{\"kind\": \"tree_click\", " + dialog + ", \"item\": 0, \"click\": \"left\"}", 400},
      {"a gone window", "{\"kind\": \"click\", " + Window(gone) + "}", 404},
      {"a handle never given", "{\"kind\": \"click\", \"window\": 4294967295}", 404},
      {"the host's window", "{\"kind\": \"click\", " + Window(host) + "}", 404},
      {"a box that does not wait", "{\"kind\": \"message_box\", \"id\": 99999, \"answer\": 1}",
       404},
      {"a popup that does not wait", "{\"kind\": \"popup_menu\", \"id\": 99999, \"command\": 0}",
       404},
      {"a hidden window", "{\"kind\": \"click\", " + Window(hidden) + "}", 409},
      {"a row the list has not",
       "{\"kind\": \"list_click\", " + Window(list_) + ", \"row\": 1, \"click\": \"left\"}", 409},
      {"text for a list", "{\"kind\": \"text\", " + Window(list_) + ", \"text\": \"x\"}", 409},
      {"a command without a menu", "{\"kind\": \"command\", " + dialog + ", \"command\": 5}", 409},
      {"a control's caption box",
       "{\"kind\": \"system_command\", " + Window(list_) + ", \"command\": \"close\"}", 409},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    EXPECT_EQ(Post(test.body), test.status);
  }
  platform::EnableWindow(dialog_, false);
  EXPECT_EQ(Post("{\"kind\": \"click\", " + Window(list_) + "}"), 409) << "inside a disabled one";
  platform::Message waiting;
  EXPECT_FALSE(platform::PeekMessage(waiting, false));
  EXPECT_EQ(platform::GetAsyncKeyState(platform::virtual_key::kShift), 0);
}

}  // namespace
}  // namespace tavi::web
