#pragma once

// One download request, driven step by step: the engine under both download
// forms of net.h and under the transfer pool. The request is a libcurl easy
// handle, either in a multi handle of its own, so that the caller decides how
// long to drive it (the URL-moniker download drives it to its end, an opened
// internet file only until the next bytes of the body have arrived), or in a
// multi handle that a pool shares among many transfers and drives itself.
// Every wait for the network is short, and between waits the transfer's own
// limits are checked.

#include <curl/curl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/net.h"
#include "platform/transfer_pace.h"

namespace tavi::platform {

// True when the transfers of the calling thread are to end: after
// CancelNetTransfers, or once the cancel of its NetCancelScope is set.
bool TransferCancelled();

// Initialises libcurl once per process; every user of a libcurl handle calls
// it first.
void EnsureCurlInitialised();

class NetTransfer {
 public:
  // Takes each block of the body as it arrives; a failure ends the transfer
  // with that failure.
  using BodySink = std::function<NetResult(std::string_view bytes)>;

  // A transfer under `timeouts` that hands the body to `sink` and fails once
  // the body passes `max_bytes` (kNoByteLimit: never).
  NetTransfer(const NetTimeouts& timeouts, std::uint64_t max_bytes, BodySink sink);
  ~NetTransfer();
  NetTransfer(const NetTransfer&) = delete;
  NetTransfer& operator=(const NetTransfer&) = delete;

  // Sets up the request in a multi handle of its own; it is sent on the
  // first drive. A failure (cancelled, an unusable URL, no memory) means
  // nothing was sent.
  NetResult Start(const NetRequest& request);
  // The same for a plain request of `url`.
  NetResult Start(const std::string& url);

  // The same in `shared`, a multi handle that the caller drives and that must
  // outlive the transfer (or its Detach). The caller then hands each end that
  // curl_multi_info_read reports for EasyHandle() to TakeEnd, calls
  // WithinLimits between drives, and Detaches the transfer once Ended().
  NetResult StartIn(CURLM* shared, const NetRequest& request);
  CURL* EasyHandle() const { return easy_.get(); }
  // Notes that libcurl ended the transfer with `code`.
  void TakeEnd(CURLcode code);
  // False, with the transfer ended, once it is cancelled or its pace passed
  // a limit.
  bool WithinLimits();
  bool Ended() const { return ended_; }
  // Takes the transfer out of its multi handle, which frees its connection
  // for others; an unfinished transfer is cut off.
  void Detach();

  // Drives the transfer until `ready()` holds or the transfer has ended; a
  // cancel ends it within a poll interval.
  void DriveUntil(const std::function<bool()>& ready);
  // Drives the transfer to its end.
  void DriveToEnd();

  // True once the header of the final answer has ended with a status under
  // 400 (never for a file URL). An error status ends the transfer instead.
  bool HeaderComplete() const { return header_complete_; }
  // After the end: success, or why the transfer failed.
  NetResult Result() const;
  // What the transfer learned of the answer: the header facts once
  // HeaderComplete(), the final status and address after the end.
  const NetResponse& Response() const { return response_; }

 private:
  struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
  };
  struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
  };
  struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  };

  static size_t ReceiveBody(char* data, size_t size, size_t count, void* user);
  static size_t ReceiveHeader(char* data, size_t size, size_t count, void* user);

  CURLcode Configure(const NetRequest& request);
  bool TakeBody(std::string_view bytes);
  bool TakeHeaderLine(std::string_view line);
  void StartAnswer();
  void NoteHeaderField(std::string_view line);
  bool EndHeader();
  void NoteRedirect(long status);
  void NoteFinalAnswer();
  std::string EffectiveUrl() const;
  long ResponseStatus() const;
  bool Exceeds(curl_off_t size) const;
  void NoteBytes(std::size_t count);
  NetResult CurlFailure(CURLcode code) const;
  NetResult Attach(CURLM* multi, const NetRequest& request);
  void CollectEnd();
  void Stop(NetResult failure);

  NetTimeouts timeouts_;
  std::uint64_t max_bytes_;
  BodySink sink_;
  std::unique_ptr<CURL, EasyDeleter> easy_;
  std::unique_ptr<CURLM, MultiDeleter> own_multi_;  // null for a transfer of a pool
  CURLM* multi_ = nullptr;                          // the multi handle it runs in
  std::unique_ptr<curl_slist, HeaderListDeleter> headers_;
  TransferPace pace_;
  std::string reason_;  // the reason phrase of the latest status line
  std::uint64_t body_bytes_ = 0;
  bool added_ = false;
  bool header_complete_ = false;
  bool ended_ = false;
  // The redirects so far were all permanent, and so the latest one is
  // followed into the response's moved_to when the next answer begins.
  bool permanent_so_far_ = true;
  bool following_permanent_ = false;
  // The latest header ended in a redirect that libcurl is to follow.
  bool redirecting_ = false;
  bool compressed_ = false;  // the latest answer has a Content-Encoding
  NetResponse response_;
  CURLcode code_ = CURLE_OK;
  // A failure that this side decided on (a sink or a limit); it outranks the
  // code libcurl ends with, which then only says that the transfer was cut.
  NetResult stop_;
};

}  // namespace tavi::platform
