#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tavi::cli {
namespace {

struct CommandRun {
  int code;
  std::string out;
  std::string err;
};

CommandRun RunTavi(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunCommandLine(arguments, out, err);
  return {code, out.str(), err.str()};
}

TEST(CommandLine, VersionNamesTheProductAndItsVersion) {
  const CommandRun run = RunTavi({"--version"});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.rfind("Tavi ", 0), 0u) << run.out;
}

TEST(CommandLine, UnknownCommandFailsWithUsage) {
  const CommandRun run = RunTavi({"frobnicate"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("unknown command \"frobnicate\""), std::string::npos);
  EXPECT_NE(run.err.find("usage: tavi"), std::string::npos);
  EXPECT_EQ(RunTavi({}).code, 1);
  EXPECT_EQ(RunTavi({"help"}).code, 0);
}

}  // namespace
}  // namespace tavi::cli
