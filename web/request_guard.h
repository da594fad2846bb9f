#pragma once

// Who may use tavi-host's page, decided for each request before anything
// else looks at it, in this order:
//  1. The Host header must name this server: 127.0.0.1:PORT or
//     localhost:PORT. A site whose name an attacker pointed at 127.0.0.1
//     (DNS rebinding) sends its own name and is refused.
//  2. A GET or HEAD whose query holds token=... with the token of the
//     printed address is answered with the session cookie and sent on to
//     the same path without the query; a wrong token is refused.
//  3. A GET of a browser control's link (/window-link/...) passes: it comes
//     from a sandboxed frame, which has no cookie to send, and its route
//     asks for a key of its own (window_routes.h).
//  4. Every other request must carry the session cookie, which only a
//     browser that opened the printed address has (HttpOnly: no script
//     reads it; SameSite=Strict: no other site's page sends it).
//  5. A request that may change something (any method but GET and HEAD)
//     must come from the page itself: its Origin must be this server, as
//     named in its Host header.
// Refusals are 403 with a reason that repeats nothing of the request.

#include <optional>
#include <string>
#include <string_view>

namespace tavi::web {

// The parts of a request the guard looks at; empty when absent.
struct GuardedRequest {
  std::string_view method;
  std::string_view path;
  std::string_view host;                  // the Host header
  std::string_view origin;                // the Origin header
  std::string_view cookie_header;         // the Cookie header, all its cookies
  std::optional<std::string_view> token;  // the query's token parameter
};

enum class GuardVerdict {
  kPass,       // answer the request
  kRefuse,     // answer 403 with the reason
  kSetCookie,  // answer 303 to `location` with the session cookie
};

struct GuardDecision {
  GuardVerdict verdict = GuardVerdict::kRefuse;
  std::string reason;    // kRefuse
  std::string location;  // kSetCookie: the path without the token
};

class RequestGuard {
 public:
  // `token` is the secret of the printed address, `session` the cookie's
  // value (both from NewSecret, both non-empty); `port` is the server's.
  RequestGuard(std::string token, std::string session, int port);

  GuardDecision Check(const GuardedRequest& request) const;

  // The Set-Cookie value that kSetCookie answers with. The cookie is named
  // for the port, so two hosts on one machine do not overwrite each other's.
  std::string SessionCookie() const;
  // The address to open: "http://127.0.0.1:PORT/?token=...".
  std::string Address() const;

 private:
  bool NamesThisServer(std::string_view host) const;
  bool HasSessionCookie(std::string_view cookie_header) const;

  std::string token_;
  std::string session_;
  int port_;
  std::string cookie_name_;
};

}  // namespace tavi::web
