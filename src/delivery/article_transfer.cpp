#include "delivery/article_transfer.h"

#include <optional>

#include "delivery/host_automation.h"
#include "delivery/mailbox_file.h"
#include "delivery/staging_lease.h"
#include "platform/oledate.h"

namespace tavi {
namespace {

constexpr const char* kNotStagedText =
    "The article could not be written into the staging mailbox \"Pending\".";

std::string LeftInPendingText(std::int32_t target_number) {
  return "The host has no mailbox number " + std::to_string(target_number) +
         ", or could not be reached: the article stays in the mailbox \"Pending\".";
}

// The host shows the mailbox it opened on top of its document area; that
// window would hide the viewer the user is working in.
void OpenPendingAndCloseItsWindow(platform::WindowHandle mdi_client,
                                  const std::function<void()>& host_window_closed) {
  if (!OpenHostMailbox(kStagingMailboxName)) return;
  const platform::WindowHandle top = platform::GetTopWindow(mdi_client);
  if (!top || !platform::SendNotifyMessage(top, platform::WM_CLOSE, 0, 0)) return;
  if (host_window_closed) host_window_closed();
}

bool TargetExists(std::int32_t target_number) {
  const HostConnection connection;
  return connection.IsConnected() && connection.ItemByName(kStagingMailboxName) &&
         connection.ItemByNumber(target_number);
}

}  // namespace

std::string FrameTransferMessage(const std::string& header_block, const std::string& body) {
  const std::string now = platform::FormatDate(platform::CurrentLocalDate(), "%m/%d/%Y %H:%M:%S");
  return FormatSeparatorLine(now) + "\r\n" +
         QuoteSeparatorLines(header_block + "<x-html>" + body + "</x-html>") + "\r\n";
}

TransferResult TransferArticle(const ArticleTransfer& transfer,
                               const std::function<void()>& host_window_closed) {
  const std::optional<StagingLease> lease = StagingLease::Take(kArticleTransferUser);
  if (!lease) return {TransferOutcome::kStagingBusy, StagingBusyText(StagingLease::Holder())};
  const StagingPaths staging = PrepareStagingMailbox(transfer.data_folder, transfer.mdi_client);
  if (staging.mailbox_file.empty() ||
      !AppendToMailboxFile(staging.mailbox_file,
                           FrameTransferMessage(transfer.header_block, transfer.body)))
    return {TransferOutcome::kNotStaged, kNotStagedText};
  OpenPendingAndCloseItsWindow(transfer.mdi_client, host_window_closed);
  if (!TargetExists(transfer.target_number))
    return {TransferOutcome::kLeftInPending, LeftInPendingText(transfer.target_number)};
  MoveAllMessages(kStagingMailboxName, transfer.target_number);
  OpenPendingAndCloseItsWindow(transfer.mdi_client, host_window_closed);
  return {TransferOutcome::kArrived, ""};
}

}  // namespace tavi
