#pragma once

// A feed document as it arrived, in whatever encoding its publisher chose,
// turned into UTF-8 (the system's code page) before it is parsed, so that
// every text taken from it is UTF-8 whatever the feed was written in.
//
// Where the encoding is found, the first that names a usable one winning:
//   1. a byte-order mark: UTF-32 or UTF-16 in either byte order, or UTF-8;
//   2. the charset the transport named (an HTTP Content-Type's);
//   3. the encoding of the XML declaration;
//   4. otherwise UTF-8, the default of XML.
// A name that is unknown, or is no name at all (too long, odd characters),
// is noted and the next place is asked. A declaration readable as ASCII that
// names UTF-16 or UTF-32 cannot be right, and is noted and passed over too.
// ISO-8859-1 and US-ASCII, under any of their names, are read as
// windows-1252, as browsers read them: publishers who name them mostly mean
// that, and it reads the same bytes the same way apart from 0x80-0x9F.
//
// What the text then is:
//  - read as UTF-8: the bytes as they came, without a byte-order mark. Bytes
//    that are not UTF-8 stay as they are, as they always have: the note
//    counts them.
//  - read in another encoding: converted by the C library. Each byte (each
//    code unit of UTF-16 and UTF-32) that is invalid in the encoding becomes
//    U+FFFD, and the note counts them: the rest of the document is still
//    worth reading, and a message must not carry bytes that are no text.
// In both cases a declaration whose encoding is not UTF-8 is made to say
// UTF-8, so that the text never contradicts itself. When nothing named a
// usable encoding, the document is left exactly as it came.

#include <string>
#include <string_view>

namespace tavi {

// Where the encoding of a document was found.
enum class EncodingSource {
  kDefault,  // nothing usable named one: UTF-8
  kByteOrderMark,
  kCharset,      // the transport's charset
  kDeclaration,  // the XML declaration
  kMetaCharset,  // a web page's meta element (html_meta_charset.h)
};

// What DecodeFeedDocument found.
struct DocumentEncoding {
  // The encoding the text was read in: "UTF-8", "windows-1252", "UTF-16LE",
  // or another name as the document or the transport wrote it.
  std::string name = "UTF-8";
  EncodingSource source = EncodingSource::kDefault;
  // "" when the document read cleanly as `name`; otherwise what was passed
  // over or replaced, as phrases joined by "; ".
  std::string note;
};

struct DecodedDocument {
  std::string text;  // UTF-8, apart from bytes left as they were (see above)
  DocumentEncoding encoding;
};

// `bytes`, a whole feed document as it arrived, as UTF-8 text ready to parse.
// `charset` is the charset the transport named (the HTTP Content-Type's), ""
// when none is known; blanks and quotes around it are ignored. Never fails:
// at worst the text is `bytes` unchanged.
DecodedDocument DecodeFeedDocument(std::string bytes, std::string_view charset);

// `bytes`, a whole web page as it arrived (a full article), as UTF-8 text,
// found and converted as DecodeFeedDocument does with one difference: the
// page's own place is its meta charset (html_meta_charset.h), not an XML
// declaration. After a conversion the meta charset, and an XML declaration
// that an XHTML page may carry, say UTF-8. A page that names no usable
// encoding stays exactly as it came. Never fails.
DecodedDocument DecodeWebPage(std::string bytes, std::string_view charset);

// True when `name` is one of the names of UTF-8 ("UTF-8", "utf8", ...), in
// any case.
bool IsUtf8EncodingName(std::string_view name);

// How `source` is shown to people: "default", "byte-order mark",
// "Content-Type", "XML declaration", "meta charset".
std::string_view EncodingSourceName(EncodingSource source);

}  // namespace tavi
