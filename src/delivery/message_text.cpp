#include "delivery/message_text.h"

#include <cstdint>
#include <string_view>

#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr char32_t kReplacementCharacter = 0xFFFD;
// How much shorter than half the file's size a text may be before the file is
// taken for binary: the UTF-16 mark and a few stray zero bytes are allowed.
constexpr long long kBinaryAllowance = 20;

bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix) {
  return line.size() >= prefix.size() &&
         platform::EqualsIgnoringCase(line.substr(0, prefix.size()), prefix);
}

bool IsContinuationLine(std::string_view line) { return line.find(':') == std::string_view::npos; }

void AppendUtf8(char32_t code_point, std::string& out) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// UTF-16 little-endian code units to UTF-8, up to the first zero unit. An odd
// last byte is read as a unit whose high byte is zero, as when the data is
// followed by a zero terminator.
std::string Utf16LittleEndianToUtf8(std::string_view bytes) {
  std::vector<char32_t> units;
  units.reserve(bytes.size() / 2 + 1);
  for (std::size_t at = 0; at < bytes.size(); at += 2) {
    const char32_t low = static_cast<unsigned char>(bytes[at]);
    const char32_t high = at + 1 < bytes.size() ? static_cast<unsigned char>(bytes[at + 1]) : 0;
    const char32_t unit = low | (high << 8);
    if (unit == 0) break;
    units.push_back(unit);
  }
  std::string text;
  text.reserve(units.size());
  for (std::size_t at = 0; at < units.size(); ++at) {
    const char32_t unit = units[at];
    const bool pairs =
        IsHighSurrogate(unit) && at + 1 < units.size() && IsLowSurrogate(units[at + 1]);
    if (pairs) {
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (units[++at] - 0xDC00), text);
      continue;
    }
    const bool lone_surrogate = IsHighSurrogate(unit) || IsLowSurrogate(unit);
    AppendUtf8(lone_surrogate ? kReplacementCharacter : unit, text);
  }
  return text;
}

std::string BytesUpToFirstZero(std::string bytes) {
  const auto zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  return bytes;
}

bool LooksBinary(const std::string& text, std::size_t bytes_read) {
  const long long least_length = static_cast<long long>(bytes_read / 2) - kBinaryAllowance;
  return static_cast<long long>(text.size()) < least_length;
}

}  // namespace

std::string GetHeaderValue(const std::string& message, const std::string& header_name) {
  if (header_name.empty()) return "";
  std::vector<std::string> lines;
  SplitString(message, std::string(kLineEnd), lines);
  std::string value;
  bool follows_contribution = false;
  for (const std::string& line : lines) {
    if (StartsWithIgnoringCase(line, header_name)) {
      value += line.substr(header_name.size());
      follows_contribution = true;
      continue;
    }
    if (!follows_contribution) continue;
    // The next header line ends the value: a later occurrence of the same
    // header is not read.
    if (!IsContinuationLine(line)) break;
    value += line;
  }
  return value;
}

int SplitString(const std::string& text, const std::string& delimiter,
                std::vector<std::string>& pieces) {
  if (delimiter.empty()) return 0;
  std::size_t start = 0;
  for (auto found = text.find(delimiter); found != std::string::npos;
       found = text.find(delimiter, start)) {
    pieces.push_back(text.substr(start, found - start));
    start = found + delimiter.size();
  }
  pieces.push_back(text.substr(start));
  return static_cast<int>(pieces.size());
}

std::string LoadDownloadedText(const std::string& path) {
  if (path.empty()) return "-1";
  auto bytes = platform::ReadFileBytes(path);
  if (!bytes) return "-1";
  const std::size_t bytes_read = bytes->size();
  const std::string_view view(*bytes);
  std::string text = view.starts_with(kUtf16LittleEndianMark)
                         ? Utf16LittleEndianToUtf8(view.substr(kUtf16LittleEndianMark.size()))
                         : BytesUpToFirstZero(std::move(*bytes));
  if (LooksBinary(text, bytes_read)) return "-1";
  return text;
}

}  // namespace tavi
