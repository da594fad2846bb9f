#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/fs.h"
#include "support/temp_dir.h"

namespace tavi::platform {
namespace {

using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

TEST(ProfileFile, FirstWriteCreatesFileAndSection) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  ASSERT_TRUE(SetProfileValue(file, "Aliases", "News", "Daily News"));
  EXPECT_EQ(ReadFile(file), "[Aliases]\nNews=Daily News\n");
  EXPECT_EQ(GetProfileValue(file, "Aliases", "News"), "Daily News");
}

TEST(ProfileFile, NamesCompareWithoutLetterCaseAndBlanks) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[ Settings ]\r\n  DataFolder =  /mail/data  \r\n");
  EXPECT_EQ(GetProfileValue(file, "settings", "DATAFOLDER"), "/mail/data");
  EXPECT_EQ(GetProfileValue(file, "settings", "Other"), std::nullopt);
  EXPECT_EQ(GetProfileValue(file, "Missing", "DataFolder"), std::nullopt);
  EXPECT_EQ(GetProfileValue(dir.Join("absent.ini"), "Settings", "DataFolder"), std::nullopt);
}

TEST(ProfileFile, WriteKeepsOtherLinesTheirOrderAndLineEnds) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "; kept comment\r\n[One]\r\nA=1\r\nB=2\r\n\r\n[Two]\r\nC=3\r\n");
  ASSERT_TRUE(SetProfileValue(file, "one", "b", "two"));
  ASSERT_TRUE(SetProfileValue(file, "One", "D", "4"));
  ASSERT_TRUE(SetProfileValue(file, "Three", "E", "5"));
  EXPECT_EQ(ReadFile(file),
            "; kept comment\r\n[One]\r\nA=1\r\nb=two\r\nD=4\r\n\r\n[Two]\r\nC=3\r\n"
            "[Three]\r\nE=5\r\n");
}

TEST(ProfileFile, DeletesKeysAndWholeSections) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[Aliases]\nNews=N\nTech=T\n[News]\nURL=u\nName=N\n[Tech]\nURL=v\n");
  ASSERT_TRUE(DeleteProfileKey(file, "ALIASES", "news"));
  ASSERT_TRUE(DeleteProfileSection(file, "news"));
  ASSERT_TRUE(DeleteProfileSection(file, "Absent"));
  ASSERT_TRUE(DeleteProfileKey(file, "Tech", "Absent"));
  EXPECT_EQ(ReadFile(file), "[Aliases]\nTech=T\n[Tech]\nURL=v\n");
}

TEST(ProfileFile, SectionListsItsLinesInFileOrder) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[Aliases]\n b = x=y \n; comment\n\nno equals\n[Next]\nc=1\n");
  EXPECT_EQ(GetProfileSection(file, "aliases"), (std::vector<std::string>{"b = x=y", "no equals"}));
  EXPECT_TRUE(GetProfileSection(file, "Missing").empty());
}

TEST(ProfileFile, ValueWithLineBreakIsRefusedAndFileUnchanged) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  ASSERT_TRUE(SetProfileValue(file, "S", "K", "v"));
  EXPECT_FALSE(SetProfileValue(file, "S", "K", "one\r\n[Injected]"));
  EXPECT_EQ(ReadFile(file), "[S]\nK=v\n");
}

TEST(ProfileFile, NamesTheFileCannotHoldAreRefusedAndNothingIsWritten) {
  TempDir dir;
  const std::string absent = dir.Join("absent.ini");
  EXPECT_FALSE(SetProfileValue(absent, "S", "K=L", "v"));
  EXPECT_FALSE(DeleteProfileSection(absent, "[S]"));
  EXPECT_TRUE(FindFiles(dir.Join("absent.ini*")).empty());

  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[S]\nK=v\n");
  EXPECT_FALSE(SetProfileValue(file, "S]\n[T", "K", "v"));
  EXPECT_FALSE(SetProfileValue(file, "S", "; K", "v"));
  EXPECT_FALSE(DeleteProfileKey(file, "S", "K\n"));
  EXPECT_FALSE(DeleteProfileSection(file, ""));
  EXPECT_EQ(ReadFile(file), "[S]\nK=v\n");
}

TEST(ProfileFile, UnwritableFolderFailsWritesAndReadsDefaults) {
  TempDir dir;
  // A folder that cannot be written even by root: it is a plain file.
  WriteFile(dir.Join("not-a-folder"), "");
  const std::string file = dir.Join("not-a-folder/tavi.ini");
  EXPECT_FALSE(SetProfileValue(file, "S", "K", "v"));
  EXPECT_EQ(GetProfileValue(file, "S", "K"), std::nullopt);
  EXPECT_TRUE(GetProfileSection(file, "S").empty());
}

TEST(ProfileFile, ConcurrentWritersLoseNoKeyAndReadersSeeWholeFiles) {
  TempDir dir;
  const std::string file = dir.Join("shared.ini");
  constexpr int kWrites = 500;
  auto writer = [&](const std::string& section) {
    for (int i = 0; i < kWrites; ++i)
      SetProfileValue(file, section, "Key" + std::to_string(i % 50), std::to_string(i));
  };
  std::atomic<bool> done{false};
  std::atomic<int> torn_reads{0};
  std::thread reader([&] {
    while (!done) {
      const std::string bytes = ReadFile(file);
      if (!bytes.empty() && bytes.back() != '\n') ++torn_reads;
    }
  });
  std::thread first(writer, "First");
  std::thread second(writer, "Second");
  first.join();
  second.join();
  done = true;
  reader.join();

  EXPECT_EQ(torn_reads, 0);
  for (const std::string section : {"First", "Second"}) {
    for (int key = 0; key < 50; ++key) {
      SCOPED_TRACE(section + " Key" + std::to_string(key));
      EXPECT_EQ(GetProfileValue(file, section, "Key" + std::to_string(key)),
                std::to_string(kWrites - 50 + key));
    }
  }
}

}  // namespace
}  // namespace tavi::platform
