#pragma once

// The tavi command: parses the arguments and runs one command, writing what
// it has to say to `out` and errors to `err`. Returns the process exit code
// (0 success, 1 failure: a refusal, a feed that could not be read; 2 a usage
// error, reported in two lines: what was wrong and which help explains it).

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/command_context.h"

namespace tavi::cli {

// Runs with the given surroundings: whether `out` is a terminal, and the
// data folder to use without --data.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const CommandEnvironment& environment);

// Runs as main() would with output that is not a terminal; the data folder
// defaults to host::DefaultDataFolder().
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tavi::cli
