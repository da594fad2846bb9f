#pragma once

// The demo: the main job end to end on built-in sample feeds, with nothing
// but the build. It makes a fresh temporary data folder, serves the sample
// feeds from a loopback HTTP server, subscribes them, downloads them twice
// (everything new, then nothing new), and shows the report, the mailbox
// tree and the delivered messages; the folder is removed at the end.

#include "cli/command_context.h"

namespace tavi::cli {

int RunDemo(const CommandContext& context);

}  // namespace tavi::cli
