#include "store/profile.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

TEST(Profile, LongValueReadsBackAsItsFirst254Characters) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  ASSERT_TRUE(WriteProfileString("Feed", "Name", std::string(300, 'n'), file));
  EXPECT_EQ(ReadProfileString("Feed", "Name", "", file), std::string(254, 'n'));
  EXPECT_EQ(ReadProfileString("Feed", "Missing", "fallback", file), "fallback");
}

TEST(Profile, IntegersReadAsTheirLeadingDecimalDigits) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  const struct {
    const char* stored;
    int expected;
  } rows[] = {
      {"15", 15},
      {"15x", 15},
      {"abc", 0},    // no digits: 0, not the default
      {"", 0},       // present but empty: 0, not the default
      {"  -7", -7},  // leading blanks and a sign
      {"+3", 3},
      {"- 3", 0},                   // a sign must be followed directly by digits
      {"99999999999", 2147483647},  // clamped instead of wrapping
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored);
    ASSERT_TRUE(WriteProfileString("Feed", "IntervalMinutes", row.stored, file));
    EXPECT_EQ(ReadProfileInt("Feed", "IntervalMinutes", 42, file), row.expected);
  }
  EXPECT_EQ(ReadProfileInt("Feed", "Missing", 42, file), 42);
  ASSERT_TRUE(WriteProfileInt("Feed", "Negative", -12, file));
  EXPECT_EQ(ReadProfileString("Feed", "Negative", "", file), "-12");
}

TEST(Profile, SectionReadKeepsEveryLineWholeHoweverLong) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  const std::string long_name(180, 'x');
  for (int i = 0; i < 200; ++i)
    ASSERT_TRUE(WriteProfileString("Aliases", "Feed" + std::to_string(i), long_name, file));
  std::vector<std::string> lines;
  EXPECT_TRUE(ReadProfileSection(lines, "Aliases", false, file));
  ASSERT_EQ(lines.size(), 200u);
  EXPECT_EQ(lines[199], "Feed199=" + long_name);

  std::vector<std::string> values{"kept"};
  ReadProfileSection(values, "Aliases", true, file);
  EXPECT_EQ(values.front(), "kept");
  EXPECT_EQ(values.back(), long_name);
}

TEST(Profile, SectionReadSkipsLinesWithoutEqualsAndSplitsAtTheFirst) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  WriteFile(file, "[Aliases]\nstray line\nNews=A=B\n");
  std::vector<std::string> values;
  EXPECT_TRUE(ReadProfileSection(values, "Aliases", true, file));
  EXPECT_EQ(values, std::vector<std::string>{"A=B"});
  std::vector<std::string> none;
  EXPECT_TRUE(ReadProfileSection(none, "Missing", false, file));
  EXPECT_TRUE(none.empty());
}

TEST(Profile, LineBreaksInValuesAreStoredAsBlanks) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  ASSERT_TRUE(WriteProfileString("Aliases", "News", "Daily\r\n[Evil]\nNews", file));
  EXPECT_EQ(ReadProfileString("Aliases", "News", "", file), "Daily  [Evil] News");
  EXPECT_EQ(ReadFile(file), "[Aliases]\nNews=Daily  [Evil] News\n");
}

// Reads come from the file as parsed last while it stays the same file: a
// change by anyone must show at the next read.
TEST(Profile, ReadsSeeEveryChangeToTheFile) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  WriteFile(file, "[S]\nk=first\n");
  EXPECT_EQ(ReadProfileString("S", "k", "", file), "first");

  // Another process's writer replaces the file whole.
  ASSERT_TRUE(platform::ReplaceFile(file, "[S]\nk=second\n"));
  EXPECT_EQ(ReadProfileString("S", "k", "", file), "second");

  // An editor rewrites it in place, to another size.
  WriteFile(file, "[S]\nk=third one\n");
  EXPECT_EQ(ReadProfileString("S", "k", "", file), "third one");

  // This process's own writes, whatever their way.
  ASSERT_TRUE(WriteProfileString("S", "k", "fourth", file));
  EXPECT_EQ(ReadProfileString("S", "k", "", file), "fourth");
  ASSERT_TRUE(EditProfileBatch(
      file, [](ProfileBatch& batch) { return batch.WriteString("S", "k", "fifth!"); }));
  EXPECT_EQ(ReadProfileString("S", "k", "", file), "fifth!");
  ASSERT_TRUE(DeleteProfileKey("S", "k", file));
  EXPECT_EQ(ReadProfileString("S", "k", "gone", file), "gone");
  std::vector<std::string> lines;
  ASSERT_TRUE(DeleteProfileSection("S", file));
  ReadProfileSection(lines, "S", false, file);
  EXPECT_TRUE(lines.empty());

  platform::DeleteFile(file);
  EXPECT_EQ(ReadProfileString("S", "k", "absent", file), "absent");
}

}  // namespace
}  // namespace tavi
