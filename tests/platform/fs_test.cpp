#include "platform/fs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "support/failing_reads.h"
#include "support/temp_dir.h"

namespace tavi::platform {
namespace {

using ::tavi::testing::FailingReads;
using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

void MakeLink(const std::string& text, const std::string& link) {
  ASSERT_EQ(symlink(text.c_str(), link.c_str()), 0) << link;
}

bool IsLink(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

unsigned ModeOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return 0;
  return info.st_mode & 0777;
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

TEST(ReplaceFile, ReplacesTheEndOfALinkChainAndTheLinksStayLinks) {
  TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.Join("real")));
  const std::string target = dir.Join("real/settings.ini");
  WriteFile(target, "old");
  ASSERT_EQ(chmod(target.c_str(), 0600), 0);
  MakeLink("second", dir.Join("first"));  // relative to the link's folder
  MakeLink("real/settings.ini", dir.Join("second"));

  EXPECT_EQ(ResolveLinks(dir.Join("first")), target);
  ASSERT_TRUE(ReplaceFile(dir.Join("first"), "new"));
  EXPECT_TRUE(IsLink(dir.Join("first")));
  EXPECT_TRUE(IsLink(dir.Join("second")));
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(ModeOf(target), 0600u);
  EXPECT_EQ(Sorted(FindFiles(dir.Join("*"))),
            (std::vector<std::string>{"first", "real", "second"}));
  EXPECT_EQ(FindFiles(dir.Join("real/*")), std::vector<std::string>{"settings.ini"});
}

TEST(ReplaceFile, ThroughADanglingLinkCreatesTheFileItNames) {
  TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.Join("elsewhere")));
  const std::string target = dir.Join("elsewhere/tavi.ini");
  MakeLink(target, dir.Join("tavi.ini"));
  ASSERT_TRUE(ReplaceFile(dir.Join("tavi.ini"), "[S]\n"));
  EXPECT_TRUE(IsLink(dir.Join("tavi.ini")));
  EXPECT_EQ(ReadFile(target), "[S]\n");
}

TEST(ReplaceFile, LinkLoopFailsAndKeepsTheLinks) {
  TempDir dir;
  MakeLink("b", dir.Join("a"));
  MakeLink("a", dir.Join("b"));
  errno = 0;
  EXPECT_EQ(ResolveLinks(dir.Join("a")), std::nullopt);
  EXPECT_EQ(errno, ELOOP);
  EXPECT_FALSE(ReplaceFile(dir.Join("a"), "x"));
  EXPECT_TRUE(IsLink(dir.Join("a")));
  EXPECT_EQ(Sorted(FindFiles(dir.Join("*"))), (std::vector<std::string>{"a", "b"}));
}

TEST(ReplaceFile, RemovingLeftoversTakesOnlyRegularFilesNamedAsTemporaries) {
  TempDir dir;
  for (const char* name :
       {"tavi.ini", "tavi.ini.tavi-tmp-Ab12Cd", "in.mbx.tavi-tmp-123456", "a.tavi-tmp-12345",
        "a.tavi-tmp-1234567", "a.tavi-tmp-abcdef.bak", "a.tavi-tmp_abcdef"})
    WriteFile(dir.Join(name), "x");
  ASSERT_TRUE(CreateFolder(dir.Join("d.tavi-tmp-abcdef")));
  WriteFile(dir.Join("d.tavi-tmp-abcdef/nested.tavi-tmp-abcdef"), "x");
  MakeLink("tavi.ini", dir.Join("l.tavi-tmp-abcdef"));

  RemoveReplacementLeftovers(dir.path());
  EXPECT_EQ(Sorted(FindFiles(dir.Join("*"))),
            (std::vector<std::string>{"a.tavi-tmp-12345", "a.tavi-tmp-1234567",
                                      "a.tavi-tmp-abcdef.bak", "a.tavi-tmp_abcdef",
                                      "d.tavi-tmp-abcdef", "l.tavi-tmp-abcdef", "tavi.ini"}));
  EXPECT_EQ(FindFiles(dir.Join("d.tavi-tmp-abcdef/*")),
            std::vector<std::string>{"nested.tavi-tmp-abcdef"});
}

TEST(ReplaceFile, RemovingOneFilesLeftoversLeavesOtherFilesLeftovers) {
  TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.Join("real")));
  for (const char* name : {"real/tavi.ini", "real/tavi.ini.tavi-tmp-AAAAAA",
                           "real/tavi.ini.tavi-tmp-BBBBBB", "real/xtavi.ini.tavi-tmp-AAAAAA",
                           "real/tavi.inI.tavi-tmp-AAAAAA", "tavi.ini.tavi-tmp-CCCCCC"})
    WriteFile(dir.Join(name), "x");
  MakeLink("real/tavi.ini", dir.Join("tavi.ini"));

  RemoveReplacementLeftoversOf(dir.Join("tavi.ini"));
  EXPECT_EQ(Sorted(FindFiles(dir.Join("real/*"))),
            (std::vector<std::string>{"tavi.inI.tavi-tmp-AAAAAA", "tavi.ini",
                                      "xtavi.ini.tavi-tmp-AAAAAA"}));
  EXPECT_EQ(ReadFile(dir.Join("tavi.ini.tavi-tmp-CCCCCC")), "x");
}

TEST(ReadFileBytes, TellsAMissingFileFromOneThatCannotBeRead) {
  TempDir dir;
  WriteFile(dir.Join("f"), "bytes");
  errno = 0;
  EXPECT_EQ(ReadFileBytes(dir.Join("absent")), std::nullopt);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(ReadFileBytes(dir.path()), std::nullopt);  // a folder opens but does not read
  EXPECT_EQ(errno, EISDIR);
  {
    FailingReads failing(dir.Join("f"), EIO);
    EXPECT_EQ(ReadFileBytes(dir.Join("f")), std::nullopt);
    EXPECT_EQ(errno, EIO);
  }
  EXPECT_EQ(ReadFileBytes(dir.Join("f")), "bytes");
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
