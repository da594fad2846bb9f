#include "cli/command_line.h"

#include <gtest/gtest.h>

#include "cli/command_syntax.h"
#include "cli/help_text.h"
#include "cli/run_tavi.h"
#include "files/file_names.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;
using testing::RunTavi;

TEST(CommandLine, VersionNamesTheProductAndItsVersion) {
  const testing::CommandRun run = RunTavi({"--version"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.rfind("Tavi ", 0), 0u) << run.out;
}

TEST(CommandLine, AUsageErrorIsTwoLinesOnStandardErrorAndExitCodeTwo) {
  const struct {
    std::vector<std::string> arguments;
    std::string err;
  } cases[] = {
      {{}, "tavi: no command given\ntry 'tavi --help'\n"},
      {{"frobnicate"}, "tavi: unknown command \"frobnicate\"\ntry 'tavi --help'\n"},
      {{"add", "A"}, "tavi: URL is required\ntry 'tavi add --help'\n"},
      {{"show", "In", "--raw"}, "tavi: unknown option --raw for show\ntry 'tavi show --help'\n"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    const testing::CommandRun run = RunTavi(test.arguments);
    EXPECT_EQ(run.code, kExitUsage);
    EXPECT_EQ(run.err, test.err);
    EXPECT_EQ(run.out, "");
  }
}

TEST(CommandLine, HelpGoesToStandardOutputAndSucceeds) {
  const struct {
    std::vector<std::string> arguments;
    std::string out;
  } cases[] = {
      {{"help"}, OverviewHelpText()},
      {{"--help"}, OverviewHelpText()},
      {{"-h"}, OverviewHelpText()},
      {{"help", "show"}, CommandHelpText("show")},
      {{"show", "--help"}, CommandHelpText("show")},
      {{"show", "-h"}, CommandHelpText("show")},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.arguments));
    const testing::CommandRun run = RunTavi(test.arguments);
    EXPECT_EQ(run.code, kExitSuccess);
    EXPECT_EQ(run.out, test.out);
    EXPECT_EQ(run.err, "");
  }
  EXPECT_NE(OverviewHelpText(), CommandHelpText("show"));
}

// Every command the parser accepts reaches its function, and each one that
// works on the data folder refuses to run without one.
TEST(CommandLine, CommandsThatNeedAFolderRefuseWithoutOne) {
  for (const CommandSyntax& command : CommandTable()) {
    if (command.name == "demo" || command.name == "help" || command.name == "inspect") continue;
    SCOPED_TRACE(command.name);
    std::vector<std::string> arguments = {std::string(command.name)};
    // opml's ACTION is a word of its own; every other value may be any text.
    for (const ArgumentSyntax& argument : command.arguments)
      if (argument.required) arguments.push_back(argument.name == "ACTION" ? "export" : "1");
    const testing::CommandRun run = RunTavi(arguments);
    EXPECT_EQ(run.code, kExitFailure);
    EXPECT_TRUE(Contains(run.err, "no data folder")) << run.err;
  }
}

TEST(CommandLine, OnlyInitCreatesADataFolder) {
  const tavi::testing::TempDir parent;
  const std::string data = parent.Join("nested/data");
  const testing::CommandRun feeds = testing::RunTaviOn(data, {"feeds"});
  EXPECT_EQ(feeds.code, 1);
  EXPECT_TRUE(
      Contains(feeds.err, "is not a Tavi data folder; run \"tavi --data " + data + " init\""))
      << feeds.err;
  EXPECT_FALSE(IsDirectory(data));
  ASSERT_EQ(testing::RunTaviOn(data, {"init"}).code, 0);
  EXPECT_TRUE(FileExists(data + "/In.mbx"));
  EXPECT_TRUE(IsDirectory(data + "/plugins"));
  EXPECT_EQ(testing::RunTaviOn(data, {"feeds"}).code, 0);
}

// The demo is the README's main job: it must run with nothing but the build.
TEST(CommandLine, DemoSubscribesDownloadsAndFindsNothingNewTheSecondTime) {
  const testing::CommandRun run = RunTavi({"demo"});
  ASSERT_EQ(run.code, 0) << run.out << run.err;
  EXPECT_TRUE(Contains(run.out, "Added feed \"Gazette\" (Harbour Town Gazette)")) << run.out;
  EXPECT_TRUE(Contains(run.out, "Checked 3 feeds: 6 new articles.")) << run.out;
  EXPECT_TRUE(Contains(run.out, "Science (3/3)")) << run.out;
  EXPECT_TRUE(Contains(run.out, "Checked 3 feeds: no new articles.")) << run.out;
  EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace tavi::cli
