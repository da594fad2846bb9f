#include "cli/terminal_text.h"

#include <gtest/gtest.h>

namespace tavi::cli {
namespace {

struct TextCase {
  std::string text;
  std::string printable;
};

TEST(PrintableText, EscapesEveryControlAndEveryByteOutsideUtf8) {
  const TextCase cases[] = {
      {"Plain text, 100% ASCII.", "Plain text, 100% ASCII."},
      {"C:\\feeds\\x1B", "C:\\feeds\\x1B"},  // backslashes pass: only controls are escaped
      {"\x1b[31mred\x1b[0m", "\\x1B[31mred\\x1B[0m"},
      {"\x1b]0;title\x07", "\\x1B]0;title\\x07"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\x01\x1f\x7f", "\\x01\\x1F\\x7F"},
      {"tab\tline\nreturn\r", "tab\\tline\\nreturn\\r"},
      // The C1 controls as UTF-8 encodes them; CSI (U+009B) acts like ESC [.
      {"\xc2\x9b"
       "2J",
       "\\u009B2J"},
      {"\xc2\x80\xc2\x9f", "\\u0080\\u009F"},
      // Just past the C1 range: the no-break space is printable.
      {"\xc2\xa0", "\xc2\xa0"},
      {"Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "Caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
      // A lone 0x9B is CSI to a terminal reading Latin-1.
      {"\x9b"
       "2J",
       "\\x9B2J"},
      {"\xff\xfe", "\\xFF\\xFE"},
      // Cut sequences escape byte by byte and do not swallow what follows.
      {"\xe2\x82", "\\xE2\\x82"},
      {"\xe2\x82"
       "A",
       "\\xE2\\x82A"},
      {"\xf0\x9f\x98"
       "\x1b",
       "\\xF0\\x9F\\x98\\x1B"},
      // Overlong forms (of "/" and of U+009B), surrogates, and past U+10FFFF.
      {"\xc0\xaf", "\\xC0\\xAF"},
      {"\xe0\x82\x9b", "\\xE0\\x82\\x9B"},
      {"\xed\xa0\x80", "\\xED\\xA0\\x80"},
      {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
      {"\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},
  };
  for (const TextCase& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.text));
    EXPECT_EQ(PrintableText(test.text), test.printable);
  }
}

TEST(PrintableLines, KeepsLineEndsAndEscapesTheRest) {
  const TextCase cases[] = {
      {"one\r\ntwo\nthree", "one\ntwo\nthree"},
      {"\r\n\r\n", "\n\n"},
      // A carriage return alone would let the rest of the line overwrite it.
      {"safe\rEVIL", "safe\\rEVIL"},
      {"end\r", "end\\r"},
      {"\r\r\n", "\\r\n"},
      {"a\tb\x1b[2J\xc2\x9b\n", "a\\tb\\x1B[2J\\u009B\n"},
  };
  for (const TextCase& test : cases) {
    SCOPED_TRACE(::testing::PrintToString(test.text));
    EXPECT_EQ(PrintableLines(test.text), test.printable);
  }
}

}  // namespace
}  // namespace tavi::cli
