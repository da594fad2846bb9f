#pragma once

// Transferring one article into a host mailbox, as the article viewer's
// Transfer menu does: the article becomes a message of "Pending", framed like
// every message the plug-in composes, and the host moves it on into the
// mailbox chosen.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/winsys.h"

namespace tavi {

// The one who takes the staging mailbox for a transfer, as a refusal names it.
inline constexpr const char* kArticleTransferUser = "an article transfer";

struct ArticleTransfer {
  std::string data_folder;            // the host's mail data folder
  platform::WindowHandle mdi_client;  // the host's document area; none when not found
  std::int32_t target_number = 0;     // the host's number of the mailbox to file into
  std::string header_block;           // header lines ending in CR LF, then the empty line
  std::string body;                   // the HTML body the message carries
};

enum class TransferOutcome {
  kArrived,        // the message was moved into the target
  kStagingBusy,    // another user holds "Pending": nothing was touched
  kNotStaged,      // "Pending" could not be prepared or written: no message was made
  kLeftInPending,  // the host has no such target, or could not be reached
};

struct TransferResult {
  TransferOutcome outcome = TransferOutcome::kNotStaged;
  // For a message box: why the article did not arrive; "" when it did.
  std::string failure;
};

// The message a transfer stages: the separator line of the current local
// time and CR LF, the header block, "<x-html>" + body + "</x-html>", and CR
// LF, with every line beginning "From ???@???" after the separator quoted.
std::string FrameTransferMessage(const std::string& header_block, const std::string& body);

// Transfers the article: takes the staging lease (refused: kStagingBusy with
// the refusal text, nothing touched), prepares "Pending", appends the framed
// message, has the host open "Pending" so that it indexes it, and moves every
// message of "Pending" into the mailbox numbered `transfer.target_number`,
// opening "Pending" again afterwards. After each opening the host's topmost
// window in the document area is sent WM_CLOSE and, when it took it,
// `host_window_closed` runs (the viewer takes the focus back). A failed
// connection is reported by the host operations in a message box.
TransferResult TransferArticle(const ArticleTransfer& transfer,
                               const std::function<void()>& host_window_closed);

}  // namespace tavi
