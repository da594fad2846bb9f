#include "web/ui_thread_work.h"

#include <cassert>

namespace tavi::web {
namespace {

constexpr platform::MessageId kRunNextWork = platform::WM_APP + 0x100;

}  // namespace

struct UiThreadWork::Job {
  Work work;
  // Both under lock_: the job left the queue, and then it ran to its end or
  // was dropped by Close.
  bool done = false;
  bool ran = false;
};

std::unique_ptr<UiThreadWork> UiThreadWork::Create() {
  std::unique_ptr<UiThreadWork> work(new UiThreadWork());
  UiThreadWork* self = work.get();
  auto procedure = [self](platform::WindowHandle window, platform::MessageId message,
                          platform::WParam wparam, platform::LParam lparam) {
    if (message != kRunNextWork) return platform::DefWindowProc(window, message, wparam, lparam);
    self->RunNext();
    return platform::LResult{0};
  };
  work->window_ =
      platform::CreateWindow({kWorkWindowClass, "", {}, false, std::move(procedure), 0});
  if (!work->window_) return nullptr;
  return work;
}

UiThreadWork::~UiThreadWork() {
  Close();
  platform::DestroyWindow(window_);
}

bool UiThreadWork::Run(Work work) {
  assert(platform::GetWindowThreadId(window_) != platform::CurrentThreadId() &&
         "the user-interface thread would wait for itself");
  const std::shared_ptr<Job> job = Queue(std::move(work));
  if (job == nullptr) return false;
  std::unique_lock<std::mutex> guard(lock_);
  finished_.wait(guard, [&job] { return job->done; });
  return job->ran;
}

bool UiThreadWork::Post(Work work) { return Queue(std::move(work)) != nullptr; }

std::shared_ptr<UiThreadWork::Job> UiThreadWork::Queue(Work work) {
  auto job = std::make_shared<Job>();
  job->work = std::move(work);
  {
    const std::lock_guard<std::mutex> guard(lock_);
    if (closed_) return nullptr;
    queue_.push_back(job);
  }
  // One message per job: each message runs the oldest job left.
  platform::PostMessage(window_, kRunNextWork, 0, 0);
  return job;
}

void UiThreadWork::Close() {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
    for (const std::shared_ptr<Job>& job : queue_) job->done = true;
    queue_.clear();
  }
  finished_.notify_all();
}

void UiThreadWork::RunNext() {
  std::shared_ptr<Job> job;
  {
    const std::lock_guard<std::mutex> guard(lock_);
    if (queue_.empty()) return;
    job = std::move(queue_.front());
    queue_.pop_front();
  }
  // Outside the lock: the work may run a modal loop, in which more work runs.
  job->work();
  {
    const std::lock_guard<std::mutex> guard(lock_);
    job->ran = true;
    job->done = true;
  }
  finished_.notify_all();
}

}  // namespace tavi::web
