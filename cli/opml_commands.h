#pragma once

// The opml command: subscription lists in and out of Tavi, in the outline
// format other aggregators read and write.

#include "cli/command_context.h"

namespace tavi::cli {

// "opml import FILE [--learn-titles]" subscribes every feed outline of FILE
// and "opml export" writes every feed to the output as OPML 2.0. An import
// changes nothing when FILE cannot be read as OPML (exit 1); otherwise it
// prints each feed added and, on the error stream, each outline refused with
// the reason, and exits 1 when it refused any. The usage exit code for a
// missing FILE or one given to export.
int RunOpml(const CommandContext& context);

}  // namespace tavi::cli
