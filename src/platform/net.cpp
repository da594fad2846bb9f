#include "platform/net.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace tavi::platform {
namespace {

constexpr long kMaxRedirects = 20;
// Upper bound of one wait for network activity; curl wakes sooner for its own
// deadlines. The idle watch is consulted after each wait, so this is also how
// late an idle timeout may be noticed.
constexpr int kPollMilliseconds = 1000;
constexpr char kUserAgent[] = "Mozilla/4.0 (compatible)";

std::mutex timeouts_lock;
NetTimeouts current_timeouts;

void EnsureCurlInitialised() {
  static std::once_flag once;
  // The result is deliberately unchecked: a library that did not initialise
  // makes every easy handle fail, which each transfer reports on its own.
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// --- Error texts ----------------------------------------------------------

std::string TextOfTransferError(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return "The server name or address could not be resolved";
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_ABORTED_BY_CALLBACK:  // only the idle watch aborts
      return "The operation timed out";
    case CURLE_COULDNT_CONNECT:
      return "A connection with the server could not be established";
    case CURLE_UNSUPPORTED_PROTOCOL:
      return "The URL does not use a recognized protocol";
    case CURLE_URL_MALFORMAT:
      return "The URL is invalid";
    case CURLE_TOO_MANY_REDIRECTS:
      return "The redirection failed because either the scheme changed or all attempts made to "
             "redirect failed";
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
      return "The server returned an invalid or unrecognized response";
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
      return "The connection with the server was terminated abnormally";
    case CURLE_PEER_FAILED_VERIFICATION:
      return "The certificate authority is invalid or incorrect";
    case CURLE_SSL_CONNECT_ERROR:
      return "An error occurred in the secure channel support";
    case CURLE_FILE_COULDNT_READ_FILE:
      return "The system cannot find the file specified.";
    case CURLE_OUT_OF_MEMORY:
      return "Not enough storage is available to process this command.";
    default:
      return "An internal error occurred";
  }
}

std::string TextOfHttpStatus(long status) {
  if (status == 404 || status == 410) return "The system cannot locate the resource specified.";
  return "The download has failed";
}

// --- Requests -------------------------------------------------------------

struct EasyDeleter {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

// True when `url` is complete as written: curl would otherwise guess "http://"
// for a URL without a scheme, which the system never does.
bool IsCompleteUrl(const std::string& url) {
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return false;
  const bool complete = curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK;
  curl_url_cleanup(parsed);
  return complete;
}

// The request headers that make every cache on the way fetch a fresh copy.
HeaderList MakeReloadHeaders() {
  curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
  if (list == nullptr) return nullptr;
  curl_slist* longer = curl_slist_append(list, "Pragma: no-cache");
  if (longer == nullptr) curl_slist_free_all(list);
  return HeaderList(longer);
}

// Ends a transfer that has received no byte (and sent none) for the idle
// time. curl's own low-speed limit averages over several seconds, so a server
// that sent a few bytes and then fell silent would be given far longer.
class IdleWatch {
 public:
  explicit IdleWatch(std::chrono::milliseconds limit) : limit_(limit) {}

  // curl's progress callback: non-zero ends the transfer.
  static int OnProgress(void* user, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
    return static_cast<IdleWatch*>(user)->Expired(received + sent) ? 1 : 0;
  }

 private:
  bool Expired(curl_off_t moved) {
    const auto now = std::chrono::steady_clock::now();
    if (moved != moved_) {
      moved_ = moved;
      last_activity_ = now;
    }
    return now - last_activity_ >= limit_;
  }

  std::chrono::milliseconds limit_;
  std::chrono::steady_clock::time_point last_activity_ = std::chrono::steady_clock::now();
  curl_off_t moved_ = 0;
};

// A handle set up for one request: the URL, the protocols, redirects, the
// reload headers and the timeouts. The header list and the idle watch must
// outlive the handle's transfer. CURLE_OK, or why the request cannot be made.
CURLcode ConfigureRequest(CURL* easy, const std::string& url, const NetTimeouts& timeouts,
                          curl_slist* headers, IdleWatch* idle_watch) {
  if (!IsCompleteUrl(url)) return CURLE_URL_MALFORMAT;
  if (headers == nullptr) return CURLE_OUT_OF_MEMORY;
  const long connect_ms = static_cast<long>(timeouts.connect.count());
  const CURLcode results[] = {
      curl_easy_setopt(easy, CURLOPT_URL, url.c_str()),
      curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https,file"),
      curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"),
      curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L),
      curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects),
      curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers),
      curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent),
      // Threads other than the main one run transfers: no signals for
      // name-resolution timeouts.
      curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L),
      curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, std::max(connect_ms, 1L)),
      curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, IdleWatch::OnProgress),
      curl_easy_setopt(easy, CURLOPT_XFERINFODATA, idle_watch),
      curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L),
  };
  for (const CURLcode result : results) {
    if (result != CURLE_OK) return result;
  }
  return CURLE_OK;
}

long ResponseStatus(CURL* easy) {
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

// --- The URL-moniker download ---------------------------------------------

// A file beside the target that receives the document and takes the target's
// place only when committed; otherwise it is removed.
class PartFile {
 public:
  explicit PartFile(const std::string& target) : target_(target) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      path_ = target + ".part" + std::to_string(getpid()) + "-" + std::to_string(counter++);
      fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) error_ = errno;
  }
  ~PartFile() {
    if (fd_ >= 0) close(fd_);
    if (!committed_ && fd_ != kNoFile) unlink(path_.c_str());
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int error() const { return error_; }

  bool Write(const char* data, std::size_t size) {
    while (size > 0) {
      const ssize_t n = write(fd_, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Fail(n < 0 ? errno : ENOSPC);
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

  // Closes the file and moves it onto the target; false (errno in error())
  // when either step fails.
  bool Commit() {
    const int fd = fd_;
    fd_ = kClosed;
    // Don't retry close on EINTR: the descriptor is gone either way.
    if (close(fd) != 0) return Fail(errno);
    if (rename(path_.c_str(), target_.c_str()) != 0) return Fail(errno);
    committed_ = true;
    return true;
  }

 private:
  static constexpr int kNoFile = -1;
  static constexpr int kClosed = -2;

  bool Fail(int error) {
    error_ = error;
    return false;
  }

  std::string target_;
  std::string path_;
  int fd_ = kNoFile;
  int error_ = 0;
  bool committed_ = false;
};

size_t WriteToPartFile(char* data, size_t size, size_t count, void* user) {
  auto* file = static_cast<PartFile*>(user);
  return file->Write(data, size * count) ? size * count : 0;
}

}  // namespace

std::string FileErrorText(int error_number) {
  switch (error_number) {
    case ENOENT:
    case ENOTDIR:
      return "The system cannot find the path specified.";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "Access is denied.";
    case ENOSPC:
    case EDQUOT:
      return "There is not enough space on the disk.";
    default:
      return "The file could not be written.";
  }
}

NetTimeouts GetNetTimeouts() {
  std::lock_guard<std::mutex> guard(timeouts_lock);
  return current_timeouts;
}

void SetNetTimeouts(const NetTimeouts& timeouts) {
  std::lock_guard<std::mutex> guard(timeouts_lock);
  current_timeouts = timeouts;
}

NetResult UrlDownloadToFile(const std::string& url, const std::string& path) {
  EnsureCurlInitialised();
  const EasyHandle easy(curl_easy_init());
  const HeaderList headers = MakeReloadHeaders();
  const NetTimeouts timeouts = GetNetTimeouts();
  IdleWatch idle_watch(timeouts.idle);
  if (!easy) return NetResult::Failure(TextOfTransferError(CURLE_OUT_OF_MEMORY));
  CURLcode code = ConfigureRequest(easy.get(), url, timeouts, headers.get(), &idle_watch);
  if (code != CURLE_OK) return NetResult::Failure(TextOfTransferError(code));

  PartFile part(path);
  if (!part.IsOpen()) return NetResult::Failure(FileErrorText(part.error()));
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, WriteToPartFile);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &part);
  code = curl_easy_perform(easy.get());
  if (code == CURLE_WRITE_ERROR) return NetResult::Failure(FileErrorText(part.error()));
  if (code != CURLE_OK) return NetResult::Failure(TextOfTransferError(code));
  const long status = ResponseStatus(easy.get());
  if (status >= 400) return NetResult::Failure(TextOfHttpStatus(status));
  if (!part.Commit()) return NetResult::Failure(FileErrorText(part.error()));
  return NetResult::Success();
}

// --- The internet session -------------------------------------------------

// One request driven through a multi handle, so that the body can be pulled
// block by block: bytes that arrive wait in `received` until read.
struct InternetFile::Transfer {
  EasyHandle easy{curl_easy_init()};
  CURLM* multi = curl_multi_init();
  HeaderList headers = MakeReloadHeaders();
  NetTimeouts timeouts;
  IdleWatch idle_watch;
  std::string received;
  std::size_t consumed = 0;
  bool header_complete = false;
  bool ended = false;
  CURLcode result = CURLE_OK;

  explicit Transfer(const NetTimeouts& limits) : timeouts(limits), idle_watch(limits.idle) {}
  ~Transfer() {
    if (multi == nullptr) return;
    if (easy) curl_multi_remove_handle(multi, easy.get());
    curl_multi_cleanup(multi);
  }

  bool HasUnreadBytes() const { return consumed < received.size(); }
  bool HeaderArrived() const { return header_complete || HasUnreadBytes(); }

  CURLcode Start(const std::string& url);
  void PumpUntil(bool (Transfer::*ready)() const);
  void CollectEnd();
  void NoteHeaderLine(const char* line, std::size_t size);

  static size_t ReceiveBody(char* data, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->received.append(data, size * count);
    return size * count;
  }
  static size_t ReceiveHeader(char* data, size_t size, size_t count, void* user) {
    static_cast<Transfer*>(user)->NoteHeaderLine(data, size * count);
    return size * count;
  }
};

CURLcode InternetFile::Transfer::Start(const std::string& url) {
  if (!easy || multi == nullptr) return CURLE_OUT_OF_MEMORY;
  const CURLcode code = ConfigureRequest(easy.get(), url, timeouts, headers.get(), &idle_watch);
  if (code != CURLE_OK) return code;
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, ReceiveBody);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy.get(), CURLOPT_HEADERFUNCTION, ReceiveHeader);
  curl_easy_setopt(easy.get(), CURLOPT_HEADERDATA, this);
  if (curl_multi_add_handle(multi, easy.get()) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
  return CURLE_OK;
}

// The blank line that ends a header block completes the response header,
// unless the block is an interim answer (1xx) or a redirection (3xx): curl
// follows a redirection, or ends the transfer when it cannot.
void InternetFile::Transfer::NoteHeaderLine(const char* line, std::size_t size) {
  const bool blank = (size == 2 && line[0] == '\r') || (size == 1 && line[0] == '\n');
  if (!blank) return;
  const long status = ResponseStatus(easy.get());
  if (status < 200 || (status >= 300 && status < 400)) return;
  header_complete = true;
}

void InternetFile::Transfer::CollectEnd() {
  int waiting = 0;
  while (const CURLMsg* message = curl_multi_info_read(multi, &waiting)) {
    if (message->msg != CURLMSG_DONE) continue;
    ended = true;
    result = message->data.result;
  }
}

// Drives the transfer until `ready` holds or the transfer has ended.
void InternetFile::Transfer::PumpUntil(bool (Transfer::*ready)() const) {
  while (!(this->*ready)() && !ended) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      ended = true;
      result = CURLE_OUT_OF_MEMORY;
      return;
    }
    CollectEnd();
    if ((this->*ready)() || ended) return;
    curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
  }
}

InternetSession::InternetSession() : timeouts_(GetNetTimeouts()) { EnsureCurlInitialised(); }

InternetSession::~InternetSession() = default;

NetResult InternetSession::OpenUrl(const std::string& url,
                                   std::unique_ptr<InternetFile>* file) const {
  assert(file != nullptr && "OpenUrl needs a place for the opened file");
  file->reset();
  auto transfer = std::make_unique<InternetFile::Transfer>(timeouts_);
  const CURLcode code = transfer->Start(url);
  if (code != CURLE_OK) return NetResult::Failure(TextOfTransferError(code));
  transfer->PumpUntil(&InternetFile::Transfer::HeaderArrived);
  // A failure after the header belongs to the body: reads report it after
  // the bytes that arrived.
  if (!transfer->HeaderArrived() && transfer->result != CURLE_OK) {
    return NetResult::Failure(TextOfTransferError(transfer->result));
  }
  file->reset(new InternetFile(std::move(transfer)));
  return NetResult::Success();
}

InternetFile::InternetFile(std::unique_ptr<Transfer> transfer) : transfer_(std::move(transfer)) {}

InternetFile::~InternetFile() = default;

NetResult InternetFile::Read(std::span<char> buffer, std::size_t* count) {
  assert(count != nullptr && "Read needs a place for the count");
  assert(!buffer.empty() && "an empty buffer cannot tell data from the end");
  Transfer& transfer = *transfer_;
  if (!transfer.HasUnreadBytes()) {
    transfer.received.clear();
    transfer.consumed = 0;
    transfer.PumpUntil(&Transfer::HasUnreadBytes);
  }
  const std::size_t available = transfer.received.size() - transfer.consumed;
  *count = std::min(available, buffer.size());
  if (*count > 0) {
    std::memcpy(buffer.data(), transfer.received.data() + transfer.consumed, *count);
    transfer.consumed += *count;
    return NetResult::Success();
  }
  if (transfer.result != CURLE_OK) return NetResult::Failure(TextOfTransferError(transfer.result));
  return NetResult::Success();
}

}  // namespace tavi::platform
