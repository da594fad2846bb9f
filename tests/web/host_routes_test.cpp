#include "web/host_routes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/winsys_dialog.h"
#include "platform/winsys_input.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_snapshot.h"
#include "support/dialog_person.h"
#include "support/host_test.h"
#include "support/loopback_server.h"
#include "web/window_routes.h"

namespace tavi::web {
namespace {

// The host with a plug-in loaded from its plugins folder, as tavi-host has
// it; the work the commands leave for later waits in `later_` until the
// test runs it, as the user-interface thread would.
// The Close button of the plug-in's main window, which the host knows only
// as a window of the plug-in.
constexpr int kMainWindowCloseButton = 1014;

class HostRoutesTest : public testing::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    std::filesystem::create_directories(PluginsFolder());
  }
  void TearDown() override {
    commands_.reset();
    plugin_.reset();
    platform::SetFrontEndPresent(false);
    HostTest::TearDown();
  }

  std::string PluginsFolder() const { return data_.Join("plugins"); }

  void Load(const std::string& module) {
    const std::string installed = PluginsFolder() + "/tavi.so";
    std::filesystem::copy_file(module, installed,
                               std::filesystem::copy_options::overwrite_existing);
    plugin_ = host::PluginModule::Load(installed, PluginsFolder());
    ASSERT_NE(plugin_, nullptr);
    commands_ = std::make_unique<HostCommands>(
        *plugin_, [this](std::function<void()> work) { later_.push_back(std::move(work)); },
        [this] { ++changes_; });
    AddHostRoutes(router_, {*host_, *plugin_, *commands_});
    AddWindowRoutes(router_);
  }

  void RunLaterWork() {
    std::vector<std::function<void()>> work;
    work.swap(later_);
    for (const auto& piece : work) piece();
  }

  PageResponse Get(const std::string& path) { return router_.Answer({"GET", path, {}, "", ""}); }
  PageResponse Post(const std::string& path, const std::string& body) {
    return router_.Answer({"POST", path, {}, "application/json", body});
  }

  std::unique_ptr<host::PluginModule> plugin_;
  std::unique_ptr<HostCommands> commands_;
  std::vector<std::function<void()>> later_;
  int changes_ = 0;
  PageRouter router_;
};

TEST_F(HostRoutesTest, TheHostStateNamesTheStatusThePluginsItemsAndItsTranslator) {
  Load(TAVI_MODULE_PATH);
  host_->SetStatusText("Ready");
  EXPECT_TRUE(OffersTranslators(*plugin_));
  const PageResponse state = Get("/api/host");
  EXPECT_EQ(state.status, 200);
  EXPECT_EQ(state.body,
            "{\n"
            "  \"title\": \"Mail Host\",\n"
            "  \"status\": \"Ready\",\n"
            "  \"running\": \"\",\n"
            "  \"automation\": true,\n"
            "  \"plugin\": {\n"
            "    \"description\": \"Tavi 0.1\",\n"
            "    \"menu\": [\n"
            "      {\n"
            "        \"id\": 1,\n"
            "        \"text\": \"Tavi...\"\n"
            "      }\n"
            "    ],\n"
            "    \"translators\": [\n"
            "      {\n"
            "        \"id\": 1,\n"
            "        \"description\": \"Get the Full Article\"\n"
            "      }\n"
            "    ]\n"
            "  }\n"
            "}");
}

TEST_F(HostRoutesTest, AMenuItemRunsLaterAndOneCommandAtATime) {
  ASSERT_TRUE(Store().AddMessage(host::kInMailboxNumber, "Website: http://127.0.0.1:1/\r\n\r\n"));
  const std::string translate =
      "{\"mailbox\": 2, \"message\": " +
      std::to_string(Store().MessageAt(host::kInMailboxNumber, 0)->Number()) +
      ", \"translator\": 1, \"ctrl\": true, \"shift\": false}";
  Load(TAVI_MODULE_PATH);
  const PageResponse started = Post("/api/menu", "{\"item\": 1}");
  EXPECT_EQ(started.status, 202);
  EXPECT_EQ(started.body, "{\n  \"running\": \"Tavi...\"\n}");
  EXPECT_EQ(host_->StatusText(), "");
  EXPECT_NE(Get("/api/host").body.find("\"running\": \"Tavi...\""), std::string::npos);
  // The host's menus wait while the plug-in has the user-interface thread.
  EXPECT_EQ(Post("/api/menu", "{\"item\": 1}").status, 409);
  EXPECT_EQ(Post("/api/settings", "{}").status, 409);
  EXPECT_EQ(Post("/api/translate", translate).status, 409);
  EXPECT_EQ(later_.size(), 1u);
  {
    // The item opens Tavi's main window over the host; the person closes it.
    testing::DialogPerson person([](platform::WindowHandle main_window) {
      platform::InjectClick(platform::GetDlgItem(main_window, kMainWindowCloseButton));
    });
    RunLaterWork();
    EXPECT_TRUE(person.Acted());
  }
  EXPECT_EQ(host_->StatusText(), "Tavi. For Help, press F1.");
  EXPECT_EQ(commands_->Running(), "");
  EXPECT_EQ(changes_, 2);  // started, ended
  EXPECT_EQ(Post("/api/menu", "{\"item\": 2}").status, 404);
  EXPECT_EQ(Post("/api/menu", "{\"item\": -1}").status, 404);
  EXPECT_EQ(Post("/api/menu", "{\"item\": \"1\"}").status, 400);
  EXPECT_TRUE(later_.empty());
}

TEST_F(HostRoutesTest, ThePageSwitchesTheAutomationServerAndEveryPageIsTold) {
  Load(TAVI_MODULE_PATH);
  std::vector<host::HostChange> heard;
  host_->SetChangeListener([&heard](const host::HostChange& change) { heard.push_back(change); });
  const PageResponse off = Post("/api/automation", "{\"enabled\": false}");
  EXPECT_EQ(off.status, 200);
  EXPECT_NE(off.body.find("\"automation\": false"), std::string::npos) << off.body;
  EXPECT_FALSE(host_->AutomationEnabled());
  EXPECT_EQ(Post("/api/automation", "{\"enabled\": false}").status, 200);
  EXPECT_EQ(heard.size(), 1u) << "a switch to the state it is in changes nothing";
  EXPECT_EQ(Post("/api/automation", "{\"enabled\": 1}").status, 400);
  EXPECT_EQ(Post("/api/automation", "{}").status, 400);
  EXPECT_FALSE(host_->AutomationEnabled());
  EXPECT_EQ(Post("/api/automation", "{\"enabled\": true}").status, 200);
  EXPECT_TRUE(host_->AutomationEnabled());
  EXPECT_EQ(heard, std::vector<host::HostChange>(2, {host::HostChangeKind::kAutomation, 0}));
  host_->SetChangeListener({});
}

// The input that ends the About box as a person in the page would: its
// answer when it waits as a message box, its close box when it is a window.
std::string CloseAboutInput(const platform::Snapshot& snapshot) {
  for (const platform::MessageBoxRequest& box : snapshot.message_boxes)
    return "{\"kind\": \"message_box\", \"answer\": 1, \"id\": " + std::to_string(box.id) + "}";
  for (const platform::WindowSnapshot& window : snapshot.windows)
    if (!window.parent && window.text == "About Tavi")
      return "{\"kind\": \"system_command\", \"command\": \"close\", \"window\": " +
             std::to_string(window.handle.id) + "}";
  return "{}";
}

// With the page present, the About box waits for the person: the command
// runs until the page ends the box (here from inside the box's modal loop,
// as the page's request arrives there).
TEST_F(HostRoutesTest, TheSettingsShowTheAboutBoxUntilThePageClosesIt) {
  Load(TAVI_MODULE_PATH);
  platform::SetFrontEndPresent(true);
  std::string seen;
  int closed = 0;
  const platform::WindowHandle page = platform::CreateWindow(
      {"PageStandIn",
       "",
       {},
       false,
       [&](platform::WindowHandle window, platform::MessageId message, platform::WParam wparam,
           platform::LParam lparam) {
         if (message != platform::WM_APP)
           return platform::DefWindowProc(window, message, wparam, lparam);
         seen = Get("/api/windows").body;
         EXPECT_NE(Get("/api/host").body.find("\"running\": \"Settings\""), std::string::npos);
         closed = Post("/api/input", CloseAboutInput(platform::TakeSnapshot())).status;
         return platform::LResult{0};
       }});
  EXPECT_EQ(Post("/api/settings", "{}").status, 202);
  platform::PostMessage(page, platform::WM_APP, 0, 0);
  RunLaterWork();
  EXPECT_NE(seen.find("About Tavi"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Version: 0.1 / Final"), std::string::npos);
  EXPECT_EQ(closed, 200);
  EXPECT_EQ(commands_->Running(), "") << "the box was closed and the command ended";
  platform::DestroyWindow(page);
}

TEST_F(HostRoutesTest, ATranslatorIsOfferedOnlyByAPluginThatCanRunIt) {
  ASSERT_TRUE(Store().AddMessage(host::kInMailboxNumber, "Subject: a\r\n\r\n<x-html>a</x-html>"));
  const int message = Store().MessageAt(host::kInMailboxNumber, 0)->Number();
  const std::string request = "{\"mailbox\": 2, \"message\": " + std::to_string(message) +
                              ", \"translator\": 1, \"ctrl\": true, \"shift\": false}";
  Load(TAVI_TRANSLATING_STAND_IN_PATH);
  EXPECT_EQ(Post("/api/translate",
                 "{\"mailbox\": 2, \"message\": 99999, \"translator\": 1, "
                 "\"ctrl\": true, \"shift\": false}")
                .status,
            404);
  EXPECT_EQ(Post("/api/translate", "{\"mailbox\": 2, \"message\": 1}").status, 400);

  EXPECT_TRUE(OffersTranslators(*plugin_));
  // The stand-in's translator fails; the message stays as it was.
  const PageResponse answer = Post("/api/translate", request);
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body, "{\n  \"result\": 1\n}");
  EXPECT_EQ(Store().MessageAt(host::kInMailboxNumber, 0)->Text(),
            "Subject: a\r\n\r\n<x-html>a</x-html>");
}

TEST_F(HostRoutesTest, TheFullArticleWithCtrlBecomesTheMessagesTextAndItsKeysAreLetGo) {
  testing::LoopbackServer server;
  server.Serve("/story", "<p>The whole story</p>", "text/html");
  const std::string headers = "Subject: a\r\nWebsite: " + server.Url("/story");
  ASSERT_TRUE(Store().AddMessage(host::kInMailboxNumber, headers + "\r\n\r\n<x-html>a</x-html>"));
  const host::MessagePtr message = Store().MessageAt(host::kInMailboxNumber, 0);
  Load(TAVI_MODULE_PATH);
  const PageResponse answer =
      Post("/api/translate", "{\"mailbox\": 2, \"message\": " + std::to_string(message->Number()) +
                                 ", \"translator\": 1, \"ctrl\": true, \"shift\": true}");
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body, "{\n  \"result\": 0\n}");
  EXPECT_EQ(message->Text(), headers + "\r\n\r\n<html>The whole story</html>");
  EXPECT_EQ(platform::GetAsyncKeyState(platform::virtual_key::kControl), 0);
  EXPECT_EQ(platform::GetAsyncKeyState(platform::virtual_key::kShift), 0);
}

}  // namespace
}  // namespace tavi::web
