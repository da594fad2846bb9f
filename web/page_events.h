#pragma once

// What the page is told as it happens: one stream of server-sent events per
// open page. The host thread publishes what changed (an event's name and a
// small JSON text, e.g. "messages" with {"mailbox": 12}); the page fetches
// what it shows of it again. Nothing is sent that the page must keep: a
// stream tells of changes, not of their content, so a burst of changes
// (a download moving a thousand articles) is told once per kind and
// mailbox, as often as the page can take it.
//
// A new stream first tells "ready": the page then fetches everything, which
// covers whatever changed while it was not listening.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tavi::web {

// More open pages than this is no person's use; their streams are refused.
inline constexpr std::size_t kMaxPageStreams = 4;

struct PageEvent {
  std::string name;         // "mailboxes", "messages", "status", ...
  std::string data = "{}";  // a JSON object
  auto operator<=>(const PageEvent&) const = default;
};

class PageEvents;

// The events one open page has yet to be told.
class PageEventStream {
 public:
  // Waits until events are pending or `deadline` passes. The pending events
  // as the stream's text ("event: NAME\ndata: DATA\n\n" each, in the
  // order of their names and data); "" at the deadline; nullopt once the events are closed.
  std::optional<std::string> Next(std::chrono::steady_clock::time_point deadline);

 private:
  friend class PageEvents;
  explicit PageEventStream(PageEvents* events) : events_(events) {}

  PageEvents* events_;
  // Under the events' lock.
  std::set<PageEvent> pending_;
};

class PageEvents {
 public:
  PageEvents() = default;
  PageEvents(const PageEvents&) = delete;
  PageEvents& operator=(const PageEvents&) = delete;

  // A new stream, holding "ready"; nullptr when kMaxPageStreams are open or
  // the events are closed. The stream's place is freed when the last copy
  // of the pointer goes; the events must outlive it.
  std::shared_ptr<PageEventStream> Open();
  // Tells every open stream. From any thread; cheap.
  void Publish(const PageEvent& event);
  // Ends every stream's waiting (Next gives nullopt) and opens no more: for
  // a server that is stopping, whose threads must be free first.
  void Close();

 private:
  friend class PageEventStream;
  void Forget(PageEventStream* stream);

  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<PageEventStream*> streams_;
  bool closed_ = false;
};

}  // namespace tavi::web
