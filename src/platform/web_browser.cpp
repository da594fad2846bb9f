#include "platform/web_browser.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "platform/html_document.h"
#include "platform/html_serializer.h"
#include "platform/html_text.h"
#include "platform/net.h"
#include "platform/winsys_control_procedures.h"

namespace tavi::platform {
namespace {

// The control's own messages, sent or posted to it by this file only.
// kNavigateRequest: lparam a NavigateRequest*; returns 1 when the load began.
// kLoadEnded: posted by a load when its outcome is in place; wparam the
// load's number.
constexpr MessageId kNavigateRequest = WM_USER + 0x350;
constexpr MessageId kLoadEnded = WM_USER + 0x351;

constexpr char kBlankDocument[] = "<html><head></head><body></body></html>";

struct NavigateRequest {
  std::string url;
  bool by_person = false;
  bool new_window = false;
};

// What a load ends with: the document, and whether it is an error page.
struct LoadOutcome {
  std::string html;
  bool failed = false;
};

// One load: its thread (none for a document made without the network) and,
// once it ended, its outcome.
struct PageLoad {
  std::uint64_t number = 0;
  std::string url;
  std::atomic<bool> cancel{false};
  std::thread thread;
  std::optional<LoadOutcome> outcome;  // guarded by the registry's lock
};

struct BrowserState {
  std::string location;
  bool failed = false;
  BrowserProperties properties;
  std::shared_ptr<PageLoad> load;  // the load in progress
};

// The state of every browser control, by window id. A control's entry is
// made when it is first used and goes with WM_DESTROY.
struct BrowserRegistry {
  std::mutex lock;
  std::unordered_map<std::uint32_t, BrowserState> browsers;
  std::uint64_t next_load = 1;
};

// Never destroyed: a control still loading when the process exits would
// otherwise take a running thread down with its record.
BrowserRegistry& Browsers() {
  static BrowserRegistry& registry = *new BrowserRegistry;
  return registry;
}

using Lock = std::lock_guard<std::mutex>;

bool IsBrowser(WindowHandle window) { return GetWindowKind(window) == ControlKind::kBrowser; }

// A short page that says which address failed and why; both are escaped,
// since both may come from a feed.
std::string ErrorPage(const std::string& url, const std::string& reason) {
  return "<!DOCTYPE html><html><head><title>The page cannot be shown</title></head><body>"
         "<h1>The page cannot be shown</h1><p>" +
         EscapeHtml(url, false) + "</p><p>" + EscapeHtml(reason, false) + "</p></body></html>";
}

// Runs on the load's thread: the page at `url`, or the error page.
LoadOutcome FetchPage(const std::string& url, const std::atomic<bool>& cancel) {
  NetCancelScope scope(cancel);
  InternetSession session;
  std::unique_ptr<InternetFile> file;
  NetResult result = session.OpenUrl(url, kMaxBrowserPageBytes, &file);
  std::string page;
  std::array<char, 16384> buffer;
  while (result.ok) {
    std::size_t count = 0;
    result = file->Read(buffer, &count);
    if (count == 0) break;
    page.append(buffer.data(), count);
  }
  if (!result.ok) return {ErrorPage(url, result.error), true};
  return {std::move(page), false};
}

// Stores the outcome of `load` and tells the control, whose thread takes it.
void EndLoad(WindowHandle browser, PageLoad& load, LoadOutcome outcome) {
  {
    Lock lock(Browsers().lock);
    load.outcome = std::move(outcome);
  }
  PostMessage(browser, kLoadEnded, static_cast<WParam>(load.number), 0);
}

// Starts `load`: a web address on a thread of its own; the empty document
// and a refused address at once, still announced through the queue so that
// every navigation ends the same way, after BrowserNavigate returned.
void RunLoad(WindowHandle browser, const std::shared_ptr<PageLoad>& load) {
  if (load->url.empty() || load->url == "about:blank")
    return EndLoad(browser, *load, {kBlankDocument, false});
  if (!IsWebAddress(load->url)) {
    return EndLoad(browser, *load,
                   {ErrorPage(load->url, "Only web addresses (http and https) are loaded."), true});
  }
  load->thread =
      std::thread([browser, load] { EndLoad(browser, *load, FetchPage(load->url, load->cancel)); });
}

// Cancels the load in progress, if any, and waits for its thread; its
// kLoadEnded, if already posted, finds no load of its number and is dropped.
void AbandonLoad(WindowHandle browser, bool forget_browser) {
  std::shared_ptr<PageLoad> load;
  {
    Lock lock(Browsers().lock);
    auto found = Browsers().browsers.find(browser.id);
    if (found == Browsers().browsers.end()) return;
    load = std::move(found->second.load);
    if (forget_browser) Browsers().browsers.erase(found);
  }
  if (load == nullptr) return;
  load->cancel = true;
  if (load->thread.joinable()) load->thread.join();
}

void BeginLoad(WindowHandle browser, const std::string& url) {
  auto load = std::make_shared<PageLoad>();
  load->url = url;
  {
    Lock lock(Browsers().lock);
    load->number = Browsers().next_load++;
    Browsers().browsers[browser.id].load = load;
  }
  RunLoad(browser, load);
}

// Sends the parent `code` about `url`; true when the parent cancelled.
bool ParentCancels(WindowHandle browser, int code, const NavigateRequest& request) {
  BrowserNotify notify;
  notify.url = request.url;
  notify.by_person = request.by_person;
  winsys_internal::NotifyParent(browser, notify.header, code);
  return notify.cancel;
}

bool Navigate(WindowHandle browser, const NavigateRequest& request) {
  if (request.new_window && ParentCancels(browser, BRN_NEWWINDOW2, request)) return false;
  if (ParentCancels(browser, BRN_BEFORENAVIGATE2, request)) return false;
  // The parent may have closed the window instead of answering.
  if (!IsWindow(browser)) return false;
  AbandonLoad(browser, false);
  BeginLoad(browser, request.url);
  return true;
}

// Takes the load numbered `number` out of the control once it has ended;
// null for a load since abandoned.
std::shared_ptr<PageLoad> TakeEndedLoad(WindowHandle browser, std::uint64_t number) {
  Lock lock(Browsers().lock);
  auto found = Browsers().browsers.find(browser.id);
  if (found == Browsers().browsers.end()) return nullptr;
  std::shared_ptr<PageLoad>& load = found->second.load;
  if (load == nullptr || load->number != number || !load->outcome) return nullptr;
  return std::move(load);
}

// True while no other load began (nor the control went) since the one that
// just ended.
bool StillIdle(WindowHandle browser) {
  Lock lock(Browsers().lock);
  auto found = Browsers().browsers.find(browser.id);
  return found != Browsers().browsers.end() && found->second.load == nullptr;
}

// Puts the ended load's document in place and tells the parent. The parent
// may navigate again on NAVIGATECOMPLETE2; the old load's DOWNLOADCOMPLETE
// then no longer concerns it.
void ShowLoad(WindowHandle browser, std::uint64_t number) {
  const std::shared_ptr<PageLoad> load = TakeEndedLoad(browser, number);
  if (load == nullptr) return;
  if (load->thread.joinable()) load->thread.join();
  SetWindowText(browser, load->outcome->html);
  {
    Lock lock(Browsers().lock);
    BrowserState& state = Browsers().browsers[browser.id];
    state.location = load->url;
    state.failed = load->outcome->failed;
  }
  BrowserNotify notify;
  notify.url = load->url;
  winsys_internal::NotifyParent(browser, notify.header, BRN_NAVIGATECOMPLETE2);
  if (!StillIdle(browser)) return;
  winsys_internal::NotifyParent(browser, notify.header, BRN_DOWNLOADCOMPLETE);
}

// Reads a field of the control's state; `fallback` for a window that is no
// browser control.
template <typename Field>
auto ReadState(WindowHandle browser, Field field, decltype(field(BrowserState())) fallback) {
  if (!IsBrowser(browser)) return fallback;
  Lock lock(Browsers().lock);
  auto found = Browsers().browsers.find(browser.id);
  return found == Browsers().browsers.end() ? field(BrowserState()) : field(found->second);
}

}  // namespace

namespace winsys_internal {

LResult BrowserProcedure(WindowHandle browser, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case kNavigateRequest:
      return Navigate(browser, *reinterpret_cast<const NavigateRequest*>(lparam)) ? 1 : 0;
    case kLoadEnded:
      ShowLoad(browser, static_cast<std::uint64_t>(wparam));
      return 0;
    case WM_DESTROY:
      AbandonLoad(browser, true);
      return 0;
  }
  return DefWindowProc(browser, message, wparam, lparam);
}

}  // namespace winsys_internal

bool BrowserNavigate(WindowHandle browser, const std::string& url, int /*flags*/) {
  if (!IsBrowser(browser)) return false;
  const NavigateRequest request{url, false, false};
  return SendMessage(browser, kNavigateRequest, 0, reinterpret_cast<LParam>(&request)) != 0;
}

bool ClickBrowserLink(WindowHandle browser, const std::string& url, bool new_window) {
  if (!IsBrowser(browser)) return false;
  const NavigateRequest request{url, true, new_window};
  return SendMessage(browser, kNavigateRequest, 0, reinterpret_cast<LParam>(&request)) != 0;
}

std::string GetBrowserLocation(WindowHandle browser) {
  return ReadState(
      browser, [](const BrowserState& state) { return state.location; }, "");
}

bool BrowserBusy(WindowHandle browser) {
  return ReadState(
      browser, [](const BrowserState& state) { return state.load != nullptr; }, false);
}

bool BrowserLoadFailed(WindowHandle browser) {
  return ReadState(
      browser, [](const BrowserState& state) { return state.failed; }, false);
}

bool SetBrowserProperties(WindowHandle browser, const BrowserProperties& properties) {
  if (!IsBrowser(browser)) return false;
  Lock lock(Browsers().lock);
  Browsers().browsers[browser.id].properties = properties;
  return true;
}

BrowserProperties GetBrowserProperties(WindowHandle browser) {
  return ReadState(
      browser, [](const BrowserState& state) { return state.properties; }, BrowserProperties());
}

std::string GetBrowserBodyHtml(WindowHandle browser) {
  if (!IsBrowser(browser)) return "";
  return BodyInnerHtml(GetWindowText(browser));
}

bool SetBrowserBodyHtml(WindowHandle browser, const std::string& html) {
  if (!IsBrowser(browser)) return false;
  return SetWindowText(browser, WithBodyInnerHtml(GetWindowText(browser), html));
}

std::string GetBrowserBodyText(WindowHandle browser) {
  if (!IsBrowser(browser)) return "";
  return HtmlToText(GetWindowText(browser), nullptr, LinkNumbers::kHidden);
}

}  // namespace tavi::platform
