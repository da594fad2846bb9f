#include "cli/arguments.h"

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command_syntax.h"

namespace tavi::cli {
namespace {

constexpr std::string_view kHelpCommand = "help";
constexpr std::string_view kVersionOption = "--version";
constexpr std::string_view kDataOption = "--data";

CLI::Validator MakeValidator(ValueCheck check) {
  return CLI::Validator([check](std::string& value) { return check(value); }, "", "");
}

// A value option or a switch. A switch refuses "--full=0" and the like: it
// is given or not.
void AddOption(CLI::App& app, const OptionSyntax& syntax) {
  const std::string name(syntax.name);
  CLI::Option* option = syntax.value_name.empty() ? app.add_flag(name)->disable_flag_override()
                                                  : app.add_option(name);
  // The value's name shows in the parser's messages: "--name: 1 required NAME missing".
  option->description(std::string(syntax.help))->type_name(std::string(syntax.value_name));
  if (syntax.check != nullptr) option->check(MakeValidator(syntax.check));
}

void AddArgument(CLI::App& app, const ArgumentSyntax& syntax) {
  CLI::Option* argument = app.add_option(std::string(syntax.name));
  argument->description(std::string(syntax.help));
  // One or more, each its own value; after "--" each arrives on its own.
  if (syntax.repeated) argument->expected(-1)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  if (syntax.required && !syntax.repeated) argument->required();
  if (syntax.check != nullptr) argument->check(MakeValidator(syntax.check));
}

void AddExclusions(CLI::App& app, const CommandSyntax& syntax) {
  for (const OptionSyntax& option : syntax.options) {
    if (option.excludes.empty()) continue;
    app.get_option(std::string(option.name))->excludes(std::string(option.excludes));
  }
}

// The parser for every command. Global options may also stand after the
// command: the command passes what it does not know on to the program.
std::unique_ptr<CLI::App> BuildParser() {
  auto app = std::make_unique<CLI::App>("", "tavi");
  app->set_help_flag("-h,--help");
  app->require_subcommand(0, 1);
  app->fallthrough();
  for (const OptionSyntax& option : GlobalOptions()) AddOption(*app, option);
  app->add_flag(std::string(kVersionOption))->disable_flag_override();
  for (const CommandSyntax& syntax : CommandTable()) {
    CLI::App* command = app->add_subcommand(std::string(syntax.name));
    for (const ArgumentSyntax& argument : syntax.arguments) AddArgument(*command, argument);
    for (const OptionSyntax& option : syntax.options) AddOption(*command, option);
    AddExclusions(*command, syntax);
  }
  return app;
}

// The command named on the command line; nullptr when none was.
const CLI::App* SelectedCommand(const CLI::App& app) {
  const std::vector<CLI::App*> selected = app.get_subcommands();
  return selected.empty() ? nullptr : selected.front();
}

void CollectOptions(const CLI::App& app, ParsedCommand& parsed) {
  for (const CLI::Option* option : app.get_options()) {
    if (option == app.get_help_ptr() || option->count() == 0) continue;
    const std::vector<std::string>& results = option->results();
    if (option->get_positional()) {
      parsed.positionals.insert(parsed.positionals.end(), results.begin(), results.end());
    } else if (option->get_expected_min() == 0) {
      parsed.switches.insert(option->get_name());
    } else {
      parsed.values[option->get_name()] = results.front();
    }
  }
}

ParseOutcome Collected(const CLI::App& app) {
  ParsedCommand parsed;
  CollectOptions(app, parsed);
  const CLI::App* selected = SelectedCommand(app);
  if (selected != nullptr) CollectOptions(*selected, parsed);
  parsed.data_folder = parsed.Value(kDataOption);
  parsed.values.erase(std::string(kDataOption));
  if (parsed.Has(kVersionOption)) {
    parsed.command = kVersionOption;
    return {std::move(parsed), "", ""};
  }
  if (selected == nullptr) return {std::nullopt, "no command given", ""};
  parsed.command = selected->get_name();
  return {std::move(parsed), "", ""};
}

// -h or --help anywhere asks for the help of the command it follows, or
// for the overview.
ParseOutcome HelpRequest(const CLI::App& app) {
  ParsedCommand parsed;
  parsed.command = kHelpCommand;
  const CLI::App* selected = SelectedCommand(app);
  if (selected != nullptr && selected->get_name() != kHelpCommand)
    parsed.positionals.push_back(selected->get_name());
  return {std::move(parsed), "", ""};
}

bool LooksLikeOption(const std::string& argument) {
  return argument.size() > 1 && argument[0] == '-';
}

// What an argument that no command or option took was meant to be. Only
// global options may stand before the command.
std::string DescribeExtra(const std::string& argument, const CLI::App* selected) {
  if (LooksLikeOption(argument)) {
    const std::string name = argument.substr(0, argument.find('='));
    if (selected == nullptr) return "unknown option " + name;
    if (selected->get_option_no_throw(name) != nullptr)
      return "the option " + name + " belongs after the command " + selected->get_name();
    return "unknown option " + name + " for " + selected->get_name();
  }
  if (selected == nullptr) return "unknown command \"" + argument + "\"";
  return "unexpected argument \"" + argument + "\" for " + selected->get_name();
}

ParseOutcome UsageError(const CLI::App& app, const CLI::ParseError& error) {
  const CLI::App* selected = SelectedCommand(app);
  // Mistakes in "help COMMAND" are best answered by the list of commands.
  std::string help_command;
  if (selected != nullptr && selected->get_name() != kHelpCommand)
    help_command = selected->get_name();
  const std::vector<std::string> extras = app.remaining(true);
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && !extras.empty())
    return {std::nullopt, DescribeExtra(extras.front(), selected), help_command};
  return {std::nullopt, error.what(), help_command};
}

}  // namespace

bool ParsedCommand::Has(std::string_view option) const {
  return switches.find(option) != switches.end() || values.find(option) != values.end();
}

std::optional<std::string> ParsedCommand::Value(std::string_view option) const {
  const auto found = values.find(option);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

ParseOutcome ParseArguments(const std::vector<std::string>& arguments) {
  const std::unique_ptr<CLI::App> app = BuildParser();
  // The parser takes the arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return HelpRequest(*app);
  } catch (const CLI::ParseError& error) {
    return UsageError(*app, error);
  }
  return Collected(*app);
}

}  // namespace tavi::cli
