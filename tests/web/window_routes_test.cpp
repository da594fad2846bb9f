#include "web/window_routes.h"

#include <gtest/gtest.h>

#include "platform/web_browser.h"
#include "platform/winsys_test_support.h"

namespace tavi::web {
namespace {

using platform::BrowserNotify;
using platform::WindowHandle;

// What the browser's parent heard.
struct Heard {
  int code = 0;
  std::string url;
  bool by_person = false;

  bool operator==(const Heard&) const = default;
};

// A window holding a browser control whose page has one link.
class BrowserRoutesTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    AddWindowRoutes(router_);
    parent_ = platform::CreateWindow(
        {"TaviDialog",
         "News Board",
         {},
         true,
         log_.Procedure([this](WindowHandle, platform::MessageId message, platform::WParam,
                               platform::LParam lparam) { return OnMessage(message, lparam); }),
         0,
         {},
         true,
         {100, 100, 500, 400}});
    platform::WindowSpec browser{"HtmlView", "", parent_, true};
    browser.kind = platform::ControlKind::kBrowser;
    browser_ = platform::CreateWindow(browser);
    platform::SetBrowserBodyHtml(browser_, "<a href='http://feeds.example/a'>a</a>");
  }

  std::optional<platform::LResult> OnMessage(platform::MessageId message, platform::LParam lparam) {
    if (message != platform::WM_NOTIFY) return std::nullopt;
    auto* notify = reinterpret_cast<BrowserNotify*>(lparam);
    heard_.push_back({notify->header.code, notify->url, notify->by_person});
    // The board's way: a person's link goes elsewhere, never into the preview.
    notify->cancel = notify->by_person;
    return 0;
  }

  PageResponse Get(const std::string& path, std::map<std::string, std::string> query = {}) {
    return router_.Answer({"GET", path, std::move(query), "", ""});
  }

  // The key in the links of the served document.
  std::string ServedKey() {
    const PageResponse page = Get("/window-html/" + std::to_string(browser_.id));
    const std::size_t start = page.body.find("key=");
    const std::size_t end = page.body.find("&amp;", start);
    if (start == std::string::npos || end == std::string::npos) return "";
    return page.body.substr(start + 4, end - start - 4);
  }

  PageRouter router_;
  WindowHandle parent_;
  WindowHandle browser_;
  std::vector<Heard> heard_;
};

TEST_F(BrowserRoutesTest, TheServedDocumentRunsNothingAndItsLinksCarryAKeyOfTheirOwn) {
  const PageResponse page = Get("/window-html/" + std::to_string(browser_.id));
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.policy, AnswerPolicy::kBrowserDocument);
  EXPECT_NE(page.body.find("/window-link/" + std::to_string(browser_.id) + "?key="),
            std::string::npos)
      << page.body;
  const std::string key = ServedKey();
  EXPECT_EQ(key.size(), 64u) << "256 random bits";

  PageRouter other;
  AddWindowRoutes(other);
  const PageResponse other_page =
      other.Answer({"GET", "/window-html/" + std::to_string(browser_.id), {}, "", ""});
  EXPECT_EQ(other_page.body.find(key), std::string::npos) << "each host makes its own key";

  EXPECT_EQ(Get("/window-html/" + std::to_string(parent_.id)).status, 404);
}

TEST_F(BrowserRoutesTest, AClickWithTheKeyReachesTheControlAsAPersonsLink) {
  const std::string key = ServedKey();
  const std::string path = "/window-link/" + std::to_string(browser_.id);
  const PageResponse answer =
      Get(path, {{"key", key}, {"to", "http://feeds.example/a"}, {"new", "1"}});
  EXPECT_EQ(answer.status, 204);
  EXPECT_EQ(answer.body, "");
  EXPECT_EQ(heard_,
            (std::vector<Heard>{{platform::BRN_NEWWINDOW2, "http://feeds.example/a", true}}));
}

TEST_F(BrowserRoutesTest, AClickIsRefusedWithoutTheKeyOrAWebAddress) {
  const std::string key = ServedKey();
  std::string wrong_key = key;
  wrong_key.back() = key.back() == '0' ? '1' : '0';
  const std::string path = "/window-link/" + std::to_string(browser_.id);
  struct Case {
    const char* why;
    std::map<std::string, std::string> query;
    int status;
  };
  const Case cases[] = {
      {"no key", {{"to", "http://feeds.example/a"}, {"new", "0"}}, 403},
      {"a wrong key", {{"key", wrong_key}, {"to", "http://feeds.example/a"}, {"new", "0"}}, 403},
      {"a script", {{"key", key}, {"to", "javascript:alert(1)"}, {"new", "0"}}, 400},
      {"a file", {{"key", key}, {"to", "file:///etc/passwd"}, {"new", "0"}}, 400},
      {"no window kind", {{"key", key}, {"to", "http://feeds.example/a"}}, 400},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    EXPECT_EQ(Get(path, test.query).status, test.status);
  }
  EXPECT_EQ(Get("/window-link/" + std::to_string(parent_.id),
                {{"key", key}, {"to", "http://feeds.example/a"}, {"new", "0"}})
                .status,
            404);
  EXPECT_TRUE(heard_.empty());
}

}  // namespace
}  // namespace tavi::web
