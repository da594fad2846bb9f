#include "web/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace tavi::web {
namespace {

TEST(TemporaryFolder, IsMadeUnderTmpdirAndRemovedWithItsFiles) {
  const tavi::testing::TempDir parent;
  const tavi::testing::ScopedEnvironmentVariable tmpdir("TMPDIR", parent.path());
  std::string path;
  {
    const TemporaryFolder folder("tavi-test-");
    path = folder.Path();
    EXPECT_EQ(path.rfind(parent.Join("tavi-test-"), 0), 0u) << path;
    EXPECT_EQ(path.size(), parent.Join("tavi-test-XXXXXX").size());
    ASSERT_TRUE(std::filesystem::is_directory(path));
    tavi::testing::WriteFile(path + "/document", "bytes");
    const TemporaryFolder second("tavi-test-");
    EXPECT_NE(second.Path(), path);
  }
  EXPECT_FALSE(std::filesystem::is_directory(path));
}

}  // namespace
}  // namespace tavi::web
