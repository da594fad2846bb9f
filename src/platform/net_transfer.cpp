#include "platform/net_transfer.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/net_errors.h"
#include "platform/net_headers.h"
#include "platform/net_url.h"
#include "version.h"

namespace tavi::platform {
namespace {

// The longest single wait for network activity. Limits and the cancel are
// checked between waits, so this is also how late they may be noticed.
constexpr int kPollMilliseconds = 100;
constexpr char kUserAgent[] = TAVI_PRODUCT_NAME "/" TAVI_VERSION_TEXT;
// Offers every encoding this libcurl decodes (gzip, deflate and br), which it
// then undoes: the body handed on is the document itself.
constexpr char kEveryEncoding[] = "";
// A reason phrase is the server's text and goes into a message box: longer
// ones are cut.
constexpr std::size_t kMaxReasonLength = 80;

// A signal handler may set it, so it must be lock-free.
std::atomic<bool> cancel_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "CancelNetTransfers must be signal-safe");

// The cancel of the thread's NetCancelScope, if it holds one.
thread_local const std::atomic<bool>* thread_cancel = nullptr;

// The request headers: those that make every cache on the way fetch a fresh
// copy, and the validators of the caller's copy. Null when out of memory.
curl_slist* MakeRequestHeaders(const NetRequest& request) {
  std::vector<std::string> lines = {"Cache-Control: no-cache", "Pragma: no-cache"};
  if (IsSendableHeaderValue(request.if_none_match))
    lines.push_back("If-None-Match: " + request.if_none_match);
  if (IsSendableHeaderValue(request.if_modified_since))
    lines.push_back("If-Modified-Since: " + request.if_modified_since);
  curl_slist* list = nullptr;
  for (const std::string& line : lines) {
    curl_slist* longer = curl_slist_append(list, line.c_str());
    if (longer == nullptr) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = longer;
  }
  return list;
}

bool IsPermanentRedirect(long status) { return status == 301 || status == 308; }

bool IsBlankLine(std::string_view line) { return line == "\r\n" || line == "\n"; }

bool IsStatusLine(std::string_view line) { return line.starts_with("HTTP/"); }

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The reason phrase of a status line ("HTTP/1.1 404 Not Found\r\n"): what
// follows the version and the status code; "" when the server sent none.
std::string ReasonPhraseOf(std::string_view status_line) {
  const std::string_view line = status_line.substr(0, status_line.find_first_of("\r\n"));
  const auto code = line.find(' ');
  if (code == std::string_view::npos) return "";
  const auto reason = line.find(' ', code + 1);
  if (reason == std::string_view::npos) return "";
  return std::string(TrimBlanks(line.substr(reason + 1)).substr(0, kMaxReasonLength));
}

}  // namespace

void EnsureCurlInitialised() {
  static std::once_flag once;
  // The result is deliberately unchecked: a library that did not initialise
  // makes every easy handle fail, which each transfer reports on its own.
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void CancelNetTransfers() { cancel_requested.store(true); }

void ResetNetCancel() { cancel_requested.store(false); }

bool NetTransfersCancelled() { return cancel_requested.load(); }

bool TransferCancelled() {
  return NetTransfersCancelled() || (thread_cancel != nullptr && thread_cancel->load());
}

NetCancelScope::NetCancelScope(const std::atomic<bool>& cancel) { thread_cancel = &cancel; }

NetCancelScope::~NetCancelScope() { thread_cancel = nullptr; }

NetTransfer::NetTransfer(const NetTimeouts& timeouts, std::uint64_t max_bytes, BodySink sink)
    : timeouts_(timeouts),
      max_bytes_(max_bytes),
      sink_(std::move(sink)),
      pace_(timeouts, TransferPace::Clock::now()) {
  EnsureCurlInitialised();
  easy_.reset(curl_easy_init());
}

NetTransfer::~NetTransfer() { Detach(); }

NetResult NetTransfer::Start(const std::string& url) { return Start(NetRequest{url, "", ""}); }

NetResult NetTransfer::Start(const NetRequest& request) {
  own_multi_.reset(curl_multi_init());
  return Attach(own_multi_.get(), request);
}

NetResult NetTransfer::StartIn(CURLM* shared, const NetRequest& request) {
  assert(shared != nullptr && "a pool's transfer needs the pool's multi handle");
  return Attach(shared, request);
}

// The request set up and added to `multi` (null when none could be made).
NetResult NetTransfer::Attach(CURLM* multi, const NetRequest& request) {
  if (TransferCancelled()) return NetResult::Failure(kCancelledText);
  multi_ = multi;
  const CURLcode code = Configure(request);
  if (code != CURLE_OK) return CurlFailure(code);
  if (curl_multi_add_handle(multi_, easy_.get()) != CURLM_OK) {
    return CurlFailure(CURLE_OUT_OF_MEMORY);
  }
  added_ = true;
  pace_ = TransferPace(timeouts_, TransferPace::Clock::now());
  return NetResult::Success();
}

void NetTransfer::Detach() {
  if (added_) curl_multi_remove_handle(multi_, easy_.get());
  added_ = false;
}

void NetTransfer::TakeEnd(CURLcode code) {
  ended_ = true;
  code_ = code;
  NoteFinalAnswer();
}

// The URL, the protocols, redirects, the request headers, the agent, the
// encodings, the connect timeout and the callbacks. CURLE_OK, or why the
// request cannot be made.
CURLcode NetTransfer::Configure(const NetRequest& request) {
  headers_.reset(MakeRequestHeaders(request));
  if (!easy_ || !multi_ || !headers_) return CURLE_OUT_OF_MEMORY;
  const std::string& url = request.url;
  // curl would guess "http://" for a URL without a scheme, which the system
  // never does.
  if (!UrlScheme(url)) return CURLE_URL_MALFORMAT;
  CURL* easy = easy_.get();
  const long connect_ms = static_cast<long>(timeouts_.connect.count());
  const CURLcode results[] = {
      curl_easy_setopt(easy, CURLOPT_URL, url.c_str()),
      curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https,file"),
      curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"),
      curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L),
      curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects),
      curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_.get()),
      curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent),
      curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, kEveryEncoding),
      // Threads other than the main one run transfers: no signals for
      // name-resolution timeouts.
      curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L),
      curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, std::max(connect_ms, 1L)),
      curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, ReceiveBody),
      curl_easy_setopt(easy, CURLOPT_WRITEDATA, this),
      curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, ReceiveHeader),
      curl_easy_setopt(easy, CURLOPT_HEADERDATA, this),
  };
  for (const CURLcode result : results) {
    if (result != CURLE_OK) return result;
  }
  return CURLE_OK;
}

size_t NetTransfer::ReceiveBody(char* data, size_t size, size_t count, void* user) {
  const std::size_t length = size * count;
  return static_cast<NetTransfer*>(user)->TakeBody({data, length}) ? length : 0;
}

size_t NetTransfer::ReceiveHeader(char* data, size_t size, size_t count, void* user) {
  const std::size_t length = size * count;
  return static_cast<NetTransfer*>(user)->TakeHeaderLine({data, length}) ? length : 0;
}

// A file URL is read whole inside one drive, so its blocks are where a cancel
// can be noticed.
bool NetTransfer::TakeBody(std::string_view bytes) {
  NoteBytes(bytes.size());
  // Whatever a 304 carries is not the document, which the caller holds.
  if (response_.not_modified) return true;
  body_bytes_ += bytes.size();
  if (TransferCancelled()) {
    Stop(NetResult::Failure(kCancelledText));
    return false;
  }
  if (Exceeds(static_cast<curl_off_t>(body_bytes_))) {
    Stop(NetResult::Failure(TooLargeText(max_bytes_)));
    return false;
  }
  NetResult taken = sink_(bytes);
  if (taken.ok) return true;
  Stop(std::move(taken));
  return false;
}

// Each header line goes to its answer: a status line starts one, a field
// adds to it, and the blank line ends its header. False ends the transfer.
bool NetTransfer::TakeHeaderLine(std::string_view line) {
  NoteBytes(line.size());
  if (IsStatusLine(line)) {
    StartAnswer();
    reason_ = ReasonPhraseOf(line);
    return true;
  }
  if (IsBlankLine(line)) return EndHeader();
  NoteHeaderField(line);
  return true;
}

// A new answer begins: after an interim answer (1xx), or from the target of a
// redirect, whose address is now the transfer's. The header facts kept are
// the final answer's.
void NetTransfer::StartAnswer() {
  if (following_permanent_) response_.moved_to = EffectiveUrl();
  following_permanent_ = false;
  redirecting_ = false;
  response_.etag.clear();
  response_.last_modified.clear();
  response_.charset.clear();
  compressed_ = false;
}

void NetTransfer::NoteHeaderField(std::string_view line) {
  const std::optional<HeaderField> field = ParseHeaderField(line);
  if (!field) return;
  if (IsHeaderNamed(*field, "ETag")) response_.etag = field->value;
  if (IsHeaderNamed(*field, "Last-Modified")) response_.last_modified = field->value;
  if (IsHeaderNamed(*field, "Content-Type")) response_.charset = CharsetParameter(field->value);
  if (IsHeaderNamed(*field, "Content-Encoding")) compressed_ = true;
}

// The blank line that ends a header block completes the answer's header,
// unless the block is an interim answer (1xx) or a redirection (3xx): curl
// follows a redirection, or ends the transfer when it cannot. A 304 is a
// final answer without a document. False ends the transfer: an error status
// is a failure, and its page is of no use; so is a body announced longer
// than the limit.
bool NetTransfer::EndHeader() {
  const long status = ResponseStatus();
  if (status < 200) return true;
  if (status == 304) {
    response_.not_modified = true;
    header_complete_ = true;
    NoteFinalAnswer();
    return true;
  }
  if (status >= 300 && status < 400) {
    NoteRedirect(status);
    return true;
  }
  if (status >= 400) {
    Stop(NetResult::Failure(HttpStatusText(status, reason_)));
    return false;
  }
  curl_off_t announced = -1;
  // A compressed answer announces its compressed length, which says nothing
  // of the document's: its bytes are counted as they unpack instead.
  if (!compressed_) curl_easy_getinfo(easy_.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
  if (Exceeds(announced)) {
    Stop(NetResult::Failure(TooLargeText(max_bytes_)));
    return false;
  }
  header_complete_ = true;
  NoteFinalAnswer();
  return true;
}

// Only an unbroken run of permanent redirects from the requested address
// says where the document now lives: after a temporary one, the address
// reached may change again.
void NetTransfer::NoteRedirect(long status) {
  redirecting_ = true;
  permanent_so_far_ = permanent_so_far_ && IsPermanentRedirect(status);
  following_permanent_ = permanent_so_far_;
}

void NetTransfer::NoteFinalAnswer() {
  response_.status = ResponseStatus();
  response_.final_url = EffectiveUrl();
}

std::string NetTransfer::EffectiveUrl() const {
  const char* url = nullptr;
  curl_easy_getinfo(easy_.get(), CURLINFO_EFFECTIVE_URL, &url);
  return url == nullptr ? "" : url;
}

// True when a body of `size` bytes (-1: unknown) passes the byte limit.
bool NetTransfer::Exceeds(curl_off_t size) const {
  return max_bytes_ != kNoByteLimit && size >= 0 && static_cast<std::uint64_t>(size) > max_bytes_;
}

void NetTransfer::NoteBytes(std::size_t count) {
  pace_.NoteBytes(count, TransferPace::Clock::now());
}

void NetTransfer::CollectEnd() {
  int waiting = 0;
  while (const CURLMsg* message = curl_multi_info_read(multi_, &waiting)) {
    if (message->msg == CURLMSG_DONE) TakeEnd(message->data.result);
  }
}

// False, with the transfer stopped, once it is cancelled or a limit of the
// pace is passed.
bool NetTransfer::WithinLimits() {
  if (TransferCancelled()) {
    Stop(NetResult::Failure(kCancelledText));
    return false;
  }
  switch (pace_.Judge(TransferPace::Clock::now())) {
    case TransferPace::Verdict::kMoving:
      return true;
    case TransferPace::Verdict::kIdle:
      Stop(NetResult::Failure(IdleTimeoutText(timeouts_.idle)));
      return false;
    case TransferPace::Verdict::kTooSlow:
      Stop(NetResult::Failure(
          LowSpeedTimeoutText(timeouts_.low_speed_bytes_per_second, timeouts_.low_speed_time)));
      return false;
  }
  return true;
}

void NetTransfer::DriveUntil(const std::function<bool()>& ready) {
  while (!ready() && !ended_) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      Stop(CurlFailure(CURLE_OUT_OF_MEMORY));
      return;
    }
    CollectEnd();
    if (ready() || ended_ || !WithinLimits()) return;
    curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
  }
}

void NetTransfer::DriveToEnd() {
  DriveUntil([] { return false; });
}

void NetTransfer::Stop(NetResult failure) {
  if (stop_.ok) stop_ = std::move(failure);
  ended_ = true;
}

long NetTransfer::ResponseStatus() const {
  long status = 0;
  curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &status);
  return status;
}

NetResult NetTransfer::Result() const {
  if (!stop_.ok) return stop_;
  // libcurl refuses the scheme of a redirect's target as it refuses that of
  // a requested URL; the user should hear that the server sent it there.
  if (code_ == CURLE_UNSUPPORTED_PROTOCOL && redirecting_)
    return NetResult::Failure(kRedirectSchemeText);
  if (code_ != CURLE_OK) return CurlFailure(code_);
  return NetResult::Success();
}

NetResult NetTransfer::CurlFailure(CURLcode code) const {
  return NetResult::Failure(TransferErrorText(code, timeouts_));
}

}  // namespace tavi::platform
