#pragma once

// A small HTTP server on 127.0.0.1 that serves fixed documents, for the
// demos of the tavi command and of tavi-host and for the benchmarks: the
// plug-in downloads the sample feeds from it exactly as it downloads any feed. It listens on a free
// port from Start until it is destroyed; unknown paths answer 404.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "web/loopback_http_server.h"

namespace tavi::web {

class FeedServer {
 public:
  FeedServer();
  FeedServer(const FeedServer&) = delete;
  FeedServer& operator=(const FeedServer&) = delete;

  // Listens on a free port of 127.0.0.1 and returns once requests are
  // answered; false when it cannot listen.
  bool Start() { return server_.Start(); }

  // Answers GET `path` (begins with '/') with status 200, `body` and the
  // content type, replacing an earlier document; any time, from any thread.
  void Serve(const std::string& path, std::string body,
             std::string content_type = "application/xml");

  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const { return server_.Url(path); }

 private:
  struct Document {
    std::shared_ptr<const std::string> body;
    std::string content_type;
  };

  void Answer(const httplib::Request& request, httplib::Response& response);

  mutable std::mutex lock_;
  std::map<std::string, Document> documents_;
  // Last, so that it stops before the documents it answers from go.
  web::LoopbackHttpServer server_;
};

}  // namespace tavi::web
