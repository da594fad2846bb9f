#include "delivery/message_text.h"

#include <string_view>

#include "fetch/document_encoding.h"
#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
// How much shorter than half the page's size a text may be before the file is
// taken for binary: a few stray zero bytes are allowed.
constexpr long long kBinaryAllowance = 20;

bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix) {
  return line.size() >= prefix.size() &&
         platform::EqualsIgnoringCase(line.substr(0, prefix.size()), prefix);
}

bool IsContinuationLine(std::string_view line) { return line.find(':') == std::string_view::npos; }

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

std::string LoadDownloadedText(const std::string& path, std::string_view charset) {
  if (path.empty()) return "-1";
  auto bytes = platform::ReadFileBytes(path);
  if (!bytes) return "-1";
  // Judged after the decoding: a page in UTF-16 or UTF-32 holds a zero byte
  // in nearly every character until it is UTF-8.
  const std::string page = DecodeWebPage(std::move(*bytes), charset).text;
  std::string text = BytesUpToFirstZero(page);
  if (LooksBinary(text, page.size())) return "-1";
  return text;
}

}  // namespace tavi
