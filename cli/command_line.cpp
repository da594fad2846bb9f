#include "cli/command_line.h"

#include <cassert>
#include <ostream>

#include "cli/demo_command.h"
#include "cli/download_commands.h"
#include "cli/feed_commands.h"
#include "cli/full_article_command.h"
#include "cli/help_text.h"
#include "cli/inspect_command.h"
#include "cli/mailbox_commands.h"
#include "cli/opml_commands.h"
#include "cli/read_command.h"
#include "cli/session.h"
#include "cli/watch_command.h"
#include "version.h"

namespace tavi::cli {
namespace {

using CommandFunction = int (*)(const CommandContext&);

int RunHelp(const CommandContext& context) {
  const std::vector<std::string>& positionals = context.command.positionals;
  context.out << (positionals.empty() ? OverviewHelpText() : CommandHelpText(positionals[0]));
  return kExitSuccess;
}

int RunVersion(const CommandContext& context) {
  context.out << TAVI_PRODUCT_NAME << " " << TAVI_VERSION_TEXT << "\n";
  return kExitSuccess;
}

CommandFunction FindCommand(const std::string& name) {
  static const std::pair<const char*, CommandFunction> kCommands[] = {
      {"init", RunInit},         {"add", RunAdd},           {"edit", RunEdit},
      {"delete", RunDelete},     {"feeds", RunFeeds},       {"opml", RunOpml},
      {"download", RunDownload}, {"import", RunImport},     {"mailboxes", RunMailboxes},
      {"show", RunShow},         {"read", RunRead},         {"full-article", RunFullArticle},
      {"inspect", RunInspect},   {"demo", RunDemo},         {"watch", RunWatch},
      {"help", RunHelp},         {"--version", RunVersion},
  };
  for (const auto& [command_name, function] : kCommands) {
    if (name == command_name) return function;
  }
  return nullptr;
}

// Two lines: what was wrong, and where the right usage is explained.
int ReportUsageError(const ParseOutcome& parsed, std::ostream& err) {
  const std::string help_command =
      parsed.help_command.empty() ? "tavi --help" : "tavi " + parsed.help_command + " --help";
  err << "tavi: " << parsed.error << "\n"
      << "try '" << help_command << "'\n";
  return kExitUsage;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const CommandEnvironment& environment) {
  const ParseOutcome parsed = ParseArguments(arguments);
  if (!parsed.command) return ReportUsageError(parsed, err);
  const CommandFunction function = FindCommand(parsed.command->command);
  assert(function != nullptr && "every command the parser knows has a function");
  const std::string data_folder =
      parsed.command->data_folder.value_or(environment.default_data_folder);
  const CommandContext context{*parsed.command, data_folder, out, err, environment};
  return function(context);
}

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
  CommandEnvironment environment;
  environment.default_data_folder = host::DefaultDataFolder();
  return RunCommandLine(arguments, out, err, environment);
}

}  // namespace tavi::cli
