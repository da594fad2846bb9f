#include "web/window_views.h"

#include <gtest/gtest.h>

#include "host/host_windows.h"
#include "platform/module_resources.h"
#include "platform/winsys_drop_down.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_mouse.h"
#include "platform/winsys_test_support.h"
#include "web/window_routes.h"

namespace tavi::web {
namespace {

using platform::ControlKind;
using platform::WindowHandle;
using platform::WindowSpec;

class WindowViewsTest : public testing::WinsysTest {
 protected:
  static WindowHandle Make(WindowSpec description) { return platform::CreateWindow(description); }

  // What the page is told of `window`, from its "handle" to the end of its
  // object; "" when it is not told of it.
  static std::string Told(const std::string& json, WindowHandle window) {
    const std::size_t at = json.find("\"handle\": " + std::to_string(window.id) + ",");
    if (at == std::string::npos) return "";
    return json.substr(at, json.find("\"version\"", at) - at);
  }

  static std::string Order(const std::string& json) {
    const std::size_t at = json.find("\"order\": [");
    return json.substr(at, json.find(']', at) - at + 1);
  }
};

TEST_F(WindowViewsTest, ALabelIsToldWithEveryFieldTheRendererDraws) {
  platform::RegisterCursor(1080, "row-resize");
  const WindowHandle dialog = Make({"TaviDialog", "Feeds", {}, true});
  WindowSpec label_spec{"Static", "&Name <b>", dialog, true};
  label_spec.kind = ControlKind::kLabel;
  label_spec.rect = {10, 20, 110, 33};
  label_spec.control_id = 7;
  label_spec.style = platform::control_style::kCenter | platform::control_style::kNotify;
  const WindowHandle label = Make(label_spec);
  platform::SetWindowCursor(label, 1080);

  EXPECT_EQ(Told(WindowsJson(0), label), "\"handle\": " + std::to_string(label.id) +
                                             ",\n      \"parent\": " + std::to_string(dialog.id) +
                                             ",\n"
                                             "      \"owner\": 0,\n"
                                             "      \"class\": \"Static\",\n"
                                             "      \"text\": \"&Name <b>\",\n"
                                             "      \"kind\": \"label\",\n"
                                             "      \"control_id\": 7,\n"
                                             "      \"style\": [\n"
                                             "        \"center\",\n"
                                             "        \"notify\"\n"
                                             "      ],\n"
                                             "      \"icon\": 0,\n"
                                             "      \"cursor\": \"row-resize\",\n"
                                             "      \"rect\": {\n"
                                             "        \"left\": 10,\n"
                                             "        \"top\": 20,\n"
                                             "        \"right\": 110,\n"
                                             "        \"bottom\": 33\n"
                                             "      },\n"
                                             "      \"client\": {\n"
                                             "        \"left\": 0,\n"
                                             "        \"top\": 0,\n"
                                             "        \"right\": 100,\n"
                                             "        \"bottom\": 13\n"
                                             "      },\n"
                                             "      \"visible\": true,\n"
                                             "      \"enabled\": true,\n"
                                             "      \"focused\": false,\n"
                                             "      \"blocked\": false,\n"
                                             "      \"show_state\": \"normal\",\n"
                                             "      \"tracking\": {\n"
                                             "        \"min_width\": 0,\n"
                                             "        \"min_height\": 0,\n"
                                             "        \"max_width\": 0,\n"
                                             "        \"max_height\": 0\n"
                                             "      },\n"
                                             "      \"checked\": false,\n"
                                             "      \"progress\": 0,\n      ");
}

TEST_F(WindowViewsTest, ADropDownListIsToldWithItsItemsAndChoice) {
  const WindowHandle dialog = Make({"TaviDialog", "Save As", {}, true});
  WindowSpec description{"ComboBox", "", dialog, true};
  description.kind = ControlKind::kDropDownList;
  const WindowHandle list = Make(description);
  platform::AddDropDownItem(list, "News \"File\"");
  platform::AddDropDownItem(list, "Any");
  platform::SetDropDownSelection(list, 1);

  const std::string json = WindowsJson(0);

  EXPECT_NE(Told(json, list).find("\"kind\": \"drop_down\""), std::string::npos);
  const std::size_t at = json.find("\"drop_down\": {");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(json.substr(at, json.find('}', at) - at + 1),
            "\"drop_down\": {\n"
            "        \"items\": [\n"
            "          \"News \\\"File\\\"\",\n"
            "          \"Any\"\n"
            "        ],\n"
            "        \"selection\": 1\n"
            "      }");
}

TEST_F(WindowViewsTest, TheHostsWindowsAndEverythingInThemAreLeftOut) {
  const WindowHandle main = Make({host::kMainWindowClass, "Mail Host", {}, true});
  const WindowHandle area = Make({host::kDocumentAreaClass, "", main, true});
  const WindowHandle mailbox = Make({host::kMailboxWindowClass, "In", area, true});
  const WindowHandle work = Make({"HostPageWorkWindow", "", {}, false});
  const WindowHandle dialog = Make({"#32770", "Tavi", {}, true});
  WindowSpec button_spec{"Button", "OK", dialog, true};
  button_spec.kind = ControlKind::kButton;
  const WindowHandle button = Make(button_spec);
  const std::string json = WindowsJson(0);
  EXPECT_EQ(Order(json), "\"order\": [\n    " + std::to_string(dialog.id) + ",\n    " +
                             std::to_string(button.id) + "\n  ]");
  for (const WindowHandle host_window : {main, area, mailbox, work}) {
    SCOPED_TRACE(platform::GetClassName(host_window));
    EXPECT_EQ(Told(json, host_window), "");
  }
  EXPECT_NE(Told(json, dialog).find("\"kind\": \"window\""), std::string::npos);
  EXPECT_NE(Told(json, button).find("\"kind\": \"button\""), std::string::npos);
  EXPECT_NE(json.find("\"host_blocked\": false"), std::string::npos);
  platform::EnableWindow(main, false);
  EXPECT_NE(WindowsJson(0).find("\"host_blocked\": true"), std::string::npos);
  EXPECT_EQ(ListViewRowsJson(mailbox, 0, 10), std::nullopt);
}

TEST_F(WindowViewsTest, AskingSinceAVersionTellsOnlyWhatChangedButEveryWindowThatIsLeft) {
  const WindowHandle first = Make({"TaviDialog", "One", {}, true});
  const WindowHandle second = Make({"TaviDialog", "Two", {}, true});
  const std::string before = WindowsJson(0);
  const std::size_t version_at = before.find("\"version\": ") + 11;
  const std::uint64_t version = std::stoull(before.substr(version_at));
  platform::SetWindowText(second, "Two <changed>");
  const std::string changes = WindowsJson(version);
  EXPECT_EQ(Told(changes, first), "");
  EXPECT_NE(Told(changes, second).find("\"text\": \"Two <changed>\""), std::string::npos);
  EXPECT_NE(Order(changes).find(std::to_string(first.id)), std::string::npos);
}

TEST_F(WindowViewsTest, ListViewRowsAreReadByRangeAndHeldToTheMostOneReadGives) {
  const WindowHandle dialog = Make({"TaviDialog", "List", {}, true});
  WindowSpec list_spec{"SysListView32", "", dialog, true};
  list_spec.kind = ControlKind::kListView;
  const WindowHandle list = Make(list_spec);
  platform::InsertListViewColumn(list, 0, {"Title", 200});
  for (int row = 0; row < kMaxRowsPerRead + 50; ++row)
    platform::InsertListViewRow(list, row, {{"row " + std::to_string(row)}, 0, 0});
  platform::SetListViewRowState(list, 2, platform::LVIS_SELECTED, platform::LVIS_SELECTED);

  const std::string some = ListViewRowsJson(list, 1, 2).value();
  EXPECT_NE(some.find("\"row_count\": 550"), std::string::npos);
  EXPECT_NE(some.find("\"index\": 1,\n      \"texts\": [\n        \"row 1\""), std::string::npos);
  EXPECT_NE(some.find("\"index\": 2,\n      \"texts\": [\n        \"row 2\"\n      ],\n"
                      "      \"image\": 0,\n      \"selected\": true"),
            std::string::npos);
  EXPECT_EQ(some.find("\"index\": 3,"), std::string::npos);
  const std::string many = ListViewRowsJson(list, 10, 100000).value();
  EXPECT_NE(many.find("\"row " + std::to_string(10 + kMaxRowsPerRead - 1) + "\""),
            std::string::npos);
  EXPECT_EQ(many.find("\"row " + std::to_string(10 + kMaxRowsPerRead) + "\""), std::string::npos);
  EXPECT_EQ(ListViewRowsJson(dialog, 0, 10), std::nullopt) << "no list view";
}

// A box waits in the modal loop of the thread that shows it; the page sees
// it with its buttons and answers it through the input route.
TEST_F(WindowViewsTest, AWaitingMessageBoxIsToldWithItsButtonsAndTheAnswerEndsIt) {
  platform::SetFrontEndPresent(true);
  std::promise<int> answer;
  WindowHandle owner;
  testing::LoopThread box_thread([&] {
    owner =
        Make({"TaviDialog",
              "Owner",
              {},
              true,
              [&](WindowHandle window, platform::MessageId message, platform::WParam wparam,
                  platform::LParam lparam) {
                if (message == platform::WM_APP)
                  answer.set_value(platform::MessageBox(
                      window, "Delete <all>?", "Tavi",
                      platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2));
                return platform::DefWindowProc(window, message, wparam, lparam);
              }});
  });
  testing::ChangeWaiter waiter;
  platform::PostMessage(owner, platform::WM_APP, 0, 0);
  const platform::Snapshot waiting =
      waiter.WaitFor([](const platform::Snapshot& now) { return !now.message_boxes.empty(); });
  const int id = waiting.message_boxes.front().id;
  const std::string json = WindowsJson(0);
  EXPECT_NE(json.find("\"caption\": \"Tavi\",\n      \"text\": \"Delete <all>?\",\n"
                      "      \"icon\": \"question\",\n      \"buttons\": [\n        {\n"
                      "          \"answer\": 6,\n          \"text\": \"&Yes\"\n        },\n"
                      "        {\n          \"answer\": 7,\n          \"text\": \"&No\"\n"
                      "        }\n      ],\n      \"default_answer\": 7"),
            std::string::npos)
      << json;
  PageRouter router;
  AddWindowRoutes(router);
  const auto post = [&](const std::string& body) {
    return router.Answer({"POST", "/api/input", {}, "application/json", body}).status;
  };
  EXPECT_EQ(post("{\"kind\": \"message_box\", \"id\": " + std::to_string(id) + ", \"answer\": 1}"),
            404)
      << "OK is no button of a Yes/No box";
  EXPECT_EQ(post("{\"kind\": \"message_box\", \"id\": " + std::to_string(id) + ", \"answer\": 6}"),
            200);
  EXPECT_EQ(answer.get_future().get(), platform::IDYES);
  box_thread.Stop();
}

}  // namespace
}  // namespace tavi::web
