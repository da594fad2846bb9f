#include "fetch/xml_entities.h"

#include <cstdint>

#include "fetch/xml_token_scanner.h"

namespace tavi {
namespace {

// The ';' must come within this many characters after the '#' or the 'x'.
constexpr std::size_t kReferenceWindow = 7;
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

struct NamedEntity {
  std::string_view name;  // after the '&', through the ';'
  char character;
};
constexpr NamedEntity kLt = {"lt;", '<'};
constexpr NamedEntity kGt = {"gt;", '>'};
constexpr NamedEntity kAmp = {"amp;", '&'};
constexpr NamedEntity kApos = {"apos;", '\''};
constexpr NamedEntity kQuot = {"quot;", '"'};

// The predefined entity that could start with `first`, so that each '&' is
// compared with one name at most (two for 'a').
const NamedEntity* CandidateEntity(char first, char second) {
  switch (first) {
    case 'l':
      return &kLt;
    case 'g':
      return &kGt;
    case 'a':
      return second == 'm' ? &kAmp : &kApos;
    case 'q':
      return &kQuot;
  }
  return nullptr;
}

bool IsSurrogate(std::uint32_t value) { return value >= 0xD800 && value <= 0xDFFF; }

bool NamesCharacter(std::uint32_t value) {
  return value != 0 && !IsSurrogate(value) && value <= kLastCodePoint;
}

int DigitValue(char c, bool hexadecimal) {
  if (c >= '0' && c <= '9') return c - '0';
  if (!hexadecimal) return -1;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, std::uint32_t value) {
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | (value >> 6));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    out += static_cast<char>(0xE0 | (value >> 12));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (value >> 18));
    out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

// The character reference at `amp` ("&#..."): appends its character and
// returns the bytes it spans, or 0 when it is not one that gets decoded.
std::size_t DecodeCharacterReference(std::string& out, std::string_view text, std::size_t amp) {
  std::size_t anchor = amp + 1;  // the '#', or the 'x' after it
  const bool hexadecimal = anchor + 1 < text.size() && text[anchor + 1] == 'x';
  if (hexadecimal) ++anchor;
  const std::size_t window = text.substr(anchor + 1, kReferenceWindow).find(';');
  if (window == std::string_view::npos) return 0;
  const std::size_t semicolon = anchor + 1 + window;
  std::uint32_t value = 0;
  for (std::size_t pos = anchor + 1; pos < semicolon; ++pos) {
    const int digit = DigitValue(text[pos], hexadecimal);
    if (digit < 0) break;
    value = value * (hexadecimal ? 16 : 10) + static_cast<std::uint32_t>(digit);
  }
  if (!NamesCharacter(value)) return 0;
  AppendUtf8(out, value);
  return semicolon + 1 - amp;
}

std::size_t DecodeNamedEntity(std::string& out, std::string_view text, std::size_t amp) {
  const std::string_view rest = text.substr(amp + 1);
  if (rest.size() < 3) return 0;
  const NamedEntity* const entity = CandidateEntity(rest[0], rest[1]);
  if (entity == nullptr || rest.substr(0, entity->name.size()) != entity->name) return 0;
  out += entity->character;
  return entity->name.size() + 1;
}

// Decodes the reference at the '&' at `amp`; returns the bytes consumed, 0
// when the '&' starts nothing that is decoded.
std::size_t DecodeReference(std::string& out, std::string_view text, std::size_t amp) {
  if (amp + 1 < text.size() && text[amp + 1] == '#')
    return DecodeCharacterReference(out, text, amp);
  return DecodeNamedEntity(out, text, amp);
}

}  // namespace

std::string DecodeXmlEntities(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());  // decoding never lengthens a text
  AppendDecodedXmlEntities(decoded, text);
  return decoded;
}

void AppendDecodedXmlEntities(std::string& out, std::string_view text) {
  std::size_t pos = 0;
  for (;;) {
    const std::size_t amp = FindXmlByte(text, pos, '&');
    if (amp == text.size()) {
      out.append(text.substr(pos));
      return;
    }
    out.append(text.substr(pos, amp - pos));
    const std::size_t consumed = DecodeReference(out, text, amp);
    if (consumed == 0) out += '&';
    pos = amp + (consumed == 0 ? 1 : consumed);
  }
}

}  // namespace tavi
