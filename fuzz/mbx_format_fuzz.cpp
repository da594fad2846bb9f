// Any bytes as a mailbox file: cutting it into messages and reading their
// header values and bodies must neither crash nor read past the bytes. The
// pieces must join back into the file (the last one may have gained the line
// end it lacked), each at the offset given for it, and each message must
// open with a whole separator line.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/mbx_format.h"

namespace {

namespace host = tavi::host;

constexpr std::string_view kHeaderNames[] = {"Message-Id", "Subject", "From", "", "x"};

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool Within(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

void CheckPiecesJoinBack(std::string_view bytes, const host::ParsedMailboxFile& parsed) {
  Check(parsed.messages.size() == parsed.offsets.size());
  std::string joined = parsed.preamble;
  for (std::size_t i = 0; i < parsed.messages.size(); ++i) {
    Check(parsed.offsets[i] == joined.size());
    joined += parsed.messages[i];
  }
  const bool ended = bytes.empty() || bytes.back() == '\n';
  Check(joined == (ended ? std::string(bytes) : std::string(bytes) + "\r\n"));
}

// Every view lies inside the message it was taken from.
void CheckMessageViews(std::string_view raw, std::string_view name) {
  Check(Within(host::MessageText(raw), raw));
  Check(Within(host::MessageBody(raw), raw));
  Check(Within(host::MessageHeaderValue(raw, name), raw));
}

void CheckMessage(std::string_view raw) {
  const std::size_t line_end = raw.find("\r\n");
  Check(line_end != std::string_view::npos);
  Check(host::IsSeparatorLine(raw.substr(0, line_end)));
  for (std::string_view name : kHeaderNames) CheckMessageViews(raw, name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const host::ParsedMailboxFile parsed = host::ParseMailboxFile(bytes);
  CheckPiecesJoinBack(bytes, parsed);
  for (const std::string& raw : parsed.messages) CheckMessage(raw);
  // The input as one message, and its first bytes as a header name.
  CheckMessageViews(bytes, bytes.substr(0, size % 8));
  const std::string_view first_line = bytes.substr(0, bytes.find('\n'));
  if (host::IsSeparatorLine(first_line)) Check(first_line.starts_with(host::kSeparatorPrefix));
  return 0;
}
