#pragma once

// Text in a named encoding turned into UTF-8, the system's code page, by the
// C library's converters (iconv): the encodings and their names are the
// library's, never tables of our own. Nothing here throws; a conversion that
// meets bytes it cannot read goes on past them.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavi::platform {

// The longest encoding name handed to the C library. The registered names
// are at most 40 characters; anything longer is no encoding's name.
inline constexpr std::size_t kMaxEncodingNameLength = 64;

// The UTF-8 form of U+FFFD, which stands for every unreadable piece of input.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

enum class ConversionStatus {
  kConverted,        // every byte was read as the encoding says
  kReplaced,         // some bytes were invalid in the encoding: each became U+FFFD
  kUnknownEncoding,  // the name is none the library converts from: nothing was read
};

struct Utf8Conversion {
  ConversionStatus status = ConversionStatus::kConverted;
  std::string text;          // the UTF-8 text; "" for an unknown encoding
  std::size_t replaced = 0;  // how many U+FFFD in `text` stand for invalid input
};

// True when `name` can be an encoding's name: 1 to kMaxEncodingNameLength
// ASCII letters, digits and "-_.:+()", the first a letter or a digit.
// Anything else (a "/", which the
// library reads as the start of its own options, a blank, a control byte)
// is refused before the library sees it.
bool IsEncodingName(std::string_view name);

// `bytes` read in the encoding `encoding` names ("windows-1251", "UTF-16LE",
// any case) and written as UTF-8. A byte-order mark is not removed: it
// becomes U+FEFF like any character. Each code unit that cannot be read (one
// byte; two in UTF-16 and UCS-2, four in UTF-32 and UCS-4) becomes one
// U+FFFD, and a sequence cut off by the end of `bytes` one more. A name that
// fails IsEncodingName, or that the library does not know, gives
// kUnknownEncoding and an empty text.
Utf8Conversion ConvertToUtf8(std::string_view bytes, std::string_view encoding);

}  // namespace tavi::platform
