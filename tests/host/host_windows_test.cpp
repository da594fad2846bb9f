#include "host/host_windows.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "host/host.h"
#include "platform/fs.h"
#include "platform/winsys_snapshot.h"
#include "support/temp_dir.h"

namespace tavi::host {
namespace {

using platform::WindowHandle;

int CountDocumentWindowsTitled(WindowHandle document_area, const std::string& title) {
  int count = 0;
  for (const platform::WindowSnapshot& state : platform::TakeSnapshot().windows) {
    if (state.parent == document_area && state.text == title) ++count;
  }
  return count;
}

class HostWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = Host::Start(dir_.path());
    ASSERT_NE(host_, nullptr);
    pending_ = *host_->Store().CreateMailbox(kTopLevel, "Pending");
    news_ = *host_->Store().CreateMailbox(kTopLevel, "News");
  }
  WindowHandle DocumentArea() {
    return platform::FindChildWindow(platform::FindWindow(kMainWindowClass), kDocumentAreaClass,
                                     platform::kAnyText);
  }

  testing::TempDir dir_;
  std::unique_ptr<Host> host_;
  int pending_ = 0;
  int news_ = 0;
};

TEST_F(HostWindowsTest, TheMainWindowHoldsTheDocumentArea) {
  const WindowHandle main = platform::FindWindow(kMainWindowClass);
  ASSERT_TRUE(main);
  EXPECT_EQ(main, host_->Windows().MainWindow());
  EXPECT_EQ(DocumentArea(), host_->Windows().DocumentArea());
  EXPECT_TRUE(platform::IsWindowVisible(DocumentArea()));
  host_.reset();
  EXPECT_FALSE(platform::IsWindow(main));
}

TEST_F(HostWindowsTest, OpeningAMailboxTwiceRaisesItsOneWindow) {
  ASSERT_TRUE(host_->OpenMailbox(pending_));
  const WindowHandle pending_window = platform::GetTopWindow(DocumentArea());
  EXPECT_EQ(platform::GetWindowText(pending_window), "Pending");
  ASSERT_TRUE(host_->OpenMailbox(news_));
  EXPECT_EQ(platform::GetWindowText(platform::GetTopWindow(DocumentArea())), "News");
  ASSERT_TRUE(host_->OpenMailbox(pending_));
  EXPECT_EQ(platform::GetTopWindow(DocumentArea()), pending_window);
  EXPECT_EQ(CountDocumentWindowsTitled(DocumentArea(), "Pending"), 1);
  EXPECT_FALSE(host_->OpenMailbox(*host_->Store().CreateFolder(kTopLevel, "Folder")));
}

TEST_F(HostWindowsTest, MailboxWindowsCloseOnTheCloseCommandAndOnClose) {
  struct Case {
    const char* what;
    platform::MessageId message;
    platform::WParam wparam;
  };
  const Case cases[] = {{"system close command", platform::WM_SYSCOMMAND, platform::SC_CLOSE},
                        {"close", platform::WM_CLOSE, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(host_->OpenMailbox(pending_));
    const WindowHandle window =
        platform::FindChildWindow(DocumentArea(), platform::kAnyText, "Pending");
    ASSERT_TRUE(window);
    platform::SendMessage(window, c.message, c.wparam, 0);
    EXPECT_FALSE(platform::IsWindow(window));
    EXPECT_FALSE(host_->Windows().MailboxWindow(pending_));
    // Opened again, it gets a fresh window.
    ASSERT_TRUE(host_->OpenMailbox(pending_));
    EXPECT_NE(host_->Windows().MailboxWindow(pending_), window);
    platform::SendMessage(host_->Windows().MailboxWindow(pending_), platform::WM_CLOSE, 0, 0);
  }
}

TEST_F(HostWindowsTest, TheStatusBarShowsTheStatusText) {
  host_->SetStatusText("Ready");
  EXPECT_EQ(platform::GetWindowText(host_->Windows().StatusBar()), "Ready");
  EXPECT_EQ(host_->StatusText(), "Ready");
}

TEST_F(HostWindowsTest, OpeningReadsTheMailboxFileAgain) {
  ASSERT_TRUE(host_->OpenMailbox(pending_));
  EXPECT_EQ(host_->Store().MessageCount(pending_), 0u);
  // Written as the plug-in writes it: its table of contents deleted first.
  ASSERT_EQ(remove(dir_.Join("Pending.toc").c_str()), 0);
  testing::WriteFile(dir_.Join("Pending.mbx"),
                     "From ???@??? Sun Dec 6 2026 13:46:41\r\nSubject: a\r\n\r\nbody\r\n");
  ASSERT_TRUE(host_->OpenMailbox(pending_));
  EXPECT_EQ(host_->Store().MessageCount(pending_), 1u);
  EXPECT_EQ(testing::ReadFile(dir_.Join("Pending.toc")).size(), 104u + 218u);
}

TEST(Host, ReadOnlyOpensAndShowsMailboxesWithoutWritingAFile) {
  testing::TempDir dir;
  HostOptions options;
  options.read_only = true;
  auto host = Host::Start(dir.path(), options);
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(host->OpenMailbox(kInMailboxNumber));
  host->ComposeMessage({"Subject", "", "body"});
  EXPECT_EQ(host->Store().MessageCount(kOutMailboxNumber), 0u);
  host.reset();
  EXPECT_TRUE(platform::FindFiles(dir.Join("*")).empty());
}

}  // namespace
}  // namespace tavi::host
