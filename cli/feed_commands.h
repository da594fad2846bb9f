#pragma once

// The commands that set up the data folder and manage subscriptions: init,
// add, edit, delete and feeds. Each returns the exit code.

#include "cli/command_context.h"

namespace tavi::cli {

// Creates the data folder, its "plugins" folder and the host's mailboxes.
int RunInit(const CommandContext& context);
// Subscribes ALIAS at URL; a refusal names the rule and exits 1.
int RunAdd(const CommandContext& context);
// Changes ALIAS as the options say; a refusal restores the feed as it was.
int RunEdit(const CommandContext& context);
// Unsubscribes ALIAS (its newsbox and messages stay).
int RunDelete(const CommandContext& context);
// Lists the feeds with their options.
int RunFeeds(const CommandContext& context);

}  // namespace tavi::cli
