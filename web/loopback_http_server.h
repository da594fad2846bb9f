#pragma once

// An HTTP server on the loopback address: it listens on a port of 127.0.0.1
// (a free one unless told which) and answers requests on threads of its own
// with the handler it was given, until it stops. What the demos serve their
// sample feeds with, what the tests serve theirs with, and what tavi-host
// serves its page with. Nothing from another machine reaches it: it never
// listens on any other address.

#include <cstddef>
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

// Sets `body` as the answer to go out as it is: never compressed, whatever
// the request accepts. Compressing gains nothing on the loopback interface,
// and the library's brotli, at its highest quality, takes about 100 ms for
// the windows' state and close to a minute for a feed of 30 MB.
void SetUncompressedBody(httplib::Response& response, std::shared_ptr<const std::string> body,
                         const std::string& content_type);

// A request body above this size is refused with 413 before any handler
// sees it: everything these servers take is small.
inline constexpr std::size_t kMaxRequestBodyBytes = 64 * 1024;

// Which requests reach the handler; the others answer 404.
enum class AnsweredMethods {
  kGet,    // GET (and HEAD)
  kEvery,  // GET, HEAD, POST, PUT, PATCH, DELETE and OPTIONS
};

class LoopbackHttpServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  // Answers the `methods` with `answer`, which runs on the server's threads
  // and must answer 404 for a path it does not know.
  explicit LoopbackHttpServer(Handler answer, AnsweredMethods methods = AnsweredMethods::kGet);
  // Stops.
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  // Listens on `port` (0: a free one) and returns once requests are
  // answered; false when it cannot listen there. `bound`, when given, is
  // called with the port before any request is answered: for what the
  // handler needs to know of the port.
  bool Start(int port = 0, const std::function<void(int port)>& bound = {});
  // Stops listening and waits for the server's threads; requests under way
  // end first, so a handler that waits must be released before.
  void Stop();

  // The port it listens on; 0 before Start.
  int Port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(const std::string& path) const;

 private:
  bool AnswersRequests() const;

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace tavi::web
