#pragma once

// The Special-menu item "Tavi...": what the host shows for it, and the start
// of what happens when the user chooses it, up to the choice between
// importing the background cache and opening the main window directly.

#include <cstdint>
#include <string>

#include "plugin/ems_api.h"
#include "plugin/plugin_paths.h"
#include "ui/main_window.h"
#include "ui/window_context.h"

namespace tavi {

// Fills the record for the menu item it names: a new block with "Tavi...",
// and for hosts from API version 4 on the flags 0x8000 and a new icon cell.
// kEmsInvalidId for an id other than 1; kEmsUnknownFailure without a record.
std::int32_t FillSpecialMenu(const PluginPaths& paths, EmsMenu* menu);

// How the main window is to open once the start has passed its checks.
enum class MainWindowMode {
  kNone,         // the start refused; no window opens
  kImportCache,  // first import the background cache, then interactive
  kInteractive,  // straight to the interactive main window
};

struct MenuHookStart {
  std::int32_t result = kEmsOk;
  MainWindowMode mode = MainWindowMode::kNone;
};

// The checks and the choice of the menu item's start, with HostMainWindow
// already found: refuses (kEmsRefused, no main window) a host below API version 4
// or one whose automation server does not answer; for the latter it shows the
// information dialog's COM error with the server's error text, modally over
// HostMainWindow, and returns when the user has closed it. Otherwise it
// shows the ready text in the host's status bar and chooses the mode from the
// background cache.
MenuHookStart StartMenuHook(const PluginPaths& paths);

// The menu item as the host runs it: finds the host's main window and its
// document area (HostMainWindow, MdiClient) and holds MainWindowOpen set
// until it returns, clearing it on every way out. After StartMenuHook's
// checks it imports the background cache in the main window's cache-import
// mode when the cache holds documents, then runs the main window modally
// over the host's main window (the active window when the host shows none),
// Feed Properties opened through `edit_feed`, and finally reports the run
// in the information dialog when the window checked any feed. Returns the
// result for the host; at once, with kEmsOk and nothing done, while an
// earlier use of the item is still under way (a run or the cache import
// pumps the host's messages, so the menu can be chosen again meanwhile).
std::int32_t RunMenuHook(PluginPaths& paths, const EditFeedFunction& edit_feed);

// The cache import: the main window in cache-import mode, shown modeless
// over `owner` with every control disabled, told by a short-lived thread to
// import, and run until it has ended itself. Returns what the import
// brought.
RunSummary ImportCacheInWindow(const WindowContext& context, platform::WindowHandle owner,
                               platform::WindowHandle& news_board);

// True when the cache folder ("Feeds" in `data_folder`) holds a "*.rss" file,
// directly or in a folder below it.
bool CacheHoldsDocuments(const std::string& data_folder);

}  // namespace tavi
