#include "web/feed_server.h"

#include <httplib.h>

namespace tavi::web {

FeedServer::FeedServer()
    : server_([this](const httplib::Request& request, httplib::Response& response) {
        Answer(request, response);
      }) {}

void FeedServer::Serve(const std::string& path, std::string body, std::string content_type) {
  const std::lock_guard<std::mutex> guard(lock_);
  documents_[path] = {std::make_shared<const std::string>(std::move(body)),
                      std::move(content_type)};
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
  SetUncompressedBody(response, document.body, document.content_type);
}

}  // namespace tavi::web
