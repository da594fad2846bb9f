#pragma once

// Texts that come from feeds (titles, names, message headers and bodies)
// are printed through these functions, so that a feed can never send the
// terminal a control sequence: no colours, no cursor moves, no window title,
// no cleared screen.

#include <string>
#include <string_view>

namespace tavi::cli {

// The text made printable: every control character is written as an escape
// and everything else passes unchanged. Escaped are the C0 controls
// (U+0000..U+001F: "\t", "\n" and "\r" by name, the others as "\x1B"), DEL
// ("\x7F"), the C1 controls U+0080..U+009F as UTF-8 encodes them
// ("\u009B"), and every byte that is not part of valid UTF-8 ("\xFF"), since
// a terminal reading bytes as Latin-1 takes 0x9B for a control too.
// Backslashes pass unchanged.
std::string PrintableText(std::string_view text);

// The same for a text of several lines: line feeds stay, and a carriage
// return right before a line feed ends the line with it (stored messages
// end their lines with both). A carriage return anywhere else is escaped, as
// it would let the rest of a line overwrite its start.
std::string PrintableLines(std::string_view text);

}  // namespace tavi::cli
