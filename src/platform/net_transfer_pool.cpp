#include "platform/net_transfer_pool.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/fs.h"
#include "platform/net_errors.h"
#include "platform/net_transfer.h"
#include "platform/part_file.h"

namespace tavi::platform {
namespace {

// The longest wait for network activity; a cancel or a queued download wakes
// the pool at once, and limits are checked between waits.
constexpr int kPollMilliseconds = 100;

// The host part of `url` in lower case, which decides whose share of the
// transfers it takes; "" when the URL has none (it then fails to start).
std::string HostOf(const std::string& url) {
  EnsureCurlInitialised();
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return "";
  std::string host;
  char* part = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
      curl_url_get(parsed, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
    host = part;
    std::transform(host.begin(), host.end(), host.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  }
  curl_free(part);
  curl_url_cleanup(parsed);
  return host;
}

}  // namespace

// One queued download. Its transfer and part file belong to the pool's
// thread, which alone creates, drives and ends them.
struct NetTransferPool::Download {
  enum class State { kQueued, kRunning, kEnded };

  NetRequest request;
  std::string path;
  std::string host;
  std::uint64_t max_bytes = kNoByteLimit;
  Turn turn = Turn::kInOrder;
  State state = State::kQueued;
  bool dropped = false;  // the caller gave it up while it ran
  NetResult result;
  NetResponse response;
  std::unique_ptr<PartFile> part;
  std::unique_ptr<NetTransfer> transfer;
};

// The shared multi handle, with the limits every transfer of the pool shares.
struct NetTransferPool::SharedMulti {
  struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
  };
  std::unique_ptr<CURLM, MultiDeleter> multi;

  explicit SharedMulti(std::size_t max_transfers) {
    EnsureCurlInitialised();
    multi.reset(curl_multi_init());
    if (!multi) return;
    curl_multi_setopt(multi.get(), CURLMOPT_MAX_HOST_CONNECTIONS,
                      static_cast<long>(kMaxTransfersPerHost));
    curl_multi_setopt(multi.get(), CURLMOPT_MAX_TOTAL_CONNECTIONS,
                      static_cast<long>(max_transfers));
    curl_multi_setopt(multi.get(), CURLMOPT_PIPELINING, CURLPIPE_MULTIPLEX);
  }
};

NetTransferPool::NetTransferPool(std::size_t max_transfers)
    : max_transfers_(std::max<std::size_t>(max_transfers, 1)),
      timeouts_(GetNetTimeouts()),
      shared_(std::make_unique<SharedMulti>(max_transfers_)) {
  if (!shared_->multi) return;
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // Queue fails every download then.
  }
}

NetTransferPool::~NetTransferPool() {
  {
    const std::lock_guard<std::mutex> hold(lock_);
    quit_ = true;
  }
  cancel_ = true;
  Wake();
  if (thread_.joinable()) thread_.join();
  for (const auto& [ticket, download] : downloads_) {
    if (download->state == Download::State::kEnded && download->result.ok)
      DeleteFile(download->path);
  }
}

NetTransferPool::Ticket NetTransferPool::Queue(const NetRequest& request, const std::string& path,
                                               std::uint64_t max_bytes, Turn turn) {
  auto download = std::make_unique<Download>();
  download->request = request;
  download->path = path;
  download->host = HostOf(request.url);
  download->max_bytes = max_bytes;
  download->turn = turn;
  if (!thread_.joinable()) {
    download->state = Download::State::kEnded;
    download->result = NetResult::Failure(FileErrorText(EAGAIN));
  }
  const std::lock_guard<std::mutex> hold(lock_);
  const Ticket ticket = next_ticket_++;
  downloads_.emplace(ticket, std::move(download));
  Wake();
  return ticket;
}

bool NetTransferPool::WaitFor(Ticket ticket, std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> hold(lock_);
  const auto ended = [&] {
    const auto found = downloads_.find(ticket);
    return found == downloads_.end() || found->second->state == Download::State::kEnded;
  };
  ended_.wait_for(hold, wait, ended);
  return downloads_.contains(ticket) && ended();
}

NetResult NetTransferPool::Take(Ticket ticket, NetResponse* response) {
  const std::lock_guard<std::mutex> hold(lock_);
  const auto found = downloads_.find(ticket);
  if (found == downloads_.end() || found->second->state != Download::State::kEnded)
    return NetResult::Failure(kCancelledText);
  if (response != nullptr) *response = std::move(found->second->response);
  NetResult result = std::move(found->second->result);
  downloads_.erase(found);
  return result;
}

void NetTransferPool::Drop(Ticket ticket) {
  const std::lock_guard<std::mutex> hold(lock_);
  const auto found = downloads_.find(ticket);
  if (found == downloads_.end()) return;
  Download& download = *found->second;
  switch (download.state) {
    case Download::State::kRunning:
      // Only the pool's thread may end a transfer.
      download.dropped = true;
      Wake();
      return;
    case Download::State::kEnded:
      if (download.result.ok) DeleteFile(download.path);
      break;
    case Download::State::kQueued:
      break;
  }
  downloads_.erase(found);
}

void NetTransferPool::CancelAll() {
  cancel_ = true;
  Wake();
}

// The pool's thread: starts what may start, drives the shared multi handle,
// ends what has ended, and sleeps until the network or a caller wakes it.
void NetTransferPool::Run() {
  const NetCancelScope scope(cancel_);
  CURLM* multi = shared_->multi.get();
  std::unique_lock<std::mutex> hold(lock_);
  while (!quit_) {
    RemoveDropped();
    StartQueued();
    int running = 0;
    curl_multi_perform(multi, &running);
    CollectEnds();
    // A download that ended made room: the next one starts at once rather
    // than after the network's next word, which may be a poll interval away.
    if (EndFinished()) continue;
    hold.unlock();
    curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
    hold.lock();
  }
  for (auto& [ticket, download] : downloads_) {
    download->transfer.reset();
    download->part.reset();
  }
}

// A dropped download may have ended meanwhile: its file goes with it.
void NetTransferPool::RemoveDropped() {
  std::erase_if(downloads_, [](const auto& entry) {
    const Download& download = *entry.second;
    if (!download.dropped) return false;
    if (download.state == Download::State::kEnded && download.result.ok) DeleteFile(download.path);
    return true;
  });
}

// Starts queued downloads, those queued to go first before the others, each
// kind in queue order, while the pool has room, passing over those whose host
// has its share already.
void NetTransferPool::StartQueued() {
  std::size_t running = 0;
  std::map<std::string, std::size_t> per_host;
  for (const auto& [ticket, download] : downloads_) {
    if (download->state != Download::State::kRunning) continue;
    ++running;
    ++per_host[download->host];
  }
  StartQueued(Turn::kFirst, running, per_host);
  StartQueued(Turn::kInOrder, running, per_host);
}

void NetTransferPool::StartQueued(Turn turn, std::size_t& running,
                                  std::map<std::string, std::size_t>& per_host) {
  for (auto& [ticket, download] : downloads_) {
    if (running >= max_transfers_) return;
    if (download->state != Download::State::kQueued || download->turn != turn) continue;
    if (per_host[download->host] >= kMaxTransfersPerHost) continue;
    if (!Start(*download)) continue;
    ++running;
    ++per_host[download->host];
  }
}

// True when the download's transfer is running; otherwise it has ended with
// the reason it could not start.
bool NetTransferPool::Start(Download& download) {
  download.part = std::make_unique<PartFile>(download.path);
  if (!download.part->IsOpen()) {
    End(download, NetResult::Failure(FileErrorText(download.part->error())));
    return false;
  }
  PartFile& part = *download.part;
  download.transfer =
      std::make_unique<NetTransfer>(timeouts_, download.max_bytes, [&part](std::string_view bytes) {
        return part.Write(bytes) ? NetResult::Success()
                                 : NetResult::Failure(FileErrorText(part.error()));
      });
  const NetResult started = download.transfer->StartIn(shared_->multi.get(), download.request);
  if (!started.ok) {
    End(download, started);
    return false;
  }
  curl_easy_setopt(download.transfer->EasyHandle(), CURLOPT_PRIVATE, &download);
  download.state = Download::State::kRunning;
  return true;
}

void NetTransferPool::CollectEnds() {
  int waiting = 0;
  while (const CURLMsg* message = curl_multi_info_read(shared_->multi.get(), &waiting)) {
    if (message->msg != CURLMSG_DONE) continue;
    Download* download = nullptr;
    curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &download);
    if (download != nullptr && download->transfer)
      download->transfer->TakeEnd(message->data.result);
  }
}

// Ends every running download whose transfer ended or passed a limit; true
// when any did.
bool NetTransferPool::EndFinished() {
  bool ended = false;
  for (auto& [ticket, download] : downloads_) {
    if (download->state != Download::State::kRunning) continue;
    NetTransfer& transfer = *download->transfer;
    if (!transfer.Ended() && transfer.WithinLimits()) continue;
    NetResult result = transfer.Result();
    download->response = transfer.Response();
    // A document that was not modified leaves the caller's copy as it was:
    // the part file goes unused.
    if (result.ok && !download->response.not_modified && !download->part->Commit())
      result = NetResult::Failure(FileErrorText(download->part->error()));
    End(*download, std::move(result));
    ended = true;
  }
  return ended;
}

// Frees the download's connection and part file and tells the waiters.
void NetTransferPool::End(Download& download, NetResult result) {
  download.transfer.reset();
  download.part.reset();
  download.result = std::move(result);
  download.state = Download::State::kEnded;
  ended_.notify_all();
}

void NetTransferPool::Wake() {
  if (shared_->multi) curl_multi_wakeup(shared_->multi.get());
}

}  // namespace tavi::platform
