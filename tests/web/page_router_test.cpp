#include "web/page_router.h"

#include <gtest/gtest.h>

namespace tavi::web {
namespace {

// Routes that answer with what they were called with.
PageRouter EchoRouter() {
  PageRouter router;
  router.Add({"GET", "/api/mailboxes", [](const PageCall&) { return JsonAnswer("tree"); }});
  router.Add({"GET", "/api/mailboxes/{}/messages", [](const PageCall& call) {
                return JsonAnswer("list " + std::to_string(call.numbers.at(0)));
              }});
  router.Add({"GET", "/body/{}/{}", [](const PageCall& call) {
                return JsonAnswer(std::to_string(call.numbers.at(0)) + "/" +
                                  std::to_string(call.numbers.at(1)));
              }});
  router.Add({"GET", "/icons/{}.svg", [](const PageCall& call) {
                return JsonAnswer("icon " + std::to_string(call.numbers.at(0)));
              }});
  router.Add({"POST", "/api/open-message", [](const PageCall& call) {
                return JsonAnswer("open " +
                                  std::to_string(call.body.Integer("message").value_or(-1)));
              }});
  return router;
}

std::string Error(const std::string& message) { return "{\n  \"error\": \"" + message + "\"\n}"; }

struct RouteCase {
  const char* why;
  PageRequest request;
  int status;
  std::string body;
};

PageRequest Request(std::string method, std::string path, std::string body = "",
                    std::string content_type = "application/json") {
  return {std::move(method), std::move(path), {}, std::move(content_type), std::move(body)};
}

TEST(PageRouter, AnswersWhatARouteTakesAndRefusesTheRestWithItsOwnStatus) {
  const RouteCase cases[] = {
      {"a plain path", Request("GET", "/api/mailboxes"), 200, "tree"},
      {"HEAD as GET", Request("HEAD", "/api/mailboxes"), 200, "tree"},
      {"a number in the path", Request("GET", "/api/mailboxes/12/messages"), 200, "list 12"},
      {"two numbers", Request("GET", "/body/3/4567"), 200, "3/4567"},
      {"nine digits", Request("GET", "/body/0/999999999"), 200, "0/999999999"},
      {"a number with an ending", Request("GET", "/icons/102.svg"), 200, "icon 102"},
      {"the ending alone", Request("GET", "/icons/.svg"), 404, ""},
      {"another ending", Request("GET", "/icons/102.png"), 404, ""},
      {"no ending", Request("GET", "/icons/102"), 404, ""},
      {"a JSON body", Request("POST", "/api/open-message", R"({"message": 7})"), 200, "open 7"},
      {"a JSON body with a charset",
       Request("POST", "/api/open-message", "{}", "application/json; charset=utf-8"), 200,
       "open -1"},
      {"an unknown path", Request("GET", "/api/nothing"), 404,
       Error("there is nothing at this path")},
      {"a trailing slash", Request("GET", "/api/mailboxes/"), 404, ""},
      {"a word for a number", Request("GET", "/api/mailboxes/In/messages"), 404, ""},
      {"a negative number", Request("GET", "/api/mailboxes/-1/messages"), 404, ""},
      {"ten digits", Request("GET", "/body/1/1234567890"), 404, ""},
      {"an empty number", Request("GET", "/body//1"), 404, ""},
      {"GET of a POST path", Request("GET", "/api/open-message"), 405,
       Error("this path does not take that method")},
      {"POST of a GET path", Request("POST", "/api/mailboxes", "{}"), 405, ""},
      {"DELETE", Request("DELETE", "/api/mailboxes"), 405, ""},
      {"a form post", Request("POST", "/api/open-message", "message=7", "text/plain"), 415,
       Error("the body must be sent as application/json")},
      {"no content type", Request("POST", "/api/open-message", "{}", ""), 415, ""},
      {"bad JSON", Request("POST", "/api/open-message", "{\"message\": "), 400,
       Error("the body is not valid JSON")},
      {"an empty body", Request("POST", "/api/open-message", ""), 400, ""},
  };
  const PageRouter router = EchoRouter();
  for (const RouteCase& test : cases) {
    SCOPED_TRACE(test.why);
    const PageResponse response = router.Answer(test.request);
    EXPECT_EQ(response.status, test.status);
    EXPECT_EQ(response.content_type, "application/json");
    if (!test.body.empty()) {
      EXPECT_EQ(response.body, test.body);
    }
  }
}

}  // namespace
}  // namespace tavi::web
