#include "platform/utf8.h"

#include <cstdint>
#include <cstring>

namespace tavi::platform {
namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t offset) {
    return at + offset < text.size() ? static_cast<unsigned char>(text[at + offset]) : 0;
  };
  const unsigned char lead = byte(0);
  const unsigned char second = byte(1);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (lead == 0xE0) low = 0xA0;   // overlong
  if (lead == 0xED) high = 0x9F;  // surrogates
  if (lead == 0xF0) low = 0x90;   // overlong
  if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  if (length == 0 || second < low || second > high) return 0;
  for (std::size_t offset = 2; offset < length; ++offset) {
    if (!IsContinuation(byte(offset))) return 0;
  }
  return length;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    std::uint64_t block;
    if (text.size() - at >= sizeof block) {
      std::memcpy(&block, text.data() + at, sizeof block);
      if ((block & kHighBits) == 0) {
        at += sizeof block;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace tavi::platform
