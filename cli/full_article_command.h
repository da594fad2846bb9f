#pragma once

// The full-article command: what the translator "Get the Full Article" with
// Ctrl held would make of a stored message, printed instead of stored.

#include "cli/command_context.h"

namespace tavi::cli {

// full-article MAILBOX N [--text]: fetches the page named by the "Website: "
// line of message N of the mailbox (found as read finds it) and prints the
// message the translator would make of it (its header block, then the page
// in "<html>" and "</html>"; with --text as text lines joined by "<br>"),
// made printable. The stored message is not changed. A missing mailbox or
// message, a message without a Website line and a page that cannot be
// fetched or is no text are reported on the error stream and exit 1.
int RunFullArticle(const CommandContext& context);

}  // namespace tavi::cli
