#include "fetch/html_meta_charset.h"

#include "platform/ascii.h"

namespace tavi {
namespace {

using platform::EqualsIgnoringCase;
using platform::IsAsciiWhiteSpace;

constexpr std::string_view kCommentStart = "<!--";
constexpr std::string_view kCommentEnd = "-->";
constexpr std::string_view kMetaName = "meta";
constexpr std::string_view kCharsetName = "charset";

// One attribute of a tag: its name, and its value with the value's offset in
// the scanned text.
struct Attribute {
  std::string_view name;
  std::string_view value;
  std::size_t value_offset = 0;
};

void SkipWhiteSpace(std::string_view text, std::size_t& at) {
  while (at < text.size() && IsAsciiWhiteSpace(text[at])) ++at;
}

// The end of a word that runs until white space or one of `stops`.
std::size_t WordEnd(std::string_view text, std::size_t at, std::string_view stops) {
  while (at < text.size() && !IsAsciiWhiteSpace(text[at]) && stops.find(text[at]) == text.npos)
    ++at;
  return at;
}

// A value at `at`: in quotes, up to the matching one (nullopt when it is not
// closed within the text), or else up to white space, a quote or one of
// `stops`. An unquoted value never holds a quote: putting another name in its
// place must not open or close a quoted value.
std::optional<Attribute> ReadValue(std::string_view text, std::size_t& at, std::string_view stops) {
  if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
    const std::size_t close = text.find(text[at], at + 1);
    if (close == text.npos) return std::nullopt;
    const std::size_t start = at + 1;
    at = close + 1;
    return Attribute{{}, text.substr(start, close - start), start};
  }
  const std::size_t start = at;
  at = WordEnd(text, at, std::string(stops) + "\"'");
  return Attribute{{}, text.substr(start, at - start), start};
}

// The attribute at `at` inside a tag, moving past it; nullopt at the end of
// the tag or of the text.
std::optional<Attribute> NextAttribute(std::string_view text, std::size_t& at) {
  while (at < text.size() && (IsAsciiWhiteSpace(text[at]) || text[at] == '/')) ++at;
  if (at >= text.size() || text[at] == '>') return std::nullopt;
  const std::size_t name_start = at;
  at = WordEnd(text, at + 1, "=>/");
  const std::string_view name = text.substr(name_start, at - name_start);
  SkipWhiteSpace(text, at);
  if (at >= text.size() || text[at] != '=') return Attribute{name, {}, at};
  ++at;
  SkipWhiteSpace(text, at);
  std::optional<Attribute> value = ReadValue(text, at, ">");
  if (value) value->name = name;
  return value;
}

// The charset named in a Content-Type value ("text/html; charset=koi8-r"),
// placed in the scanned text.
std::optional<DeclaredEncodingPlace> CharsetInContent(const Attribute& content) {
  const std::size_t key = platform::ToLowerAscii(content.value).find(kCharsetName);
  if (key == std::string::npos) return std::nullopt;
  std::size_t at = key + kCharsetName.size();
  SkipWhiteSpace(content.value, at);
  if (at >= content.value.size() || content.value[at] != '=') return std::nullopt;
  ++at;
  SkipWhiteSpace(content.value, at);
  const std::optional<Attribute> value = ReadValue(content.value, at, ";");
  if (!value || value->value.empty()) return std::nullopt;
  return DeclaredEncodingPlace{content.value_offset + value->value_offset, value->value.size()};
}

// The charset of the meta element whose attributes start at `at`.
std::optional<DeclaredEncodingPlace> CharsetOfMeta(std::string_view text, std::size_t at) {
  std::optional<DeclaredEncodingPlace> content_charset;
  bool declares_content_type = false;
  while (const std::optional<Attribute> attribute = NextAttribute(text, at)) {
    if (EqualsIgnoringCase(attribute->name, kCharsetName) && !attribute->value.empty())
      return DeclaredEncodingPlace{attribute->value_offset, attribute->value.size()};
    if (EqualsIgnoringCase(attribute->name, "http-equiv"))
      declares_content_type = EqualsIgnoringCase(attribute->value, "content-type");
    if (EqualsIgnoringCase(attribute->name, "content") && !content_charset)
      content_charset = CharsetInContent(*attribute);
  }
  return declares_content_type ? content_charset : std::nullopt;
}

bool IsMetaTagAt(std::string_view text, std::size_t at) {
  const std::size_t after = at + 1 + kMetaName.size();
  if (after >= text.size()) return false;
  return EqualsIgnoringCase(text.substr(at + 1, kMetaName.size()), kMetaName) &&
         (IsAsciiWhiteSpace(text[after]) || text[after] == '/');
}

}  // namespace

std::optional<DeclaredEncodingPlace> FindMetaCharset(std::string_view page) {
  const std::string_view text = page.substr(0, kMetaCharsetScanBytes);
  for (std::size_t at = text.find('<'); at != text.npos; at = text.find('<', at + 1)) {
    if (text.substr(at).starts_with(kCommentStart)) {
      at = text.find(kCommentEnd, at + kCommentStart.size());
      if (at == text.npos) return std::nullopt;
      continue;
    }
    if (!IsMetaTagAt(text, at)) continue;
    if (auto place = CharsetOfMeta(text, at + 1 + kMetaName.size())) return place;
  }
  return std::nullopt;
}

std::string_view MetaCharset(std::string_view page) {
  const std::optional<DeclaredEncodingPlace> place = FindMetaCharset(page);
  return place ? page.substr(place->offset, place->length) : std::string_view();
}

}  // namespace tavi
