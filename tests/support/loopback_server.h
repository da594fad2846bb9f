#pragma once

// An HTTP server on 127.0.0.1 for tests that download: it listens on a free
// port from construction to destruction and answers GET requests from routes
// the test registers at any time. Unregistered paths answer 404.

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "web/loopback_http_server.h"

namespace tavi::testing {

// One route's answer.
struct LoopbackResponse {
  // How the answer ends.
  enum class Ending {
    kComplete,           // the whole body, then the connection closes
    kCutShort,           // the body's bytes, then the connection closes although
                         // the header promised more
    kStallAfterBody,     // the body's bytes (promising more), then silence
    kStallBeforeHeader,  // silence from the start: not even a header
    kTrickle,            // the body one byte at a time, kTricklePause apart,
                         // announcing no length (chunked)
  };

  // The pause between two bytes of a trickling answer: 20 bytes a second.
  static constexpr std::chrono::milliseconds kTricklePause{50};

  int status = 200;
  std::string body;
  std::string content_type = "text/plain";
  std::vector<std::pair<std::string, std::string>> headers;  // extra header fields
  Ending ending = Ending::kComplete;
  // Spaces sent after the body of a complete answer, counted in its length
  // and made up as they are sent: a document too large to hold in a test.
  std::size_t padding = 0;
};

class LoopbackServer {
 public:
  // Listens on 127.0.0.1 at a free port and returns once requests are being
  // answered. Fails the current test when it cannot listen.
  LoopbackServer();
  // Ends every stall, then stops listening and waits for the server thread.
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  // "http://127.0.0.1:<port>" without a trailing slash.
  std::string BaseUrl() const;
  // BaseUrl() + path; `path` begins with '/'.
  std::string Url(const std::string& path) const;

  // Answers GET `path` (exact match, query included) with `response`,
  // replacing an earlier route for the same path.
  void Serve(const std::string& path, LoopbackResponse response);
  // Answers with status 200 and `body`.
  void Serve(const std::string& path, std::string body, std::string content_type = "text/plain");
  // Answers with `status` and a Location header field naming `location`.
  void Redirect(const std::string& path, const std::string& location, int status = 302);

  // Returns once `count` answers in all have begun to stall (kStallAfterBody
  // after its bytes, kStallBeforeHeader at once), so that a test knows a
  // client is waiting. Waits for ever when no such answer is requested.
  void WaitUntilStalled(int count = 1);

  // The number of requests for `path` so far.
  int Hits(const std::string& path) const;
  // The value of header field `name` in the latest request for `path`, or ""
  // when there was none.
  std::string LastRequestHeader(const std::string& path, const std::string& name) const;

 private:
  struct Visits {
    int hits = 0;
    std::map<std::string, std::string> last_headers;  // names in lower case
  };

  void Answer(const httplib::Request& request, httplib::Response& response);
  bool FindRoute(const std::string& path, LoopbackResponse* route);
  void StallUntilReleased();
  bool PauseUnlessReleased(std::chrono::milliseconds pause);
  void AnswerWithPadding(const LoopbackResponse& route, httplib::Response& response);
  void AnswerWithTrickle(const LoopbackResponse& route, httplib::Response& response);
  void AnswerWithPrefix(const LoopbackResponse& route, httplib::Response& response);

  mutable std::mutex lock_;
  std::condition_variable released_changed_;
  bool released_ = false;
  std::condition_variable stalls_changed_;
  int stalls_ = 0;
  std::map<std::string, LoopbackResponse> routes_;
  std::map<std::string, Visits> visits_;
  // Last, so that it stops before the routes it answers from go.
  web::LoopbackHttpServer server_;
};

}  // namespace tavi::testing
