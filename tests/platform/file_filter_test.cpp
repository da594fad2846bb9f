#include "platform/file_filter.h"

#include <gtest/gtest.h>

namespace tavi::platform {
namespace {

TEST(FileFilter, EachDescriptionTakesThePatternsAfterIt) {
  const std::vector<FileType> types =
      ParseFileFilter("News File (*.nws)|*.nws|Pages|*.htm;*.HTML;;|Any File Type (*.*)|*.*|");

  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(types[0].description, "News File (*.nws)");
  EXPECT_EQ(types[0].patterns, (std::vector<std::string>{"*.nws"}));
  EXPECT_EQ(types[1].patterns, (std::vector<std::string>{"*.htm", "*.HTML"}))
      << "empty patterns are dropped";
  EXPECT_EQ(types[2].patterns, (std::vector<std::string>{"*"}));
}

TEST(FileFilter, ATypeWithoutPatternsMatchesEveryNameAndNoFilterHasNoTypes) {
  EXPECT_TRUE(ParseFileFilter("").empty());
  for (const char* filter : {"Everything", "Everything|", "Everything||"}) {
    SCOPED_TRACE(filter);
    const std::vector<FileType> types = ParseFileFilter(filter);
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].description, "Everything");
    EXPECT_TRUE(MatchesFileType(types[0], "README"));
  }
}

TEST(FileFilter, PatternsMatchWholeNamesWithWildCardsAndWithoutRegardToCase) {
  struct Case {
    const char* patterns;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*.nws", "a.nws", true},
      {"*.nws", "A.NWS", true},
      {"*.nws", "a.nws.bak", false},  // the whole name, not a part of it
      {"*.nws", "a.nwsx", false},
      {"*.nws", ".nws", true},
      {"*.*", "README", true},  // every name, also one without a dot
      {"?.eml", "a.eml", true},
      {"?.eml", "ab.eml", false},
      {"a*b*c", "aXbYbZc", true},  // backtracks past the first "b"
      {"a*b*c", "aXbYbZ", false},
      {"*.htm;*.html", "page.HTML", true},
      {"*.htm;*.html", "page.txt", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.patterns) + " " + c.name);
    const std::vector<FileType> types = ParseFileFilter(std::string("T|") + c.patterns + "|");
    EXPECT_EQ(MatchesFileType(types.at(0), c.name), c.matches);
  }
}

}  // namespace
}  // namespace tavi::platform
