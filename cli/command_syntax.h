#pragma once

// What the tavi command accepts: the global options, every command with its
// arguments and options, and a one-line explanation of each, which the help
// texts show. The parser (cli/arguments.h) is built from these tables, so a
// command's help and what it accepts cannot drift apart.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::cli {

// Checks one value: returns "" when it is acceptable, else what is wrong with
// it, to follow the option's or argument's name in a usage error.
using ValueCheck = std::string (*)(const std::string& value);

// A positional argument.
struct ArgumentSyntax {
  std::string_view name;  // as the help shows it: "ALIAS"
  std::string_view help;
  bool required = true;   // false: it may be left out
  bool repeated = false;  // true: it takes any number of values (then not required)
  ValueCheck check = nullptr;
};

// An option: a value option ("--name NAME") or a switch ("--full").
struct OptionSyntax {
  std::string_view name;        // "--name"
  std::string_view value_name;  // "NAME"; "" for a switch
  std::string_view help;
  ValueCheck check = nullptr;
  std::string_view excludes = {};  // the option it cannot stand with, given after it
};

struct CommandSyntax {
  std::string_view name;
  std::string_view summary;
  std::vector<ArgumentSyntax> arguments;
  std::vector<OptionSyntax> options;
};

// The text as a whole number: decimal digits only, no sign, no blanks, and
// small enough for an int; nullopt for anything else.
std::optional<int> ReadWholeNumber(std::string_view text);

// The longest automatic check interval --every accepts: a week.
inline constexpr int kMaxEveryMinutes = 7 * 24 * 60;

// The options that stand before or after any command: --data and --no-wait.
// (-h/--help and --version are the parser's own.)
const std::vector<OptionSyntax>& GlobalOptions();

// Every command, in the order the overview lists them.
const std::vector<CommandSyntax>& CommandTable();

// The command named `name`; nullptr when there is none.
const CommandSyntax* FindCommandSyntax(std::string_view name);

// The words of the command's usage line, such as "tavi", "edit", "ALIAS",
// "[--full|--no-full]": arguments first, then every option, a pair that
// excludes each other as one choice. Help texts wrap the line between them.
std::vector<std::string> UsageWords(const CommandSyntax& command);

}  // namespace tavi::cli
