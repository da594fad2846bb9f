#include "cli/terminal_text.h"

#include "platform/utf8.h"

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
  const std::size_t length = platform::Utf8SequenceLength(text, at);
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
