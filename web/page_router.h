#pragma once

// The page's interface as a table of routes: a method, a path pattern whose
// "{}" segments take whole numbers (a mailbox's, a message's), and the
// answer. Each part of the page (the mailboxes and messages, the host's
// commands, later the plug-in's windows and their input) adds its own
// routes. The router refuses what no route takes, each with its own 4xx
// status and a JSON error, before any route sees it.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/json_request.h"

namespace tavi::web {

struct PageRequest {
  std::string method;  // "GET", "HEAD", "POST", ...
  std::string path;    // without the query
  std::map<std::string, std::string> query;
  std::string content_type;  // the Content-Type header
  std::string body;
};

// The content security policy an answer is served with (page_server.h).
enum class AnswerPolicy {
  kPage,             // the page's own answers
  kFeedDocument,     // a feed's document (an article's HTML), for the page's sandboxed frames only
  kImage,            // a picture that runs nothing, even opened on its own
  kBrowserDocument,  // a browser control's document, rewritten to run nothing
};

struct PageResponse {
  int status = 200;
  std::string content_type = "application/json";
  std::string body;
  AnswerPolicy policy = AnswerPolicy::kPage;
};

// A query parameter as a whole number of up to nine digits: `absent` when
// the query does not hold it, nullopt when it is no such number.
std::optional<std::size_t> QueryNumber(const PageRequest& request, const std::string& key,
                                       std::size_t absent);

// 200 with `json`.
PageResponse JsonAnswer(std::string json);
// `status` with {"error": message}.
PageResponse ErrorAnswer(int status, std::string_view message);

// What a route is called with.
struct PageCall {
  const PageRequest& request;
  // The numbers in the path, one per "{}" of the pattern, in order.
  std::vector<int> numbers;
  // A POST's body; empty for a GET.
  JsonRequest body;
};

struct PageRoute {
  // "GET" (which answers HEAD too) or "POST" (whose body must be a JSON
  // object, sent as application/json).
  std::string method;
  // "/api/mailboxes/{}/messages": segments to match exactly, or "{}" for a
  // whole number of up to nine digits, which a segment may follow with a
  // fixed ending ("/api/icons/{}.svg").
  std::string pattern;
  std::function<PageResponse(const PageCall& call)> answer;
};

class PageRouter {
 public:
  void Add(PageRoute route);

  // The answer of the route that takes the request. Without one: 404 for a
  // path no route has, 405 for a path with routes for other methods only.
  // A POST refuses with 415 a body not sent as application/json and with
  // 400 one that is no flat JSON object (JsonRequest says which).
  PageResponse Answer(const PageRequest& request) const;

 private:
  std::vector<PageRoute> routes_;
};

}  // namespace tavi::web
