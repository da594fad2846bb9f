#include "fetch/downloader.h"

#include <array>
#include <cassert>
#include <cerrno>
#include <future>
#include <optional>
#include <system_error>

#include "files/file_names.h"
#include "platform/fs.h"
#include "platform/net.h"
#include "platform/part_file.h"
#include "store/cache_answer.h"
#include "store/pacing.h"

namespace tavi {
namespace {

constexpr std::size_t kTransferBufferSize = 512;
constexpr std::size_t kMaxMessageLength = 255;

platform::NetResult FileFailure(const platform::PartFile& file) {
  return platform::NetResult::Failure(platform::FileErrorText(file.error()));
}

// Reads the opened URL to its end and appends every block to `out`.
platform::NetResult CopyBody(platform::InternetFile& body, platform::PartFile& out) {
  std::array<char, kTransferBufferSize> buffer{};
  for (;;) {
    std::size_t count = 0;
    const platform::NetResult read = body.Read(buffer, &count);
    if (!read.ok) return read;
    if (count == 0) return platform::NetResult::Success();
    if (!out.Write({buffer.data(), count})) return FileFailure(out);
  }
}

// The download's steps: part file, session, URL, blocks, the part file in the
// target's place. `*committed`, when asked for, is the version of the document
// that took the target's place.
platform::NetResult DownloadSteps(const platform::NetRequest& request, const std::string& path,
                                  std::uint64_t max_bytes, platform::NetResponse* response,
                                  std::optional<platform::FileVersion>* committed = nullptr) {
  // The part file comes first: nothing is fetched that cannot be stored.
  platform::PartFile part(path);
  if (!part.IsOpen()) return FileFailure(part);
  const platform::InternetSession session;
  std::unique_ptr<platform::InternetFile> body;
  const platform::NetResult opened = session.OpenUrl(request, max_bytes, &body);
  if (!opened.ok) return opened;
  const platform::NetResult copied = CopyBody(*body, part);
  *response = body->Response();
  if (!copied.ok) return copied;
  // The caller's copy is current: the target stays as it was.
  if (response->not_modified) return platform::NetResult::Success();
  // Read before the commit, which keeps it: afterwards an import may already
  // have taken the target, or another download replaced it.
  if (committed != nullptr) *committed = platform::GetFileVersion(part.path());
  if (!part.Commit()) return FileFailure(part);
  return platform::NetResult::Success();
}

platform::NetResult DownloadSteps(const std::string& url, const std::string& path,
                                  std::uint64_t max_bytes) {
  platform::NetResponse response;
  return DownloadSteps(platform::NetRequest{url, "", ""}, path, max_bytes, &response);
}

void DeleteStaleTarget(const std::string& path, DeleteMode mode) {
  if (mode == DeleteMode::kNone || !FileExists(path)) return;
  const bool deleted = platform::DeleteFile(path);
  if (deleted && mode == DeleteMode::kDeleteAndWait) PaceWait(&Pacing::after_deleting_feed_file);
}

std::string MessageOf(const platform::NetResult& result) {
  return result.ok ? kAllDataDownloadedText : result.error.substr(0, kMaxMessageLength);
}

// An answer that cannot be kept costs the import only what the cache gave
// before answers were kept: the download stays a success.
void ServeRequest(const DownloadRequest& request) {
  platform::NetResponse response;
  std::optional<platform::FileVersion> document;
  const platform::NetResult result =
      DownloadSteps(request.Request, request.CachePath, request.MaxBytes, &response, &document);
  if (result.ok && document)
    WriteCacheAnswer(request.CachePath, *document, {request.Request.url, response});
  const std::string text = MessageOf(result);
  // A transfer cancelled because the program is stopping is no news to the
  // user, and a box would hold up the stop.
  if (!result.ok && !platform::NetTransfersCancelled())
    platform::MessageBox({}, text, "", platform::MB_OK);
  if (request.Finished) request.Finished(result.ok, text);
}

// The body of a download thread: makes its queue, tells the creator its
// number, then waits for the request.
void RunDownloadThread(std::promise<platform::ThreadId> started) {
  started.set_value(platform::EnsureMessageQueue());
  platform::Message message;
  while (platform::GetMessage(message)) {
    const bool is_request = !message.window && message.message == kDownloadRequestMessage;
    if (!is_request) {
      platform::DispatchMessage(message);
      continue;
    }
    const std::unique_ptr<DownloadRequest> request(
        reinterpret_cast<DownloadRequest*>(message.lparam));
    if (request) ServeRequest(*request);
    return;
  }
}

}  // namespace

bool DownloadToFile(const std::string& url, const std::string& path, std::uint64_t max_bytes) {
  return DownloadSteps(url, path, max_bytes).ok;
}

bool DownloadToFile(const std::string& url, const std::string& path, std::uint64_t max_bytes,
                    std::string* message) {
  assert(message != nullptr && "the form with message needs a place for it");
  const platform::NetResult result = DownloadSteps(url, path, max_bytes);
  *message = MessageOf(result);
  return result.ok;
}

platform::NetResult FetchToFile(const std::string& url, const std::string& path, DeleteMode mode,
                                std::uint64_t max_bytes) {
  platform::NetResponse response;
  return FetchToFile(platform::NetRequest{url, "", ""}, path, mode, max_bytes, &response);
}

platform::NetResult FetchToFile(const platform::NetRequest& request, const std::string& path,
                                DeleteMode mode, std::uint64_t max_bytes,
                                platform::NetResponse* response) {
  assert(response != nullptr && "FetchToFile needs a place for the response");
  DeleteStaleTarget(path, mode);
  // Only the file decides whether the fallback runs, not the moniker's
  // result; a 304 is the one success that brings no file.
  platform::NetResult last = platform::UrlDownloadToFile(request, path, max_bytes, response);
  if (last.ok && response->not_modified) return last;
  if (!FileExists(path)) last = DownloadSteps(request, path, max_bytes, response);
  if (last.ok && response->not_modified) return last;
  if (FileExists(path)) return platform::NetResult::Success();
  // A success without a file: someone removed it at once.
  return last.ok ? platform::NetResult::Failure(platform::FileErrorText(ENOENT)) : last;
}

cwtDownloadFile::~cwtDownloadFile() {
  if (thread_.joinable()) thread_.detach();
}

bool cwtDownloadFile::CreateThread() {
  if (thread_.joinable()) return false;
  std::promise<platform::ThreadId> started;
  std::future<platform::ThreadId> thread_id = started.get_future();
  try {
    thread_ = std::thread(RunDownloadThread, std::move(started));
  } catch (const std::system_error&) {
    return false;
  }
  thread_id_ = thread_id.get();
  return true;
}

void cwtDownloadFile::WaitUntilEnded() {
  if (thread_.joinable()) thread_.join();
}

std::unique_ptr<cwtDownloadFile> StartBackgroundDownload(DownloadRequest request) {
  auto thread = std::make_unique<cwtDownloadFile>();
  if (!thread->CreateThread()) return nullptr;
  PaceWait(&Pacing::download_thread_start);
  auto payload = std::make_unique<DownloadRequest>(std::move(request));
  const bool posted =
      platform::PostThreadMessage(thread->ThreadId(), kDownloadRequestMessage, 0,
                                  reinterpret_cast<platform::LParam>(payload.get()));
  if (!posted) return nullptr;
  payload.release();  // the thread owns it now
  return thread;
}

}  // namespace tavi
