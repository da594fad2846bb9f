#pragma once

// The tavi command's arguments: the global option --data DIR, one command
// name, the command's positional arguments and its options. Each command
// declares what it accepts; anything else is refused with a message, before
// any work starts.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::cli {

// What one command accepts.
struct CommandSyntax {
  std::string_view name;
  std::string_view usage;  // the arguments as the help text shows them
  std::string_view summary;
  std::size_t min_positionals = 0;
  std::size_t max_positionals = 0;               // kAnyCount: no limit
  std::vector<std::string_view> value_options;   // take a value: "--name NAME"
  std::vector<std::string_view> switch_options;  // stand alone: "--full"
};

inline constexpr std::size_t kAnyCount = static_cast<std::size_t>(-1);

// Every command, in the order the help text lists them.
const std::vector<CommandSyntax>& CommandTable();

// The help text: the usage line and one line per command.
std::string UsageText();

struct ParsedCommand {
  std::string command;
  std::optional<std::string> data_folder;  // --data DIR, wherever it stands
  std::vector<std::string> positionals;
  std::map<std::string, std::string, std::less<>> values;  // keyed by "--name"
  std::set<std::string, std::less<>> switches;

  bool Has(std::string_view option) const;
  // The option's value; nullopt when it was not given.
  std::optional<std::string> Value(std::string_view option) const;
};

struct ParseOutcome {
  std::optional<ParsedCommand> command;  // nullopt on error
  std::string error;                     // what was wrong, for the user
};

// Reads the arguments after the program name. Options may stand anywhere
// after the command, as "--name VALUE" or "--name=VALUE"; "--" ends the
// options, so a later argument starting with "-" is positional. A command
// that is not known, an option the command does not take, a missing value
// or the wrong number of positional arguments is an error. "--help" and
// "--version" are commands of their own.
ParseOutcome ParseArguments(const std::vector<std::string>& arguments);

}  // namespace tavi::cli
