#pragma once

// The commands that run the check engine: download (the main window's
// Download over the named feeds, or all) and import (the cache import the
// menu item runs when the background checker left documents). Each prints
// one line per feed as its check ends, then the totals; with --report, also
// the report the information dialog shows in its result form. They exit 0
// when every feed was checked and 1 when any failed or Ctrl+C stopped the
// run.

#include <iosfwd>

#include "cli/command_context.h"
#include "engine/download_run.h"
#include "plugin/plugin_paths.h"

namespace tavi::cli {

int RunDownload(const CommandContext& context);
int RunImport(const CommandContext& context);

// The cache import over the cache of `paths` as the menu item runs it,
// printing each feed's line as its check ends (none for an empty cache);
// returns what it came to.
RunSummary ImportCachedFeeds(const CommandContext& context, const PluginPaths& paths);

// One feed's line: its alias, then "N new", "no new articles", "not
// modified" (the server said the document had not changed) or "failed:"
// with the cause (the new articles first when some arrived); a feed whose
// URL changed because its document moved adds "; moved permanently to" and
// the new URL. Made printable.
std::string FeedOutcomeLine(const FeedOutcome& feed);

// The run's totals: "Checked 3 feeds: 5 new articles, 1 feed failed."
std::string RunTotalsLine(const RunSummary& summary);

// The run's report after a blank line: the information dialog's caption, a
// rule under it, and its text as composed (tabs and blank lines included),
// made printable.
void PrintRunReport(std::ostream& out, const RunSummary& summary);

// The exit code of a run: 1 when a feed failed or the run was stopped, 0
// otherwise.
int ExitCodeOf(const RunSummary& summary);

}  // namespace tavi::cli
