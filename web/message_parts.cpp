#include "web/message_parts.h"

#include "host/mbx_format.h"
#include "platform/ascii.h"

namespace tavi::web {
namespace {

constexpr std::string_view kHtmlStart = "<x-html>";
constexpr std::string_view kHtmlEnd = "</x-html>";
// The start of a whole page, which a translator may write in place of the
// message's text: "Get the Full Article" does.
constexpr std::string_view kPageStart = "<html";
// Links open in a browser tab of their own: the frame may not navigate the
// page, and a frame's own navigation would leave the article behind.
constexpr std::string_view kDocumentStart =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><base target=\"_blank\">"
    "<style>body{font-family:sans-serif;line-height:1.4;margin:1em}"
    "pre{white-space:pre-wrap}img{max-width:100%}</style></head><body>\n";
constexpr std::string_view kDocumentEnd = "\n</body></html>\n";

std::string_view WithoutCarriageReturn(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

bool IsWholePage(std::string_view body) {
  while (!body.empty() && static_cast<unsigned char>(body.front()) <= ' ') body.remove_prefix(1);
  return body.size() >= kPageStart.size() &&
         platform::EqualsIgnoringCase(body.substr(0, kPageStart.size()), kPageStart);
}

std::string EscapedText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '&':
        escaped += "&amp;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string BodyMarkup(std::string_view body) {
  const std::size_t start = body.find(kHtmlStart);
  if (start == std::string_view::npos) {
    if (IsWholePage(body)) return std::string(body);
    return "<pre>" + EscapedText(body) + "</pre>";
  }
  std::string_view html = body.substr(start + kHtmlStart.size());
  return std::string(html.substr(0, html.rfind(kHtmlEnd)));
}

}  // namespace

std::vector<HeaderField> MessageHeaderFields(std::string_view raw) {
  std::vector<HeaderField> fields;
  std::string_view text = host::MessageText(raw);
  bool in_field = false;
  while (!text.empty()) {
    const std::size_t line_feed = std::min(text.find('\n'), text.size());
    const std::string_view line = WithoutCarriageReturn(text.substr(0, line_feed));
    text.remove_prefix(std::min(line_feed + 1, text.size()));
    if (line.empty()) break;
    const bool continues = line.front() == ' ' || line.front() == '\t';
    if (continues && in_field) {
      fields.back().value.append(" ").append(WithoutLeadingBlanks(line));
      continue;
    }
    const std::size_t colon = line.find(':');
    in_field = !continues && colon != std::string_view::npos;
    if (in_field)
      fields.push_back({std::string(line.substr(0, colon)),
                        std::string(WithoutLeadingBlanks(line.substr(colon + 1)))});
  }
  return fields;
}

std::string MessageBodyDocument(std::string_view raw) {
  return std::string(kDocumentStart) + BodyMarkup(host::MessageBody(raw)) +
         std::string(kDocumentEnd);
}

}  // namespace tavi::web
