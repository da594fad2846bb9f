#pragma once

// The host's windows: the main window (class "EudoraMainWindow"), its
// document area (class "MDIClient") whose children are the mailbox and
// message windows, and a status bar (class "msctls_statusbar32") whose title
// is the status text. A mailbox window is titled with the mailbox name and
// closes on WM_SYSCOMMAND with SC_CLOSE and on WM_CLOSE like any window.
// Created on, and used from, the thread that owns the windows.

#include <map>
#include <memory>
#include <string>

#include "platform/winsys.h"

namespace tavi::host {

inline constexpr const char* kMainWindowClass = "EudoraMainWindow";
inline constexpr const char* kDocumentAreaClass = "MDIClient";
inline constexpr const char* kStatusBarClass = "msctls_statusbar32";
inline constexpr const char* kMailboxWindowClass = "HostMailboxWindow";
inline constexpr const char* kMessageWindowClass = "HostMessageWindow";
inline constexpr const char* kMainWindowTitle = "Mail Host";

class HostWindows {
 public:
  // Creates the main window, its document area and its status bar on the
  // calling thread; nullptr when the window system refuses.
  static std::unique_ptr<HostWindows> Create();
  // Destroys the main window and everything in it.
  ~HostWindows();
  HostWindows(const HostWindows&) = delete;
  HostWindows& operator=(const HostWindows&) = delete;

  platform::WindowHandle MainWindow() const { return main_; }
  platform::WindowHandle DocumentArea() const { return document_area_; }
  platform::WindowHandle StatusBar() const { return status_bar_; }

  void SetStatusText(const std::string& text);
  std::string StatusText() const;

  // Shows the window of mailbox `number` titled `title`, on top of the other
  // document windows; an open one is brought to the top, not doubled. Returns
  // the window, or none when it cannot be made.
  platform::WindowHandle ShowMailbox(int number, const std::string& title);
  // The open window of mailbox `number`, or none.
  platform::WindowHandle MailboxWindow(int number) const;
  // Opens a message window titled `title` on top of the document windows.
  platform::WindowHandle ShowMessage(const std::string& title);

 private:
  HostWindows() = default;
  void ForgetMailboxWindow(int number, platform::WindowHandle window);

  platform::WindowHandle main_;
  platform::WindowHandle document_area_;
  platform::WindowHandle status_bar_;
  std::map<int, platform::WindowHandle> mailbox_windows_;
};

}  // namespace tavi::host
