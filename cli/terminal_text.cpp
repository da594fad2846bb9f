#include "cli/terminal_text.h"

namespace tavi::cli {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr unsigned char kDelete = 0x7F;

// "\x1B" for a byte, "\u009B" for a C1 control.
void AppendEscape(std::string& out, std::string_view prefix, unsigned char byte) {
  out.append(prefix);
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0x0F]);
}

void AppendControlEscape(std::string& out, unsigned char byte) {
  switch (byte) {
    case '\t':
      out.append("\\t");
      return;
    case '\n':
      out.append("\\n");
      return;
    case '\r':
      out.append("\\r");
      return;
  }
  AppendEscape(out, "\\x", byte);
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence of two or more bytes starting at
// `at`; 0 when there is none there. Overlong forms, surrogates and values
// past U+10FFFF are not valid.
std::size_t SequenceLength(std::string_view text, std::size_t at) {
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

// U+0080..U+009F, encoded as C2 80..C2 9F.
bool IsC1Control(std::string_view sequence) {
  return sequence.size() == 2 && static_cast<unsigned char>(sequence[0]) == 0xC2 &&
         static_cast<unsigned char>(sequence[1]) <= 0x9F;
}

// Appends the character at `at` made printable; returns the bytes it took.
std::size_t AppendPrintable(std::string& out, std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x20 || lead == kDelete) {
    AppendControlEscape(out, lead);
    return 1;
  }
  if (lead < 0x80) {
    out.push_back(static_cast<char>(lead));
    return 1;
  }
  const std::size_t length = SequenceLength(text, at);
  if (length == 0) {
    AppendEscape(out, "\\x", lead);
    return 1;
  }
  const std::string_view sequence = text.substr(at, length);
  if (IsC1Control(sequence)) {
    AppendEscape(out, "\\u00", static_cast<unsigned char>(sequence[1]));
    return length;
  }
  out.append(sequence);
  return length;
}

}  // namespace

std::string PrintableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) at += AppendPrintable(out, text, at);
  return out;
}

std::string PrintableLines(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, 2, "\r\n") == 0 || text[at] == '\n') {
      out.push_back('\n');
      at += text[at] == '\r' ? 2 : 1;
      continue;
    }
    at += AppendPrintable(out, text, at);
  }
  return out;
}

}  // namespace tavi::cli
