#pragma once

// What every command gets: its parsed arguments, the data folder, the two
// output streams and what is known about the terminal.

#include <cstddef>
#include <iosfwd>
#include <string>

#include "cli/arguments.h"

namespace tavi::cli {

// The process's surroundings, as main() finds them; tests leave the
// defaults.
struct CommandEnvironment {
  bool out_is_terminal = false;  // standard output is a terminal: draw progress bars
  std::size_t terminal_width = 80;
  std::string default_data_folder;  // used without --data
};

struct CommandContext {
  const ParsedCommand& command;
  const std::string& data_folder;  // --data, else the environment's default
  std::ostream& out;
  std::ostream& err;
  const CommandEnvironment& environment;
};

// The exit codes.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
// The arguments were wrong: the command did nothing.
inline constexpr int kExitUsage = 2;

}  // namespace tavi::cli
