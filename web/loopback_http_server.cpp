#include "web/loopback_http_server.h"

#include <httplib.h>

#include <sys/socket.h>
#include <algorithm>

namespace tavi::web {
namespace {

constexpr char kHost[] = "127.0.0.1";
// A path no handler knows, asked once to learn that the server answers.
constexpr char kReadinessPath[] = "/.loopback-server-ready";
constexpr char kEveryPath[] = ".*";

// Quick restarts on the same port, but no sharing of it: the library's
// default also lets another socket bind the port (SO_REUSEPORT) and take
// a share of the connections meant for this server.
void AllowQuickRestartOnly(int socket) {
  const int yes = 1;
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
}

}  // namespace

// A body given by a provider of known length is never compressed.
void SetUncompressedBody(httplib::Response& response, std::shared_ptr<const std::string> body,
                         const std::string& content_type) {
  const std::size_t size = body->size();
  response.set_content_provider(
      size, content_type,
      [body = std::move(body)](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        return sink.write(body->data() + offset, std::min(length, body->size() - offset));
      });
}

LoopbackHttpServer::LoopbackHttpServer(Handler answer, AnsweredMethods methods)
    : server_(std::make_unique<httplib::Server>()) {
  // One request per connection, so that no server thread waits on an idle
  // connection when the server stops.
  server_->set_keep_alive_max_count(1);
  server_->set_payload_max_length(kMaxRequestBodyBytes);
  server_->set_socket_options(AllowQuickRestartOnly);
  if (methods == AnsweredMethods::kEvery) {
    server_->Post(kEveryPath, answer);
    server_->Put(kEveryPath, answer);
    server_->Patch(kEveryPath, answer);
    server_->Delete(kEveryPath, answer);
    server_->Options(kEveryPath, answer);
  }
  server_->Get(kEveryPath, std::move(answer));
}

LoopbackHttpServer::~LoopbackHttpServer() { Stop(); }

bool LoopbackHttpServer::Start(int port, const std::function<void(int port)>& bound) {
  if (port == 0) {
    port_ = server_->bind_to_any_port(kHost);
  } else {
    port_ = server_->bind_to_port(kHost, port) ? port : 0;
  }
  if (port_ <= 0) return false;
  if (bound) bound(port_);
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  return AnswersRequests();
}

void LoopbackHttpServer::Stop() {
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
  return std::string("http://") + kHost + ":" + std::to_string(port_) + path;
}

// The listening socket holds a connection until the accept loop runs, so a
// request of our own returns only once the server answers: nothing waits by
// time.
bool LoopbackHttpServer::AnswersRequests() const {
  httplib::Client client(kHost, port_);
  return static_cast<bool>(client.Get(kReadinessPath));
}

}  // namespace tavi::web
