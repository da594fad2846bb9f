#include "web/request_guard.h"

#include "platform/ascii.h"
#include "web/access_token.h"

namespace tavi::web {
namespace {

constexpr std::string_view kServerNames[] = {"127.0.0.1", "localhost"};
constexpr std::string_view kBrowserLinkPath = "/window-link/";

bool ChangesNothing(std::string_view method) { return method == "GET" || method == "HEAD"; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

GuardDecision Refusal(std::string reason) { return {GuardVerdict::kRefuse, std::move(reason), ""}; }

}  // namespace

RequestGuard::RequestGuard(std::string token, std::string session, int port)
    : token_(std::move(token)),
      session_(std::move(session)),
      port_(port),
      cookie_name_("tavi_session_" + std::to_string(port)) {}

GuardDecision RequestGuard::Check(const GuardedRequest& request) const {
  if (!NamesThisServer(request.host))
    return Refusal("this server answers only to 127.0.0.1 and localhost at its own port");
  if (request.token && ChangesNothing(request.method)) {
    if (!SameSecret(*request.token, token_))
      return Refusal("the token in this address is not the one tavi-host printed");
    return {GuardVerdict::kSetCookie, "", std::string(request.path)};
  }
  if (request.method == "GET" && request.path.starts_with(kBrowserLinkPath))
    return {GuardVerdict::kPass, "", ""};
  if (!HasSessionCookie(request.cookie_header))
    return Refusal("open the address that tavi-host printed when it started");
  if (!ChangesNothing(request.method) &&
      request.origin != "http://" + platform::ToLowerAscii(std::string(request.host)))
    return Refusal("a change must come from the host's own page");
  return {GuardVerdict::kPass, "", ""};
}

std::string RequestGuard::SessionCookie() const {
  return cookie_name_ + "=" + session_ + "; Path=/; HttpOnly; SameSite=Strict";
}

std::string RequestGuard::Address() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + token_;
}

bool RequestGuard::NamesThisServer(std::string_view host) const {
  const std::string port_suffix = ":" + std::to_string(port_);
  if (!host.ends_with(port_suffix)) return false;
  const std::string_view name = host.substr(0, host.size() - port_suffix.size());
  for (const std::string_view server_name : kServerNames)
    if (platform::EqualsIgnoringCase(name, server_name)) return true;
  return false;
}

// The Cookie header is "name=value" pairs separated by semicolons; any pair
// with our name and value will do (a browser may send older ones too).
bool RequestGuard::HasSessionCookie(std::string_view cookie_header) const {
  while (!cookie_header.empty()) {
    const std::size_t end = std::min(cookie_header.find(';'), cookie_header.size());
    const std::string_view pair = Trimmed(cookie_header.substr(0, end));
    cookie_header.remove_prefix(std::min(end + 1, cookie_header.size()));
    const std::size_t equals = pair.find('=');
    if (equals == std::string_view::npos || pair.substr(0, equals) != cookie_name_) continue;
    if (SameSecret(pair.substr(equals + 1), session_)) return true;
  }
  return false;
}

}  // namespace tavi::web
