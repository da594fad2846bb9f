#include "platform/net.h"

#include <cassert>
#include <cstring>
#include <mutex>

#include "platform/net_errors.h"
#include "platform/net_transfer.h"
#include "platform/part_file.h"

namespace tavi::platform {
namespace {

std::mutex timeouts_lock;
NetTimeouts current_timeouts;

NetResult FileFailure(const PartFile& file) {
  return NetResult::Failure(FileErrorText(file.error()));
}

}  // namespace

NetTimeouts GetNetTimeouts() {
  std::lock_guard<std::mutex> guard(timeouts_lock);
  return current_timeouts;
}

void SetNetTimeouts(const NetTimeouts& timeouts) {
  std::lock_guard<std::mutex> guard(timeouts_lock);
  current_timeouts = timeouts;
}

// --- The URL-moniker download ---------------------------------------------

NetResult UrlDownloadToFile(const std::string& url, const std::string& path,
                            std::uint64_t max_bytes) {
  return UrlDownloadToFile(NetRequest{url, "", ""}, path, max_bytes, nullptr);
}

NetResult UrlDownloadToFile(const NetRequest& request, const std::string& path,
                            std::uint64_t max_bytes, NetResponse* response) {
  // The part file comes first: nothing is fetched that cannot be stored.
  PartFile part(path);
  if (!part.IsOpen()) return FileFailure(part);
  NetTransfer transfer(GetNetTimeouts(), max_bytes, [&part](std::string_view bytes) {
    return part.Write(bytes) ? NetResult::Success() : FileFailure(part);
  });
  const NetResult started = transfer.Start(request);
  if (!started.ok) return started;
  transfer.DriveToEnd();
  if (response != nullptr) *response = transfer.Response();
  const NetResult result = transfer.Result();
  if (!result.ok) return result;
  // The caller's copy is current: the part file goes, the target stays.
  if (transfer.Response().not_modified) return NetResult::Success();
  if (!part.Commit()) return FileFailure(part);
  return NetResult::Success();
}

// --- The internet session -------------------------------------------------

// The transfer of an opened URL: bytes that arrive wait in `received` until
// read.
struct InternetFile::Transfer {
  std::string received;
  std::size_t consumed = 0;
  NetTransfer transfer;

  Transfer(const NetTimeouts& timeouts, std::uint64_t max_bytes)
      : transfer(timeouts, max_bytes, [this](std::string_view bytes) {
          received.append(bytes);
          return NetResult::Success();
        }) {}

  bool HasUnreadBytes() const { return consumed < received.size(); }
  bool HeaderArrived() const { return transfer.HeaderComplete() || HasUnreadBytes(); }
};

InternetSession::InternetSession() : timeouts_(GetNetTimeouts()) {}

InternetSession::~InternetSession() = default;

NetResult InternetSession::OpenUrl(const std::string& url, std::uint64_t max_bytes,
                                   std::unique_ptr<InternetFile>* file) const {
  return OpenUrl(NetRequest{url, "", ""}, max_bytes, file);
}

NetResult InternetSession::OpenUrl(const NetRequest& request, std::uint64_t max_bytes,
                                   std::unique_ptr<InternetFile>* file) const {
  assert(file != nullptr && "OpenUrl needs a place for the opened file");
  file->reset();
  auto body = std::make_unique<InternetFile::Transfer>(timeouts_, max_bytes);
  const NetResult started = body->transfer.Start(request);
  if (!started.ok) return started;
  body->transfer.DriveUntil([&body] { return body->HeaderArrived(); });
  // A failure after the header belongs to the body: reads report it after
  // the bytes that arrived.
  if (!body->HeaderArrived()) {
    const NetResult result = body->transfer.Result();
    if (!result.ok) return result;
  }
  file->reset(new InternetFile(std::move(body)));
  return NetResult::Success();
}

InternetFile::InternetFile(std::unique_ptr<Transfer> transfer) : transfer_(std::move(transfer)) {}

InternetFile::~InternetFile() = default;

const NetResponse& InternetFile::Response() const { return transfer_->transfer.Response(); }

NetResult InternetFile::Read(std::span<char> buffer, std::size_t* count) {
  assert(count != nullptr && "Read needs a place for the count");
  assert(!buffer.empty() && "an empty buffer cannot tell data from the end");
  if (TransferCancelled()) return NetResult::Failure(kCancelledText);
  Transfer& body = *transfer_;
  if (!body.HasUnreadBytes()) {
    body.received.clear();
    body.consumed = 0;
    body.transfer.DriveUntil([&body] { return body.HasUnreadBytes(); });
  }
  const std::size_t available = body.received.size() - body.consumed;
  *count = std::min(available, buffer.size());
  if (*count > 0) {
    std::memcpy(buffer.data(), body.received.data() + body.consumed, *count);
    body.consumed += *count;
    return NetResult::Success();
  }
  return body.transfer.Result();
}

}  // namespace tavi::platform
