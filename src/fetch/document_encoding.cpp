#include "fetch/document_encoding.h"

#include <array>
#include <optional>
#include <vector>

#include "fetch/html_meta_charset.h"
#include "fetch/xml_declaration.h"
#include "platform/ascii.h"
#include "platform/text_conversion.h"
#include "platform/utf8.h"

namespace tavi {
namespace {

using platform::ConversionStatus;

constexpr std::string_view kUtf8 = "UTF-8";
constexpr std::string_view kWindows1252 = "windows-1252";
// How many passes a page gets to name UTF-8 (see DeclarePageUtf8).
constexpr int kMetaRewritePasses = 8;

// The names browsers read as windows-1252 and as UTF-8, in lower case.
constexpr std::array<std::string_view, 17> kWindows1252Names = {
    "ansi_x3.4-1968", "ascii",           "cp1252",     "cp819",     "csisolatin1",
    "ibm819",         "iso-8859-1",      "iso-ir-100", "iso8859-1", "iso88591",
    "iso_8859-1",     "iso_8859-1:1987", "l1",         "latin1",    "us-ascii",
    "windows-1252",   "x-cp1252"};
constexpr std::array<std::string_view, 6> kUtf8Names = {
    "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8", "utf-8", "utf8", "x-unicode20utf8"};

// A byte-order mark: its bytes and the encoding it announces. UTF-32LE's
// starts with UTF-16LE's, so it is looked for first.
struct ByteOrderMark {
  std::string_view bytes;
  std::string_view encoding;
};
constexpr std::array<ByteOrderMark, 5> kByteOrderMarks = {{
    {std::string_view("\xFF\xFE\x00\x00", 4), "UTF-32LE"},
    {std::string_view("\x00\x00\xFE\xFF", 4), "UTF-32BE"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
    {"\xEF\xBB\xBF", kUtf8},
}};

// A place that may name the encoding, and its name there.
struct Candidate {
  std::string_view name;
  EncodingSource source;
};

// What sets a feed document apart from a web page here: where the document
// names its own encoding, and how it is made to name UTF-8 once it is.
struct DocumentKind {
  EncodingSource own_place;  // the XML declaration or the meta charset
  std::string_view (*named_encoding)(std::string_view text);
  void (*declare_utf8)(std::string& text);
};

// What the decoding has found so far.
struct Decoding {
  const DocumentKind& kind;
  std::vector<std::string> notes;

  DecodedDocument Result(std::string text, std::string_view name, EncodingSource source) const {
    std::string joined;
    for (const std::string& note : notes) joined += (joined.empty() ? "" : "; ") + note;
    return {std::move(text), {std::string(name), source, std::move(joined)}};
  }
};

bool IsOneOf(std::string_view name, const auto& names) {
  const std::string lower = platform::ToLowerAscii(name);
  for (const std::string_view known : names) {
    if (lower == known) return true;
  }
  return false;
}

// UTF-16 and UTF-32 under their names: the name alone leaves no ASCII in
// which a declaration could have been read.
bool IsWideUnicodeName(std::string_view name) {
  std::string letters;
  for (const char c : name) {
    if (c != '-' && c != '_') letters += platform::ToLowerAscii(c);
  }
  return letters.starts_with("utf16") || letters.starts_with("utf32") ||
         letters.starts_with("ucs2") || letters.starts_with("ucs4");
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string_view SourcePhrase(EncodingSource source) {
  if (source == EncodingSource::kCharset) return "the Content-Type charset";
  return source == EncodingSource::kMetaCharset ? "the meta charset" : "the XML declaration";
}

std::string_view TrimmedCharset(std::string_view charset) {
  while (!charset.empty() && (platform::IsAsciiWhiteSpace(charset.front()) ||
                              charset.front() == '"' || charset.front() == '\''))
    charset.remove_prefix(1);
  while (!charset.empty() && (platform::IsAsciiWhiteSpace(charset.back()) ||
                              charset.back() == '"' || charset.back() == '\''))
    charset.remove_suffix(1);
  return charset;
}

// Makes the encoding named at `place` in `text`, now UTF-8, say so. False
// when there is no place or it names UTF-8 already.
bool NameUtf8At(std::string& text, const std::optional<DeclaredEncodingPlace>& place) {
  if (!place) return false;
  if (IsUtf8EncodingName(std::string_view(text).substr(place->offset, place->length))) return false;
  text.replace(place->offset, place->length, kUtf8);
  return true;
}

// A declaration without an encoding already means UTF-8.
void DeclareFeedUtf8(std::string& text) { NameUtf8At(text, FindDeclaredEncoding(text)); }

// A page written as XHTML may carry a declaration as well as a meta charset.
// Naming UTF-8 in one may change what the other is read as (a meta inside
// the declaration, a shorter name that brings another meta into the part of
// the page looked at), so each pass names UTF-8 in both until neither
// changes.
void DeclarePageUtf8(std::string& text) {
  for (int pass = 0; pass < kMetaRewritePasses; ++pass) {
    const bool declaration_changed = NameUtf8At(text, FindDeclaredEncoding(text));
    const bool meta_changed = NameUtf8At(text, FindMetaCharset(text));
    if (!declaration_changed && !meta_changed) return;
  }
}

constexpr DocumentKind kFeedDocument{EncodingSource::kDeclaration, DeclaredEncoding,
                                     DeclareFeedUtf8};
constexpr DocumentKind kWebPage{EncodingSource::kMetaCharset, MetaCharset, DeclarePageUtf8};

// `text`, to be read as UTF-8: it stays as it is, its invalid bytes counted.
DecodedDocument AsUtf8(std::string text, EncodingSource source, Decoding& decoding) {
  // Almost every document is well formed, and is then not copied to be counted.
  if (!platform::IsValidUtf8(text)) {
    const platform::Utf8Conversion check = platform::ConvertToUtf8(text, kUtf8);
    decoding.notes.push_back("invalid UTF-8 left as it came (" +
                             Counted(check.replaced, "byte", "bytes") + ")");
  }
  if (source != EncodingSource::kDefault) decoding.kind.declare_utf8(text);
  return decoding.Result(std::move(text), kUtf8, source);
}

// `bytes` converted from `encoding`; nullopt when the library does not know it.
std::optional<DecodedDocument> Converted(std::string_view bytes, std::string_view encoding,
                                         EncodingSource source, Decoding& decoding) {
  platform::Utf8Conversion converted = platform::ConvertToUtf8(bytes, encoding);
  if (converted.status == ConversionStatus::kUnknownEncoding) return std::nullopt;
  if (converted.replaced > 0)
    decoding.notes.push_back("invalid " + std::string(encoding) + " replaced by U+FFFD (" +
                             Counted(converted.replaced, "sequence", "sequences") + ")");
  decoding.kind.declare_utf8(converted.text);
  return decoding.Result(std::move(converted.text), encoding, source);
}

// The document read as `candidate` names it; nullopt, with a note, when the
// name is no usable one.
std::optional<DecodedDocument> DecodedAs(std::string& bytes, const Candidate& candidate,
                                         Decoding& decoding) {
  const std::string_view phrase = SourcePhrase(candidate.source);
  if (!platform::IsEncodingName(candidate.name)) {
    decoding.notes.push_back(std::string(phrase) + " names no encoding (a name of " +
                             std::to_string(candidate.name.size()) + " bytes), ignored");
    return std::nullopt;
  }
  const std::string name(candidate.name);
  if (candidate.source == decoding.kind.own_place && IsWideUnicodeName(name)) {
    decoding.notes.push_back(std::string(phrase) + " names " + name +
                             " but there is no byte-order mark, ignored");
    return std::nullopt;
  }
  if (IsUtf8EncodingName(name)) return AsUtf8(std::move(bytes), candidate.source, decoding);
  const std::string_view encoding = IsOneOf(name, kWindows1252Names) ? kWindows1252 : name;
  std::optional<DecodedDocument> decoded = Converted(bytes, encoding, candidate.source, decoding);
  if (!decoded)
    decoding.notes.push_back("unknown encoding \"" + name + "\" in " + std::string(phrase) +
                             ", ignored");
  return decoded;
}

const ByteOrderMark* FindByteOrderMark(std::string_view bytes) {
  for (const ByteOrderMark& mark : kByteOrderMarks) {
    if (bytes.starts_with(mark.bytes)) return &mark;
  }
  return nullptr;
}

DecodedDocument FromByteOrderMark(std::string bytes, const ByteOrderMark& mark,
                                  const DocumentKind& kind) {
  Decoding decoding{kind, {}};
  bytes.erase(0, mark.bytes.size());
  if (mark.encoding == kUtf8)
    return AsUtf8(std::move(bytes), EncodingSource::kByteOrderMark, decoding);
  std::optional<DecodedDocument> decoded =
      Converted(bytes, mark.encoding, EncodingSource::kByteOrderMark, decoding);
  // The C library always converts from UTF-16 and UTF-32.
  if (!decoded) return decoding.Result(std::move(bytes), kUtf8, EncodingSource::kDefault);
  return std::move(*decoded);
}

// The document read in the encoding the first usable place names.
DecodedDocument Decode(std::string bytes, std::string_view charset, const DocumentKind& kind) {
  if (const ByteOrderMark* mark = FindByteOrderMark(bytes))
    return FromByteOrderMark(std::move(bytes), *mark, kind);
  Decoding decoding{kind, {}};
  // The named encoding is copied: a decoding may take the bytes it lies in.
  const std::string named(kind.named_encoding(bytes));
  const std::array<Candidate, 2> candidates = {
      Candidate{TrimmedCharset(charset), EncodingSource::kCharset},
      Candidate{named, kind.own_place}};
  for (const Candidate& candidate : candidates) {
    if (candidate.name.empty()) continue;
    if (std::optional<DecodedDocument> decoded = DecodedAs(bytes, candidate, decoding))
      return std::move(*decoded);
  }
  return AsUtf8(std::move(bytes), EncodingSource::kDefault, decoding);
}

}  // namespace

DecodedDocument DecodeFeedDocument(std::string bytes, std::string_view charset) {
  return Decode(std::move(bytes), charset, kFeedDocument);
}

DecodedDocument DecodeWebPage(std::string bytes, std::string_view charset) {
  return Decode(std::move(bytes), charset, kWebPage);
}

bool IsUtf8EncodingName(std::string_view name) { return IsOneOf(name, kUtf8Names); }

std::string_view EncodingSourceName(EncodingSource source) {
  switch (source) {
    case EncodingSource::kDefault:
      return "default";
    case EncodingSource::kByteOrderMark:
      return "byte-order mark";
    case EncodingSource::kCharset:
      return "Content-Type";
    case EncodingSource::kDeclaration:
      return "XML declaration";
    case EncodingSource::kMetaCharset:
      return "meta charset";
  }
  return "default";
}

}  // namespace tavi
