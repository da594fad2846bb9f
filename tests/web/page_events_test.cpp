#include "web/page_events.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace tavi::web {
namespace {

using Clock = std::chrono::steady_clock;

// A deadline already past: Next answers at once with what is pending.
Clock::time_point Now() { return Clock::now(); }

TEST(PageEvents, ANewStreamIsReadyThenHearsEachPendingChangeOnce) {
  PageEvents events;
  const std::shared_ptr<PageEventStream> stream = events.Open();
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Next(Now()), "event: ready\ndata: {}\n\n");
  EXPECT_EQ(stream->Next(Now()), "");
  // A burst of moves between two mailboxes, and the status text.
  for (int i = 0; i < 1000; ++i) {
    events.Publish({"messages", R"({"mailbox": 12})"});
    events.Publish({"messages", R"({"mailbox": 4})"});
    events.Publish({"mailboxes"});
  }
  events.Publish({"status"});
  EXPECT_EQ(stream->Next(Now()),
            "event: mailboxes\ndata: {}\n\n"
            "event: messages\ndata: {\"mailbox\": 12}\n\n"
            "event: messages\ndata: {\"mailbox\": 4}\n\n"
            "event: status\ndata: {}\n\n");
  EXPECT_EQ(stream->Next(Now()), "");
}

TEST(PageEvents, EveryOpenPageHearsAndAClosedOneFreesItsPlace) {
  PageEvents events;
  std::vector<std::shared_ptr<PageEventStream>> streams;
  for (std::size_t i = 0; i < kMaxPageStreams; ++i) streams.push_back(events.Open());
  EXPECT_EQ(events.Open(), nullptr);
  events.Publish({"status"});
  for (const auto& stream : streams)
    EXPECT_EQ(stream->Next(Now()), "event: ready\ndata: {}\n\nevent: status\ndata: {}\n\n");
  streams.pop_back();
  const std::shared_ptr<PageEventStream> reopened = events.Open();
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->Next(Now()), "event: ready\ndata: {}\n\n");
}

TEST(PageEvents, APublishWakesAWaitingStreamAndClosingEndsIt) {
  PageEvents events;
  const std::shared_ptr<PageEventStream> stream = events.Open();
  stream->Next(Now());
  std::promise<std::optional<std::string>> woken;
  std::optional<std::string> after_close = "";
  std::thread page([&] {
    woken.set_value(stream->Next(Clock::time_point::max()));
    after_close = stream->Next(Clock::time_point::max());
  });
  events.Publish({"status"});
  EXPECT_EQ(woken.get_future().get(), "event: status\ndata: {}\n\n");
  events.Close();
  page.join();
  EXPECT_EQ(after_close, std::nullopt);
  EXPECT_EQ(events.Open(), nullptr);
}

}  // namespace
}  // namespace tavi::web
