#include "cli/command_syntax.h"

#include <charconv>

#include "platform/oledate.h"

namespace tavi::cli {
namespace {

std::string CheckEveryMinutes(const std::string& value) {
  const std::optional<int> minutes = ReadWholeNumber(value);
  if (minutes && *minutes >= 1 && *minutes <= kMaxEveryMinutes) return "";
  return "needs a whole number of minutes from 1 to " + std::to_string(kMaxEveryMinutes) +
         " (a week), not \"" + value + "\"";
}

std::string CheckMessageNumber(const std::string& value) {
  const std::optional<int> number = ReadWholeNumber(value);
  if (number && *number >= 1) return "";
  return "needs a message number as show lists them, counting from 1, not \"" + value + "\"";
}

std::string CheckLocalTime(const std::string& value) {
  if (platform::ParseLocaleDateText(value).IsValid()) return "";
  return "needs a local time \"MM/DD/YYYY HH:MM:SS\", not \"" + value + "\"";
}

std::string CheckCommandName(const std::string& value) {
  if (FindCommandSyntax(value) != nullptr) return "";
  return "there is no command \"" + value + "\"";
}

// The options add and edit share.
constexpr OptionSyntax kNameOption = {"--name", "NAME",
                                      "the feed's name as the feeds are listed (default: the title "
                                      "of its document)"};
constexpr OptionSyntax kNewsboxOption = {
    "--newsbox", "MAILBOX",
    "the mailbox that receives the feed's articles, made when missing (default: one named after "
    "the alias)"};
constexpr OptionSyntax kFullOption = {
    "--full", "", "also download the page each article links to into its message"};
constexpr OptionSyntax kAllOption = {
    "--all", "", "deliver every article of the document, not only those newer than the last one"};
constexpr OptionSyntax kEveryOption = {
    "--every", "MINUTES", "check the feed automatically every MINUTES minutes (1 to 10080)",
    CheckEveryMinutes};
constexpr OptionSyntax kReportOption = {"--report", "",
                                        "also print the text of the result dialog at the end"};

std::string CheckOpmlAction(const std::string& value) {
  if (value == "import" || value == "export") return "";
  return "needs \"import\" or \"export\", not \"" + value + "\"";
}

std::vector<CommandSyntax> BuildCommandTable() {
  return {
      {"init", "create the data folder and the host's mailboxes", {}, {}},
      {"add",
       "subscribe a feed",
       {{"ALIAS", "the feed's short name, unique among the feeds"},
        {"URL", "the address of the feed's document: http, https or file"}},
       {kNameOption, kNewsboxOption, kFullOption, kAllOption, kEveryOption}},
      {"edit",
       "change a feed; what no option names stays as it is",
       {{"ALIAS", "the feed to change (letter case ignored)"}},
       {{"--alias", "NEW", "give the feed the alias NEW"},
        {"--url", "URL", "give the feed a new document address"},
        kNameOption,
        kNewsboxOption,
        {"--full", "", kFullOption.help, nullptr, "--no-full"},
        {"--no-full", "", "deliver each article as the feed gives it"},
        {"--all", "", kAllOption.help, nullptr, "--only-new"},
        {"--only-new", "", "deliver only the articles newer than the last one"},
        {"--every", "MINUTES", kEveryOption.help, CheckEveryMinutes, "--on-demand"},
        {"--on-demand", "", "check the feed only when asked to, never automatically"}}},
      {"delete",
       "unsubscribe a feed; its newsbox keeps its messages",
       {{"ALIAS", "the feed to unsubscribe (letter case ignored)"}},
       {}},
      {"feeds", "list the subscribed feeds", {}, {}},
      {"opml",
       "import feeds from an OPML file, or export every feed as OPML",
       {{"ACTION",
         "import: subscribe every outline of FILE that has an xmlUrl; export: write every feed "
         "to the output",
         true, false, CheckOpmlAction},
        {"FILE", "the OPML file to import", false, false}},
       {{"--learn-titles", "",
         "import: name each feed after the title of its document, downloading it once (default: "
         "the outline's title, nothing downloaded)"}}},
      {"download",
       "check the named feeds, or every feed when none is named",
       {{"ALIAS", "a feed to check (letter case ignored)", false, true}},
       {kReportOption}},
      {"import", "deliver the feed documents waiting in the background cache", {}, {kReportOption}},
      {"watch",
       "run the background checker until Ctrl+C, printing each download",
       {},
       {{"--import", "", "deliver the downloaded documents once a tick's downloads have ended"}}},
      {"mailboxes", "list the host's mailboxes with unread and total counts", {}, {}},
      {"show",
       "list a mailbox's messages, numbered",
       {{"MAILBOX", "a mailbox name, or a path through folders such as Work/News"}},
       {}},
      {"read",
       "print one message of a mailbox as readable text",
       {{"MAILBOX", "a mailbox name, or a path through folders such as Work/News"},
        {"N", "the message's number as show lists it", true, false, CheckMessageNumber}},
       {{"--raw", "", "print the message as it is stored instead of as readable text"}}},
      {"full-article",
       "print a message with the page behind its Website line",
       {{"MAILBOX", "a mailbox name, or a path through folders such as Work/News"},
        {"N", "the message's number as show lists it", true, false, CheckMessageNumber}},
       {{"--text", "", "the page as text lines joined by <br>, its tags removed"}}},
      {"inspect",
       "read a feed document as a check would and print it as JSON",
       {{"FILE|URL", "the document: a file, or an http, https or file URL to download"}},
       {{"--now", "\"MM/DD/YYYY HH:MM:SS\"",
         "the local time to take as now, for dates that cannot be read", CheckLocalTime}}},
      {"demo", "download built-in sample feeds into a temporary data folder", {}, {}},
      {"help",
       "show this overview, or one command's help",
       {{"COMMAND", "the command to explain", false, false, CheckCommandName}},
       {}},
  };
}

std::string OptionUsage(const OptionSyntax& option) {
  std::string text(option.name);
  if (!option.value_name.empty()) text.append(" ").append(option.value_name);
  return text;
}

const OptionSyntax* FindOption(const CommandSyntax& command, std::string_view name) {
  for (const OptionSyntax& option : command.options) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// True when the option is the second half of a pair, shown with the first.
bool IsExcludedByAnEarlierOption(const CommandSyntax& command, const OptionSyntax& option) {
  for (const OptionSyntax& other : command.options) {
    if (other.excludes == option.name) return true;
  }
  return false;
}

std::string ArgumentUsage(const ArgumentSyntax& argument) {
  std::string text(argument.name);
  if (argument.repeated) text.append("...");
  if (argument.required && !argument.repeated) return text;
  return "[" + text + "]";
}

}  // namespace

std::optional<int> ReadWholeNumber(std::string_view text) {
  int number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  // The conversion takes a minus sign, which no count or interval has.
  if (text.empty() || text.front() == '-') return std::nullopt;
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

const std::vector<OptionSyntax>& GlobalOptions() {
  static const std::vector<OptionSyntax> options = {
      {"--data", "DIR", "the data folder"},
      {"--no-wait", "",
       "when another tavi process is working on the data folder, refuse instead of waiting for it"},
  };
  return options;
}

const std::vector<CommandSyntax>& CommandTable() {
  static const std::vector<CommandSyntax> table = BuildCommandTable();
  return table;
}

const CommandSyntax* FindCommandSyntax(std::string_view name) {
  for (const CommandSyntax& command : CommandTable()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

std::vector<std::string> UsageWords(const CommandSyntax& command) {
  std::vector<std::string> words = {"tavi", std::string(command.name)};
  for (const ArgumentSyntax& argument : command.arguments) words.push_back(ArgumentUsage(argument));
  for (const OptionSyntax& option : command.options) {
    if (IsExcludedByAnEarlierOption(command, option)) continue;
    std::string word = "[" + OptionUsage(option);
    if (const OptionSyntax* other = FindOption(command, option.excludes))
      word += "|" + OptionUsage(*other);
    words.push_back(word + "]");
  }
  return words;
}

}  // namespace tavi::cli
