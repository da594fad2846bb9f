#include "web/stop_request.h"

#include <cstdlib>

namespace tavi::web {
namespace {

constexpr int kStoppedWhileWaiting = 1;

}  // namespace

StopRequest::StopRequest(std::function<void()> exit_now) : exit_now_(std::move(exit_now)) {
  if (!exit_now_) exit_now_ = [] { std::_Exit(kStoppedWhileWaiting); };
}

void StopRequest::Request() {
  const std::lock_guard<std::mutex> guard(lock_);
  requested_ = true;
  Act();
}

bool StopRequest::Requested() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return requested_;
}

void StopRequest::EndLoopOf(UiThreadWork* work) {
  const std::lock_guard<std::mutex> guard(lock_);
  work_ = work;
  Act();
}

void StopRequest::SetEndsProgram(bool ends_program) {
  const std::lock_guard<std::mutex> guard(lock_);
  ends_program_ = ends_program;
  Act();
}

// Under the lock.
void StopRequest::Act() {
  if (!requested_) return;
  if (ends_program_) exit_now_();
  // The loop ends once the work queued before the request is done.
  if (work_ == nullptr || loop_told_) return;
  loop_told_ = work_->Post([] { platform::PostQuitMessage(0); });
}

}  // namespace tavi::web
