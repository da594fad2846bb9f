#include "cli/feed_server.h"

#include <httplib.h>

namespace tavi::cli {
namespace {

constexpr char kHost[] = "127.0.0.1";
// A path no document has, asked once to learn that the server answers.
constexpr char kReadinessPath[] = "/.feed-server-ready";

}  // namespace

FeedServer::FeedServer() : server_(std::make_unique<httplib::Server>()) {
  // One request per connection, so that no server thread waits on an idle
  // connection when the server stops.
  server_->set_keep_alive_max_count(1);
  server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Answer(request, response);
  });
}

FeedServer::~FeedServer() {
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

bool FeedServer::Start() {
  port_ = server_->bind_to_any_port(kHost);
  if (port_ <= 0) return false;
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  return AnswersRequests();
}

void FeedServer::Serve(const std::string& path, std::string body, std::string content_type) {
  const std::lock_guard<std::mutex> guard(lock_);
  documents_[path] = {std::make_shared<const std::string>(std::move(body)),
                      std::move(content_type)};
}

std::string FeedServer::Url(const std::string& path) const {
  return std::string("http://") + kHost + ":" + std::to_string(port_) + path;
}

void FeedServer::Answer(const httplib::Request& request, httplib::Response& response) {
  Document document;
  {
    const std::lock_guard<std::mutex> guard(lock_);
    const auto found = documents_.find(request.path);
    if (found != documents_.end()) document = found->second;
  }
  if (document.body == nullptr) {
    response.status = 404;
    response.set_content("Not Found", "text/plain");
    return;
  }
  response.status = 200;
  response.set_content(*document.body, document.content_type);
}

// The listening socket holds a connection until the accept loop runs, so a
// request of our own returns only once the server answers: nothing waits by
// time.
bool FeedServer::AnswersRequests() const {
  httplib::Client client(kHost, port_);
  return static_cast<bool>(client.Get(kReadinessPath));
}

}  // namespace tavi::cli
