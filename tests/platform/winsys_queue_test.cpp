#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "platform/winsys.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::LoopThread;
using testing::SeenMessage;

class QueueTest : public testing::WinsysTest {};

TEST_F(QueueTest, RegisteredMessagesAreOneNumberPerNameProcessWide) {
  const MessageId new_article = RegisterWindowMessage("uiNewArticle");
  const MessageId display = RegisterWindowMessage("uiDisplayWindow");
  MessageId from_other_thread = 0;
  std::thread other([&] { from_other_thread = RegisterWindowMessage("UINEWARTICLE"); });
  other.join();

  EXPECT_GE(new_article, kFirstRegisteredMessage);
  EXPECT_LE(new_article, kLastRegisteredMessage);
  EXPECT_GE(display, kFirstRegisteredMessage);
  EXPECT_NE(new_article, display);
  EXPECT_EQ(RegisterWindowMessage("uiNewArticle"), new_article);
  EXPECT_EQ(from_other_thread, new_article);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(QueueTest, PostedMessagesAreDispatchedInOrderWhenPumped) {
  const WindowHandle window = MakeWindow("Main", "", {}, log_.Procedure());
  const WindowHandle doomed = MakeWindow("Doomed", "", {}, log_.Procedure());
  ASSERT_TRUE(PostMessage(window, WM_APP + 16, 1, 0));
  ASSERT_TRUE(PostMessage(doomed, WM_APP + 16, 2, 0));
  ASSERT_TRUE(PostMessage(window, WM_APP + 16, 3, 0));
  DestroyWindow(doomed);
  EXPECT_TRUE(log_.Seen(WM_APP + 16).empty());

  EXPECT_TRUE(PumpWaitingMessages());

  const ThreadId me = CurrentThreadId();
  // The message to the destroyed window is dropped, not sent to a stranger.
  EXPECT_EQ(log_.Seen(WM_APP + 16),
            (std::vector<SeenMessage>{{window, WM_APP + 16, 1, me}, {window, WM_APP + 16, 3, me}}));
  Message message;
  EXPECT_FALSE(PeekMessage(message, false));
  EXPECT_FALSE(PostMessage(doomed, WM_APP, 0, 0));
}

TEST_F(QueueTest, QuitComesAfterThePostedMessagesAndSurvivesAPump) {
  PostQuitMessage(7);
  ASSERT_TRUE(PostMessage({}, WM_APP + 1, 0, 0));

  Message message;
  ASSERT_TRUE(GetMessage(message));
  EXPECT_EQ(message.message, WM_APP + 1);
  EXPECT_FALSE(message.window);

  // A pump between steps must not swallow the quit meant for the outer loop.
  EXPECT_FALSE(PumpWaitingMessages());
  EXPECT_FALSE(GetMessage(message));
  EXPECT_EQ(message.message, WM_QUIT);
  EXPECT_EQ(message.wparam, 7u);
  EXPECT_EQ(GetMessageUntil(message, Now()), WaitResult::kTimeout);
}

TEST_F(QueueTest, ThreadMessagesNeedTheThreadsQueue) {
  std::promise<ThreadId> started;
  std::promise<void> posted_early;
  std::promise<ThreadId> queued;
  std::vector<Message> received;
  std::thread worker([&] {
    started.set_value(CurrentThreadId());
    posted_early.get_future().wait();
    queued.set_value(EnsureMessageQueue());
    Message message;
    while (GetMessage(message)) received.push_back(message);
  });

  const ThreadId thread = started.get_future().get();
  EXPECT_FALSE(PostThreadMessage(thread, WM_APP + 32, 0, 1));
  posted_early.set_value();
  EXPECT_EQ(queued.get_future().get(), thread);
  EXPECT_TRUE(PostThreadMessage(thread, WM_APP + 32, 0, 2));
  EXPECT_TRUE(PostThreadMessage(thread, WM_QUIT, 1, 0));
  worker.join();

  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, WM_APP + 32);
  EXPECT_EQ(received[0].lparam, 2);
  EXPECT_FALSE(received[0].window);
}

TEST_F(QueueTest, SendingToAnotherThreadsWindowRunsThereAndWaitsForTheAnswer) {
  WindowHandle board;
  LoopThread ui([&] {
    board = MakeWindow("NewsBoardWindow", "", {},
                       log_.Procedure([](WindowHandle, MessageId, WParam wparam,
                                         LParam lparam) -> std::optional<LResult> {
                         return static_cast<LResult>(wparam) + lparam;
                       }));
  });

  EXPECT_EQ(SendMessage(board, WM_USER, 40, 2), 42);
  EXPECT_EQ(log_.Seen(WM_USER), (std::vector<SeenMessage>{{board, WM_USER, 40, ui.id()}}));

  ui.Stop();
  EXPECT_EQ(SendMessage(board, WM_USER, 40, 2), 0);
}

TEST_F(QueueTest, ASenderHandlesMessagesSentToItWhileItWaits) {
  const WindowHandle main = MakeWindow("Main", "", {}, log_.Procedure());
  WindowHandle remote;
  LoopThread ui([&] {
    remote = MakeWindow(
        "Remote", "", {},
        [main](WindowHandle window, MessageId message, WParam wparam, LParam lparam) -> LResult {
          if (message != WM_USER) return DefWindowProc(window, message, wparam, lparam);
          // Calls back into the waiting sender's thread before answering.
          return SendMessage(main, WM_USER + 1, 5, 0) + 1;
        });
  });

  EXPECT_EQ(SendMessage(remote, WM_USER, 0, 0), 1);
  EXPECT_EQ(log_.Seen(WM_USER + 1),
            (std::vector<SeenMessage>{{main, WM_USER + 1, 5, CurrentThreadId()}}));
}

TEST_F(QueueTest, NotifySendDoesNotWaitForTheOtherThread) {
  std::mutex lock;
  std::condition_variable changed;
  bool may_pump = false;
  std::promise<WindowHandle> created;
  std::thread worker([&] {
    const WindowHandle board = MakeWindow("NewsBoardWindow", "", {}, log_.Procedure());
    created.set_value(board);
    {
      std::unique_lock<std::mutex> guard(lock);
      changed.wait(guard, [&] { return may_pump; });
    }
    PumpWaitingMessages();
  });

  const WindowHandle board = created.get_future().get();
  // The worker is blocked until this returns: a waiting send would hang here.
  EXPECT_TRUE(SendNotifyMessage(board, WM_USER, 9, 0));
  EXPECT_TRUE(log_.Seen(WM_USER).empty());
  {
    std::lock_guard<std::mutex> guard(lock);
    may_pump = true;
  }
  changed.notify_all();
  worker.join();

  ASSERT_EQ(log_.Seen(WM_USER).size(), 1u);
  EXPECT_EQ(log_.Seen(WM_USER)[0].wparam, 9u);
}

TEST_F(QueueTest, DispatchLeavesThreadMessagesAndForeignWindowsAlone) {
  WindowHandle remote;
  LoopThread ui([&] { remote = MakeWindow("Remote", "", {}, log_.Procedure()); });

  EXPECT_EQ(DispatchMessage({remote, WM_USER, 0, 0}), 0);
  EXPECT_EQ(DispatchMessage({{}, WM_USER, 0, 0}), 0);
  ui.Stop();
  EXPECT_TRUE(log_.Seen(WM_USER).empty());
}

}  // namespace
}  // namespace tavi::platform
