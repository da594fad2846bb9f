#include "host/host_windows.h"

namespace tavi::host {

using platform::WindowHandle;

std::unique_ptr<HostWindows> HostWindows::Create() {
  std::unique_ptr<HostWindows> windows(new HostWindows());
  windows->main_ = platform::CreateWindow({kMainWindowClass, kMainWindowTitle, {}, true, {}, 0});
  if (!windows->main_) return nullptr;
  windows->document_area_ =
      platform::CreateWindow({kDocumentAreaClass, "", windows->main_, true, {}, 0});
  windows->status_bar_ = platform::CreateWindow({kStatusBarClass, "", windows->main_, true, {}, 0});
  if (!windows->document_area_ || !windows->status_bar_) return nullptr;
  return windows;
}

HostWindows::~HostWindows() {
  if (main_) platform::DestroyWindow(main_);
}

void HostWindows::SetStatusText(const std::string& text) {
  platform::SetWindowText(status_bar_, text);
}

std::string HostWindows::StatusText() const { return platform::GetWindowText(status_bar_); }

WindowHandle HostWindows::ShowMailbox(int number, const std::string& title) {
  if (const WindowHandle open = MailboxWindow(number)) {
    platform::BringWindowToTop(open);
    return open;
  }
  // The window forgets itself when it is closed, whoever closes it.
  auto procedure = [this, number](WindowHandle window, platform::MessageId message,
                                  platform::WParam wparam, platform::LParam lparam) {
    if (message == platform::WM_NCDESTROY) ForgetMailboxWindow(number, window);
    return platform::DefWindowProc(window, message, wparam, lparam);
  };
  const WindowHandle window = platform::CreateWindow(
      {kMailboxWindowClass, title, document_area_, true, std::move(procedure), 0});
  if (window) mailbox_windows_[number] = window;
  return window;
}

WindowHandle HostWindows::MailboxWindow(int number) const {
  const auto found = mailbox_windows_.find(number);
  if (found == mailbox_windows_.end() || !platform::IsWindow(found->second)) return {};
  return found->second;
}

WindowHandle HostWindows::ShowMessage(const std::string& title) {
  return platform::CreateWindow({kMessageWindowClass, title, document_area_, true, {}, 0});
}

void HostWindows::ForgetMailboxWindow(int number, WindowHandle window) {
  const auto found = mailbox_windows_.find(number);
  if (found != mailbox_windows_.end() && found->second == window) mailbox_windows_.erase(found);
}

}  // namespace tavi::host
