#include "web/page_server.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "web/access_token.h"
#include "web/page_assets.h"

namespace tavi::web {
namespace {

constexpr const char* kEventsPath = "/api/events";
constexpr const char* kTokenParameter = "token";
// An idle stream says so this often, so that a page that went away without
// a word is noticed by the failed write.
constexpr std::chrono::seconds kKeepAlive{15};

// Sets a header once: the library's set_header adds another of the same
// name, and two policies would both apply.
void ReplaceHeader(httplib::Response& response, const char* name, const char* value) {
  response.headers.erase(name);
  response.set_header(name, value);
}

const char* PolicyOf(AnswerPolicy policy) {
  switch (policy) {
    case AnswerPolicy::kPage:
      return kPagePolicy;
    case AnswerPolicy::kFeedDocument:
      return kFeedDocumentPolicy;
    case AnswerPolicy::kImage:
      return kImagePolicy;
    case AnswerPolicy::kBrowserDocument:
      return kBrowserDocumentPolicy;
  }
  return kPagePolicy;
}

void SetPolicy(httplib::Response& response, AnswerPolicy policy) {
  const bool framed =
      policy == AnswerPolicy::kFeedDocument || policy == AnswerPolicy::kBrowserDocument;
  ReplaceHeader(response, "Content-Security-Policy", PolicyOf(policy));
  // A feed or browser document is framed by the page, which frame-ancestors allows;
  // the older header would judge the sandboxed frame by its opaque origin.
  if (framed) {
    response.headers.erase("X-Frame-Options");
  } else {
    ReplaceHeader(response, "X-Frame-Options", "DENY");
  }
  ReplaceHeader(response, "X-Content-Type-Options", "nosniff");
  ReplaceHeader(response, "Referrer-Policy", "no-referrer");
  ReplaceHeader(response, "Cross-Origin-Resource-Policy", "same-origin");
  ReplaceHeader(response, "Cache-Control", "no-store");
}

void SetBody(httplib::Response& response, std::string body, const std::string& content_type) {
  SetUncompressedBody(response, std::make_shared<const std::string>(std::move(body)), content_type);
}

void SetText(httplib::Response& response, int status, const std::string& text) {
  response.status = status;
  response.set_content(text + "\n", "text/plain; charset=utf-8");
}

PageRequest RequestOf(const httplib::Request& request) {
  PageRequest page_request{
      request.method, request.path, {}, request.get_header_value("Content-Type"), request.body};
  for (const auto& [key, value] : request.params) page_request.query.emplace(key, value);
  return page_request;
}

GuardedRequest GuardedOf(const httplib::Request& request, const std::string& host,
                         const std::string& origin, const std::string& cookie,
                         const std::string& token) {
  GuardedRequest guarded{request.method, request.path, host, origin, cookie, std::nullopt};
  if (request.has_param(kTokenParameter)) guarded.token = token;
  return guarded;
}

bool IsRead(const std::string& method) { return method == "GET" || method == "HEAD"; }

}  // namespace

PageServer::PageServer(const PageServerParts& parts)
    : parts_(parts),
      server_([this](const httplib::Request& request,
                     httplib::Response& response) { Answer(request, response); },
              AnsweredMethods::kEvery) {}

PageServer::~PageServer() { Stop(); }

bool PageServer::Start(int port) {
  const std::string token = NewSecret();
  const std::string session = NewSecret();
  if (token.empty() || session.empty()) return false;
  // The guard needs the port, and is there before the first request.
  return server_.Start(port, [&](int bound) { guard_.emplace(token, session, bound); });
}

std::string PageServer::Address() const { return guard_ ? guard_->Address() : ""; }

void PageServer::Stop() {
  parts_.events.Close();
  server_.Stop();
}

void PageServer::Answer(const httplib::Request& request, httplib::Response& response) const {
  SetPolicy(response, AnswerPolicy::kPage);
  const std::string host = request.get_header_value("Host");
  const std::string origin = request.get_header_value("Origin");
  const std::string cookie = request.get_header_value("Cookie");
  const std::string token = request.get_param_value(kTokenParameter);
  const GuardDecision decision = guard_->Check(GuardedOf(request, host, origin, cookie, token));
  switch (decision.verdict) {
    case GuardVerdict::kRefuse:
      return SetText(response, 403, decision.reason);
    case GuardVerdict::kSetCookie:
      response.set_header("Set-Cookie", guard_->SessionCookie());
      response.set_redirect(decision.location, 303);
      return;
    case GuardVerdict::kPass:
      break;
  }
  if (const std::optional<PageAsset> asset = FindPageAsset(request.path)) {
    if (!IsRead(request.method)) return SetText(response, 405, "the page's files are only read");
    return SetBody(response, std::string(asset->bytes), asset->content_type);
  }
  if (request.path == kEventsPath && IsRead(request.method)) return AnswerEvents(response);
  AnswerRouted(request, response);
}

void PageServer::AnswerRouted(const httplib::Request& request, httplib::Response& response) const {
  const PageRequest page_request = RequestOf(request);
  PageResponse answer;
  const bool answered = parts_.work.Run([&] { answer = parts_.router.Answer(page_request); });
  if (!answered) return SetText(response, 503, "tavi-host is stopping");
  response.status = answer.status;
  SetBody(response, std::move(answer.body), answer.content_type);
  SetPolicy(response, answer.policy);
}

void PageServer::AnswerEvents(httplib::Response& response) const {
  std::shared_ptr<PageEventStream> stream = parts_.events.Open();
  if (stream == nullptr) return SetText(response, 503, "too many pages are open");
  response.set_chunked_content_provider(
      "text/event-stream", [stream](std::size_t, httplib::DataSink& sink) {
        const std::optional<std::string> text =
            stream->Next(std::chrono::steady_clock::now() + kKeepAlive);
        if (!text) {
          sink.done();
          return true;
        }
        const std::string chunk = text->empty() ? ": still here\n\n" : *text;
        return sink.write(chunk.data(), chunk.size());
      });
}

}  // namespace tavi::web
