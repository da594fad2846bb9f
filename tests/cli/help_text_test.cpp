#include "cli/help_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/command_syntax.h"

namespace tavi::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The line of the list that starts with "  " + name and a blank; "" when
// there is none.
std::string EntryLine(const std::string& text, std::string_view name) {
  for (const std::string& line : Lines(text)) {
    if (line.rfind("  " + std::string(name) + " ", 0) == 0 || line == "  " + std::string(name))
      return line;
  }
  return "";
}

std::vector<std::string> AllHelpTexts() {
  std::vector<std::string> texts = {OverviewHelpText()};
  for (const CommandSyntax& command : CommandTable())
    texts.push_back(CommandHelpText(command.name));
  return texts;
}

TEST(HelpText, OverviewGivesEveryCommandItsSummaryOnOneLine) {
  const std::string overview = OverviewHelpText();
  EXPECT_EQ(overview.rfind("usage: tavi [--data DIR] [--no-wait] COMMAND [ARGUMENTS]\n", 0), 0u);
  for (const CommandSyntax& command : CommandTable()) {
    SCOPED_TRACE(command.name);
    const std::string line = EntryLine(overview, command.name);
    ASSERT_NE(line, "");
    EXPECT_EQ(line.substr(line.size() - command.summary.size()), command.summary);
  }
  for (const char* option : {"-h, --help", "--data DIR", "--no-wait", "--version"})
    EXPECT_NE(EntryLine(overview, option), "") << option;
  EXPECT_NE(overview.find("$TAVI_DATA, else $XDG_DATA_HOME/tavi,\nelse ~/.local/share/tavi."),
            std::string::npos);
  EXPECT_NE(overview.find("exit codes: 0 success, 1 failure, 2 usage error\n"), std::string::npos);
}

TEST(HelpText, EachCommandExplainsEveryArgumentAndOption) {
  for (const CommandSyntax& command : CommandTable()) {
    SCOPED_TRACE(command.name);
    const std::string help = CommandHelpText(command.name);
    EXPECT_EQ(help.rfind("usage: tavi " + std::string(command.name), 0), 0u) << help;
    EXPECT_NE(help.find("\n\n" + std::string(command.summary) + "\n"), std::string::npos) << help;
    EXPECT_NE(EntryLine(help, "-h, --help"), "");
    for (const ArgumentSyntax& argument : command.arguments)
      EXPECT_NE(EntryLine(help, argument.name), "") << argument.name;
    for (const OptionSyntax& option : command.options) {
      EXPECT_FALSE(option.help.empty()) << option.name;
      EXPECT_NE(EntryLine(help, option.name), "") << option.name;
    }
  }
}

TEST(HelpText, LinesFitAnEightyColumnTerminal) {
  for (const std::string& text : AllHelpTexts()) {
    for (const std::string& line : Lines(text)) EXPECT_LE(line.size(), 80u) << line;
  }
  // A wrapped explanation goes on in its column.
  const std::string help = CommandHelpText("edit");
  EXPECT_NE(
      help.find("  --newsbox MAILBOX   the mailbox that receives the feed's articles, made when\n"
                "                      missing (default: one named after the alias)\n"),
      std::string::npos)
      << help;
}

TEST(HelpText, UsageShowsPairsThatExcludeEachOtherAsOneChoice) {
  EXPECT_EQ(UsageWords(*FindCommandSyntax("edit")),
            (std::vector<std::string>{"tavi", "edit", "ALIAS", "[--alias NEW]", "[--url URL]",
                                      "[--name NAME]", "[--newsbox MAILBOX]", "[--full|--no-full]",
                                      "[--all|--only-new]", "[--every MINUTES|--on-demand]"}));
  EXPECT_EQ(UsageWords(*FindCommandSyntax("download")),
            (std::vector<std::string>{"tavi", "download", "[ALIAS...]", "[--report]"}));
  EXPECT_EQ(UsageWords(*FindCommandSyntax("help")),
            (std::vector<std::string>{"tavi", "help", "[COMMAND]"}));
  // The wrapped usage goes on under the first argument.
  const std::string help = CommandHelpText("edit");
  EXPECT_EQ(
      help.rfind("usage: tavi edit ALIAS [--alias NEW] [--url URL] [--name NAME]\n"
                 "                 [--newsbox MAILBOX] [--full|--no-full] [--all|--only-new]\n"
                 "                 [--every MINUTES|--on-demand]\n\n",
                 0),
      0u)
      << help;
}

TEST(HelpText, AnUnknownCommandGetsTheOverview) {
  EXPECT_EQ(CommandHelpText("fetch"), OverviewHelpText());
}

}  // namespace
}  // namespace tavi::cli
