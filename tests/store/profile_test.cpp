#include "store/profile.h"

#include <gtest/gtest.h>

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

// The snapshot must read exactly what the key-by-key reads read, whatever
// the file holds.
TEST(Profile, SnapshotReadsWhatEachReadOfItsOwnReads) {
  const TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  WriteFile(file,
            "stray=before any section\r\n"
            "[Aliases]\r\n"
            "News=Daily News\r\n"
            "; a comment=no\r\n"
            "no equals here\r\n"
            " [ news ] \r\n"
            " URL = http://a \r\n"
            "url=second key of the name\r\n"
            "Count=42x\r\n"
            "Long=" +
                std::string(300, 'v') +
                "\r\n"
                "[NEWS]\r\n"
                "URL=repeated section\r\n"
                "Only=in the repeat\r\n"
                "[Empty]\r\n");
  const ProfileSnapshot snapshot(file);
  struct Read {
    const char* section;
    const char* key;
  };
  const Read reads[] = {{"News", "URL"},    {"news ", "url"},    {"NEWS", "Only"},
                        {"News", "Long"},   {"News", "Count"},   {"Empty", "URL"},
                        {"Gone", "URL"},    {"Aliases", "news"}, {"", "stray"},
                        {"News", "Missing"}};
  for (const Read& read : reads) {
    SCOPED_TRACE(std::string(read.section) + "/" + read.key);
    EXPECT_EQ(snapshot.ReadString(read.section, read.key, "default"),
              ReadProfileString(read.section, read.key, "default", file));
    EXPECT_EQ(snapshot.ReadInt(read.section, read.key, 7),
              ReadProfileInt(read.section, read.key, 7, file));
  }
  for (const char* section : {"Aliases", "news", "Empty", "Gone"}) {
    SCOPED_TRACE(section);
    std::vector<std::string> lines;
    ReadProfileSection(lines, section, false, file);
    EXPECT_EQ(snapshot.ReadSection(section), lines);
  }
  EXPECT_EQ(snapshot.ReadString("News", "URL", ""), "http://a");
  EXPECT_EQ(ProfileSnapshot(dir.Join("missing.ini")).ReadString("News", "URL", "none"), "none");
}

}  // namespace
}  // namespace tavi
