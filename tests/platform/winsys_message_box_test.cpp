#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/winsys.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_snapshot.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

class MessageBoxTest : public testing::WinsysTest {
 protected:
  void SetUp() override { ClearShownMessageBoxes(); }
  void TearDown() override {
    SetMessageBoxHandler({});
    ClearShownMessageBoxes();
    WinsysTest::TearDown();
  }
};

TEST_F(MessageBoxTest, HeadlessBoxesPressTheirDefaultButton) {
  struct Case {
    std::uint32_t flags;
    int answer;
  };
  const Case cases[] = {
      {MB_OK, IDOK},
      {MB_OK | MB_ICONERROR, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
      {MB_RETRYCANCEL, IDRETRY},
      // A default button the box does not have falls back to the first.
      {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    EXPECT_EQ(MessageBox({}, "text", "caption", c.flags), c.answer);
  }
  EXPECT_EQ(ShownMessageBoxes().size(), std::size(cases));
}

TEST_F(MessageBoxTest, TheInstalledHandlerAnswersAndEveryBoxIsRecorded) {
  std::vector<MessageBoxRequest> asked;
  SetMessageBoxHandler([&](const MessageBoxRequest& request) {
    asked.push_back(request);
    return IDNO;
  });
  const WindowHandle owner = MakeWindow("TaviAggregatorMainWindow", "Tavi");

  EXPECT_EQ(MessageBox(owner, "Delete the feed?", "Tavi", MB_YESNO | MB_ICONQUESTION), IDNO);
  ThreadId download_thread = 0;
  int download_answer = 0;
  std::thread download([&] {
    download_thread = CurrentThreadId();
    download_answer = MessageBox({}, "The server name could not be resolved", "", MB_OK);
  });
  download.join();

  EXPECT_EQ(download_answer, IDNO);
  const std::vector<MessageBoxRequest> shown = ShownMessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(shown[0].owner, owner);
  EXPECT_EQ(shown[0].text, "Delete the feed?");
  EXPECT_EQ(shown[0].caption, "Tavi");
  EXPECT_EQ(shown[0].flags, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(shown[0].thread, CurrentThreadId());
  EXPECT_EQ(shown[1].text, "The server name could not be resolved");
  EXPECT_EQ(shown[1].thread, download_thread);
  EXPECT_EQ(asked[1].thread, download_thread);

  SetMessageBoxHandler({});
  EXPECT_EQ(MessageBox({}, "again", "", MB_OKCANCEL), IDOK);
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(MessageBoxTest, WithAFrontEndABoxWaitsInAModalLoopForTheAnswerFromAnotherThread) {
  SetFrontEndPresent(true);
  SetMessageBoxHandler([](const MessageBoxRequest&) { return IDOK; });
  std::promise<void> handled_while_waiting;
  const WindowHandle owner = MakeWindow("TaviAggregatorMainWindow", "Tavi", {},
                                        log_.Procedure([&](WindowHandle, MessageId message, WParam,
                                                           LParam) -> std::optional<LResult> {
                                          if (message == WM_APP) handled_while_waiting.set_value();
                                          return std::nullopt;
                                        }));
  testing::ChangeWaiter waiter;
  bool owner_blocked = false;
  bool wrong_answer_taken = true;
  std::thread front_end([&] {
    const Snapshot snapshot =
        waiter.WaitFor([](const Snapshot& state) { return !state.message_boxes.empty(); });
    const MessageBoxRequest box = snapshot.message_boxes.front();
    owner_blocked = !InjectClick(owner);
    wrong_answer_taken = AnswerMessageBox(box.id, IDYES);
    PostMessage(owner, WM_APP, 0, 0);
    handled_while_waiting.get_future().wait();
    AnswerMessageBox(box.id, IDCANCEL);
  });

  const int answer = MessageBox(owner, "Delete the feed?", "Tavi", MB_OKCANCEL);
  front_end.join();

  EXPECT_EQ(answer, IDCANCEL) << "the front end answers, not the handler";
  EXPECT_TRUE(owner_blocked);
  EXPECT_FALSE(wrong_answer_taken) << "the box has no Yes button";
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_TRUE(TakeSnapshot().message_boxes.empty());
  const std::vector<MessageBoxRequest> shown = ShownMessageBoxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Delete the feed?");
  EXPECT_FALSE(AnswerMessageBox(shown[0].id, IDOK)) << "answered already";
}

TEST_F(MessageBoxTest, AQuitEndsTheWaitWithTheDefaultAnswerAndIsLeftForTheOuterLoop) {
  SetFrontEndPresent(true);
  PostQuitMessage(4);

  EXPECT_EQ(MessageBox({}, "Stop?", "", MB_YESNO | MB_DEFBUTTON2), IDNO);
  Message message;
  EXPECT_FALSE(GetMessage(message));
  EXPECT_TRUE(TakeSnapshot().message_boxes.empty());
}

}  // namespace
}  // namespace tavi::platform
