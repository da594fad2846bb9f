#include "web/access_token.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tavi::web {
namespace {

constexpr char kRandomSource[] = "/dev/urandom";

bool ReadWhole(int fd, unsigned char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = read(fd, bytes + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

std::string NewSecret() {
  unsigned char bytes[kSecretBytes];
  const int fd = open(kRandomSource, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "";
  const bool read_whole = ReadWhole(fd, bytes, sizeof(bytes));
  // Don't retry close on EINTR: the descriptor is gone either way.
  close(fd);
  if (!read_whole) return "";
  constexpr char kHex[] = "0123456789abcdef";
  std::string secret;
  for (const unsigned char byte : bytes) {
    secret += kHex[byte >> 4];
    secret += kHex[byte & 0x0F];
  }
  return secret;
}

bool SameSecret(std::string_view given, std::string_view secret) {
  if (given.size() != secret.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < secret.size(); ++i)
    difference |= static_cast<unsigned char>(given[i] ^ secret[i]);
  return difference == 0;
}

}  // namespace tavi::web
