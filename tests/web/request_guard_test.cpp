#include "web/request_guard.h"

#include <gtest/gtest.h>

namespace tavi::web {
namespace {

constexpr int kPort = 43210;
constexpr const char* kToken = "feedface";
constexpr const char* kCookie = "tavi_session_43210=cafe";

struct GuardCase {
  const char* why;
  GuardedRequest request;
  GuardVerdict verdict;
};

GuardedRequest Get(std::string_view host, std::string_view cookie) {
  return {"GET", "/api/mailboxes", host, "", cookie, std::nullopt};
}

GuardedRequest Post(std::string_view host, std::string_view origin, std::string_view cookie) {
  return {"POST", "/api/open-message", host, origin, cookie, std::nullopt};
}

GuardedRequest WithToken(std::string_view method, std::string_view token) {
  return {method, "/", "127.0.0.1:43210", "", "", token};
}

TEST(RequestGuard, PassesOnlyThePageOfTheBrowserThatOpenedThePrintedAddress) {
  using enum GuardVerdict;
  const GuardCase cases[] = {
      {"the page's own read", Get("127.0.0.1:43210", kCookie), kPass},
      {"by the name localhost, in any case", Get("LocalHost:43210", kCookie), kPass},
      {"among other cookies", Get("127.0.0.1:43210", "a=b;  tavi_session_43210=cafe ; c"), kPass},
      {"no cookie", Get("127.0.0.1:43210", ""), kRefuse},
      {"a wrong session", Get("127.0.0.1:43210", "tavi_session_43210=cafd"), kRefuse},
      {"another port's cookie", Get("127.0.0.1:43210", "tavi_session_43211=cafe"), kRefuse},
      {"the value without the name", Get("127.0.0.1:43210", "cafe"), kRefuse},
      // DNS rebinding: another site's name that resolves to this machine.
      {"a foreign host name", Get("attacker.example:43210", kCookie), kRefuse},
      {"the right name at another port", Get("127.0.0.1:43211", kCookie), kRefuse},
      {"no port", Get("127.0.0.1", kCookie), kRefuse},
      {"no Host header", Get("", kCookie), kRefuse},
      {"a name that only ends like ours", Get("x127.0.0.1:43210", kCookie), kRefuse},
      {"the page's own change", Post("127.0.0.1:43210", "http://127.0.0.1:43210", kCookie), kPass},
      {"a change from localhost's page", Post("localhost:43210", "http://localhost:43210", kCookie),
       kPass},
      {"a change without an Origin", Post("127.0.0.1:43210", "", kCookie), kRefuse},
      {"a change from another site", Post("127.0.0.1:43210", "http://attacker.example", kCookie),
       kRefuse},
      {"a change from another port", Post("127.0.0.1:43210", "http://127.0.0.1:43211", kCookie),
       kRefuse},
      {"a change from the other name", Post("127.0.0.1:43210", "http://localhost:43210", kCookie),
       kRefuse},
      {"a change from https", Post("127.0.0.1:43210", "https://127.0.0.1:43210", kCookie), kRefuse},
      {"a change without the cookie", Post("127.0.0.1:43210", "http://127.0.0.1:43210", ""),
       kRefuse},
      {"the printed token", WithToken("GET", kToken), kSetCookie},
      {"a wrong token", WithToken("GET", "feedfacf"), kRefuse},
      {"an empty token", WithToken("GET", ""), kRefuse},
      {"a token on a change is no way in", WithToken("POST", kToken), kRefuse},
      // A browser control's frame has no cookie; the link route checks a key.
      {"a link from a browser control's frame",
       {"GET", "/window-link/7", "127.0.0.1:43210", "null", "", std::nullopt},
       kPass},
      {"a browser control's link at a foreign name",
       {"GET", "/window-link/7", "attacker.example:43210", "", "", std::nullopt},
       kRefuse},
      {"a change to a link path still needs the cookie",
       {"POST", "/window-link/7", "127.0.0.1:43210", "null", "", std::nullopt},
       kRefuse},
      {"only the link path goes without the cookie",
       {"GET", "/window-html/7", "127.0.0.1:43210", "", "", std::nullopt},
       kRefuse},
  };
  const RequestGuard guard(kToken, "cafe", kPort);
  for (const GuardCase& test : cases) {
    SCOPED_TRACE(test.why);
    const GuardDecision decision = guard.Check(test.request);
    EXPECT_EQ(decision.verdict, test.verdict) << decision.reason;
    EXPECT_EQ(decision.reason.empty(), test.verdict != kRefuse);
  }
}

TEST(RequestGuard, ExchangesTheTokenForASessionCookieOnTheSamePath) {
  const RequestGuard guard(kToken, "cafe", kPort);
  EXPECT_EQ(guard.Address(), "http://127.0.0.1:43210/?token=feedface");
  GuardedRequest request = WithToken("GET", kToken);
  request.path = "/page/app.js";
  const GuardDecision decision = guard.Check(request);
  ASSERT_EQ(decision.verdict, GuardVerdict::kSetCookie);
  EXPECT_EQ(decision.location, "/page/app.js");
  EXPECT_EQ(guard.SessionCookie(), "tavi_session_43210=cafe; Path=/; HttpOnly; SameSite=Strict");
}

}  // namespace
}  // namespace tavi::web
