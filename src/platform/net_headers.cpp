#include "platform/net_headers.h"

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view WithoutQuotes(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::optional<HeaderField> ParseHeaderField(std::string_view line) {
  line = line.substr(0, line.find_first_of(kLineEnd));
  const auto colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return std::nullopt;
  const std::string_view name = line.substr(0, colon);
  // A status line ("HTTP/1.1 200 OK") has a blank before any colon; a name
  // never does.
  if (name.find_first_of(kBlanks) != std::string_view::npos) return std::nullopt;
  return HeaderField{name, TrimBlanks(line.substr(colon + 1))};
}

bool IsHeaderNamed(const HeaderField& field, std::string_view name) {
  return EqualsIgnoringCase(field.name, name);
}

std::string CharsetParameter(std::string_view content_type) {
  std::string_view rest = content_type;
  // The media type comes first; parameters follow, each after a ";".
  for (auto semicolon = rest.find(';'); semicolon != std::string_view::npos;
       semicolon = rest.find(';')) {
    rest = rest.substr(semicolon + 1);
    const std::string_view parameter = TrimBlanks(rest.substr(0, rest.find(';')));
    const auto equals = parameter.find('=');
    if (equals == std::string_view::npos) continue;
    if (!EqualsIgnoringCase(TrimBlanks(parameter.substr(0, equals)), "charset")) continue;
    return std::string(TrimBlanks(WithoutQuotes(TrimBlanks(parameter.substr(equals + 1)))));
  }
  return "";
}

bool IsSendableHeaderValue(std::string_view value) {
  if (value.empty()) return false;
  for (const char c : value)
    if (IsControl(c) && c != '\t') return false;
  return true;
}

}  // namespace tavi::platform
