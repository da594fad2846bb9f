#include "fetch/xml_token_scanner.h"

#include <array>

namespace tavi {
namespace {

enum CharClass : unsigned char {
  kWhite = 1,      // blank, tab, LF, CR
  kNameStart = 2,  // A-Z, '_', ':', and every byte above 0x60
};

constexpr std::array<unsigned char, 256> MakeCharClasses() {
  std::array<unsigned char, 256> classes{};
  for (const unsigned char c : {' ', '\t', '\n', '\r'}) classes[c] |= kWhite;
  for (int c = 'A'; c <= 'Z'; ++c) classes[c] |= kNameStart;
  for (int c = 0x61; c <= 0xFF; ++c) classes[c] |= kNameStart;
  classes['_'] |= kNameStart;
  classes[':'] |= kNameStart;
  return classes;
}
constexpr std::array<unsigned char, 256> kCharClasses = MakeCharClasses();

bool HasClass(char c, CharClass wanted) {
  return (kCharClasses[static_cast<unsigned char>(c)] & wanted) != 0;
}
bool IsWhite(char c) { return HasClass(c, kWhite); }
bool IsQuote(char c) { return c == '"' || c == '\''; }

XmlToken Token(XmlTokenKind kind, std::size_t start, std::size_t end) {
  XmlToken token;
  token.kind = kind;
  token.start = start;
  token.length = end - start;
  return token;
}

XmlToken ErrorToken(XmlTokenError error, std::size_t start, std::size_t end) {
  XmlToken token = Token(XmlTokenKind::kError, start, end);
  token.error = error;
  return token;
}

// A token that the end of the text cut off: an error reaching to the end.
XmlToken Unterminated(std::string_view text, std::size_t start, XmlTokenError error) {
  return ErrorToken(error, start, text.size());
}

// The markup token at `start` ended by `terminator` searched from `from`, or
// the unterminated error when the terminator never comes.
XmlToken EndedBy(std::string_view text, std::size_t start, std::size_t from,
                 std::string_view terminator, XmlTokenKind kind, XmlTokenError unterminated) {
  const std::size_t found = text.find(terminator, from);
  if (found == std::string_view::npos) return Unterminated(text, start, unterminated);
  return Token(kind, start, found + terminator.size());
}

// An error found at `from`: the token runs to the next '>' (included) or to
// just before the next '<'.
XmlToken IncorrectMarkup(std::string_view text, std::size_t start, std::size_t from,
                         XmlTokenError error) {
  const std::size_t stop = text.find_first_of("<>", from);
  if (stop == std::string_view::npos)
    return Unterminated(text, start, XmlTokenError::kUnterminatedAfterError);
  return ErrorToken(error, start, text[stop] == '>' ? stop + 1 : stop);
}

std::size_t FindNameEnd(std::string_view text, std::size_t from) {
  std::size_t pos = from;
  while (pos < text.size() && !IsXmlNameEnd(text[pos])) ++pos;
  return pos;
}

// The slash before '>' closes the element at once only when it stands apart
// from an unquoted attribute value, whose slashes are its own.
bool IsEmptyElementClose(std::string_view text, std::size_t name_end, std::size_t close) {
  const std::size_t slash = close - 1;
  if (slash < name_end || text[slash] != '/') return false;
  return slash == name_end || IsWhite(text[slash - 1]) || IsQuote(text[slash - 1]);
}

XmlToken ScanStartTag(std::string_view text, std::size_t start) {
  const std::size_t name_end = FindNameEnd(text, start + 1);
  const std::size_t close = FindStartTagClose(text, name_end);
  if (close == text.size()) return Unterminated(text, start, XmlTokenError::kUnterminatedStartTag);
  XmlToken token = Token(XmlTokenKind::kStartTag, start, close + 1);
  token.name_start = start + 1;
  token.name_length = name_end - token.name_start;
  token.empty_element = IsEmptyElementClose(text, name_end, close);
  return token;
}

XmlToken ScanEndTag(std::string_view text, std::size_t start) {
  const std::size_t name_end = FindNameEnd(text, start + 2);
  const std::size_t close = FindXmlByte(text, name_end, '>');
  if (close == text.size()) return Unterminated(text, start, XmlTokenError::kUnterminatedEndTag);
  XmlToken token = Token(XmlTokenKind::kEndTag, start, close + 1);
  token.name_start = start + 2;
  token.name_length = name_end - token.name_start;
  return token;
}

// The end of one markup declaration, comment or processing instruction of
// an internal subset that starts at the '<' at `start`: just past its '>',
// "-->" or "?>", with quoted literals skipped, so that an entity value such as
// "<" or ">" ends nothing. npos when the text ends first.
std::size_t SkipSubsetMarkup(std::string_view text, std::size_t start) {
  if (text.compare(start, 4, "<!--") == 0) {
    const std::size_t end = text.find("-->", start + 4);
    return end == std::string_view::npos ? end : end + 3;
  }
  if (text.compare(start, 2, "<?") == 0) {
    const std::size_t end = text.find("?>", start + 2);
    return end == std::string_view::npos ? end : end + 2;
  }
  for (std::size_t pos = start + 1; pos < text.size(); ++pos) {
    if (text[pos] == '>') return pos + 1;
    if (IsQuote(text[pos])) pos = FindXmlByte(text, pos + 1, text[pos]);
  }
  return std::string_view::npos;
}

// The end of the internal subset that opens at the '[' at `open`: just past
// its ']', or npos when the text ends first. Only markup inside the subset
// nests; its comments and quoted literals may hold any character.
std::size_t SkipInternalSubset(std::string_view text, std::size_t open) {
  for (std::size_t pos = open + 1; pos < text.size();) {
    const char c = text[pos];
    if (c == ']') return pos + 1;
    if (c == '<') {
      pos = SkipSubsetMarkup(text, pos);
      if (pos == std::string_view::npos) return pos;
      continue;
    }
    if (IsQuote(c)) pos = FindXmlByte(text, pos + 1, c);
    ++pos;
  }
  return std::string_view::npos;
}

// A document type declaration ends at the first '>' outside its internal
// subset. A '<' before the subset opens nothing: "<!DOCTYPE a <b>" ends at
// the '>' after b.
XmlToken ScanDoctype(std::string_view text, std::size_t start) {
  std::size_t pos = start + 2;
  while (pos < text.size()) {
    if (text[pos] == '>') return Token(XmlTokenKind::kDeclaration, start, pos + 1);
    // An unended subset gives npos, which ends the walk too.
    pos = text[pos] == '[' ? SkipInternalSubset(text, pos) : pos + 1;
  }
  return Unterminated(text, start, XmlTokenError::kUnterminatedDoctype);
}

// "<!" and what follows: comment, CDATA section or declaration.
XmlToken ScanBangMarkup(std::string_view text, std::size_t start) {
  const std::size_t kind_pos = start + 2;
  if (kind_pos >= text.size())
    return Unterminated(text, start, XmlTokenError::kUnterminatedDoctype);
  switch (text[kind_pos]) {
    case '-':
      if (kind_pos + 1 >= text.size())
        return Unterminated(text, start, XmlTokenError::kUnterminatedComment);
      if (text[kind_pos + 1] != '-')
        return IncorrectMarkup(text, start, kind_pos + 1, XmlTokenError::kIncorrectCommentTag);
      return EndedBy(text, start, kind_pos + 2, "-->", XmlTokenKind::kComment,
                     XmlTokenError::kUnterminatedComment);
    case '[':
      if (kind_pos + 1 >= text.size())
        return Unterminated(text, start, XmlTokenError::kUnterminatedCData);
      if (text[kind_pos + 1] != 'C')
        return IncorrectMarkup(text, start, kind_pos + 1, XmlTokenError::kIncorrectCDataTag);
      return EndedBy(text, start, kind_pos + 2, "]]>", XmlTokenKind::kCData,
                     XmlTokenError::kUnterminatedCData);
    case 'D':
      return ScanDoctype(text, start);
    case 'E':
    case 'A':
    case 'N':
      return EndedBy(text, start, kind_pos + 1, ">", XmlTokenKind::kDeclaration,
                     XmlTokenError::kUnterminatedDoctype);
  }
  return IncorrectMarkup(text, start, kind_pos, XmlTokenError::kIncorrectBangTag);
}

XmlToken ScanTextRun(std::string_view text, std::size_t start) {
  XmlTokenKind kind = XmlTokenKind::kWhiteSpace;
  std::size_t pos = start;
  for (; pos < text.size() && text[pos] != '<'; ++pos) {
    if (text[pos] == '>') return Token(XmlTokenKind::kText, start, pos + 1);
    if (!IsWhite(text[pos])) kind = XmlTokenKind::kText;
  }
  return Token(kind, start, pos);
}

std::string WithOffset(const char* before, const XmlToken& token, const char* after) {
  return before + std::to_string(token.start) + after;
}

}  // namespace

std::size_t FindStartTagClose(std::string_view text, std::size_t name_end) {
  for (std::size_t pos = name_end; pos < text.size(); ++pos) {
    if (text[pos] == '>') return pos;
    if (IsQuote(text[pos])) pos = FindXmlByte(text, pos + 1, text[pos]);
  }
  return text.size();
}

XmlToken ScanXmlToken(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return Token(XmlTokenKind::kEndOfText, text.size(), text.size());
  if (text[pos] != '<') return ScanTextRun(text, pos);
  return ScanXmlMarkup(text, pos);
}

XmlToken ScanXmlMarkup(std::string_view text, std::size_t pos) {
  const std::size_t kind_pos = pos + 1;
  if (kind_pos >= text.size()) return Unterminated(text, pos, XmlTokenError::kUnterminatedStartTag);
  const char kind = text[kind_pos];
  if (HasClass(kind, kNameStart)) return ScanStartTag(text, pos);
  if (kind == '/') return ScanEndTag(text, pos);
  if (kind == '?')
    return EndedBy(text, pos, kind_pos + 1, "?>", XmlTokenKind::kProcessingInstruction,
                   XmlTokenError::kUnterminatedProcessingInstruction);
  if (kind == '!') return ScanBangMarkup(text, pos);
  return IncorrectMarkup(text, pos, kind_pos, XmlTokenError::kIncorrectNameCharacter);
}

std::string XmlTokenErrorText(const XmlToken& token) {
  switch (token.error) {
    case XmlTokenError::kNone:
      return "";
    case XmlTokenError::kIncorrectCommentTag:
      return WithOffset("Incorrect comment tag at offset ", token, "");
    case XmlTokenError::kIncorrectCDataTag:
      return WithOffset("Incorrect tag at offset ", token, "");
    case XmlTokenError::kIncorrectBangTag:
      return WithOffset("Incorrect ! tag at offset ", token, "");
    case XmlTokenError::kIncorrectNameCharacter:
      return WithOffset("Incorrect tag name character at offset ", token, "");
    case XmlTokenError::kUnterminatedDoctype:
      return WithOffset("Doctype at offset ", token, " unterminated");
    case XmlTokenError::kUnterminatedEndTag:
      return WithOffset("Element end tag at offset ", token, " unterminated");
    case XmlTokenError::kUnterminatedStartTag:
      return WithOffset("Element tag at offset ", token, " unterminated");
    case XmlTokenError::kUnterminatedCData:
      return WithOffset("CDATA Section at offset ", token, " unterminated");
    case XmlTokenError::kUnterminatedProcessingInstruction:
      return WithOffset("Processing instruction at offset ", token, " unterminated");
    case XmlTokenError::kUnterminatedComment:
      return WithOffset("Comment at offset ", token, " unterminated");
    case XmlTokenError::kUnterminatedAfterError:
      return WithOffset("tag at offset ", token, " unterminated");
  }
  return "";
}

}  // namespace tavi
