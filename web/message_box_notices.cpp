#include "web/message_box_notices.h"

namespace tavi::web {

MessageBoxNotices::MessageBoxNotices(std::function<void()> changed) : changed_(std::move(changed)) {
  platform::SetMessageBoxHandler(
      [this](const platform::MessageBoxRequest& request) { return Answer(request); });
}

MessageBoxNotices::~MessageBoxNotices() { platform::SetMessageBoxHandler({}); }

std::vector<Notice> MessageBoxNotices::Notices() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return notices_;
}

void MessageBoxNotices::Dismiss() {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    notices_.clear();
  }
  if (changed_) changed_();
}

int MessageBoxNotices::Answer(const platform::MessageBoxRequest& request) {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    if (notices_.size() == kMaxNotices) notices_.erase(notices_.begin());
    notices_.push_back({request.caption, request.text});
  }
  if (changed_) changed_();
  return platform::DefaultMessageBoxAnswer(request.flags);
}

}  // namespace tavi::web
