#pragma once

// Listening sockets on 127.0.0.1 for the answers an HTTP server library would
// never give: a connection that is never established, a status line of the
// test's own making.

#include <string>
#include <thread>

namespace tavi::testing {

// A port whose queue of pending connections is full and which never accepts,
// so that a new connection to it is never established: the client waits for
// its connect timeout.
class UnansweredListener {
 public:
  // Fails the current test when the socket cannot be set up.
  UnansweredListener();
  ~UnansweredListener();
  UnansweredListener(const UnansweredListener&) = delete;
  UnansweredListener& operator=(const UnansweredListener&) = delete;

  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const;

 private:
  int listener_ = -1;
  int queued_ = -1;  // the connection that fills the queue
  int port_ = 0;
};

// A server that answers every connection with the same bytes, whatever was
// asked, and then closes it.
class CannedServer {
 public:
  // Listens on 127.0.0.1 at a free port from construction to destruction.
  // Fails the current test when it cannot listen.
  explicit CannedServer(std::string answer);
  // Stops listening and waits for the server thread.
  ~CannedServer();
  CannedServer(const CannedServer&) = delete;
  CannedServer& operator=(const CannedServer&) = delete;

  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const;

 private:
  void Serve();

  std::string answer_;
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace tavi::testing
