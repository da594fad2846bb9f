#include <gtest/gtest.h>

#include <thread>

#include "platform/winsys.h"
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

}  // namespace
}  // namespace tavi::platform
