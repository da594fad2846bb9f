#include "web/program_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace tavi::web {
namespace {

TEST(FindProgramFile, BesideTheProgramFirstThenWhereTheBuildPutsIt) {
  const testing::TempDir root;
  std::filesystem::create_directories(root.Join("build/web"));
  std::filesystem::create_directories(root.Join("build/src"));
  const std::string program = root.Join("build/web/tavi-host");
  EXPECT_EQ(FindProgramFile(program, "tavi.so", "../src/tavi.so"), "");
  testing::WriteFile(root.Join("build/src/tavi.so"), "built");
  EXPECT_EQ(FindProgramFile(program, "tavi.so", "../src/tavi.so"), root.Join("build/src/tavi.so"));
  testing::WriteFile(root.Join("build/web/tavi.so"), "installed");
  EXPECT_EQ(FindProgramFile(program, "tavi.so", "../src/tavi.so"), root.Join("build/web/tavi.so"));
  // A folder of that name is no file.
  std::filesystem::create_directories(root.Join("build/web/tavi"));
  EXPECT_EQ(FindProgramFile(program, "tavi", "../cli/tavi"), "");
}

}  // namespace
}  // namespace tavi::web
