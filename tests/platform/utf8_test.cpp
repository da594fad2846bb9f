#include "platform/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi::platform {
namespace {

TEST(Utf8, WellFormedTextIsToldFromEveryKindOfMalformedSequence) {
  struct Row {
    const char* label;
    std::string text;
    bool valid;
  };
  const std::string ascii_run(21, 'a');  // longer than a block, not a multiple of one
  const Row rows[] = {
      {"empty", "", true},
      {"ASCII in blocks and a tail", ascii_run, true},
      {"two, three and four bytes", "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", true},
      {"the last code point", "\xF4\x8F\xBF\xBF", true},
      {"a character straddling a block", std::string(7, 'a') + "\xC3\xA9" + ascii_run, true},
      {"Latin-1 byte after a block", std::string(8, 'a') + "\xE9", false},
      {"stray continuation", "a\x80", false},
      {"overlong slash", "\xC0\xAF", false},
      {"overlong three bytes", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"past U+10FFFF", "\xF4\x90\x80\x80", false},
      {"cut at the end", "abc\xE2\x82", false},
      {"lead byte FF", "\xFF", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(IsValidUtf8(row.text), row.valid);
  }
}

TEST(Utf8, SequenceLengthCountsOnlyWholeCharactersOfTwoOrMoreBytes) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xE2\x82";
  EXPECT_EQ(Utf8SequenceLength(text, 0), 0u);  // ASCII
  EXPECT_EQ(Utf8SequenceLength(text, 1), 2u);
  EXPECT_EQ(Utf8SequenceLength(text, 2), 0u);  // inside a character
  EXPECT_EQ(Utf8SequenceLength(text, 3), 3u);
  EXPECT_EQ(Utf8SequenceLength(text, 6), 4u);
  EXPECT_EQ(Utf8SequenceLength(text, 10), 0u);  // cut by the end
  EXPECT_EQ(Utf8SequenceLength(text, text.size()), 0u);
}

}  // namespace
}  // namespace tavi::platform
