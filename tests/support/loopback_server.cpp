#include "support/loopback_server.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <algorithm>
#include <cctype>

namespace tavi::testing {
namespace {

// How many more bytes than it sends a cut-short or stalling answer promises.
constexpr std::size_t kPromisedExtra = 1000;
constexpr std::size_t kPaddingBlock = 64 * 1024;

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

LoopbackServer::LoopbackServer()
    : server_([this](const httplib::Request& request, httplib::Response& response) {
        Answer(request, response);
      }) {
  if (!server_.Start()) ADD_FAILURE() << "the loopback server cannot listen on 127.0.0.1";
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    released_ = true;
  }
  released_changed_.notify_all();
  // Stalled answers are released first: stopping waits for them.
  server_.Stop();
}

std::string LoopbackServer::BaseUrl() const { return server_.Url(""); }

std::string LoopbackServer::Url(const std::string& path) const { return BaseUrl() + path; }

void LoopbackServer::Serve(const std::string& path, LoopbackResponse response) {
  std::lock_guard<std::mutex> guard(lock_);
  routes_[path] = std::move(response);
}

void LoopbackServer::Serve(const std::string& path, std::string body, std::string content_type) {
  LoopbackResponse response;
  response.body = std::move(body);
  response.content_type = std::move(content_type);
  Serve(path, std::move(response));
}

void LoopbackServer::Redirect(const std::string& path, const std::string& location, int status) {
  LoopbackResponse response;
  response.status = status;
  response.headers.emplace_back("Location", location);
  Serve(path, std::move(response));
}

int LoopbackServer::Hits(const std::string& path) const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = visits_.find(path);
  return found == visits_.end() ? 0 : found->second.hits;
}

std::string LoopbackServer::LastRequestHeader(const std::string& path,
                                              const std::string& name) const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto visit = visits_.find(path);
  if (visit == visits_.end()) return "";
  const auto field = visit->second.last_headers.find(LowerCase(name));
  return field == visit->second.last_headers.end() ? "" : field->second;
}

// A request of our own gets its answer only once the accept loop runs (the
// listening socket holds the connection until then), so nothing waits by time.

// A copy of the route for `path`, taken under the lock.
bool LoopbackServer::FindRoute(const std::string& path, LoopbackResponse* route) {
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = routes_.find(path);
  if (found == routes_.end()) return false;
  *route = found->second;
  return true;
}

void LoopbackServer::Answer(const httplib::Request& request, httplib::Response& response) {
  const std::string& path = request.target;
  {
    std::lock_guard<std::mutex> guard(lock_);
    Visits& visits = visits_[path];
    ++visits.hits;
    visits.last_headers.clear();
    for (const auto& [name, value] : request.headers) visits.last_headers[LowerCase(name)] = value;
  }
  LoopbackResponse route;
  if (!FindRoute(path, &route)) {
    response.status = 404;
    response.set_content("Not Found", "text/plain");
    return;
  }
  if (route.ending == LoopbackResponse::Ending::kStallBeforeHeader) StallUntilReleased();
  response.status = route.status;
  for (const auto& [name, value] : route.headers) response.set_header(name, value);
  if (route.padding > 0) {
    AnswerWithPadding(route, response);
    return;
  }
  if (route.ending == LoopbackResponse::Ending::kComplete ||
      route.ending == LoopbackResponse::Ending::kStallBeforeHeader) {
    response.set_content(route.body, route.content_type);
    return;
  }
  if (route.ending == LoopbackResponse::Ending::kTrickle) {
    AnswerWithTrickle(route, response);
    return;
  }
  AnswerWithPrefix(route, response);
}

// Sends the route's body under a header that promises more, then closes the
// connection, at once or after a stall.
void LoopbackServer::AnswerWithPrefix(const LoopbackResponse& route, httplib::Response& response) {
  const bool stall = route.ending == LoopbackResponse::Ending::kStallAfterBody;
  response.set_content_provider(
      route.body.size() + kPromisedExtra, route.content_type,
      [this, body = route.body, stall](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (offset == 0 && !body.empty()) return sink.write(body.data(), body.size());
        if (stall) StallUntilReleased();
        return false;
      });
}

// Sends the route's body, then its padding in blocks.
void LoopbackServer::AnswerWithPadding(const LoopbackResponse& route, httplib::Response& response) {
  const std::size_t length = route.body.size() + route.padding;
  response.set_content_provider(
      length, route.content_type,
      [body = route.body, length](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (offset < body.size()) return sink.write(body.data() + offset, body.size() - offset);
        const std::string spaces(std::min<std::size_t>(length - offset, kPaddingBlock), ' ');
        return sink.write(spaces.data(), spaces.size());
      });
}

// Sends the route's body a byte at a time; the destructor cuts it short.
void LoopbackServer::AnswerWithTrickle(const LoopbackResponse& route, httplib::Response& response) {
  response.set_chunked_content_provider(
      route.content_type, [this, body = route.body](std::size_t offset, httplib::DataSink& sink) {
        if (offset >= body.size()) {
          sink.done();
          return true;
        }
        if (offset > 0 && !PauseUnlessReleased(LoopbackResponse::kTricklePause)) return false;
        return sink.write(body.data() + offset, 1);
      });
}

// Waits `pause`, or less when the server is going; false then.
bool LoopbackServer::PauseUnlessReleased(std::chrono::milliseconds pause) {
  std::unique_lock<std::mutex> guard(lock_);
  return !released_changed_.wait_for(guard, pause, [this] { return released_; });
}

void LoopbackServer::StallUntilReleased() {
  std::unique_lock<std::mutex> guard(lock_);
  ++stalls_;
  stalls_changed_.notify_all();
  released_changed_.wait(guard, [this] { return released_; });
}

void LoopbackServer::WaitUntilStalled(int count) {
  std::unique_lock<std::mutex> guard(lock_);
  stalls_changed_.wait(guard, [this, count] { return stalls_ >= count; });
}

}  // namespace tavi::testing
