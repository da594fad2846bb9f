#pragma once

// The browser control (a window of ControlKind::kBrowser): an embedded HTML
// view that loads pages itself and tells its parent how loading goes. It runs
// no script and follows nothing by itself: what a page shows is its HTML, and
// the only navigations are the ones its owner asks for and the links a person
// clicks, each announced to the parent first so that the parent may cancel
// it.
//
// A navigation to an http or https address is fetched on a thread of the
// control's own (the internet session of net.h, at most
// kMaxBrowserPageBytes); "about:blank" and "" load an empty document; any
// other address (file:, javascript:, a share, a malformed one) fails without
// being touched, since the addresses come from feeds. When the load ends, on
// the control's thread:
// - a page that arrived becomes the document (the window text is its HTML);
// - a failed one (no connection, an HTTP error status, too large) becomes a
//   short error page naming the address and the reason, and the load counts
//   as failed (BrowserLoadFailed);
// then the parent is sent BRN_NAVIGATECOMPLETE2 and BRN_DOWNLOADCOMPLETE.
// A new navigation or the control's destruction cancels the transfer in
// progress and waits for its thread to end (a fifth of a second at most), so
// no event of an abandoned load ever arrives and no thread outlives its
// control.
//
// The document's body is read and written as a browser's script would:
// innerHTML of the body (the body's children serialised as HTML5 serialises
// them, after parsing the document with an HTML5 parser) and innerText (the
// body as readable text). Setting the body's innerHTML keeps the rest of the
// document.

#include <cstdint>
#include <string>

#include "platform/winsys.h"

namespace tavi::platform {

// The largest page the control loads.
inline constexpr std::uint64_t kMaxBrowserPageBytes = 16 * 1024 * 1024;

// Navigate's flags: navNoHistory (the address is not added to the history;
// the stand-in keeps no history, so it changes nothing).
inline constexpr int kNavigateNoHistory = 2;

// Notification codes the control sends its parent as WM_NOTIFY; lParam
// points to a BrowserNotify.
// - BRN_BEFORENAVIGATE2: a navigation is about to start (requested or a
//   clicked link); the parent sets `cancel` to stop it.
// - BRN_NEWWINDOW2: a clicked link asks for a new window (target="_blank");
//   the parent sets `cancel` to stop it; left alone, the link loads in the
//   control itself.
// - BRN_NAVIGATECOMPLETE2: the document of the navigation is in place.
// - BRN_DOWNLOADCOMPLETE: the load has ended, well or not.
inline constexpr int BRN_BEFORENAVIGATE2 = -1250;
inline constexpr int BRN_NEWWINDOW2 = -1251;
inline constexpr int BRN_NAVIGATECOMPLETE2 = -1252;
inline constexpr int BRN_DOWNLOADCOMPLETE = -1253;

struct BrowserNotify {
  NotifyHeader header;
  std::string url;         // the address in question
  bool by_person = false;  // BRN_BEFORENAVIGATE2, BRN_NEWWINDOW2: a clicked link
  bool cancel = false;     // out
};

// The properties the owner sets. The stand-in keeps them for whoever reads
// them and changes nothing by them: it is always silent (no dialog of its
// own) and has no theatre mode, and it loads from the network even when
// offline, as the article viewer needs its live page.
struct BrowserProperties {
  bool offline = false;
  bool silent = false;
  bool theater_mode = false;
};

// Starts loading `url` in `browser` (flags: kNavigateNoHistory or 0), after
// BRN_BEFORENAVIGATE2 (not by a person). False when `browser` is not a
// browser control, or the parent cancelled.
bool BrowserNavigate(WindowHandle browser, const std::string& url, int flags = 0);

// A person clicked a link to `url` in the page (`new_window`: the link's
// target asks for a new window). The parent hears BRN_NEWWINDOW2 first for a
// new window, then BRN_BEFORENAVIGATE2 with by_person set; unless one was
// cancelled, the control loads `url`. Front ends call this; it acts on the
// control's thread as every input does. False when `browser` is not a
// browser control or the navigation was cancelled.
bool ClickBrowserLink(WindowHandle browser, const std::string& url, bool new_window);

// The address of the current document ("" before the first navigation).
std::string GetBrowserLocation(WindowHandle browser);
// True while a load is in progress.
bool BrowserBusy(WindowHandle browser);
// True when the last load ended in failure (its document is the error page).
bool BrowserLoadFailed(WindowHandle browser);

bool SetBrowserProperties(WindowHandle browser, const BrowserProperties& properties);
BrowserProperties GetBrowserProperties(WindowHandle browser);

// The document body's innerHTML; "" for a control without a document.
std::string GetBrowserBodyHtml(WindowHandle browser);
// Replaces the body's content by `html` (parsed as a body fragment); the
// document's head stays. False when `browser` is not a browser control.
bool SetBrowserBodyHtml(WindowHandle browser, const std::string& html);
// The document body's innerText: its readable text, lines ended by "\n".
std::string GetBrowserBodyText(WindowHandle browser);

}  // namespace tavi::platform
