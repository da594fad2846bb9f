// Any bytes as a feed document and as a web page, with any charset from the
// transport: finding the encoding and converting must neither crash nor read
// past the input, and whatever was converted must be UTF-8 that no longer
// names another encoding in its declaration or meta charset. The first byte
// gives the length of the charset (up to 63), the bytes after it the charset,
// the rest the document.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fetch/document_encoding.h"
#include "fetch/html_meta_charset.h"
#include "fetch/xml_declaration.h"
#include "platform/text_conversion.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool IsUtf8(std::string_view text) {
  return tavi::platform::ConvertToUtf8(text, "UTF-8").replaced == 0;
}

using Decode = tavi::DecodedDocument (*)(std::string, std::string_view);
using NamedEncoding = std::string_view (*)(std::string_view);

bool NamesUtf8OrNothing(std::string_view name) {
  return name.empty() || tavi::IsUtf8EncodingName(name);
}

// One kind of document: `named` is where that kind names its own encoding.
void CheckDecoding(const std::string& bytes, std::string_view charset, Decode decode,
                   NamedEncoding named) {
  const tavi::DecodedDocument decoded = decode(bytes, charset);
  const tavi::DocumentEncoding& encoding = decoded.encoding;
  Check(!encoding.name.empty());
  if (encoding.source == tavi::EncodingSource::kDefault) {
    // Nothing named a usable encoding: the document stays as it came.
    Check(decoded.text == bytes);
    return;
  }
  if (encoding.name != "UTF-8") Check(IsUtf8(decoded.text));
  Check(NamesUtf8OrNothing(tavi::DeclaredEncoding(decoded.text)));
  Check(NamesUtf8OrNothing(named(decoded.text)));
  // Read again, a converted text is what it is (unless it begins with a
  // character that reads as a byte-order mark).
  if (encoding.name != "UTF-8" && !decoded.text.starts_with("\xEF\xBB\xBF"))
    Check(decode(decoded.text, "").text == decoded.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.empty()) return 0;
  const std::size_t charset_length = std::min<std::size_t>(input[0] & 0x3F, input.size() - 1);
  const std::string_view charset = input.substr(1, charset_length);
  const std::string bytes(input.substr(1 + charset_length));
  CheckDecoding(bytes, charset, tavi::DecodeFeedDocument, tavi::DeclaredEncoding);
  CheckDecoding(bytes, charset, tavi::DecodeWebPage, tavi::MetaCharset);
  return 0;
}
