#pragma once

// The error texts of failed downloads, fit for a message box. The text for a
// file that cannot be written (FileErrorText) is declared in net.h.

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/net.h"

namespace tavi::platform {

// The text for a transfer that libcurl ended with `code` (not CURLE_OK) under
// `timeouts`.
std::string TransferErrorText(CURLcode code, const NetTimeouts& timeouts);

// The most redirects a transfer follows in a row; one more fails it with a
// text that names the figure.
inline constexpr long kMaxRedirects = 20;

// The text for a redirect to an address the transfer may not follow (file:,
// ftp: or any scheme but http and https).
inline constexpr char kRedirectSchemeText[] =
    "The server redirected to an address that is not http or https.";

// The text for a transfer ended by CancelNetTransfers.
inline constexpr char kCancelledText[] = "The operation was cancelled.";

// The text for a document of more than `max_bytes` bytes: "The document is
// larger than the limit of 64 MiB."
std::string TooLargeText(std::uint64_t max_bytes);

// The texts for a transfer ended by a limit of NetTimeouts, each naming the
// limit's figure: "The operation timed out: no data for 60 s."
std::string ConnectTimeoutText(std::chrono::milliseconds connect);
std::string IdleTimeoutText(std::chrono::milliseconds idle);
std::string LowSpeedTimeoutText(std::uint64_t bytes_per_second, std::chrono::milliseconds time);

// The text for a final answer with an HTTP error status and the server's
// reason phrase: "The server answered 404 Not Found.", or "The server
// answered 404." when the reason is "".
std::string HttpStatusText(long status, const std::string& reason);

}  // namespace tavi::platform
