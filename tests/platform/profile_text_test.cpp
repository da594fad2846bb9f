#include "platform/profile_text.h"

#include <gtest/gtest.h>

namespace tavi::platform {
namespace {

TEST(ProfileDocument, TextKeepsEveryLineAndTheFirstLineEndStyle) {
  const struct {
    const char* bytes;
    const char* text;
  } rows[] = {
      {"", ""},
      {"; note\r\n[One]\r\nA = 1 \r\n\r\n[Two]\r\n", "; note\r\n[One]\r\nA = 1 \r\n\r\n[Two]\r\n"},
      {"[S]\nK=v", "[S]\nK=v\n"},  // the last line gets its line end
      {"\n\n", "\n\n"},
      {"a\r\nb\nc", "a\r\nb\r\nc\r\n"},  // the first line break decides the style
      {"a\nb\r\n", "a\nb\n"},
      {"x\r\r\n", "x\r\n"},  // stray CRs at the end of a line belong to its line end
      {"a\nb\r\r\n", "a\nb\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bytes);
    const ProfileDocument document = ProfileDocument::Parse(row.bytes);
    EXPECT_EQ(document.Text(), row.text);
    EXPECT_FALSE(document.Changed());
  }
}

TEST(ProfileDocument, NamesCompareWithoutCaseAndBlanksOnBothSides) {
  const auto document = ProfileDocument::Parse("[ Settings ]\n  DataFolder =  /mail/data  \n");
  EXPECT_EQ(document.Get("settings", "DATAFOLDER"), "/mail/data");
  EXPECT_EQ(document.Get(" SETTINGS\t", " datafolder "), "/mail/data");
  EXPECT_EQ(document.Get("Settings", "Other"), std::nullopt);
  EXPECT_EQ(document.Get("Missing", "DataFolder"), std::nullopt);
}

TEST(ProfileDocument, FirstOfRepeatedSectionsAndKeysCounts) {
  auto document = ProfileDocument::Parse("[S]\nK=1\nk=2\n[s]\nK=3\n");
  EXPECT_EQ(document.Get("S", "K"), "1");
  ASSERT_TRUE(document.Set("S", "K", "one"));
  EXPECT_EQ(document.Text(), "[S]\nK=one\nk=2\n[s]\nK=3\n");
}

TEST(ProfileDocument, SectionsListsEachHeaderWithItsLines) {
  const ProfileDocument document = ProfileDocument::Parse(
      "loose=line\n[ One ]\na=1\n; comment\n\n  b = 2 \n[Two]\n[one]\nc=3\n");
  const auto sections = document.Sections();
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0].name, "One");
  EXPECT_EQ(sections[0].lines, (std::vector<std::string>{"a=1", "b = 2"}));
  EXPECT_EQ(sections[0].lines, document.Section("One"));
  EXPECT_EQ(sections[1].name, "Two");
  EXPECT_TRUE(sections[1].lines.empty());
  EXPECT_EQ(sections[2].name, "one");
  EXPECT_EQ(sections[2].lines, std::vector<std::string>{"c=3"});
}

TEST(ProfileDocument, SetRewritesInPlaceOrAddsAfterTheLastNonBlankLine) {
  auto document =
      ProfileDocument::Parse("; kept\r\n[One]\r\nA=1\r\nB=2\r\n\r\n\r\n[Two]\r\nC=3\r\n");
  ASSERT_TRUE(document.Set("one", "b", "two"));
  ASSERT_TRUE(document.Set("One", "D", "4"));
  ASSERT_TRUE(document.Set("Three", "E", "5"));
  ASSERT_TRUE(document.Set("Two", "F", " x=y "));
  EXPECT_TRUE(document.Changed());
  EXPECT_EQ(document.Text(),
            "; kept\r\n[One]\r\nA=1\r\nb=two\r\nD=4\r\n\r\n\r\n[Two]\r\nC=3\r\nF= x=y "
            "\r\n[Three]\r\nE=5\r\n");
  EXPECT_EQ(document.Get("Two", "F"), "x=y");
}

TEST(ProfileDocument, StoringTheSameLineAgainChangesNothing) {
  auto document = ProfileDocument::Parse("[S]\nK=v\n");
  ASSERT_TRUE(document.Set("S", "K", "v"));
  ASSERT_TRUE(document.DeleteKey("S", "Absent"));
  ASSERT_TRUE(document.DeleteKey("Absent", "K"));
  ASSERT_TRUE(document.DeleteSection("Absent"));
  EXPECT_FALSE(document.Changed());
  ASSERT_TRUE(document.Set("S", "k", "v"));  // another spelling is another line
  EXPECT_TRUE(document.Changed());
}

TEST(ProfileDocument, DeletesAKeyLineOrASectionUpToTheNextHeader) {
  auto document =
      ProfileDocument::Parse("[Aliases]\nNews=N\nTech=T\n[News]\nURL=u\n; c\n\n[Tech]\nURL=v\n");
  ASSERT_TRUE(document.DeleteKey("ALIASES", " news"));
  ASSERT_TRUE(document.DeleteSection("news"));
  EXPECT_TRUE(document.Changed());
  EXPECT_EQ(document.Text(), "[Aliases]\nTech=T\n[Tech]\nURL=v\n");
}

TEST(ProfileDocument, SectionListsItsLinesWithoutCommentsAndBlanks) {
  const auto document =
      ProfileDocument::Parse("[Aliases]\n b = x=y \n; comment\n  ;indented\n\nno equals\n[N]\n");
  EXPECT_EQ(document.Section("aliases"), (std::vector<std::string>{"b = x=y", "no equals"}));
  EXPECT_TRUE(document.Section("N").empty());
  EXPECT_TRUE(document.Section("Missing").empty());
}

TEST(ProfileDocument, NamesAndValuesTheFileCannotHoldAreRefused) {
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } rows[] = {
      {"", "K", "v"},
      {" \t", "K", "v"},
      {"A]B", "K", "v"},  // "[A]B]" would read back as section "A"
      {"[A", "K", "v"},
      {"A\nB", "K", "v"},
      {"A\rB", "K", "v"},
      {"S", "", "v"},
      {"S", "  ", "v"},
      {"S", "K=L", "v"},
      {"S", ";K", "v"},  // would read back as a comment
      {"S", " ;K", "v"},
      {"S", "[K]", "v"},  // would read back as a section header
      {"S", "K\nL", "v"},
      {"S", "K\r", "v"},
      {"S", "K", "one\r\n[Injected]"},
      {"S", "K", "one\rtwo"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.section) + "|" + row.key + "|" + row.value);
    auto document = ProfileDocument::Parse("[S]\nK=old\n");
    EXPECT_FALSE(document.Set(row.section, row.key, row.value));
    EXPECT_TRUE(document.Refused());
    EXPECT_FALSE(document.Changed());
    EXPECT_EQ(document.Text(), "[S]\nK=old\n");
    // Rows whose names can be stored name the stored key and section.
    const bool section_storable = IsStorableSectionName(row.section);
    const bool names_storable = section_storable && IsStorableKeyName(row.key);
    auto deleting_key = ProfileDocument::Parse("[S]\nK=old\n");
    EXPECT_EQ(deleting_key.DeleteKey(row.section, row.key), names_storable);
    EXPECT_EQ(deleting_key.Refused(), !names_storable);
    EXPECT_EQ(deleting_key.Text(), names_storable ? "[S]\n" : "[S]\nK=old\n");
    auto deleting_section = ProfileDocument::Parse("[S]\nK=old\n");
    EXPECT_EQ(deleting_section.DeleteSection(row.section), section_storable);
    EXPECT_EQ(deleting_section.Text(), section_storable ? "" : "[S]\nK=old\n");
  }
}

TEST(ProfileDocument, OddButStorableNamesAndValuesReadBack) {
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } rows[] = {
      {"A=B", "K", "v"}, {"A;B", "K", "v"}, {";A", "K", "v"},  // a header line stays one
      {"S", "K]", "v"},  {"S", "K;L", "v"}, {"S", "K[", "v"},       {"S", "K", "[X]"},
      {"S", "K", "=;"},  {"S", "K", ""},    {"S", "K", "a\tb\x01"}, {" S ", " K ", "v"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.section) + "|" + row.key + "|" + row.value);
    auto document = ProfileDocument::Parse("[Other]\nK=other\n");
    ASSERT_TRUE(document.Set(row.section, row.key, row.value));
    const auto reread = ProfileDocument::Parse(document.Text());
    EXPECT_EQ(reread.Get(row.section, row.key), row.value);
    EXPECT_EQ(reread.Get("Other", "K"), "other");
  }
}

}  // namespace
}  // namespace tavi::platform
