#pragma once

// The tavi command's arguments: the global options (--data DIR, --no-wait,
// -h/--help, --version), one command name, the command's positional
// arguments and its options, as cli/command_syntax.h declares them.
// Anything else is a usage error, found before any work starts.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::cli {

struct ParsedCommand {
  // The command's name. A request for help (help, -h or --help anywhere) is
  // the command "help" with the command to explain, if any, as its
  // positional argument; --version is the command "--version".
  std::string command;
  std::optional<std::string> data_folder;  // --data DIR, wherever it stands
  std::vector<std::string> positionals;
  std::map<std::string, std::string, std::less<>> values;  // keyed by "--name"
  std::set<std::string, std::less<>> switches;             // "--full", "--no-wait", ...

  // True when the switch or value option (named with its dashes) was given.
  bool Has(std::string_view option) const;
  // The option's value; nullopt when it was not given.
  std::optional<std::string> Value(std::string_view option) const;
};

struct ParseOutcome {
  std::optional<ParsedCommand> command;  // nullopt on a usage error
  std::string error;                     // what was wrong, for the user
  // The command whose help explains the error; "" when no command was
  // recognised (then the overview does).
  std::string help_command;
};

// Reads the arguments after the program name. Options may stand anywhere
// after the command, as "--name VALUE" or "--name=VALUE", global options
// anywhere at all; "--" ends the options, so a later argument starting with
// "-" is positional. An unknown command or option, a missing or extra
// argument, a missing value, a value its check refuses, an option given
// twice or together with the one it excludes, and no command at all are
// usage errors.
ParseOutcome ParseArguments(const std::vector<std::string>& arguments);

}  // namespace tavi::cli
