#include "cli/help_text.h"

#include <algorithm>
#include <vector>

#include "cli/command_syntax.h"

namespace tavi::cli {
namespace {

// Explanations start in these columns, and lines wrap before kLineWidth, so
// the help reads in a terminal of the usual width and each command's
// summary fits on its line.
constexpr std::size_t kOptionColumn = 22;
constexpr std::size_t kCommandColumn = 16;
constexpr std::size_t kLineWidth = 80;

constexpr std::string_view kHelpOptionName = "-h, --help";
constexpr std::string_view kOverviewUsage =
    "usage: tavi [--data DIR] [--no-wait] COMMAND [ARGUMENTS]\n";
constexpr std::string_view kOverviewEnd =
    "\n"
    "Without --data, the data folder is $TAVI_DATA, else $XDG_DATA_HOME/tavi,\n"
    "else ~/.local/share/tavi.\n"
    "'tavi help COMMAND' or 'tavi COMMAND --help' explains one command.\n"
    "\n"
    "exit codes: 0 success, 1 failure, 2 usage error\n";

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t blank = std::min(text.find(' ', start), text.size());
    if (blank > start) words.emplace_back(text.substr(start, blank - start));
    start = blank + 1;
  }
  return words;
}

// Appends `words` to `text`, which stands at `column`, separated by blanks
// and wrapped before kLineWidth; each new line starts at `indent`. A word
// longer than a line stays whole.
void AppendWrapped(std::string& text, const std::vector<std::string>& words, std::size_t column,
                   std::size_t indent) {
  bool line_empty = true;
  for (const std::string& word : words) {
    const std::size_t needed = word.size() + (line_empty ? 0 : 1);
    if (!line_empty && column + needed > kLineWidth) {
      text.append("\n").append(indent, ' ');
      column = indent;
      line_empty = true;
    }
    if (!line_empty) text.append(" ");
    text.append(word);
    column += word.size() + (line_empty ? 0 : 1);
    line_empty = false;
  }
}

// One entry of a list: "  NAME   explanation", the explanation starting at
// `column`, on a line of its own when the name leaves no room for it.
void AppendEntry(std::string& text, std::string_view name, std::string_view explanation,
                 std::size_t column = kOptionColumn) {
  text.append("  ").append(name);
  const std::size_t used = name.size() + 2;
  if (used + 1 >= column) {
    text.append("\n").append(column, ' ');
  } else {
    text.append(column - used, ' ');
  }
  AppendWrapped(text, SplitWords(explanation), column, column);
  text.append("\n");
}

void AppendOption(std::string& text, const OptionSyntax& option) {
  std::string name(option.name);
  if (!option.value_name.empty()) name.append(" ").append(option.value_name);
  AppendEntry(text, name, option.help);
}

}  // namespace

std::string OverviewHelpText() {
  std::string text(kOverviewUsage);
  text.append("\noptions:\n");
  AppendEntry(text, kHelpOptionName, "show this help and exit");
  for (const OptionSyntax& option : GlobalOptions()) AppendOption(text, option);
  AppendEntry(text, "--version", "show the product name and version and exit");
  text.append("\ncommands:\n");
  for (const CommandSyntax& command : CommandTable())
    AppendEntry(text, command.name, command.summary, kCommandColumn);
  text.append(kOverviewEnd);
  return text;
}

std::string CommandHelpText(std::string_view name) {
  const CommandSyntax* command = FindCommandSyntax(name);
  if (command == nullptr) return OverviewHelpText();
  // Wrapped lines of the usage start under the first argument.
  constexpr std::string_view kUsage = "usage: ";
  const std::size_t indent = kUsage.size() + std::string_view("tavi ").size() + name.size() + 1;
  std::string text(kUsage);
  AppendWrapped(text, UsageWords(*command), kUsage.size(), indent);
  text.append("\n\n");
  AppendWrapped(text, SplitWords(command->summary), 0, 0);
  text.append("\n");
  if (!command->arguments.empty()) text.append("\narguments:\n");
  for (const ArgumentSyntax& argument : command->arguments)
    AppendEntry(text, argument.name, argument.help);
  text.append("\noptions:\n");
  AppendEntry(text, kHelpOptionName, "show this help and exit");
  for (const OptionSyntax& option : command->options) AppendOption(text, option);
  return text;
}

}  // namespace tavi::cli
