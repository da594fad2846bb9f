#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace tavi::cli {
namespace {

struct ErrorCase {
  std::vector<std::string> arguments;
  std::string error;
};

TEST(ParseArguments, RefusesWhatTheCommandDoesNotTake) {
  const ErrorCase cases[] = {
      {{}, "no command given"},
      {{"--data", "/d"}, "no command given"},
      {{"fetch"}, "unknown command \"fetch\""},
      {{"add", "A"}, "wrong number of arguments; usage: tavi add ALIAS URL"},
      {{"add", "A", "u", "extra"}, "wrong number of arguments; usage: tavi add ALIAS URL"},
      {{"feeds", "x"}, "wrong number of arguments; usage: tavi feeds"},
      {{"add", "A", "u", "--alias", "B"}, "unknown option --alias for add"},
      {{"add", "A", "u", "--name"}, "option --name needs a value"},
      {{"--data"}, "option --data needs a value"},
      // A switch takes no value.
      {{"add", "A", "u", "--full=1"}, "unknown option --full for add"},
      {{"--full", "add", "A", "u"}, "unknown option --full"},
  };
  for (const ErrorCase& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    const ParseOutcome outcome = ParseArguments(test.arguments);
    EXPECT_FALSE(outcome.command.has_value());
    EXPECT_EQ(outcome.error.rfind(test.error, 0), 0u) << outcome.error;
  }
}

TEST(ParseArguments, TakesOptionsAnywhereAfterTheCommand) {
  const ParseOutcome outcome = ParseArguments(
      {"add", "--full", "News", "--name=The News", "--data", "/d", "http://u", "--every", "30"});
  ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
  const ParsedCommand& command = *outcome.command;
  EXPECT_EQ(command.command, "add");
  EXPECT_EQ(command.data_folder, "/d");
  EXPECT_EQ(command.positionals, (std::vector<std::string>{"News", "http://u"}));
  EXPECT_EQ(command.Value("--name"), "The News");
  EXPECT_EQ(command.Value("--every"), "30");
  EXPECT_TRUE(command.Has("--full"));
  EXPECT_FALSE(command.Has("--all"));
  EXPECT_EQ(command.Value("--newsbox"), std::nullopt);
}

TEST(ParseArguments, DoubleDashMakesTheRestPositional) {
  const ParseOutcome outcome = ParseArguments({"--data", "/d", "delete", "--", "--odd"});
  ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
  EXPECT_EQ(outcome.command->positionals, std::vector<std::string>{"--odd"});
  // An option's value may itself start with dashes.
  const ParseOutcome value = ParseArguments({"edit", "A", "--every", "-5"});
  ASSERT_TRUE(value.command.has_value()) << value.error;
  EXPECT_EQ(value.command->Value("--every"), "-5");
}

TEST(ParseArguments, DownloadTakesAnyNumberOfAliases) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"download"}, {"download", "a", "b", "c"}}) {
    const ParseOutcome outcome = ParseArguments(arguments);
    ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
    EXPECT_EQ(outcome.command->positionals.size(), arguments.size() - 1);
  }
}

TEST(UsageText, ListsEveryCommand) {
  const std::string usage = UsageText();
  for (const char* name :
       {"init", "add ALIAS URL", "edit ALIAS", "delete ALIAS", "feeds", "download [ALIAS...]",
        "import", "mailboxes", "show MAILBOX", "inspect FILE", "demo"}) {
    EXPECT_NE(usage.find(std::string("  ") + name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace tavi::cli
