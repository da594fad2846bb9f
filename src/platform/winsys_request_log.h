#pragma once

// The handler and the log that message boxes, popup menus and shell
// requests each keep; shared by their sources and nothing else.

#include <mutex>
#include <utility>
#include <vector>

namespace tavi::platform::winsys_internal {

// The handler that answers one kind of request (a message box, a popup
// menu without a front end, a shell request), and the log of every request.
template <typename Request, typename Handler>
class RequestLog {
 public:
  void SetHandler(Handler handler) {
    std::lock_guard<std::mutex> guard(lock_);
    handler_ = std::move(handler);
  }

  // Logs `request` and returns the handler to ask (maybe empty).
  Handler Record(const Request& request) {
    std::lock_guard<std::mutex> guard(lock_);
    shown_.push_back(request);
    return handler_;
  }

  std::vector<Request> Shown() const {
    std::lock_guard<std::mutex> guard(lock_);
    return shown_;
  }

  void Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    shown_.clear();
  }

 private:
  mutable std::mutex lock_;
  Handler handler_;
  std::vector<Request> shown_;
};

}  // namespace tavi::platform::winsys_internal
