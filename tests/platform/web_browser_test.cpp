#include "platform/web_browser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "platform/winsys_dialog.h"
#include "platform/winsys_test_support.h"
#include "support/loopback_server.h"

namespace tavi::platform {
namespace {

using testing::LoopbackResponse;
using testing::LoopbackServer;

constexpr int kPreview = 1081;

LoopbackResponse Stalling() {
  LoopbackResponse response;
  response.ending = LoopbackResponse::Ending::kStallBeforeHeader;
  return response;
}

LoopbackResponse Answer(int status, std::string body, std::size_t padding = 0) {
  LoopbackResponse response;
  response.status = status;
  response.body = std::move(body);
  response.padding = padding;
  return response;
}

// What the parent heard, with the data of each notification.
struct Heard {
  int code = 0;
  std::string url;
  bool by_person = false;

  bool operator==(const Heard&) const = default;
};

class WebBrowserTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    DialogTemplate dialog;
    dialog.rect = {0, 0, 300, 200};
    dialog.controls = {{ControlKind::kBrowser, kPreview, "", {0, 0, 300, 200}, 0, 0}};
    dialog_ = CreateDialog(
        dialog, {}, log_.Dialog([this](WindowHandle, MessageId message, WParam, LParam lparam) {
          return OnMessage(message, lparam);
        }),
        0);
    browser_ = GetDlgItem(dialog_, kPreview);
  }

  std::optional<LResult> OnMessage(MessageId message, LParam lparam) {
    if (message != WM_NOTIFY) return std::nullopt;
    auto* notify = reinterpret_cast<BrowserNotify*>(lparam);
    heard_.push_back({notify->header.code, notify->url, notify->by_person});
    notify->cancel = cancelled_codes_.contains(notify->header.code);
    if (on_notify_) on_notify_(notify->header.code);
    return 0;
  }

  // Handles messages until the parent hears `code` (or ten seconds pass).
  void PumpUntilHeard(int code) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!HeardCode(code) && std::chrono::steady_clock::now() < deadline) {
      Message message;
      if (GetMessageUntil(message, Now() + std::chrono::milliseconds(100)) == WaitResult::kMessage)
        DispatchMessage(message);
    }
    ASSERT_TRUE(HeardCode(code)) << "no notification " << code;
  }

  // Handles whatever is waiting now, hearing nothing more from a late load.
  void PumpWaiting() { PumpWaitingMessages(); }

  bool HeardCode(int code) const {
    for (const Heard& heard : heard_)
      if (heard.code == code) return true;
    return false;
  }

  // Navigates and waits for the load to end.
  void Load(const std::string& url) {
    ASSERT_TRUE(BrowserNavigate(browser_, url));
    PumpUntilHeard(BRN_DOWNLOADCOMPLETE);
  }

  WindowHandle dialog_;
  WindowHandle browser_;
  std::vector<Heard> heard_;
  std::set<int> cancelled_codes_;
  std::function<void(int code)> on_notify_;  // after the notification is heard
  LoopbackServer server_;
};

TEST_F(WebBrowserTest, APageLoadsOnItsOwnThreadAndThenTheParentHearsBothEventsInOrder) {
  const std::string page = "<html><head><title>T</title></head><body><p>Hello</p></body></html>";
  server_.Serve("/page", page, "text/html");
  const std::string url = server_.Url("/page");

  ASSERT_TRUE(BrowserNavigate(browser_, url, kNavigateNoHistory));
  // Nothing arrives before the owner pumps: the load runs apart.
  EXPECT_EQ(heard_, (std::vector<Heard>{{BRN_BEFORENAVIGATE2, url, false}}));
  EXPECT_TRUE(BrowserBusy(browser_));
  EXPECT_EQ(GetBrowserLocation(browser_), "");

  PumpUntilHeard(BRN_DOWNLOADCOMPLETE);
  EXPECT_EQ(heard_, (std::vector<Heard>{{BRN_BEFORENAVIGATE2, url, false},
                                        {BRN_NAVIGATECOMPLETE2, url, false},
                                        {BRN_DOWNLOADCOMPLETE, url, false}}));
  EXPECT_FALSE(BrowserBusy(browser_));
  EXPECT_FALSE(BrowserLoadFailed(browser_));
  EXPECT_EQ(GetBrowserLocation(browser_), url);
  EXPECT_EQ(GetWindowText(browser_), page);
  EXPECT_EQ(GetBrowserBodyHtml(browser_), "<p>Hello</p>");
}

TEST_F(WebBrowserTest, ABlankAddressLoadsAnEmptyDocumentWithTheSameEvents) {
  for (const std::string url : {"about:blank", ""}) {
    SCOPED_TRACE(url);
    heard_.clear();
    SetBrowserBodyHtml(browser_, "<p>old</p>");
    Load(url);
    EXPECT_EQ(heard_.size(), 3u);
    EXPECT_FALSE(BrowserLoadFailed(browser_));
    EXPECT_EQ(GetBrowserBodyHtml(browser_), "");
    EXPECT_EQ(GetBrowserLocation(browser_), url);
  }
}

TEST_F(WebBrowserTest, AFailedLoadShowsAnEscapedErrorPageNamingTheReason) {
  server_.Serve("/missing", Answer(404, "<b>gone</b>"));
  server_.Serve("/huge", Answer(200, "<p>", kMaxBrowserPageBytes));
  struct Case {
    std::string url;
    std::string reason;
  };
  const Case cases[] = {
      {server_.Url("/missing"), "The server answered 404 Not Found."},
      {server_.Url("/huge"), "The document is larger than the limit of 16 MiB."},
      // Addresses from feeds that the control refuses to touch.
      {"file:///etc/passwd", "Only web addresses (http and https) are loaded."},
      {"javascript:alert('<b>x</b>')", "Only web addresses (http and https) are loaded."},
      {"http://exa mple.com/", "Only web addresses (http and https) are loaded."},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.url);
    heard_.clear();
    Load(test.url);
    EXPECT_EQ(heard_.size(), 3u);
    EXPECT_TRUE(BrowserLoadFailed(browser_));
    EXPECT_EQ(GetBrowserLocation(browser_), test.url);
    const std::string text = GetBrowserBodyText(browser_);
    EXPECT_NE(text.find(test.reason), std::string::npos) << text;
    EXPECT_NE(text.find(test.url), std::string::npos) << text;
    EXPECT_EQ(GetBrowserBodyHtml(browser_).find("<b>"), std::string::npos);
  }
  EXPECT_EQ(server_.Hits("/missing"), 1);
}

TEST_F(WebBrowserTest, ALoadThatSucceedsAfterAFailureClearsTheFailure) {
  server_.Serve("/page", "<p>fine</p>", "text/html");
  Load("file:///etc/passwd");
  heard_.clear();
  Load(server_.Url("/page"));
  EXPECT_FALSE(BrowserLoadFailed(browser_));
  EXPECT_EQ(GetBrowserBodyText(browser_), "fine\n");
}

TEST_F(WebBrowserTest, TheParentCancelsANavigationOrANewWindowBeforeAnythingLoads) {
  server_.Serve("/page", "<p>page</p>", "text/html");
  const std::string url = server_.Url("/page");

  cancelled_codes_ = {BRN_BEFORENAVIGATE2};
  EXPECT_FALSE(BrowserNavigate(browser_, url));
  EXPECT_FALSE(ClickBrowserLink(browser_, url, false));
  EXPECT_EQ(heard_, (std::vector<Heard>{{BRN_BEFORENAVIGATE2, url, false},
                                        {BRN_BEFORENAVIGATE2, url, true}}));

  heard_.clear();
  cancelled_codes_ = {BRN_NEWWINDOW2};
  EXPECT_FALSE(ClickBrowserLink(browser_, url, true));
  EXPECT_EQ(heard_, (std::vector<Heard>{{BRN_NEWWINDOW2, url, true}}));
  PumpWaiting();
  EXPECT_FALSE(BrowserBusy(browser_));
  EXPECT_EQ(server_.Hits("/page"), 0);
  EXPECT_EQ(GetWindowText(browser_), "");
}

TEST_F(WebBrowserTest, ANewWindowLeftAloneLoadsInTheControlItself) {
  server_.Serve("/page", "<p>page</p>", "text/html");
  const std::string url = server_.Url("/page");
  ASSERT_TRUE(ClickBrowserLink(browser_, url, true));
  PumpUntilHeard(BRN_DOWNLOADCOMPLETE);
  EXPECT_EQ(heard_, (std::vector<Heard>{{BRN_NEWWINDOW2, url, true},
                                        {BRN_BEFORENAVIGATE2, url, true},
                                        {BRN_NAVIGATECOMPLETE2, url, false},
                                        {BRN_DOWNLOADCOMPLETE, url, false}}));
  EXPECT_EQ(GetBrowserLocation(browser_), url);
}

TEST_F(WebBrowserTest, ASecondNavigationAbandonsTheFirstWithoutAnyOfItsEvents) {
  server_.Serve("/slow", Stalling());
  server_.Serve("/fast", "<p>fast</p>", "text/html");
  ASSERT_TRUE(BrowserNavigate(browser_, server_.Url("/slow")));
  server_.WaitUntilStalled();
  heard_.clear();

  Load(server_.Url("/fast"));
  PumpWaiting();
  const std::string fast = server_.Url("/fast");
  EXPECT_EQ(heard_, (std::vector<Heard>{{BRN_BEFORENAVIGATE2, fast, false},
                                        {BRN_NAVIGATECOMPLETE2, fast, false},
                                        {BRN_DOWNLOADCOMPLETE, fast, false}}));
  EXPECT_EQ(GetBrowserBodyHtml(browser_), "<p>fast</p>");
}

TEST_F(WebBrowserTest, ANavigationStartedOnNavigateCompleteDropsTheOldDownloadComplete) {
  on_notify_ = [this](int code) {
    if (code != BRN_NAVIGATECOMPLETE2) return;
    on_notify_ = {};
    BrowserNavigate(browser_, "about:blank");
  };
  server_.Serve("/page", "<p>page</p>", "text/html");
  Load(server_.Url("/page"));
  EXPECT_EQ(heard_.back(), (Heard{BRN_DOWNLOADCOMPLETE, "about:blank", false}));
  int download_completes = 0;
  for (const Heard& heard : heard_) download_completes += heard.code == BRN_DOWNLOADCOMPLETE;
  EXPECT_EQ(download_completes, 1);
}

TEST_F(WebBrowserTest, DestroyingTheControlDuringALoadReturnsPromptlyAndNothingFollows) {
  server_.Serve("/slow", Stalling());
  ASSERT_TRUE(BrowserNavigate(browser_, server_.Url("/slow")));
  server_.WaitUntilStalled();
  heard_.clear();

  const auto start = std::chrono::steady_clock::now();
  DestroyWindow(dialog_);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  PumpWaiting();
  EXPECT_TRUE(heard_.empty());
  EXPECT_FALSE(BrowserNavigate(browser_, "about:blank"));
}

TEST_F(WebBrowserTest, AParentThatClosesInsteadOfAnsweringStartsNoLoad) {
  server_.Serve("/page", "<p>page</p>", "text/html");
  on_notify_ = [this](int) { DestroyWindow(dialog_); };
  EXPECT_FALSE(BrowserNavigate(browser_, server_.Url("/page")));
  PumpWaiting();
  EXPECT_EQ(heard_.size(), 1u);
  EXPECT_EQ(server_.Hits("/page"), 0);
}

TEST_F(WebBrowserTest, TheBodyIsReadAndWrittenAsAScriptWouldAndTheHeadStays) {
  SetBrowserBodyHtml(browser_, "<p>first");
  EXPECT_EQ(GetBrowserBodyHtml(browser_), "<p>first</p>");

  server_.Serve("/page", "<head><title>Kept</title></head><body class=x>old", "text/html");
  Load(server_.Url("/page"));
  ASSERT_TRUE(SetBrowserBodyHtml(browser_, "<h1>New</h1><a href='/a'>link</a> text"));
  EXPECT_EQ(GetWindowText(browser_),
            "<html><head><title>Kept</title></head><body class=\"x\"><h1>New</h1>"
            "<a href=\"/a\">link</a> text</body></html>");
  // The text a script reads has no link numbers.
  EXPECT_EQ(GetBrowserBodyText(browser_), "New\n\nlink text\n");
}

TEST_F(WebBrowserTest, PropertiesAreKeptAndOtherWindowsAreRefused) {
  ASSERT_TRUE(SetBrowserProperties(browser_, {true, true, false}));
  const BrowserProperties kept = GetBrowserProperties(browser_);
  EXPECT_TRUE(kept.offline);
  EXPECT_TRUE(kept.silent);
  EXPECT_FALSE(kept.theater_mode);

  EXPECT_FALSE(BrowserNavigate(dialog_, "about:blank"));
  EXPECT_FALSE(ClickBrowserLink(dialog_, "about:blank", false));
  EXPECT_FALSE(SetBrowserBodyHtml(dialog_, "<p>x</p>"));
  EXPECT_FALSE(SetBrowserProperties(dialog_, {}));
  EXPECT_EQ(GetBrowserBodyHtml(dialog_), "");
  EXPECT_TRUE(heard_.empty());
}

}  // namespace
}  // namespace tavi::platform
