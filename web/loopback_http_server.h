#pragma once

// An HTTP server on the loopback address: it listens on a free port of
// 127.0.0.1 and answers requests on threads of its own with the handler it
// was given, until it stops. What the demo serves its sample feeds with, and
// what the tests serve theirs with.

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace tavi::web {

class LoopbackHttpServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  // Answers every GET request with `answer`, which runs on the server's
  // threads and must answer 404 for a path it does not know.
  explicit LoopbackHttpServer(Handler answer);
  // Stops.
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // Listens on a free port and returns once requests are answered; false
  // when it cannot listen.
  bool Start();
  // Stops listening and waits for the server's threads; requests under way
  // end first, so a handler that waits must be released before.
  void Stop();

  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(const std::string& path) const;

 private:
  bool AnswersRequests() const;

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace tavi::web
