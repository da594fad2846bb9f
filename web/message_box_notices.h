#pragma once

// The message boxes the host and the plug-in show, kept for the page to
// show as notices until the person dismisses them. Until the page draws the
// plug-in's windows, a box is answered at once with its default button (as
// the headless window system answers it) and shown afterwards.

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/winsys.h"

namespace tavi::web {

// Older boxes than the latest this many are dropped.
inline constexpr std::size_t kMaxNotices = 20;

struct Notice {
  std::string caption;
  std::string text;
  bool operator==(const Notice&) const = default;
};

class MessageBoxNotices {
 public:
  // `changed` is called after each box is kept, on the thread that showed
  // it, and after each Dismiss.
  explicit MessageBoxNotices(std::function<void()> changed);
  // Puts the window system's default answering back.
  ~MessageBoxNotices();
  MessageBoxNotices(const MessageBoxNotices&) = delete;
  MessageBoxNotices& operator=(const MessageBoxNotices&) = delete;

  // The boxes kept, oldest first. From any thread.
  std::vector<Notice> Notices() const;
  // Forgets every box kept. From any thread.
  void Dismiss();

 private:
  int Answer(const platform::MessageBoxRequest& request);

  std::function<void()> changed_;
  mutable std::mutex lock_;
  std::vector<Notice> notices_;
};

}  // namespace tavi::web
