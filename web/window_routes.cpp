#include "web/window_routes.h"

#include <optional>
#include <string>

#include "platform/module_resources.h"
#include "platform/net.h"
#include "platform/web_browser.h"
#include "platform/winsys.h"
#include "web/access_token.h"
#include "web/browser_page_rewriter.h"
#include "web/plugin_windows.h"
#include "web/window_input.h"
#include "web/window_views.h"

namespace tavi::web {
namespace {

constexpr std::size_t kDefaultRowCount = 100;

PageResponse Windows(const PageCall& call) {
  const std::optional<std::size_t> since = QueryNumber(call.request, "since", 0);
  if (!since) return ErrorAnswer(400, "since must be a version");
  return JsonAnswer(WindowsJson(*since));
}

PageResponse Rows(const PageCall& call) {
  const std::optional<std::size_t> first = QueryNumber(call.request, "first", 0);
  const std::optional<std::size_t> count = QueryNumber(call.request, "count", kDefaultRowCount);
  if (!first || !count) return ErrorAnswer(400, "first and count must be whole numbers");
  const platform::WindowHandle list{static_cast<std::uint32_t>(call.numbers[0])};
  std::optional<std::string> rows =
      ListViewRowsJson(list, static_cast<int>(*first), static_cast<int>(*count));
  if (!rows) return ErrorAnswer(404, "there is no such list view");
  return JsonAnswer(std::move(*rows));
}

PageResponse Icon(const PageCall& call) {
  std::optional<std::string> image = platform::FindIconImage(call.numbers[0]);
  if (!image) return ErrorAnswer(404, "there is no such icon");
  return {200, "image/svg+xml", std::move(*image), AnswerPolicy::kImage};
}

std::optional<platform::WindowHandle> BrowserOf(const PageCall& call) {
  const platform::WindowHandle browser{static_cast<std::uint32_t>(call.numbers[0])};
  if (!IsPluginWindow(browser) ||
      platform::GetWindowKind(browser) != platform::ControlKind::kBrowser)
    return std::nullopt;
  return browser;
}

std::string QueryText(const PageRequest& request, const std::string& key) {
  const auto found = request.query.find(key);
  return found == request.query.end() ? "" : found->second;
}

// The browser control's text is the HTML it shows, from a feed or the web:
// it goes out rewritten to run nothing, its links leading to BrowserLink.
PageResponse BrowserHtml(const PageCall& call, const std::string& link_key) {
  const std::optional<platform::WindowHandle> browser = BrowserOf(call);
  if (!browser) return ErrorAnswer(404, "there is no such browser control");
  const std::string page =
      RewriteBrowserPage(platform::GetWindowText(*browser), platform::GetBrowserLocation(*browser),
                         {browser->id, link_key});
  return {200, "text/html; charset=utf-8", page, AnswerPolicy::kBrowserDocument};
}

// A person clicked a link in a browser control's frame. The frame has no
// session cookie (its origin is opaque): the key, which only the served
// documents hold, shows the link is one of ours. 204 keeps the frame's
// document: the control decides what it shows next.
PageResponse BrowserLink(const PageCall& call, const std::string& link_key) {
  if (link_key.empty() || !SameSecret(QueryText(call.request, "key"), link_key))
    return ErrorAnswer(403, "this link was not made by tavi-host");
  const std::optional<platform::WindowHandle> browser = BrowserOf(call);
  if (!browser) return ErrorAnswer(404, "there is no such browser control");
  const std::string to = QueryText(call.request, "to");
  const std::string new_window = QueryText(call.request, "new");
  if (!platform::IsWebAddress(to) || (new_window != "0" && new_window != "1"))
    return ErrorAnswer(400, "to must be a web address and new 0 or 1");
  platform::ClickBrowserLink(*browser, to, new_window == "1");
  return {204, "text/plain", "", AnswerPolicy::kBrowserDocument};
}

}  // namespace

void AddWindowRoutes(PageRouter& router) {
  const std::string link_key = NewSecret();
  router.Add({"GET", "/api/windows", Windows});
  router.Add({"GET", "/api/windows/{}/rows", Rows});
  router.Add({"GET", "/api/icons/{}.svg", Icon});
  router.Add({"GET", "/window-html/{}",
              [link_key](const PageCall& call) { return BrowserHtml(call, link_key); }});
  router.Add({"GET", "/window-link/{}",
              [link_key](const PageCall& call) { return BrowserLink(call, link_key); }});
  router.Add(
      {"POST", "/api/input", [](const PageCall& call) { return InjectPageInput(call.body); }});
}

}  // namespace tavi::web
