#include "web/loopback_http_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>

namespace tavi::web {
namespace {

// Counts the requests its handler sees and answers each with its method.
class CountingServer {
 public:
  explicit CountingServer(AnsweredMethods methods)
      : server_(
            [this](const httplib::Request& request, httplib::Response& response) {
              ++handled_;
              response.set_content(request.method, "text/plain");
            },
            methods) {}

  LoopbackHttpServer& Server() { return server_; }
  int Handled() const { return handled_; }

 private:
  std::atomic<int> handled_{0};
  LoopbackHttpServer server_;
};

// Whether a TCP connection to `address`:`port` is accepted.
bool Connects(const char* address, int port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(static_cast<std::uint16_t>(port));
  inet_pton(AF_INET, address, &target.sin_addr);
  const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof(target)) == 0;
  close(fd);
  return connected;
}

TEST(LoopbackHttpServer, AnswersOnlyGetUnlessAskedToAnswerEveryMethod) {
  struct Case {
    AnsweredMethods methods;
    int get_status;
    int post_status;
    int delete_status;
  };
  const Case cases[] = {
      {AnsweredMethods::kGet, 200, 404, 404},
      {AnsweredMethods::kEvery, 200, 200, 200},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.methods == AnsweredMethods::kGet ? "GET only" : "every method");
    CountingServer counting(test.methods);
    ASSERT_TRUE(counting.Server().Start());
    httplib::Client client("127.0.0.1", counting.Server().Port());
    EXPECT_EQ(client.Get("/a")->status, test.get_status);
    EXPECT_EQ(client.Post("/a", "{}", "application/json")->status, test.post_status);
    EXPECT_EQ(client.Delete("/a")->status, test.delete_status);
  }
}

TEST(LoopbackHttpServer, RefusesALargeBodyBeforeTheHandlerSeesIt) {
  CountingServer counting(AnsweredMethods::kEvery);
  ASSERT_TRUE(counting.Server().Start());
  const int handled_before = counting.Handled();
  httplib::Client client("127.0.0.1", counting.Server().Port());
  const auto refused = client.Post("/a", std::string(kMaxRequestBodyBytes + 1, 'x'), "text/plain");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->status, 413);
  EXPECT_EQ(counting.Handled(), handled_before);
  EXPECT_EQ(client.Post("/a", std::string(kMaxRequestBodyBytes, 'x'), "text/plain")->status, 200);
}

// The whole of 127.0.0.0/8 is this machine, but a server bound to
// 127.0.0.1 alone takes no connection made to another of its addresses, as
// it would take none from another machine.
TEST(LoopbackHttpServer, ListensOn127001AndOnNoOtherAddress) {
  CountingServer counting(AnsweredMethods::kGet);
  ASSERT_TRUE(counting.Server().Start());
  EXPECT_TRUE(Connects("127.0.0.1", counting.Server().Port()));
  EXPECT_FALSE(Connects("127.0.0.2", counting.Server().Port()));
  EXPECT_EQ(counting.Server().Url("/x"),
            "http://127.0.0.1:" + std::to_string(counting.Server().Port()) + "/x");
}

TEST(LoopbackHttpServer, ListensOnTheGivenPortAndSharesItWithNobody) {
  CountingServer first(AnsweredMethods::kGet);
  ASSERT_TRUE(first.Server().Start());
  CountingServer second(AnsweredMethods::kGet);
  EXPECT_FALSE(second.Server().Start(first.Server().Port()));
  first.Server().Stop();
  CountingServer third(AnsweredMethods::kGet);
  ASSERT_TRUE(third.Server().Start(first.Server().Port()));
  EXPECT_EQ(third.Server().Port(), first.Server().Port());
}

}  // namespace
}  // namespace tavi::web
