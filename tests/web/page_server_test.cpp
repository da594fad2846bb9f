#include "web/page_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/module_resources.h"
#include "support/host_test.h"
#include "web/host_change_events.h"
#include "web/mail_routes.h"
#include "web/window_routes.h"

namespace tavi::web {
namespace {

// The page server over a host on the test's thread, the host's
// user-interface thread, with the host's changes told to the page. Clients
// run on threads of their own while this thread runs the message loop.
class PageServerTest : public testing::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(Store().AddMessage(host::kInMailboxNumber,
                                   "Subject: Hello\r\n\r\n<x-html><p>Hi</p></x-html>"));
    message_ = Store().MessageAt(host::kInMailboxNumber, 0)->Number();
    host_->SetChangeListener([this](const host::HostChange& change) {
      for (const PageEvent& event : PageEventsFor(change)) events_.Publish(event);
    });
    work_ = UiThreadWork::Create();
    AddMailRoutes(router_, *host_);
    AddWindowRoutes(router_);
    server_ = std::make_unique<PageServer>(PageServerParts{*work_, router_, events_});
    ASSERT_TRUE(server_->Start(0));
    const std::string address = server_->Address();
    port_ = std::stoi(address.substr(address.rfind(':') + 1));
    token_ = address.substr(address.find("token=") + 6);
  }
  void TearDown() override {
    work_->Close();
    server_.reset();
    work_.reset();
    HostTest::TearDown();
  }

  // Runs each client on a thread of its own while the loop runs, until all
  // have finished.
  void WhileLoopRuns(std::vector<std::function<void()>> clients) {
    std::atomic<std::size_t> running = clients.size();
    std::vector<std::thread> threads;
    for (auto& client : clients) {
      threads.emplace_back([this, &running, client = std::move(client)] {
        client();
        if (--running == 0) work_->Post([] { platform::PostQuitMessage(0); });
      });
    }
    platform::Message message;
    while (platform::GetMessage(message)) platform::DispatchMessage(message);
    for (std::thread& thread : threads) thread.join();
  }

  httplib::Result Request(const std::string& method, const std::string& path,
                          httplib::Headers headers = {}, const std::string& body = "") {
    httplib::Client client("127.0.0.1", port_);
    if (method == "GET") return client.Get(path, headers);
    return client.Post(path, headers, body, "application/json");
  }

  // The cookie the printed address's token is exchanged for.
  std::string SessionCookie() {
    std::string cookie;
    WhileLoopRuns({[&] {
      const httplib::Result exchanged = Request("GET", "/?token=" + token_);
      ASSERT_TRUE(exchanged);
      const std::string set_cookie = exchanged->get_header_value("Set-Cookie");
      cookie = set_cookie.substr(0, set_cookie.find(';'));
    }});
    return cookie;
  }

  std::string OpenMessageBody() const {
    return "{\"mailbox\": 2, \"message\": " + std::to_string(message_) + "}";
  }
  std::string Own() const { return "http://127.0.0.1:" + std::to_string(port_); }

  PageEvents events_;
  std::unique_ptr<UiThreadWork> work_;
  PageRouter router_;
  std::unique_ptr<PageServer> server_;
  int port_ = 0;
  std::string token_;
  int message_ = 0;
};

// Whatever the browser accepts, nothing is compressed: on the loopback
// interface it would only cost time.
TEST_F(PageServerTest, EveryAnswerCarriesOnePolicyAndFeedHtmlItsOwnUncompressed) {
  static constexpr platform::IconImage kIcon{424242, "<svg xmlns='http://www.w3.org/2000/svg'/>"};
  platform::RegisterIconImages({&kIcon, 1});
  const std::string cookie = SessionCookie();
  struct Case {
    const char* why;
    std::string path;
    int status;
    std::string content_type;
    const char* policy;
  };
  const std::string body_path = "/message-body/2/" + std::to_string(message_);
  const Case cases[] = {
      {"the page", "/", 200, "text/html; charset=utf-8", kPagePolicy},
      {"its script", "/page/app.js", 200, "text/javascript; charset=utf-8", kPagePolicy},
      {"JSON", "/api/mailboxes", 200, "application/json", kPagePolicy},
      {"nothing there", "/page/missing.js", 404, "application/json", kPagePolicy},
      {"a feed document", body_path, 200, "text/html; charset=utf-8", kFeedDocumentPolicy},
      {"an icon", "/api/icons/424242.svg", 200, "image/svg+xml", kImagePolicy},
  };
  WhileLoopRuns({[&] {
    for (const Case& test : cases) {
      SCOPED_TRACE(test.why);
      const httplib::Result answer =
          Request("GET", test.path, {{"Cookie", cookie}, {"Accept-Encoding", "br, gzip, deflate"}});
      ASSERT_TRUE(answer);
      EXPECT_EQ(answer->status, test.status);
      EXPECT_EQ(answer->get_header_value("Content-Type"), test.content_type);
      EXPECT_EQ(answer->get_header_value_count("Content-Security-Policy"), 1u);
      EXPECT_EQ(answer->get_header_value("Content-Security-Policy"), test.policy);
      EXPECT_EQ(answer->get_header_value("X-Content-Type-Options"), "nosniff");
      // Only a feed document may be framed, and only by the page.
      EXPECT_EQ(answer->has_header("X-Frame-Options"), test.policy != kFeedDocumentPolicy);
      EXPECT_FALSE(answer->has_header("Content-Encoding"));
      EXPECT_EQ(answer->get_header_value("Content-Length"), std::to_string(answer->body.size()));
    }
  }});
}

TEST_F(PageServerTest, AnOpenPageHearsWhatChangedAndFetchesIt) {
  const std::string cookie = SessionCookie();
  std::atomic<bool> listening = false;
  std::string heard;
  WhileLoopRuns({
      [&] {
        httplib::Client client("127.0.0.1", port_);
        client.Get("/api/events", {{"Cookie", cookie}}, [&](const char* data, std::size_t size) {
          heard.append(data, size);
          if (heard.find("event: ready") != std::string::npos) listening = true;
          return heard.find("event: messages") == std::string::npos;
        });
      },
      [&] {
        while (!listening) std::this_thread::yield();
        EXPECT_EQ(Request("POST", "/api/open-message", {{"Cookie", cookie}, {"Origin", Own()}},
                          OpenMessageBody())
                      ->status,
                  200);
      },
  });
  EXPECT_EQ(heard,
            "event: ready\ndata: {}\n\n"
            "event: mailboxes\ndata: {}\n\n"
            "event: messages\ndata: {\"mailbox\": 2}\n\n");
}

TEST_F(PageServerTest, AHostThatStopsAnswersTheRequestsWaitingForIt503) {
  const std::string cookie = SessionCookie();
  int status = 0;
  std::thread client([&] {
    status = Request("GET", "/api/mailboxes", {{"Cookie", cookie}})->status;
  });
  // The request's work arrives; the host stops instead of doing it. Stopping
  // the server waits for the request, which must not wait for the host.
  platform::Message message;
  ASSERT_TRUE(platform::GetMessage(message));
  work_->Close();
  server_->Stop();
  client.join();
  EXPECT_EQ(status, 503);
}

}  // namespace
}  // namespace tavi::web
