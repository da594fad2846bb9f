#include "web/window_routes.h"

#include <optional>
#include <string>

#include "platform/module_resources.h"
#include "platform/winsys.h"
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

// The browser control's text is the HTML it shows; it comes from a feed, so
// it goes out as a feed's document does.
PageResponse BrowserHtml(const PageCall& call) {
  const platform::WindowHandle browser{static_cast<std::uint32_t>(call.numbers[0])};
  if (!IsPluginWindow(browser) ||
      platform::GetWindowKind(browser) != platform::ControlKind::kBrowser)
    return ErrorAnswer(404, "there is no such browser control");
  return {200, "text/html; charset=utf-8", platform::GetWindowText(browser),
          AnswerPolicy::kFeedDocument};
}

}  // namespace

void AddWindowRoutes(PageRouter& router) {
  router.Add({"GET", "/api/windows", Windows});
  router.Add({"GET", "/api/windows/{}/rows", Rows});
  router.Add({"GET", "/api/icons/{}.svg", Icon});
  router.Add({"GET", "/window-html/{}", BrowserHtml});
  router.Add(
      {"POST", "/api/input", [](const PageCall& call) { return InjectPageInput(call.body); }});
}

}  // namespace tavi::web
