#include "platform/net_transfer_pool.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "web/loopback_http_server.h"

namespace tavi::platform {
namespace {

using testing::LoopbackResponse;
using testing::LoopbackServer;
using testing::ReadFile;
using testing::TempDir;
using Ending = LoopbackResponse::Ending;

constexpr char kCancelled[] = "The operation was cancelled.";
constexpr std::chrono::seconds kPatience{10};

NetRequest Get(std::string url) { return {std::move(url), "", ""}; }

// A server that holds every request until `batch` of them are in at once
// (or the last ones of `expected`), then answers them all: a pool that runs
// fewer at a time than it should never fills a batch, one that runs more
// shows it in the highest count. It counts by the Host header too.
class BatchServer {
 public:
  BatchServer(int batch, int expected) : batch_(batch), left_(expected) { server_.Start(); }
  ~BatchServer() {
    {
      const std::lock_guard<std::mutex> hold(lock_);
      gave_up_ = true;
    }
    changed_.notify_all();
    server_.Stop();
  }

  std::string Url(const std::string& host, const std::string& path) const {
    return "http://" + host + ":" + std::to_string(server_.Port()) + path;
  }

  int most_at_once = 0;
  std::map<std::string, int> most_per_host;
  bool gave_up_ = false;  // a batch never filled

 private:
  void Answer(const httplib::Request& request, httplib::Response& response) {
    // The server's own probe that it answers is not one of the pool's.
    if (request.path.starts_with("/.")) return response.set_content("", "text/plain");
    const std::string host = request.get_header_value("Host");
    std::unique_lock<std::mutex> hold(lock_);
    ++in_flight_;
    ++per_host_[host];
    most_at_once = std::max(most_at_once, in_flight_);
    most_per_host[host] = std::max(most_per_host[host], per_host_[host]);
    const int batch = batches_;
    if (in_flight_ >= std::min(batch_, left_)) {
      ++batches_;
      changed_.notify_all();
    }
    const auto batch_full = [&] { return gave_up_ || batches_ != batch; };
    if (!changed_.wait_for(hold, kPatience, batch_full)) gave_up_ = true;
    --left_;
    --in_flight_;
    --per_host_[host];
    response.set_content("document " + request.path, "text/plain");
  }

  int batch_;
  int left_;
  int in_flight_ = 0;
  int batches_ = 0;  // batches answered so far
  std::map<std::string, int> per_host_;
  std::mutex lock_;
  std::condition_variable changed_;
  web::LoopbackHttpServer server_{
      [this](const auto& request, auto& response) { Answer(request, response); }};
};

LoopbackResponse Answer(int status, std::string body, Ending ending) {
  LoopbackResponse response;
  response.status = status;
  response.body = std::move(body);
  response.ending = ending;
  return response;
}

bool Exists(const std::string& path) { return GetFileAttributes(path).has_value(); }

NetResult Finish(NetTransferPool& pool, NetTransferPool::Ticket ticket) {
  EXPECT_TRUE(pool.WaitFor(ticket, kPatience));
  return pool.Take(ticket);
}

// "localhost" and "127.0.0.1" reach the same server as two hosts.
TEST(NetTransferPool, RunsUpToItsWidthAndTwoTransfersPerHost) {
  const struct {
    std::size_t width;
    int per_host_requests;
    int expected_at_once;
  } rows[] = {
      {1, 2, 1}, {3, 3, 3}, {16, 4, 4},  // two hosts, two each
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.width);
    TempDir folder;
    BatchServer server(row.expected_at_once, 2 * row.per_host_requests);
    NetTransferPool pool(row.width);
    std::vector<NetTransferPool::Ticket> tickets;
    for (int index = 0; index < row.per_host_requests; ++index) {
      for (const std::string host : {"127.0.0.1", "localhost"}) {
        const std::string name = host + "-" + std::to_string(index);
        tickets.push_back(pool.Queue(Get(server.Url(host, "/" + name)), folder.Join(name), 0));
      }
    }
    for (const auto ticket : tickets) EXPECT_TRUE(Finish(pool, ticket).ok);
    EXPECT_FALSE(server.gave_up_) << "fewer transfers at once than the pool allows";
    EXPECT_EQ(server.most_at_once, row.expected_at_once);
    for (const auto& [host, most] : server.most_per_host) {
      SCOPED_TRACE(host);
      EXPECT_LE(most, 2);
    }
    EXPECT_EQ(ReadFile(folder.Join("localhost-1")), "document /localhost-1");
  }
}

TEST(NetTransferPool, EachDownloadEndsInItsOwnFileOrInNone) {
  LoopbackServer server;
  server.Serve("/feed", "<rss/>");
  server.Serve("/missing", Answer(404, "gone", Ending::kComplete));
  server.Serve("/large", std::string(2000, 'x'));
  TempDir folder;
  NetTransferPool pool(4);
  const struct {
    std::string path;
    std::string error;
  } rows[] = {
      {"/feed", ""},
      {"/missing", "The server answered 404 Not Found."},
      {"/large", "The document is larger than the limit of 1000 bytes."},
  };
  std::vector<NetTransferPool::Ticket> tickets;
  for (const auto& row : rows)
    tickets.push_back(pool.Queue(Get(server.Url(row.path)), folder.Join(row.path.substr(1)), 1000));
  for (std::size_t index = 0; index < std::size(rows); ++index) {
    SCOPED_TRACE(rows[index].path);
    const NetResult result = Finish(pool, tickets[index]);
    EXPECT_EQ(result.error, rows[index].error);
    EXPECT_EQ(Exists(folder.Join(rows[index].path.substr(1))), result.ok);
  }
  EXPECT_EQ(ReadFile(folder.Join("feed")), "<rss/>");
  EXPECT_FALSE(pool.Take(tickets[0]).ok) << "a ticket is taken once";
}

// A copy the server says is unchanged stays the caller's: the pool leaves
// no file, and says why.
TEST(NetTransferPool, ANotModifiedAnswerLeavesNoFileAndTellsTheTaker) {
  LoopbackServer server;
  LoopbackResponse unchanged;
  unchanged.status = 304;
  unchanged.body = "a body a 304 should not have";
  server.Serve("/feed", unchanged);
  TempDir folder;
  NetTransferPool pool(2);
  const auto ticket = pool.Queue({server.Url("/feed"), "\"v1\"", ""}, folder.Join("feed"), 0);
  ASSERT_TRUE(pool.WaitFor(ticket, kPatience));
  NetResponse response;
  EXPECT_TRUE(pool.Take(ticket, &response).ok);
  EXPECT_TRUE(response.not_modified);
  EXPECT_EQ(server.LastRequestHeader("/feed", "If-None-Match"), "\"v1\"");
  EXPECT_TRUE(FindFiles(folder.Join("*")).empty());
}

TEST(NetTransferPool, CancelEndsRunningAndQueuedDownloadsAndLeavesNoFile) {
  LoopbackServer server;
  server.Serve("/stall", Answer(200, "", Ending::kStallBeforeHeader));
  TempDir folder;
  NetTransferPool pool(1);
  const auto running = pool.Queue(Get(server.Url("/stall")), folder.Join("running"), 0);
  const auto queued = pool.Queue(Get(server.Url("/stall")), folder.Join("queued"), 0);
  server.WaitUntilStalled();
  pool.CancelAll();
  EXPECT_EQ(Finish(pool, running).error, kCancelled);
  EXPECT_EQ(Finish(pool, queued).error, kCancelled);
  const auto later = pool.Queue(Get(server.Url("/stall")), folder.Join("later"), 0);
  EXPECT_EQ(Finish(pool, later).error, kCancelled);
  EXPECT_TRUE(FindFiles(folder.Join("*")).empty());
}

TEST(NetTransferPool, DocumentsNotTakenAreDeleted) {
  LoopbackServer server;
  server.Serve("/feed", "<rss/>");
  server.Serve("/stall", Answer(200, "<rss>", Ending::kStallAfterBody));
  TempDir folder;
  {
    NetTransferPool pool(4);
    const auto dropped = pool.Queue(Get(server.Url("/feed")), folder.Join("dropped"), 0);
    const auto left = pool.Queue(Get(server.Url("/feed")), folder.Join("left"), 0);
    pool.Queue(Get(server.Url("/stall")), folder.Join("running"), 0);
    ASSERT_TRUE(pool.WaitFor(dropped, kPatience));
    ASSERT_TRUE(pool.WaitFor(left, kPatience));
    EXPECT_TRUE(Exists(folder.Join("left")));
    pool.Drop(dropped);
    EXPECT_FALSE(Exists(folder.Join("dropped")));
    server.WaitUntilStalled();
  }
  EXPECT_TRUE(FindFiles(folder.Join("*")).empty()) << "the pool's going removes the rest";
}

}  // namespace
}  // namespace tavi::platform
