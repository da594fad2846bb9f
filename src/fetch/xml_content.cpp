#include "fetch/xml_content.h"

#include <algorithm>
#include <optional>

#include "fetch/xml_entities.h"
#include "fetch/xml_token_scanner.h"

namespace tavi {
namespace {

constexpr std::string_view kCDataOpening = "<![CDATA[";
constexpr std::string_view kCDataClosing = "]]>";

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }
bool EndsAttributes(char c) { return c == '/' || c == '>' || c == '?'; }
bool EndsBareToken(char c) { return IsWhite(c) || c == '=' || EndsAttributes(c); }

// The inner bytes of a CDATA section. The scanner asks only for "<![C", so
// a section may be shorter than the full opening.
std::string_view CDataInner(std::string_view section) {
  const std::size_t inner_end = section.size() - kCDataClosing.size();
  const std::size_t inner_start = std::min(kCDataOpening.size(), inner_end);
  return section.substr(inner_start, inner_end - inner_start);
}

// Reads the attribute tokens of one start tag.
class AttributeReader {
 public:
  explicit AttributeReader(std::string_view tag) : tag_(tag) {
    while (pos_ < tag_.size() && !IsXmlNameEnd(tag_[pos_])) ++pos_;
  }

  // Moves past white space; false at the end of the tag.
  bool SkipWhiteSpace() {
    while (pos_ < tag_.size() && IsWhite(tag_[pos_])) ++pos_;
    return pos_ < tag_.size();
  }
  char Peek() const { return tag_[pos_]; }
  void Skip() { ++pos_; }

  // The quoted token at the current quote, without its quotes; a missing
  // closing quote lets it run to the end of the tag.
  std::string_view Quoted() {
    const char quote = tag_[pos_++];
    const std::size_t close = FindXmlByte(tag_, pos_, quote);
    const std::string_view token = tag_.substr(pos_, close - pos_);
    pos_ = std::min(close + 1, tag_.size());
    return token;
  }

  // An unquoted token of the bytes for which `in_token` holds.
  template <typename Predicate>
  std::string_view RunWhile(Predicate in_token) {
    const std::size_t start = pos_;
    while (pos_ < tag_.size() && in_token(tag_[pos_])) ++pos_;
    return tag_.substr(start, pos_ - start);
  }

  std::string_view Value() {
    if (IsQuote(Peek())) return Quoted();
    return RunWhile([](char c) { return !IsWhite(c) && c != '>'; });
  }
  // Called only where no delimiter starts the token, so it is never empty.
  std::string_view Name() {
    if (IsQuote(Peek())) return Quoted();
    return RunWhile([](char c) { return !EndsBareToken(c); });
  }

 private:
  std::string_view tag_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string XmlTextContent(std::string_view content) {
  if (FindXmlByte(content, 0, '<') == content.size()) return DecodeXmlEntities(content);
  std::string text;
  text.reserve(content.size());
  for (std::size_t pos = 0;;) {
    const XmlToken token = ScanXmlToken(content, pos);
    if (token.kind == XmlTokenKind::kEndOfText) return text;
    pos = token.end();
    const std::string_view bytes = content.substr(token.start, token.length);
    if (token.kind == XmlTokenKind::kText) AppendDecodedXmlEntities(text, bytes);
    if (token.kind == XmlTokenKind::kCData) text.append(CDataInner(bytes));
  }
}

std::string XmlAttributeValue(std::string_view start_tag, std::string_view name) {
  AttributeReader reader(start_tag);
  std::optional<std::string_view> matched;  // the matching name, its value still to come
  bool after_equals = false;
  while (reader.SkipWhiteSpace()) {
    if (after_equals) {
      const std::string_view value = reader.Value();
      if (matched) return DecodeXmlEntities(value);
      after_equals = false;
      continue;
    }
    if (!IsQuote(reader.Peek()) && EndsAttributes(reader.Peek())) break;
    if (reader.Peek() == '=') {
      reader.Skip();
      after_equals = true;
      continue;
    }
    const std::string_view attribute = reader.Name();
    if (matched) break;  // the match had no value
    if (XmlNameMatches(attribute, name)) matched = attribute;
  }
  return matched ? std::string(*matched) : std::string();
}

}  // namespace tavi
