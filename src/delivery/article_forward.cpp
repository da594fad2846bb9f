#include "delivery/article_forward.h"

#include <algorithm>

#include "delivery/host_automation.h"
#include "delivery/host_members.h"
#include "files/file_names.h"
#include "platform/fs.h"

namespace tavi {
namespace {

constexpr const char* kForwardSuffix = " (fwd)";
constexpr const char* kBeginForwarded = "--- begin forwarded article\r\n\r\n";
constexpr const char* kEndForwarded = "\r\n\r\n--- end forwarded article";
constexpr const char* kAttachedBody = "Forwarded article attached.";
constexpr const char* kForwardedExtension = "nws";

// Member 29 takes six texts; only the subject, the attachment and the body
// are ours to give.
void OpenNewMessage(const HostConnection& connection, const std::string& subject,
                    const std::string& attachment, const std::string& body) {
  connection.Application().Call(host_members::application::kNewMessage,
                                {"", subject + kForwardSuffix, "", "", attachment, body});
}

}  // namespace

std::string ArticleText(const std::string& header_block, const std::string& body) {
  return header_block + body;
}

std::string WithoutLineFeeds(std::string text) {
  std::erase(text, '\n');
  return text;
}

bool ForwardInline(const std::string& subject, const std::string& text) {
  const HostConnection connection;
  if (!connection.IsConnected()) return false;
  OpenNewMessage(connection, subject, "", kBeginForwarded + text + kEndForwarded);
  return true;
}

std::string ForwardAsAttachment(const std::string& data_folder, const std::string& subject,
                                const std::string& text) {
  const HostConnection connection;
  if (!connection.IsConnected()) return "";
  const std::string path = PrepareFilePath(
      platform::JoinPath(data_folder, kForwardedArticlesFolder), subject, kForwardedExtension,
      /*make_unique=*/true, /*skip_create=*/false);
  if (!FileExists(path)) return "";
  if (!AppendLineToFile(path, WithoutLineFeeds(text))) {
    // An empty file would pass for a forwarded article that never went.
    platform::DeleteFile(path);
    return "";
  }
  OpenNewMessage(connection, subject, path, kAttachedBody);
  return path;
}

}  // namespace tavi
