#pragma once

// The commands that run the check engine: download (the main window's
// Download over the named feeds, or all) and import (the cache import the
// menu item runs when the background checker left documents). Both end
// with the report the information dialog shows in its result form.

#include <iosfwd>

#include "cli/command_context.h"
#include "fetch/download_run.h"

namespace tavi::cli {

int RunDownload(const CommandContext& context);
int RunImport(const CommandContext& context);

// The run's report after a blank line: the information dialog's caption, a
// rule under it, and its text exactly as composed (tabs and blank lines
// included).
void PrintRunReport(std::ostream& out, const RunSummary& summary);

// The exit code a run's report stands for: 1 for a feed that could not be
// read (the feed-error form), 0 otherwise.
int ExitCodeOf(const RunSummary& summary);

}  // namespace tavi::cli
