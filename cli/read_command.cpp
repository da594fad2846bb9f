#include "cli/read_command.h"

#include <ostream>
#include <vector>

#include "cli/command_syntax.h"
#include "cli/mailbox_commands.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "platform/html_text.h"

namespace tavi::cli {
namespace {

constexpr std::string_view kHtmlStart = "<x-html>";
constexpr std::string_view kHtmlEnd = "</x-html>";

struct MessageParts {
  std::string_view headers;  // without the empty line that ends them
  std::string_view body;
};

// The header block ends at the first empty line; a message without one is
// all headers.
MessageParts SplitMessage(std::string_view text) {
  for (const std::string_view end : {std::string_view("\r\n\r\n"), std::string_view("\n\n")}) {
    const std::size_t at = text.find(end);
    if (at != std::string_view::npos) return {text.substr(0, at), text.substr(at + end.size())};
  }
  return {text, {}};
}

std::string PrintableHeaderLines(std::string_view headers) {
  std::string lines;
  while (!headers.empty()) {
    const std::size_t line_feed = std::min(headers.find('\n'), headers.size());
    std::string_view line = headers.substr(0, line_feed);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.append(PrintableText(line)).append("\n");
    headers.remove_prefix(std::min(line_feed + 1, headers.size()));
  }
  return lines;
}

// The body as the viewer shows it: the HTML between the markers as text,
// and its links after a blank line. An unended HTML part runs to the end.
std::string ReadableBody(std::string_view body) {
  const std::size_t start = body.find(kHtmlStart);
  if (start == std::string_view::npos) return PrintableLines(body);
  std::string_view html = body.substr(start + kHtmlStart.size());
  html = html.substr(0, html.rfind(kHtmlEnd));
  std::vector<std::string> links;
  std::string text = PrintableLines(platform::HtmlToText(html, &links));
  if (!links.empty()) text.append("\n").append(PrintableLines(platform::LinkListText(links)));
  return text;
}

std::string WithLineEnd(std::string text) {
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
  return text;
}

}  // namespace

std::string ReadableMessage(std::string_view text) {
  const MessageParts parts = SplitMessage(text);
  return PrintableHeaderLines(parts.headers) + "\n" + WithLineEnd(ReadableBody(parts.body));
}

int RunRead(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kRead);
  if (session == nullptr) return kExitFailure;
  host::MailStore& store = session->Host().Store();
  const std::optional<int> mailbox = FindNamedMailbox(store, context);
  if (!mailbox) return kExitFailure;
  const std::size_t count = store.MessageCount(*mailbox).value_or(0);
  // The parser let only a number from 1 through.
  const std::size_t number = ReadWholeNumber(context.command.positionals[1]).value_or(0);
  const host::MessagePtr message =
      number >= 1 && number <= count ? store.MessageAt(*mailbox, number - 1) : nullptr;
  if (message == nullptr) {
    context.err << "tavi: read: " << PrintableText(store.Item(*mailbox)->name) << " has " << count
                << (count == 1 ? " message" : " messages") << "; there is no message " << number
                << "\n";
    return kExitFailure;
  }
  const bool raw = context.command.Has("--raw");
  context.out << (raw ? WithLineEnd(PrintableLines(message->Text()))
                      : ReadableMessage(message->Text()));
  return kExitSuccess;
}

}  // namespace tavi::cli
