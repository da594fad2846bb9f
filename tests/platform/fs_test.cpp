#include "platform/fs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "support/temp_dir.h"

namespace tavi::platform {
namespace {

using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FindFiles, MatchesWildCardsInTheLastComponentOnly) {
  TempDir dir;
  WriteFile(dir.Join("a.rss"), "");
  WriteFile(dir.Join("b.b.rss"), "");
  WriteFile(dir.Join(".hidden.rss"), "");
  WriteFile(dir.Join("c.xml"), "");
  EXPECT_EQ(Sorted(FindFiles(dir.Join("*.rss"))), (std::vector<std::string>{"a.rss", "b.b.rss"}));
  EXPECT_EQ(FindFiles(dir.Join("?.xml")), std::vector<std::string>{"c.xml"});
  EXPECT_EQ(FindFiles(dir.Join("c.xml")), std::vector<std::string>{"c.xml"});
  EXPECT_TRUE(FindFiles(dir.Join("none*")).empty());
  EXPECT_TRUE(FindFiles(dir.Join("missing/*.rss")).empty());
  EXPECT_TRUE(FindFiles(dir.Join("*/a.rss")).empty());  // the folder part is literal
}

TEST(ReplaceFile, SwapsContentKeepsModeAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.Join("settings.ini");
  WriteFile(path, "old");
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(ReplaceFile(path, "new"));
  EXPECT_EQ(ReadFile(path), "new");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(FindFiles(dir.Join("*")), std::vector<std::string>{"settings.ini"});
}

TEST(ReplaceFile, FailsWithoutAFolderAndCreatesNothing) {
  TempDir dir;
  EXPECT_FALSE(ReplaceFile(dir.Join("missing/settings.ini"), "x"));
  EXPECT_TRUE(FindFiles(dir.Join("*")).empty());
}

TEST(Files, AttributesDeleteAndFolders) {
  TempDir dir;
  EXPECT_EQ(GetFileAttributes(dir.Join("absent")), std::nullopt);
  WriteFile(dir.Join("f"), "12345");
  EXPECT_EQ(GetFileAttributes(dir.Join("f"))->size, 5u);
  EXPECT_FALSE(GetFileAttributes(dir.Join("f"))->directory);
  EXPECT_TRUE(CreateFolder(dir.Join("sub")));
  EXPECT_FALSE(CreateFolder(dir.Join("sub")));
  EXPECT_TRUE(GetFileAttributes(dir.Join("sub"))->directory);
  EXPECT_TRUE(DeleteFile(dir.Join("f")));
  EXPECT_FALSE(DeleteFile(dir.Join("f")));
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

}  // namespace
}  // namespace tavi::platform
