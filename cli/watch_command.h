#pragma once

// The watch command: the stand-in host runs with the background checker
// until Ctrl+C, and every download the checker starts and ends is printed as
// one line. With --import, once every download of a tick has ended, the
// cache import runs as the menu item would run it and prints its report (a
// line per feed and the totals, as the import command does). Ctrl+C is the
// way to end it: it exits 0, and 1 only when the data folder could not be
// opened or the checker could not start.

#include <functional>

#include "cli/command_context.h"

namespace tavi::cli {

int RunWatch(const CommandContext& context);

// RunWatch, ended when `stop_requested` (asked on the calling thread between
// the lines it prints, at least every tenth of a second) returns true
// instead of by Ctrl+C.
int Watch(const CommandContext& context, const std::function<bool()>& stop_requested);

// The line for a download the checker starts: "News: downloading URL".
std::string DownloadStartedLine(const std::string& alias, const std::string& url);
// The line for a download that ended: "News: downloaded" or "News: failed:"
// and the error's text.
std::string DownloadEndedLine(const std::string& alias, bool ok, const std::string& message);

}  // namespace tavi::cli
