#pragma once

// The inspect command: reads one feed document as a check reads it and
// prints what it found as one JSON object, so that scripts and tests can see
// the parser's and the engine's view of a document without a host.

#include <string>
#include <string_view>

#include "cli/command_context.h"

namespace tavi::cli {

// What inspect found in a document.
struct DocumentInspection {
  bool loaded = false;  // the document was read and parsed without error
  std::string json;
};

// The JSON object for the document at `path`: {"loaded", "message",
// "encoding", "encoding_source", "encoding_note", "format", "articles":
// [...]}. "loaded" and "message" are the document's LoadFile result and
// ParseMessage; the three "encoding" members what its decoding found (name,
// EncodingSourceName, note); "format" is "rss" or "atom", "" when not loaded
// (and then no articles). Each article holds the record's fields as
// the engine reads them, before the composer changes anything, with
// "normalized_date" (NormalizeDateText of the date, "" for an empty date)
// and "message_id" (ComposeMessageId; "" when it has none). Dates that
// cannot be read take the current time of the platform clock. `charset` is
// the one the transport named for the document (its Content-Type's), "" when
// none.
DocumentInspection InspectDocument(const std::string& path, std::string_view charset = {});

// inspect takes this exit code when there was no document to inspect: the
// file cannot be read or the URL not downloaded. It is the usage errors'
// code too: in both cases nothing was inspected.
inline constexpr int kExitNoDocument = kExitUsage;

// inspect FILE|URL [--now "MM/DD/YYYY HH:MM:SS"]: prints InspectDocument's
// JSON for the file, or for the document at an http, https or file URL,
// downloaded into a temporary folder that is removed afterwards. --now
// (checked by the parser) pins the platform clock to that local time for the
// run. Exits 0 when the document loaded, 1 when it did not (the JSON says
// why), kExitNoDocument with a message and no JSON when there was none.
int RunInspect(const CommandContext& context);

}  // namespace tavi::cli
