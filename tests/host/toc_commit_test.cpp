#include "host/toc_commit.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace tavi::host {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr TocEntry kFirst = {0, 100, 7, kUnreadState};
constexpr TocEntry kSecond = {100, 150, 8, 1};

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class TocCommitTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string toc_ = dir_.Join("News.toc");
};

TEST_F(TocCommitTest, AddsTheEntryInPlaceAndMovesTheCommittedLength) {
  WriteFile(toc_, FormatToc({kFirst}, 100));
  const ino_t before = InodeOf(toc_);
  ASSERT_TRUE(CommitAppendedEntry(toc_, kSecond, 100, 250));
  EXPECT_EQ(InodeOf(toc_), before) << "written in place, not replaced";
  EXPECT_EQ(ReadFile(toc_), FormatToc({kFirst, kSecond}, 250));
  EXPECT_EQ(ReadCommittedLength(toc_), 250u);
}

TEST_F(TocCommitTest, OverwritesATrailingPartialEntry) {
  WriteFile(toc_, FormatToc({kFirst}, 100) + std::string(50, '\x7F'));
  ASSERT_TRUE(CommitAppendedEntry(toc_, kSecond, 100, 250));
  EXPECT_EQ(ReadFile(toc_), FormatToc({kFirst, kSecond}, 250));
}

TEST_F(TocCommitTest, WritesOnlyToATableThatEndsWhereTheFileDid) {
  std::string first_version = FormatToc({kFirst}, 100);
  first_version[4] = '\x01';
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"commits less than the file held", FormatToc({kFirst}, 90)},
      {"commits more than the file held", FormatToc({kFirst}, 120)},
      {"of the first version", first_version},
      {"someone else's", std::string(104 + 218, '\0')},
      {"shorter than its header", FormatToc({}, 100).substr(0, 103)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(toc_, c.bytes);
    EXPECT_FALSE(CommitAppendedEntry(toc_, kSecond, 100, 250));
    EXPECT_EQ(ReadFile(toc_), c.bytes);
  }
  ASSERT_EQ(remove(toc_.c_str()), 0);
  EXPECT_FALSE(CommitAppendedEntry(toc_, kSecond, 100, 250));
  EXPECT_EQ(InodeOf(toc_), 0u) << "a missing table is not created";
}

}  // namespace
}  // namespace tavi::host
