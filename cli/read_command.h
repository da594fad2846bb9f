#pragma once

// The read command: one message of a mailbox, as the viewer shows it (its
// header block, then the body as readable text with its links listed), or
// as it is stored. Every text goes out through cli/terminal_text.h.

#include <string>
#include <string_view>

#include "cli/command_context.h"

namespace tavi::cli {

// The message text `text` (header block, empty line, body) made readable:
// each header line made printable, an empty line, then the body. An HTML
// body ("<x-html>...</x-html>") is turned into text by the text view
// (platform/html_text.h), with the numbered links listed after a blank
// line; any other body is printed as it is. Every line ends with "\n".
std::string ReadableMessage(std::string_view text);

// read MAILBOX N [--raw]: prints message N (1-based, as show numbers them)
// of the mailbox found as show finds it; with --raw the stored text as it
// is, with its line ends kept and everything else made printable. A missing
// mailbox or message is reported and exits 1.
int RunRead(const CommandContext& context);

}  // namespace tavi::cli
