#include "support/socket_listeners.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavi::testing {
namespace {

sockaddr_in LoopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

// A socket listening on 127.0.0.1 at a free port with room for `backlog`
// pending connections; -1 on failure. `*port` receives the port.
int ListenOnFreePort(int backlog, int* port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address = LoopbackAddress(0);
  socklen_t length = sizeof address;
  const bool listening = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                         listen(fd, backlog) == 0 &&
                         getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
  if (!listening) {
    close(fd);
    return -1;
  }
  *port = ntohs(address.sin_port);
  return fd;
}

// Reads the request up to the blank line that ends its header (or until the
// client stops sending), so that closing the connection afterwards never cuts
// off a request the client is still writing.
void ReadRequestHeader(int connection) {
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
}

void SendAll(int connection, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::string LoopbackUrl(int port, const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(port) + path;
}

}  // namespace

// With a backlog of 0 Linux queues one connection; the system then drops
// further connection requests instead of refusing them.
UnansweredListener::UnansweredListener() {
  listener_ = ListenOnFreePort(0, &port_);
  if (listener_ < 0) {
    ADD_FAILURE() << "cannot listen on 127.0.0.1";
    return;
  }
  queued_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const sockaddr_in address = LoopbackAddress(port_);
  if (connect(queued_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ADD_FAILURE() << "cannot fill the listener's queue";
  }
}

UnansweredListener::~UnansweredListener() {
  if (queued_ >= 0) close(queued_);
  if (listener_ >= 0) close(listener_);
}

std::string UnansweredListener::Url(const std::string& path) const {
  return LoopbackUrl(port_, path);
}

CannedServer::CannedServer(std::string answer) : answer_(std::move(answer)) {
  listener_ = ListenOnFreePort(SOMAXCONN, &port_);
  if (listener_ < 0) {
    ADD_FAILURE() << "cannot listen on 127.0.0.1";
    return;
  }
  thread_ = std::thread([this] { Serve(); });
}

// Shutting the listening socket down makes the thread's accept return.
CannedServer::~CannedServer() {
  if (listener_ < 0) return;
  shutdown(listener_, SHUT_RDWR);
  thread_.join();
  close(listener_);
}

std::string CannedServer::Url(const std::string& path) const { return LoopbackUrl(port_, path); }

void CannedServer::Serve() {
  for (;;) {
    const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) return;
    ReadRequestHeader(connection);
    SendAll(connection, answer_);
    close(connection);
  }
}

}  // namespace tavi::testing
