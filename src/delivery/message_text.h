#pragma once

// Small text utilities over raw message text and downloaded pages: picking a
// header value out of a message, splitting a text at a delimiter, and reading
// a downloaded page as text.

#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// The value of the first line of `message` (lines end in CR LF) that begins
// with `header_name`, compared without regard to the case of ASCII letters.
// The name includes the colon and, when the caller wants the blank skipped,
// the blank ("Subject: "). Every line is compared, body lines included, until
// one matches. The lines that directly follow the matching line and hold no
// colon are continuation lines and are appended whole, without separators (an
// empty line counts as one); a following line that matches the name again
// adds the rest after the name; the first other line with a colon ends the
// value. Empty when no line matches or the name is empty.
std::string GetHeaderValue(const std::string& message, const std::string& header_name);

// Splits `text` at every occurrence of `delimiter` and appends the pieces to
// `pieces`, the piece after the last delimiter included (possibly empty).
// Returns the size of `pieces` afterwards; an empty delimiter leaves the list
// unchanged and returns 0.
int SplitString(const std::string& text, const std::string& delimiter,
                std::vector<std::string>& pieces);

// The text of a downloaded web page, in UTF-8 when the page tells what it
// was written in: DecodeWebPage (fetch/document_encoding.h) reads it by its
// byte-order mark, else `charset` (the HTTP Content-Type's, "" when none is
// known), else its meta charset; a page that tells nothing stays as its bytes
// came. The text then ends at its first zero byte. Returns "-1" when the path
// is empty, the file cannot be read, or the text is shorter than half the
// decoded page's size less 20 bytes (a binary file, such as an image).
std::string LoadDownloadedText(const std::string& path, std::string_view charset = {});

}  // namespace tavi
