#pragma once

// The inspect command: reads one feed document as a check reads it and
// prints what it found as one JSON object, so that scripts and tests can see
// the parser's and the engine's view of a document without a host.

#include <string>

#include "cli/command_context.h"

namespace tavi::cli {

// The JSON object for the document at `path`: {"loaded", "message",
// "format", "articles": [...]}. "loaded" and "message" are the document's
// LoadFile result and ParseMessage; "format" is "rss" or "atom", "" when not
// loaded (and then no articles). Each article holds the record's fields as
// the engine reads them, before the composer changes anything, with
// "normalized_date" (NormalizeDateText of the date, "" for an empty date)
// and "message_id" (ComposeMessageId; "" when it has none). Dates that
// cannot be read take the current time of the platform clock.
std::string InspectDocument(const std::string& path);

// inspect FILE [--now "MM/DD/YYYY HH:MM:SS"]: prints InspectDocument; --now
// (checked by the parser) pins the platform clock to that local time for the
// run. A document that does not load is reported in the JSON.
int RunInspect(const CommandContext& context);

}  // namespace tavi::cli
