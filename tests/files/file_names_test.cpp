#include "files/file_names.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tavi {
namespace {

using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

TEST(MakeSafeFileName, DropsForbiddenCharactersAndTrailingBlanks) {
  const struct {
    std::string name;
    std::string safe;
  } rows[] = {
      {"Tom's News: Daily!", "Toms News Daily"},
      {"a\\b/c:d*e?f!g\"h'i<j>k|l", "abcdefghijkl"},
      {"  lead stays", "  lead stays"},
      {"trail \t ", "trail"},
      {"   ", "No Name"},  // trailing blanks go first, then nothing is left
      {":::", "No Name"},
      {"", "No Name"},
      {"dots.and-dashes_[x]", "dots.and-dashes_[x]"},
      {"Caf\xC3\xA9 Zo\xC3\xAB", "Caf\xC3\xA9 Zo\xC3\xAB"},  // UTF-8 letters survive
      {std::string(300, 'a'), std::string(250, 'a')},
      {std::string(249, 'a') + "   b", std::string(249, 'a') + " "},  // cut after the trim
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(MakeSafeFileName(row.name), row.safe);
  }
}

TEST(IsValidFileName, AcceptsApostrophesAndRejectsForbiddenCharacters) {
  EXPECT_TRUE(IsValidFileName("Tom's News"));
  EXPECT_TRUE(IsValidFileName(std::string(255, 'a')));
  EXPECT_FALSE(IsValidFileName("News?"));
  EXPECT_FALSE(IsValidFileName("a/b"));
  EXPECT_FALSE(IsValidFileName(""));
  EXPECT_FALSE(IsValidFileName(std::string(256, 'a')));
}

TEST(FileExists, ShortPathsAreAbsentAndWildCardsMatch) {
  TempDir dir;
  EXPECT_FALSE(FileExists("/tm"));
  EXPECT_FALSE(IsDirectory("/t"));
  EXPECT_TRUE(IsDirectory(dir.path()));
  EXPECT_FALSE(FileExists(dir.Join("*.rss")));
  WriteFile(dir.Join("a.b.rss"), "x");
  EXPECT_TRUE(FileExists(dir.Join("*.rss")));
  EXPECT_TRUE(FileExists(dir.Join("a.b.rss")));
  EXPECT_FALSE(FileExists(dir.Join("a.b.xml")));
  EXPECT_FALSE(IsDirectory(dir.Join("a.b.rss")));
}

TEST(PrepareFilePath, MakesUniqueNamesAndCreatesTheFile) {
  TempDir dir;
  WriteFile(dir.Join("a.nws"), "old");
  WriteFile(dir.Join("a_1.nws"), "old");
  const std::string path = PrepareFilePath(dir.path() + "//", "a", "nws", true, false);
  EXPECT_EQ(path, dir.Join("a_2.nws"));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadFile(path), "");

  EXPECT_EQ(PrepareFilePath(dir.path(), "a", "nws", false, false), dir.Join("a.nws"));
  EXPECT_EQ(ReadFile(dir.Join("a.nws")), "");  // truncated

  const std::string folder = dir.Join("Forwarded Articles");
  const std::string skipped = PrepareFilePath(folder, "Why?", "eml", false, true);
  EXPECT_EQ(skipped, folder + "/Why.eml");
  EXPECT_FALSE(IsDirectory(folder));
  PrepareFilePath(folder, "Why?", "eml", false, false);
  EXPECT_TRUE(FileExists(skipped));
}

TEST(WholeFiles, AppendTruncateEnsureAndRead) {
  TempDir dir;
  const std::string path = dir.Join("lines.txt");
  EXPECT_FALSE(TruncateFile(path));
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(ReadWholeFile(path), "");

  EXPECT_TRUE(AppendLineToFile(path, ""));
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(AppendLineToFile(path, "x"));
  EXPECT_TRUE(AppendLineToFile(path, "y"));
  EXPECT_EQ(ReadWholeFile(path), "x\r\ny\r\n");

  WriteFile(path, std::string("before\0after", 12));
  EXPECT_EQ(ReadWholeFile(path), "before");
  EXPECT_TRUE(TruncateFile(path));
  EXPECT_EQ(ReadWholeFile(path), "");

  EXPECT_TRUE(EnsureFileExists(dir.Join("new.eml")));
  EXPECT_TRUE(FileExists(dir.Join("new.eml")));
  EXPECT_FALSE(EnsureFileExists(dir.Join("missing/new.eml")));
  EXPECT_FALSE(AppendLineToFile(dir.Join("missing/new.eml"), "x"));
}

TEST(GetHostExecutablePath, NamesTheRunningProgram) {
  const std::string path = GetHostExecutablePath();
  EXPECT_NE(path.find("file_names_test"), std::string::npos) << path;
}

}  // namespace
}  // namespace tavi
