#pragma once

// Fetching a document into a local file. The foreground callers use
// FetchToFile: the URL-moniker download first, the program's own download
// (DownloadToFile) when that left no file; they judge success by whether the
// file exists afterwards, and FetchToFile tells why there is none. The
// background checker hands each download to a short-lived cwtDownloadFile
// thread, which reports a failure in a message box.
//
// Neither form retries, and neither parses anything: the file holds the
// document the server sent, decompressed when it came compressed. Both write into a part file
// beside the target (platform/part_file.h), which takes the target's place only when the whole
// document arrived: a failure leaves no file and an existing target as it
// was. A server's error status (404, 500) is a failure.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/net.h"
#include "platform/winsys.h"

namespace tavi {

// The largest feed document a check or a title look-up takes, and the largest
// web page that goes into a message as the full article. A larger one fails
// its download; the bytes that arrived are not kept.
inline constexpr std::uint64_t kMaxFeedDocumentBytes = 64 * 1024 * 1024;
inline constexpr std::uint64_t kMaxFullArticleBytes = 16 * 1024 * 1024;

// The text DownloadToFile gives back on success.
inline constexpr char kAllDataDownloadedText[] = "All data downloaded successfully.";

// The program's own download: creates a part file beside `path`, opens `url`
// in an internet session and writes the body into the part file in blocks of
// up to 512 bytes; the part file then replaces the file at `path`. True when
// the whole body arrived. False on any internet or file error, and for a body
// of more than `max_bytes` bytes (platform::kNoByteLimit: no limit); no file
// is left then, and a file already at `path` is untouched.
bool DownloadToFile(const std::string& url, const std::string& path, std::uint64_t max_bytes);

// The same, giving back in `*message` kAllDataDownloadedText on success or the
// error's own text (at most 255 characters) on failure.
bool DownloadToFile(const std::string& url, const std::string& path, std::uint64_t max_bytes,
                    std::string* message);

// What FetchToFile does with a file already at the target path.
enum class DeleteMode {
  kNone,           // leave it (the download replaces it)
  kDelete,         // delete it first
  kDeleteAndWait,  // delete it first and, when that succeeded, pause (the
                   // pacing's after_deleting_feed_file)
};

// The foreground fetch: treats an existing target per `mode`, downloads `url`
// into `path` with the URL-moniker download and, when no file resulted, with
// DownloadToFile, each with the byte limit `max_bytes`. Ok when a file is at
// `path` afterwards (which may be one the moniker left alone under
// DeleteMode::kNone): that is how every caller judges success. Otherwise the
// error text of the last attempt.
platform::NetResult FetchToFile(const std::string& url, const std::string& path, DeleteMode mode,
                                std::uint64_t max_bytes);

// The same for `request`, which may carry the validators of the copy the
// caller holds, giving back in `*response` (not null) what the last attempt
// learned of the answer: its charset, validators, final address and a
// permanent move. When the server answers 304 (response->not_modified) the
// result is ok and the target is as the delete mode left it: absent after
// kDelete or kDeleteAndWait.
platform::NetResult FetchToFile(const platform::NetRequest& request, const std::string& path,
                                DeleteMode mode, std::uint64_t max_bytes,
                                platform::NetResponse* response);

// The payload of kDownloadRequestMessage: the file to write, what to ask
// the server (the address, and the validators of the copy the feed's last
// completed check read) and the byte limit (a feed document's unless the
// sender says otherwise). The sender allocates it; the receiving thread takes
// it over.
struct DownloadRequest {
  std::string CachePath;
  platform::NetRequest Request;
  std::uint64_t MaxBytes = kMaxFeedDocumentBytes;
  // When set, called on the download thread once the request is served
  // (after any message box), with the outcome and the message text, so that
  // the sender can tell when the thread is about to end.
  std::function<void(bool ok, const std::string& message)> Finished = nullptr;
};

// The one thread message a download thread serves (WM_APP + 32): wparam 0,
// lparam a DownloadRequest* that the thread takes over.
inline constexpr platform::MessageId kDownloadRequestMessage = platform::WM_APP + 32;

// A worker thread with its own message queue that serves one download
// request: it downloads the request into its cache path as DownloadToFile
// does, with the request's byte limit and validators, and, when that fails,
// shows the message text in a plain message box (OK only, no caption of its
// own), unless network transfers were cancelled (the program is stopping);
// then it calls the request's Finished and ends. When the document arrived,
// what the server answered is kept beside it (store/cache_answer.h) for the
// cache import; a 304 is a success that leaves the cache path, and any
// answer kept beside it, as they were. Messages other than the request that
// reach it first are dispatched as usual; a quit request ends the thread
// unserved, and ends a message box it shows with the box's default answer.
class cwtDownloadFile {
 public:
  cwtDownloadFile() = default;
  // Does not wait: a thread that was started runs on by itself.
  ~cwtDownloadFile();
  cwtDownloadFile(const cwtDownloadFile&) = delete;
  cwtDownloadFile& operator=(const cwtDownloadFile&) = delete;

  // Starts the thread and returns once its message queue exists, so that a
  // request posted afterwards cannot be lost. False when the thread cannot be
  // started (or was started already).
  bool CreateThread();

  // The thread's number for PostThreadMessage; 0 until CreateThread succeeded.
  platform::ThreadId ThreadId() const { return thread_id_; }

  // Waits until the thread has ended. Only for a thread that was given a
  // request (or a quit message): otherwise it waits for ever.
  void WaitUntilEnded();

 private:
  std::thread thread_;
  platform::ThreadId thread_id_ = 0;
};

// Starts a background download as the checker does: creates a cwtDownloadFile
// thread, pauses (the pacing's download_thread_start) and posts it the
// request. Nothing waits for the download. Returns the thread object, which
// the caller may drop at once, or null when the thread could not be started
// or given the request (nothing is downloaded then).
std::unique_ptr<cwtDownloadFile> StartBackgroundDownload(DownloadRequest request);

}  // namespace tavi
