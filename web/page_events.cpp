#include "web/page_events.h"

#include <algorithm>

namespace tavi::web {

std::optional<std::string> PageEventStream::Next(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> guard(events_->lock_);
  events_->changed_.wait_until(guard, deadline,
                               [this] { return events_->closed_ || !pending_.empty(); });
  if (events_->closed_) return std::nullopt;
  std::string text;
  for (const PageEvent& event : pending_)
    text += "event: " + event.name + "\ndata: " + event.data + "\n\n";
  pending_.clear();
  return text;
}

std::shared_ptr<PageEventStream> PageEvents::Open() {
  const std::lock_guard<std::mutex> guard(lock_);
  if (closed_ || streams_.size() == kMaxPageStreams) return nullptr;
  // Its place is freed with the last pointer, wherever that goes.
  std::shared_ptr<PageEventStream> stream(new PageEventStream(this), [](PageEventStream* gone) {
    gone->events_->Forget(gone);
    delete gone;
  });
  stream->pending_.insert({"ready"});
  streams_.push_back(stream.get());
  return stream;
}

void PageEvents::Publish(const PageEvent& event) {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    for (PageEventStream* stream : streams_) stream->pending_.insert(event);
  }
  changed_.notify_all();
}

void PageEvents::Close() {
  {
    const std::lock_guard<std::mutex> guard(lock_);
    closed_ = true;
  }
  changed_.notify_all();
}

void PageEvents::Forget(PageEventStream* stream) {
  const std::lock_guard<std::mutex> guard(lock_);
  streams_.erase(std::remove(streams_.begin(), streams_.end(), stream), streams_.end());
}

}  // namespace tavi::web
