#pragma once

// tavi-host's page on 127.0.0.1. Every request passes the request guard
// first (see request_guard.h); then, on the server's threads:
//   GET /, GET /page/NAME  the page's own files (page_assets.h)
//   GET /api/events        the stream of page events (page_events.h)
//   anything else          the page router's answer, worked out on the host's
//                          user-interface thread (ui_thread_work.h)
// Every answer carries a content security policy: the page runs only the
// scripts this server serves and connects only to it; a feed document
// runs nothing at all and is shown only framed by the page; a picture runs
// nothing either. 503 answers a
// request while the host is stopping, or a stream beyond the open pages
// allowed.

#include <memory>
#include <optional>
#include <string>

#include "web/loopback_http_server.h"
#include "web/page_events.h"
#include "web/page_router.h"
#include "web/request_guard.h"
#include "web/ui_thread_work.h"

namespace tavi::web {

// The page's policy: its own scripts, styles, images, connections and
// frames only, and nobody may frame it.
inline constexpr const char* kPagePolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
    "connect-src 'self'; frame-src 'self'; base-uri 'none'; form-action 'none'; "
    "frame-ancestors 'none'";
// A feed document's: a sandbox without scripts, whoever opens it; its own
// styles and the pictures of the web; framed by the page only.
inline constexpr const char* kFeedDocumentPolicy =
    "sandbox allow-popups allow-popups-to-escape-sandbox; default-src 'none'; "
    "img-src http: https: data:; style-src 'unsafe-inline'; base-uri 'none'; "
    "form-action 'none'; frame-ancestors 'self'";
// A browser control's document (browser_page_rewriter.h): as a feed
// document's, but no window may be opened from it, and nothing may be framed
// in it; its links lead to tavi-host, which hands the click to the control.
inline constexpr const char* kBrowserDocumentPolicy =
    "sandbox; default-src 'none'; img-src data: http: https:; style-src 'unsafe-inline'; "
    "form-action 'none'; frame-src 'none'; base-uri 'none'; frame-ancestors 'self'";
// A picture's (an icon): nothing runs and nothing loads, even when it is
// opened on its own.
inline constexpr const char* kImagePolicy =
    "sandbox; default-src 'none'; style-src 'unsafe-inline'; frame-ancestors 'none'";

// What the server hands requests to; all must outlive it.
struct PageServerParts {
  UiThreadWork& work;
  // Answered on the user-interface thread only.
  const PageRouter& router;
  PageEvents& events;
};

class PageServer {
 public:
  explicit PageServer(const PageServerParts& parts);
  // Stops.
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  // Makes the secrets and listens on `port` of 127.0.0.1 (0: a free one).
  // False when no secret can be made or the port cannot be listened on.
  bool Start(int port);
  // The address to open, with its token (see RequestGuard::Address).
  std::string Address() const;
  // Ends the event streams, then stops listening and waits for the requests
  // under way. The work must be closed first (UiThreadWork::Close) when this
  // runs on the user-interface thread, so that no request waits for it.
  void Stop();

 private:
  void Answer(const httplib::Request& request, httplib::Response& response) const;
  void AnswerRouted(const httplib::Request& request, httplib::Response& response) const;
  void AnswerEvents(httplib::Response& response) const;

  PageServerParts parts_;
  std::optional<RequestGuard> guard_;
  LoopbackHttpServer server_;
};

}  // namespace tavi::web
