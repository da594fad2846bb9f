#pragma once

// The token scanner of XmlDocument: cuts a feed document into tags, text and
// the other pieces of markup, one token at a time, without copying anything.
// It never fails: bytes that make no sense become an error token that ends at
// the next '>' or just before the next '<', so scanning resumes at the
// following markup, and a token cut off by the end of the text is an error
// token reaching to the end.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tavi {

// The token kinds, with the values the document's scan reports.
enum class XmlTokenKind : int {
  kEndTag = 0,
  kStartTag = 1,
  kText = 2,
  kWhiteSpace = 4,  // text made only of blanks, tabs, LFs and CRs
  kCData = 8,
  kProcessingInstruction = 16,
  kComment = 32,
  kDeclaration = 64,  // document type or markup declaration
  kError = -1,
  kEndOfText = -2,
};

// Why an error token is one; each has its own message (XmlTokenErrorText).
enum class XmlTokenError {
  kNone,
  kIncorrectCommentTag,     // "<!-" not followed by '-'
  kIncorrectCDataTag,       // "<![" not followed by 'C'
  kIncorrectBangTag,        // "<!" followed by none of - [ D E A N
  kIncorrectNameCharacter,  // '<' followed by a byte that starts no tag
  kUnterminatedDoctype,     // the text ends in a declaration
  kUnterminatedEndTag,      // ... in an end tag
  kUnterminatedStartTag,    // ... in a start tag (or right after '<')
  kUnterminatedCData,       // ... in a CDATA section
  kUnterminatedProcessingInstruction,
  kUnterminatedComment,
  kUnterminatedAfterError,  // ... in a token that already was an error
};

struct XmlToken {
  XmlTokenKind kind = XmlTokenKind::kEndOfText;
  std::size_t start = 0;       // offset of the token's first byte (its '<' for markup)
  std::size_t length = 0;      // bytes, through the closing '>' for markup
  bool empty_element = false;  // start tags: written as <name .../>
  // Start and end tags: the tag name, which runs to the first blank, tab, LF,
  // CR, '/' or '>'.
  std::size_t name_start = 0;
  std::size_t name_length = 0;
  XmlTokenError error = XmlTokenError::kNone;

  std::size_t end() const { return start + length; }
  std::string_view Name(std::string_view text) const {
    return text.substr(name_start, name_length);
  }
};

// The token that starts at `pos` (pos <= text.size()); kEndOfText at the end.
// Text and white space end just before the next '<' or just after a '>'.
XmlToken ScanXmlToken(std::string_view text, std::size_t pos);

// The token that starts at the '<' at `pos`: any kind but text, white space
// and end of text.
XmlToken ScanXmlMarkup(std::string_view text, std::size_t pos);

// The message for an error token, such as "Incorrect tag name character at
// offset 12" or "Comment at offset 40 unterminated"; "" for other tokens.
std::string XmlTokenErrorText(const XmlToken& token);

// The characters that end a tag name: blank, tab, LF, CR, '/' and '>'.
inline bool IsXmlNameEnd(char c) {
  constexpr std::uint64_t kNameEnds = (std::uint64_t{1} << ' ') | (std::uint64_t{1} << '\t') |
                                      (std::uint64_t{1} << '\n') | (std::uint64_t{1} << '\r') |
                                      (std::uint64_t{1} << '/') | (std::uint64_t{1} << '>');
  const auto byte = static_cast<unsigned char>(c);
  return byte < 64 && ((kNameEnds >> byte) & 1) != 0;
}

// The first `c` at or after `from`, or text.size() when there is none.
// memchr wins over a byte loop even for the short runs between tags.
inline std::size_t FindXmlByte(std::string_view text, std::size_t from, char c) {
  if (from >= text.size()) return text.size();
  const void* const found = std::memchr(text.data() + from, c, text.size() - from);
  if (found == nullptr) return text.size();
  return static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
}

// Whether a tag or attribute name read from the document (`token`) names the
// same thing as `given`: the token equals the first token.size() bytes of
// `given`, and `given` ends there or goes on with a blank, '=', '/', '[' or
// ']'. So "title" matches neither "tit" nor "titles". Case counts.
inline bool XmlNameMatches(std::string_view token, std::string_view given);

// Whether `c` may follow a matched token in a given name (see XmlNameMatches).
inline bool IsXmlNameContinuation(char c) {
  return c == ' ' || c == '=' || c == '/' || c == '[' || c == ']';
}

inline bool XmlNameMatches(std::string_view token, std::string_view given) {
  if (given.size() < token.size()) return false;
  // Tag names are short: a plain loop beats a call to memcmp.
  for (std::size_t i = 0; i < token.size(); ++i) {
    if (token[i] != given[i]) return false;
  }
  return given.size() == token.size() || IsXmlNameContinuation(given[token.size()]);
}

// Where the start tag whose name ends at `name_end` ends: the offset of the
// first '>' outside quotes from there on, or text.size() when there is none.
// A double quote opens a quoted run unless inside single quotes, and the
// other way round, so a '>' in a quoted attribute value ends nothing.
std::size_t FindStartTagClose(std::string_view text, std::size_t name_end);

}  // namespace tavi
