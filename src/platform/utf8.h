#pragma once

// Reading UTF-8 as it is, without converting it: where its characters end
// and whether a text is well formed. Overlong forms, surrogates and values
// past U+10FFFF are not UTF-8.

#include <cstddef>
#include <string_view>

namespace tavi::platform {

// The length of the well-formed UTF-8 sequence of two or more bytes that
// starts at `at`; 0 when there is none there (an ASCII byte, a stray
// continuation byte, a cut or malformed sequence, `at` past the end).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// True when the whole of `text` is well-formed UTF-8. Runs of ASCII, the
// bulk of every feed, are passed eight bytes at a time, so that checking a
// document costs little next to parsing it.
bool IsValidUtf8(std::string_view text);

}  // namespace tavi::platform
