#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace tavi::cli {
namespace {

using Arguments = std::vector<std::string>;

struct ErrorCase {
  Arguments arguments;
  std::string error;         // the start of the message
  std::string help_command;  // "" for the overview
};

TEST(ParseArguments, UsageErrorsSayWhatWasWrongAndWhichHelpExplainsIt) {
  const std::string kBadEvery = "--every: needs a whole number of minutes from 1 to 10080 (a week)";
  const ErrorCase cases[] = {
      {{}, "no command given", ""},
      {{"--data", "/d", "--no-wait"}, "no command given", ""},
      {{"fetch"}, "unknown command \"fetch\"", ""},
      {{"--frob"}, "unknown option --frob", ""},
      {{"add", "A"}, "URL is required", "add"},
      {{"add", "A", "u", "extra"}, "unexpected argument \"extra\" for add", "add"},
      {{"feeds", "x"}, "unexpected argument \"x\" for feeds", "feeds"},
      {{"add", "A", "u", "--alias", "B"}, "unknown option --alias for add", "add"},
      // A command's option before the command is not a global option.
      {{"--full", "add", "A", "u"}, "the option --full belongs after the command add", "add"},
      {{"add", "A", "u", "--name"}, "--name: 1 required NAME missing", "add"},
      {{"--data"}, "--data: 1 required DIR missing", ""},
      {{"add", "A", "u", "--name", "a", "--name", "b"}, "--name: At Most 1", "add"},
      // A switch takes no value: "--full=0" must not read as --full.
      {{"add", "A", "u", "--full=0"}, "full was given a disallowed flag override", "add"},
      {{"edit", "A", "--full", "--no-full"}, "--full excludes --no-full", "edit"},
      {{"edit", "A", "--on-demand", "--every", "5"}, "--every excludes --on-demand", "edit"},
      {{"edit", "A", "--all", "--only-new"}, "--all excludes --only-new", "edit"},
      {{"edit", "A", "--every", "0"}, kBadEvery + ", not \"0\"", "edit"},
      {{"add", "A", "u", "--every", "10081"}, kBadEvery + ", not \"10081\"", "add"},
      {{"add", "A", "u", "--every", "-5"}, kBadEvery + ", not \"-5\"", "add"},
      {{"add", "A", "u", "--every=1.5"}, kBadEvery + ", not \"1.5\"", "add"},
      {{"add", "A", "u", "--every", "soon"}, kBadEvery + ", not \"soon\"", "add"},
      {{"read", "In", "0"}, "N: needs a message number as show lists them", "read"},
      {{"read", "In", "-1"}, "N: needs a message number", "read"},
      {{"read", "In", "99999999999"}, "N: needs a message number", "read"},
      {{"read", "In"}, "N is required", "read"},
      {{"inspect", "f.xml", "--now", "tomorrow"}, "--now: needs a local time", "inspect"},
      // Mistakes in "help" are answered by the overview, which lists the commands.
      {{"help", "fetch"}, "COMMAND: there is no command \"fetch\"", ""},
      {{"help", "add", "edit"}, "unexpected argument \"edit\" for help", ""},
  };
  for (const ErrorCase& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    const ParseOutcome outcome = ParseArguments(test.arguments);
    EXPECT_FALSE(outcome.command.has_value());
    EXPECT_EQ(outcome.error.substr(0, test.error.size()), test.error) << outcome.error;
    EXPECT_EQ(outcome.help_command, test.help_command);
  }
}

TEST(ParseArguments, TakesOptionsAnywhereAfterTheCommand) {
  const ParseOutcome outcome = ParseArguments(
      {"add", "--full", "News", "--name=The News", "--data", "/d", "http://u", "--every", "30"});
  ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
  const ParsedCommand& command = *outcome.command;
  EXPECT_EQ(command.command, "add");
  EXPECT_EQ(command.data_folder, "/d");
  EXPECT_EQ(command.positionals, (Arguments{"News", "http://u"}));
  EXPECT_EQ(command.Value("--name"), "The News");
  EXPECT_EQ(command.Value("--every"), "30");
  EXPECT_TRUE(command.Has("--full"));
  EXPECT_FALSE(command.Has("--all"));
  EXPECT_FALSE(command.Has("--no-wait"));
  EXPECT_EQ(command.Value("--newsbox"), std::nullopt);
  // --data is the data folder, not one of the command's values.
  EXPECT_EQ(command.Value("--data"), std::nullopt);
}

TEST(ParseArguments, GlobalOptionsStandBeforeOrAfterTheCommand) {
  for (const Arguments& arguments :
       {Arguments{"--no-wait", "--data", "/d", "feeds"}, {"feeds", "--data=/d", "--no-wait"}}) {
    SCOPED_TRACE(::testing::PrintToString(arguments));
    const ParseOutcome outcome = ParseArguments(arguments);
    ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
    EXPECT_EQ(outcome.command->command, "feeds");
    EXPECT_EQ(outcome.command->data_folder, "/d");
    EXPECT_TRUE(outcome.command->Has("--no-wait"));
    EXPECT_TRUE(outcome.command->positionals.empty());
  }
}

TEST(ParseArguments, DoubleDashMakesTheRestPositional) {
  const ParseOutcome outcome = ParseArguments({"--data", "/d", "delete", "--", "--odd"});
  ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
  EXPECT_EQ(outcome.command->positionals, Arguments{"--odd"});
  const ParseOutcome aliases = ParseArguments({"download", "--report", "--", "-x", "b"});
  ASSERT_TRUE(aliases.command.has_value()) << aliases.error;
  EXPECT_EQ(aliases.command->positionals, (Arguments{"-x", "b"}));
  EXPECT_TRUE(aliases.command->Has("--report"));
  // An option's value may itself start with dashes.
  const ParseOutcome value = ParseArguments({"edit", "A", "--name=--odd"});
  ASSERT_TRUE(value.command.has_value()) << value.error;
  EXPECT_EQ(value.command->Value("--name"), "--odd");
}

struct AcceptedCase {
  Arguments arguments;
  Arguments positionals;
};

TEST(ParseArguments, AcceptsTheWholeRangeOfEachCheckedValue) {
  const AcceptedCase cases[] = {
      {{"download"}, {}},
      {{"download", "a", "b", "c"}, {"a", "b", "c"}},
      {{"edit", "A", "--every", "1"}, {"A"}},
      {{"edit", "A", "--every", "10080", "--only-new", "--no-full"}, {"A"}},
      {{"edit", "A", "--on-demand"}, {"A"}},
      {{"read", "Work/News", "1", "--raw"}, {"Work/News", "1"}},
      {{"read", "--", "-odd-", "007"}, {"-odd-", "007"}},
      {{"inspect", "http://x/feed", "--now", "01/02/2027 03:04:05"}, {"http://x/feed"}},
  };
  for (const AcceptedCase& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    const ParseOutcome outcome = ParseArguments(test.arguments);
    ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
    EXPECT_EQ(outcome.command->command, test.arguments[0]);
    EXPECT_EQ(outcome.command->positionals, test.positionals);
  }
}

struct HelpCase {
  Arguments arguments;
  Arguments positionals;  // the command to explain
};

TEST(ParseArguments, HelpAnywhereIsTheHelpCommand) {
  const HelpCase cases[] = {
      {{"help"}, {}},
      {{"--help"}, {}},
      {{"-h"}, {}},
      {{"--data", "/d", "-h"}, {}},
      {{"help", "add"}, {"add"}},
      {{"add", "--help"}, {"add"}},
      {{"add", "-h"}, {"add"}},
      {{"--help", "add"}, {"add"}},
      // Help goes before the missing arguments.
      {{"read", "-h"}, {"read"}},
      {{"help", "--help"}, {}},
  };
  for (const HelpCase& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    const ParseOutcome outcome = ParseArguments(test.arguments);
    ASSERT_TRUE(outcome.command.has_value()) << outcome.error;
    EXPECT_EQ(outcome.command->command, "help");
    EXPECT_EQ(outcome.command->positionals, test.positionals);
  }
  const ParseOutcome version = ParseArguments({"--version"});
  ASSERT_TRUE(version.command.has_value());
  EXPECT_EQ(version.command->command, "--version");
}

}  // namespace
}  // namespace tavi::cli
