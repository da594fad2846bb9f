#pragma once

// The tavi command's help texts, made from the tables of
// cli/command_syntax.h: what the help shows is what the parser accepts.

#include <string>
#include <string_view>

namespace tavi::cli {

// The overview: the usage line, the global options, every command with its
// summary, the data folder's default and the exit codes.
std::string OverviewHelpText();

// The help for the command named `name`: its usage line, its summary, and
// every argument and option with its explanation. The overview when there
// is no such command.
std::string CommandHelpText(std::string_view name);

}  // namespace tavi::cli
