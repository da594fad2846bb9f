#include "platform/net_errors.h"

#include <cerrno>

namespace tavi::platform {
namespace {

// "60 s" for whole seconds, else "1500 ms".
std::string DurationText(std::chrono::milliseconds duration) {
  if (duration.count() % 1000 == 0) return std::to_string(duration.count() / 1000) + " s";
  return std::to_string(duration.count()) + " ms";
}

// "64 MiB" for whole mebibytes, "12 KiB" for whole kibibytes, else bytes.
std::string ByteCountText(std::uint64_t count) {
  constexpr std::uint64_t kKibibyte = 1024;
  constexpr std::uint64_t kMebibyte = 1024 * kKibibyte;
  if (count > 0 && count % kMebibyte == 0) return std::to_string(count / kMebibyte) + " MiB";
  if (count > 0 && count % kKibibyte == 0) return std::to_string(count / kKibibyte) + " KiB";
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string TimedOutText(const std::string& what) {
  return "The operation timed out: " + what + ".";
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

std::string TooLargeText(std::uint64_t max_bytes) {
  return "The document is larger than the limit of " + ByteCountText(max_bytes) + ".";
}

std::string ConnectTimeoutText(std::chrono::milliseconds connect) {
  return TimedOutText("no connection after " + DurationText(connect));
}

std::string IdleTimeoutText(std::chrono::milliseconds idle) {
  return TimedOutText("no data for " + DurationText(idle));
}

std::string LowSpeedTimeoutText(std::uint64_t bytes_per_second, std::chrono::milliseconds time) {
  return TimedOutText("under " + std::to_string(bytes_per_second) + " bytes a second for " +
                      DurationText(time));
}

std::string TransferErrorText(CURLcode code, const NetTimeouts& timeouts) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return "The server name or address could not be resolved";
    case CURLE_OPERATION_TIMEDOUT:  // only the connect timeout is libcurl's
      return ConnectTimeoutText(timeouts.connect);
    case CURLE_COULDNT_CONNECT:
      return "A connection with the server could not be established";
    case CURLE_UNSUPPORTED_PROTOCOL:
      return "The URL does not use a recognized protocol";
    case CURLE_URL_MALFORMAT:
      return "The URL is invalid";
    case CURLE_TOO_MANY_REDIRECTS:
      // A server that redirects this often is going round in a loop.
      return "The redirection failed: the server redirected more than " +
             std::to_string(kMaxRedirects) + " times in a row.";
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

std::string HttpStatusText(long status, const std::string& reason) {
  const std::string answer = std::to_string(status) + (reason.empty() ? "" : " " + reason);
  return "The server answered " + answer + ".";
}

}  // namespace tavi::platform
