#pragma once

// The mailbox file: messages one after another, each opened by a separator
// line "From ???@??? Sun Dec 6 2026 13:46:41" ending in CR LF, followed by the
// message text (header block, empty line, body) and a final CR LF. Bodies are
// never quoted, so a line is taken for a separator only when the whole line
// has exactly that form; a body line that merely begins with "From " is body.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::host {

// The fixed beginning of every separator line.
inline constexpr std::string_view kSeparatorPrefix = "From ???@??? ";

// True when `line` (without its line end) is a whole separator line: the
// prefix, a weekday "Sun".."Sat", a month "Jan".."Dec", a day 1..31 without a
// leading zero, a four-digit year and a 24-hour time hh:mm:ss, one blank
// between the fields.
bool IsSeparatorLine(std::string_view line);

// The separator line (without CR LF) for `instant` in local time.
std::string FormatSeparatorLine(std::chrono::system_clock::time_point instant);

// A mailbox file cut into its messages.
struct ParsedMailboxFile {
  // Bytes before the first separator line (a file that does not begin with
  // one); kept so that rewriting the file never drops them.
  std::string preamble;
  // Each message from its separator line to its line end, inclusive. A last
  // message (or preamble) that lacks a final line end gets CR LF added, so
  // that whatever follows it starts on a line of its own.
  std::vector<std::string> messages;
  // The file offset at which each message begins.
  std::vector<std::uint64_t> offsets;
};

// Cuts `bytes` at every separator line that starts a line and ends in CR LF.
// Linear in the size of the file; never fails (an empty file has no messages).
ParsedMailboxFile ParseMailboxFile(std::string_view bytes);

// The raw message for `text`: the separator line, CR LF, the text, CR LF.
std::string MakeRawMessage(std::string_view separator_line, std::string_view text);

// Views into one raw message (separator line first), each valid while `raw`
// is. A message without an empty line after its header block is all header.

// The text after the separator line, without the final line end.
std::string_view MessageText(std::string_view raw);
// The text after the empty line that ends the header block; "" when none.
std::string_view MessageBody(std::string_view raw);
// The value of the first header line named `name` (without the colon; letter
// case ignored): the rest of that line after the colon with the leading
// blanks and tabs removed, up to the line end. Continuation lines are not
// joined, so the value is byte for byte what the line holds. "" when absent.
std::string_view MessageHeaderValue(std::string_view raw, std::string_view name);

}  // namespace tavi::host
