#pragma once

// Downloading documents over http, https and file URLs, in the two forms the
// system offers:
//
// - The URL-moniker download (`UrlDownloadToFile`): one call that fetches a
//   URL into a file. The document arrives in a part file beside the target
//   (part_file.h) that takes the target's place only when the whole of it
//   arrived, so a failure leaves no file and an existing target untouched.
//
// - The internet session (`InternetSession`, `InternetFile`): open a
//   session, open a URL, read the body in blocks. Opening a URL succeeds once
//   the header of the answer has arrived. Whoever writes the blocks to a file
//   must keep a failure midway from leaving part of the document.
//
// Both follow redirects (to http and https only, at most 20 in a row), ask
// every cache on the way for a fresh copy, name Tavi and its version as the
// user agent, accept the document compressed (gzip, deflate, br) and hand on
// the bytes decompressed, and use the proxy settings of the environment. A
// request may carry the validators of a copy the caller holds; a server that
// answers 304 Not Modified then sends no document, and the call succeeds
// without one. Neither retries. Every failure carries a text fit for a
// message box that says what happened:
//
// - An HTTP error status (400 and above) names the status and the server's
//   reason phrase: "The server answered 404 Not Found." The error page is
//   never read.
// - A redirect to another scheme, or more than 20 redirects, fails:
//   "The server redirected to an address that is not http or https."
// - A document over the caller's byte limit ends the transfer at once, by its
//   announced length or by its bytes, for file URLs too: "The document is
//   larger than the limit of 64 MiB."
// - A dead or crawling server cannot hang a caller: connecting, silence and a
//   pace under the low-speed floor each have a time limit (NetTimeouts), and
//   the text names the limit: "The operation timed out: no data for 60 s."
// - CancelNetTransfers ends every transfer within a fifth of a second: "The
//   operation was cancelled."; a NetCancelScope ends those of one thread.
//
// Every function may be called from any thread; a session and the files
// opened through it belong to the thread that uses them.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace tavi::platform {

// The outcome of a network operation: success, or the failure's error text.
struct NetResult {
  bool ok = true;
  std::string error;

  static NetResult Success() { return {}; }
  static NetResult Failure(std::string error) { return {false, std::move(error)}; }
};

// The time limits of every transfer, process-wide. Each is checked between
// short waits, so it is noticed up to a tenth of a second late.
struct NetTimeouts {
  // Establishing the connection (name resolution included); then the
  // transfer fails with "The operation timed out: no connection after 60 s."
  std::chrono::milliseconds connect{60000};
  // A transfer that receives no byte for this long (counted from its start)
  // fails with "The operation timed out: no data for 60 s."
  std::chrono::milliseconds idle{60000};
  // A transfer that moves under this many bytes a second, and has not caught
  // up for `low_speed_time`, fails with "The operation timed out: under 100
  // bytes a second for 60 s."; a floor of 0 turns this limit off.
  std::uint64_t low_speed_bytes_per_second = 100;
  std::chrono::milliseconds low_speed_time{60000};

  // The platform's defaults above.
  static NetTimeouts Defaults() { return {}; }
};

// The limits in force; NetTimeouts::Defaults() until SetNetTimeouts is called.
NetTimeouts GetNetTimeouts();
// Sets the limits for every transfer that starts afterwards.
void SetNetTimeouts(const NetTimeouts& timeouts);

// Makes every transfer in progress, and every one started afterwards, fail
// within a fifth of a second with "The operation was cancelled.", until
// ResetNetCancel. Safe to call from a signal handler: it only stores to a
// lock-free atomic.
void CancelNetTransfers();
// Lets transfers run again after CancelNetTransfers.
void ResetNetCancel();
// True from CancelNetTransfers until ResetNetCancel.
bool NetTransfersCancelled();

// Cancels only the transfers of the thread that holds it: while it exists,
// every transfer that thread runs fails within a fifth of a second with
// "The operation was cancelled." once `cancel` is true, as after
// CancelNetTransfers; other threads' transfers go on. Another thread sets
// `cancel`, which must outlive the scope. One scope per thread at a time.
class NetCancelScope {
 public:
  explicit NetCancelScope(const std::atomic<bool>& cancel);
  ~NetCancelScope();
  NetCancelScope(const NetCancelScope&) = delete;
  NetCancelScope& operator=(const NetCancelScope&) = delete;
};

// The byte limit that lets a document be of any size.
inline constexpr std::uint64_t kNoByteLimit = 0;

// What is asked of the server: the address, and the validators of the copy
// the caller already holds, if any. A validator that is "" (or holds a line
// break) is not sent.
struct NetRequest {
  std::string url;
  std::string if_none_match;      // the copy's ETag
  std::string if_modified_since;  // the copy's Last-Modified

  bool operator==(const NetRequest&) const = default;
};

// What a transfer learned of the answer: the header facts once the header of
// the final answer arrived, the rest once the transfer ended.
struct NetResponse {
  long status = 0;        // the final answer's status; 0 for a file URL
  std::string final_url;  // the address the document came from, after redirects
  std::string charset;    // the Content-Type's charset parameter; "" when none
  std::string etag;       // the final answer's validators; "" when it sent none
  std::string last_modified;
  // The answer was 304: the caller's copy is current, and no document came
  // (a body the server sent anyway is dropped).
  bool not_modified = false;
  // When the redirects began with permanent ones (301, 308), the address
  // after the last of them: where the requested document now lives. A
  // temporary redirect (302, 303, 307) ends that beginning. "" when the first
  // answer was no permanent redirect.
  std::string moved_to;
};

// True when `url` is a complete http or https URL as libcurl's URL parser
// reads it, with nothing around it (white space included): the kind of link
// a page may be fetched from on a document's say-so. False for file URLs,
// other schemes, and relative or malformed URLs.
bool IsWebAddress(const std::string& url);

// `text` percent-encoded as one query value of a URL: every byte but the
// letters, digits and "-._~" becomes %XX, so that "&", "=", "?" and "#"
// inside it stay part of the value.
std::string EncodeQueryValue(std::string_view text);

// The system's text for a failed file operation with this errno value, as a
// download reports a target it cannot create or write ("Access is denied.").
std::string FileErrorText(int error_number);

// The URL-moniker download: fetches `url` into the file `path`, replacing it.
// A document of more than `max_bytes` bytes (kNoByteLimit: no limit) fails as
// soon as its announced length or its bytes pass the limit. On failure no file
// is created and an existing one is left as it was; the error text says why.
NetResult UrlDownloadToFile(const std::string& url, const std::string& path,
                            std::uint64_t max_bytes);

// The same for `request`, filling `*response` (which may be null) with what
// the transfer learned, on failure too as far as it got. A 304 answer is a
// success that leaves the file at `path` as it was, or absent.
NetResult UrlDownloadToFile(const NetRequest& request, const std::string& path,
                            std::uint64_t max_bytes, NetResponse* response);

class InternetFile;

// An internet session: the settings that the URLs opened through it share
// (the platform's agent name and proxy settings, and the timeouts in force
// when the session was opened).
class InternetSession {
 public:
  InternetSession();
  ~InternetSession();
  InternetSession(const InternetSession&) = delete;
  InternetSession& operator=(const InternetSession&) = delete;

  // Connects, sends the request for `url` and waits for the response header,
  // following redirects. On success `*file` reads the body; on failure
  // `*file` is null and the result holds the error text (an HTTP error status
  // included). A body of more than `max_bytes` bytes (kNoByteLimit: no limit)
  // fails the opening when its announced length passes the limit, or else the
  // read that passes it.
  NetResult OpenUrl(const std::string& url, std::uint64_t max_bytes,
                    std::unique_ptr<InternetFile>* file) const;
  // The same for `request`. After a 304 answer the file opens and its body
  // is empty; its Response() says not_modified.
  NetResult OpenUrl(const NetRequest& request, std::uint64_t max_bytes,
                    std::unique_ptr<InternetFile>* file) const;

 private:
  NetTimeouts timeouts_;
};

// An opened URL: the response body, read in blocks. Closing (destroying) it
// ends the transfer at once.
class InternetFile {
 public:
  ~InternetFile();
  InternetFile(const InternetFile&) = delete;
  InternetFile& operator=(const InternetFile&) = delete;

  // Reads up to buffer.size() bytes of the body, waiting for them when none
  // has arrived yet. `*count` is the number of bytes placed in the buffer; 0
  // with success means the body has ended. A failure (the connection broke,
  // the idle timeout passed) comes after every byte that arrived before it
  // was read, and repeats on every later call. After CancelNetTransfers every
  // read fails at once, whatever arrived.
  NetResult Read(std::span<char> buffer, std::size_t* count);

  // What the transfer learned of the answer so far: the header facts from
  // the opening on, the final address and status once a read reached the end.
  const NetResponse& Response() const;

 private:
  friend class InternetSession;
  struct Transfer;
  explicit InternetFile(std::unique_ptr<Transfer> transfer);

  std::unique_ptr<Transfer> transfer_;
};

}  // namespace tavi::platform
