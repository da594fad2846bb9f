#include "cli/arguments.h"

#include <algorithm>

namespace tavi::cli {
namespace {

constexpr std::string_view kDataOption = "--data";
constexpr std::string_view kEndOfOptions = "--";

const CommandSyntax* FindSyntax(std::string_view name) {
  for (const CommandSyntax& syntax : CommandTable()) {
    if (syntax.name == name) return &syntax;
  }
  return nullptr;
}

bool Contains(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsOption(const std::string& argument) {
  return argument.size() > 2 && argument.compare(0, 2, "--") == 0;
}

std::string CountError(const CommandSyntax& syntax) {
  return "wrong number of arguments; usage: tavi " + std::string(syntax.name) +
         (syntax.usage.empty() ? "" : " ") + std::string(syntax.usage);
}

// The state of one pass over the arguments.
class Reader {
 public:
  explicit Reader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  ParseOutcome Run() {
    while (next_ < arguments_.size() && error_.empty()) Step();
    if (error_.empty() && syntax_ == nullptr) error_ = "no command given";
    if (error_.empty()) CheckCounts();
    if (!error_.empty()) return {std::nullopt, error_};
    return {std::move(parsed_), ""};
  }

 private:
  void Step() {
    const std::string& argument = arguments_[next_++];
    if (!options_ended_ && argument == kEndOfOptions) {
      options_ended_ = true;
      return;
    }
    if (!options_ended_ && IsOption(argument) && syntax_ != nullptr) return TakeOption(argument);
    if (!options_ended_ && IsOption(argument)) return TakeLeadingOption(argument);
    if (syntax_ == nullptr) return TakeCommand(argument);
    parsed_.positionals.push_back(argument);
  }

  // Before the command only --data, --help and --version may stand.
  void TakeLeadingOption(const std::string& argument) {
    if (argument == "--help" || argument == "--version") return TakeCommand(argument);
    TakeOption(argument);
  }

  void TakeCommand(const std::string& name) {
    syntax_ = FindSyntax(name);
    if (syntax_ == nullptr) {
      error_ = "unknown command \"" + name + "\"";
      return;
    }
    parsed_.command = name;
  }

  void TakeOption(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    std::optional<std::string> value;
    if (equals != std::string::npos) value = argument.substr(equals + 1);
    if (name == kDataOption) return StoreValue(name, value, &parsed_.data_folder);
    if (syntax_ != nullptr && Contains(syntax_->switch_options, name) && !value) {
      parsed_.switches.insert(name);
      return;
    }
    if (syntax_ == nullptr || !Contains(syntax_->value_options, name)) {
      error_ = "unknown option " + name + (syntax_ ? " for " + parsed_.command : "");
      return;
    }
    std::optional<std::string> stored;
    StoreValue(name, value, &stored);
    if (stored) parsed_.values[name] = *stored;
  }

  void StoreValue(const std::string& name, std::optional<std::string> value,
                  std::optional<std::string>* target) {
    if (!value && next_ < arguments_.size()) value = arguments_[next_++];
    if (!value) {
      error_ = "option " + name + " needs a value";
      return;
    }
    *target = std::move(value);
  }

  void CheckCounts() {
    const std::size_t count = parsed_.positionals.size();
    const bool too_many = syntax_->max_positionals != kAnyCount && count > syntax_->max_positionals;
    if (count < syntax_->min_positionals || too_many) error_ = CountError(*syntax_);
  }

  const std::vector<std::string>& arguments_;
  std::size_t next_ = 0;
  bool options_ended_ = false;
  const CommandSyntax* syntax_ = nullptr;
  ParsedCommand parsed_;
  std::string error_;
};

}  // namespace

const std::vector<CommandSyntax>& CommandTable() {
  static const std::vector<CommandSyntax> table = {
      {"init", "", "create the data folder and the host's mailboxes", 0, 0, {}, {}},
      {"add",
       "ALIAS URL [--name NAME] [--newsbox MAILBOX] [--full] [--all] [--every MINUTES]",
       "subscribe a feed",
       2,
       2,
       {"--name", "--newsbox", "--every"},
       {"--full", "--all"}},
      {"edit",
       "ALIAS [--alias NEW] [--url URL] [--name NAME] [--newsbox MAILBOX] [--full|--no-full] "
       "[--all|--only-new] [--every MINUTES]",
       "change a feed",
       1,
       1,
       {"--alias", "--url", "--name", "--newsbox", "--every"},
       {"--full", "--no-full", "--all", "--only-new"}},
      {"delete", "ALIAS", "unsubscribe a feed", 1, 1, {}, {}},
      {"feeds", "", "list the subscribed feeds", 0, 0, {}, {}},
      {"download",
       "[ALIAS...]",
       "check the named feeds (all when none is named)",
       0,
       kAnyCount,
       {},
       {}},
      {"import", "", "deliver the feed documents waiting in the background cache", 0, 0, {}, {}},
      {"mailboxes", "", "list the host's mailboxes with unread and total counts", 0, 0, {}, {}},
      {"show", "MAILBOX", "list a mailbox's messages", 1, 1, {}, {}},
      {"inspect",
       "FILE [--now \"MM/DD/YYYY HH:MM:SS\"]",
       "read a feed document as a check would, as JSON",
       1,
       1,
       {"--now"},
       {}},
      {"demo", "", "run a whole subscription and download on built-in sample feeds", 0, 0, {}, {}},
      {"help", "", "show this text", 0, 0, {}, {}},
      {"--help", "", "", 0, 0, {}, {}},
      {"--version", "", "show the product name and version", 0, 0, {}, {}},
  };
  return table;
}

std::string UsageText() {
  std::string text =
      "usage: tavi [--data DIR] <command> [arguments]\n"
      "\n"
      "DIR defaults to $TAVI_DATA, else ~/.local/share/tavi.\n"
      "\n"
      "commands:\n";
  for (const CommandSyntax& syntax : CommandTable()) {
    if (syntax.summary.empty()) continue;
    text.append("  ").append(syntax.name);
    if (!syntax.usage.empty()) text.append(" ").append(syntax.usage);
    text.append("\n      ").append(syntax.summary).append("\n");
  }
  return text;
}

bool ParsedCommand::Has(std::string_view option) const {
  return switches.find(option) != switches.end() || values.find(option) != values.end();
}

std::optional<std::string> ParsedCommand::Value(std::string_view option) const {
  const auto found = values.find(option);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

ParseOutcome ParseArguments(const std::vector<std::string>& arguments) {
  return Reader(arguments).Run();
}

}  // namespace tavi::cli
