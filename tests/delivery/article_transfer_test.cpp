#include "delivery/article_transfer.h"

#include <gtest/gtest.h>

#include <optional>

#include "delivery/mailbox_file.h"
#include "delivery/staging_lease.h"
#include "files/file_names.h"
#include "host/host.h"
#include "store/pacing.h"
#include "support/host_test.h"

namespace tavi {
namespace {

constexpr const char* kHeaderBlock =
    "Feed: Daily\r\nSubject: Story\r\nWebsite: http://example.com/story\r\n\r\n";

class ArticleTransferTest : public testing::HostTest {
 protected:
  void SetUp() override {
    SetPacing(Pacing::None());
    HostTest::SetUp();
  }
  ArticleTransfer TransferTo(std::int32_t target, const std::string& body = "<p>Body</p>") {
    return {data_.path(), host_->Windows().DocumentArea(), target, kHeaderBlock, body};
  }
  std::vector<std::string> MessagesOf(const std::string& name) {
    const std::optional<int> number = Store().FindByName(name);
    return number ? Store().RawMessages(*number) : std::vector<std::string>{};
  }
};

TEST_F(ArticleTransferTest, TheArticleArrivesInTheTargetAndPendingIsLeftEmpty) {
  const int archive = Store().CreateMailbox(host::kTopLevel, "Archive").value_or(-1);
  int focus_returns = 0;

  const TransferResult result = TransferArticle(TransferTo(archive), [&] { ++focus_returns; });

  EXPECT_EQ(result.outcome, TransferOutcome::kArrived);
  EXPECT_EQ(result.failure, "");
  const std::vector<std::string> filed = Store().RawMessages(archive);
  ASSERT_EQ(filed.size(), 1u);
  EXPECT_NE(filed[0].find(std::string(kHeaderBlock) + "<x-html><p>Body</p></x-html>"),
            std::string::npos);
  EXPECT_TRUE(MessagesOf("Pending").empty());
  // "Pending" was opened twice, and each time its host window closed again.
  EXPECT_EQ(focus_returns, 2);
  EXPECT_EQ(StagingLease::Holder(), "");
}

TEST_F(ArticleTransferTest, AMissingTargetLeavesTheMessageInPendingAndSaysSo) {
  const TransferResult result = TransferArticle(TransferTo(999), {});

  EXPECT_EQ(result.outcome, TransferOutcome::kLeftInPending);
  EXPECT_EQ(result.failure,
            "The host has no mailbox number 999, or could not be reached: the article stays in "
            "the mailbox \"Pending\".");
  EXPECT_EQ(MessagesOf("Pending").size(), 1u);
}

TEST_F(ArticleTransferTest, WhileACheckRunHoldsPendingNothingIsTouched) {
  ASSERT_TRUE(Store().AddMessage(*Store().CreateMailbox(host::kTopLevel, "Pending"),
                                 "Subject: staged by the run\r\n\r\nbody"));
  const std::optional<StagingLease> run = StagingLease::Take("a check run");
  ASSERT_TRUE(run);

  const TransferResult result = TransferArticle(TransferTo(host::kInMailboxNumber), {});

  EXPECT_EQ(result.outcome, TransferOutcome::kStagingBusy);
  EXPECT_EQ(result.failure, StagingBusyText("a check run"));
  EXPECT_EQ(MessagesOf("Pending").size(), 1u);
  EXPECT_TRUE(Store().RawMessages(host::kInMailboxNumber).empty());
}

TEST_F(ArticleTransferTest, WithoutTheHostNoMessageIsStaged) {
  host_->SetAutomationEnabled(false);
  platform::SetMessageBoxHandler([](const platform::MessageBoxRequest&) { return platform::IDOK; });

  const TransferResult result = TransferArticle(TransferTo(host::kInMailboxNumber), {});

  EXPECT_EQ(result.outcome, TransferOutcome::kNotStaged);
  EXPECT_FALSE(FileExists(data_.Join("Pending.mbx")));
}

TEST(FrameTransferMessage, IsFramedLikeEveryComposedMessage) {
  const std::string message =
      FrameTransferMessage("Subject: a\r\n\r\n", "line\r\nFrom ???@??? Sun Dec 6 2026\r\nend");
  EXPECT_TRUE(message.starts_with("From ???@??? "));
  const std::size_t first_line_end = message.find("\r\n");
  EXPECT_EQ(message.substr(first_line_end),
            "\r\nSubject: a\r\n\r\n<x-html>line\r\n>From ???@??? Sun Dec 6 2026\r\nend</x-html>"
            "\r\n");
}

}  // namespace
}  // namespace tavi
