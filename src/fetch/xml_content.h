#pragma once

// Reading the content of one element of a feed document: its text, and the
// values of the attributes of its start tag. Both work on the raw bytes of
// the document and decode entity references on the way out.

#include <string>
#include <string_view>

namespace tavi {

// The text of an element's content (the bytes between its start tag and its
// end tag). Content without '<' is decoded whole. Otherwise it is cut into
// tokens: text is decoded and kept, a CDATA section contributes its inner
// bytes undecoded, and white space alone, comments, processing instructions,
// tags and everything else contribute nothing.
std::string XmlTextContent(std::string_view content);

// The value of the attribute `name` in `start_tag` (from its '<' through its
// '>'), decoded; "" when it is absent. Names match as XmlNameMatches says and
// the first match counts. An attribute written without a value yields its own
// name. After the tag name the tag is read as tokens: quoted text; after '=',
// a run up to white space or '>'; otherwise a run up to '=', white space,
// '>', '/' or '?', or that one character alone. '/', '>' and '?' end the
// attributes.
std::string XmlAttributeValue(std::string_view start_tag, std::string_view name);

}  // namespace tavi
