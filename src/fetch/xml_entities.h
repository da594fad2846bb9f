#pragma once

// Entity decoding for the texts XmlDocument reads out of a feed: character
// references become UTF-8, the five predefined entities become their
// characters, and everything else stays exactly as written.

#include <string>
#include <string_view>

namespace tavi {

// `text` with its references decoded, walking it byte by byte:
// - "&#" and decimal digits, or "&#x" and hexadecimal digits, is a character
//   reference when a ';' follows within seven characters after the '#' (after
//   the 'x'); its value is the number formed by the leading digits, and the
//   reference is consumed through the ';'. The value becomes its UTF-8
//   sequence of one to four bytes. A value of 0 (also when no digit came), one
//   in 0xD800-0xDFFF and one above 0x10FFFF name no character: the reference
//   stays as written.
// - "&lt;", "&amp;", "&gt;", "&apos;" and "&quot;" (lower case, wholly inside
//   the text) become < & > ' ".
// - Every other byte, including the '&' of any other entity such as "&nbsp;",
//   is copied unchanged.
std::string DecodeXmlEntities(std::string_view text);

// DecodeXmlEntities(text) appended to `out`.
void AppendDecodedXmlEntities(std::string& out, std::string_view text);

}  // namespace tavi
