#include "host/mbx_format.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

namespace tavi::host {
namespace {

constexpr std::string_view kSeparator = "From ???@??? Sun Dec 6 2026 13:46:41";

std::string Message(std::string_view text) { return MakeRawMessage(kSeparator, text); }

TEST(MbxFormat, RecognisesOnlyWholeSeparatorLines) {
  struct Case {
    std::string_view line;
    bool separator;
  };
  const Case cases[] = {
      {"From ???@??? Sun Dec 6 2026 13:46:41", true},
      {"From ???@??? Sat Jan 31 1999 00:00:00", true},
      {"From ???@??? Mon Feb 16 2026 23:59:60", true},   // a leap second
      {"From ???@??? Sun Dec 06 2026 13:46:41", false},  // day with a leading zero
      {"From ???@??? Sun Dec 32 2026 13:46:41", false},
      {"From ???@??? Sun Dec 6 2026 24:00:00", false},
      {"From ???@??? Sun Dec 6 2026 9:05:07", false},   // one-digit hour
      {"From ???@??? Sun Dec 6 13:46:41 2026", false},  // year after the time
      {"From ???@??? sun Dec 6 2026 13:46:41", false},
      {"From ???@??? Sun Dez 6 2026 13:46:41", false},
      {"From ???@??? Sun Dec 6 26 13:46:41", false},
      {"From ???@??? Sun Dec 6 2026 13:46:41 ", false},  // trailing blank
      {"From ???@??? Sun  Dec 6 2026 13:46:41", false},
      {"From someone@example.com Sun Dec 6 2026 13:46:41", false},
      {"From the desk of the editor", false},
      {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(IsSeparatorLine(c.line), c.separator);
  }
}

TEST(MbxFormat, FormatsSeparatorWithoutLeadingZeroInTheDay) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 6;
  local.tm_hour = 9;
  local.tm_min = 5;
  local.tm_sec = 7;
  local.tm_isdst = -1;
  const auto instant = std::chrono::system_clock::from_time_t(std::mktime(&local));
  EXPECT_EQ(FormatSeparatorLine(instant), "From ???@??? Sun Dec 6 2026 09:05:07");
}

TEST(MbxFormat, CutsAtSeparatorsOnly) {
  const std::string first = Message("Subject: one\r\n\r\nFrom here on\r\nFrom ???@??? now");
  // Bare line feeds in a body stay as they are.
  const std::string second = Message("Subject: two\r\n\r\nline\nmore\n");
  const std::string third = Message("Subject: three\r\n\r\n");
  const std::string file = first + second + third;
  const ParsedMailboxFile parsed = ParseMailboxFile(file);
  EXPECT_EQ(parsed.preamble, "");
  ASSERT_EQ(parsed.messages.size(), 3u);
  EXPECT_EQ(parsed.messages[0], first);
  EXPECT_EQ(parsed.messages[1], second);
  EXPECT_EQ(parsed.messages[2], third);
  EXPECT_EQ(parsed.offsets[1], first.size());
  EXPECT_EQ(parsed.offsets[2], first.size() + second.size());
}

TEST(MbxFormat, SeparatorMustStartALineAndEndInCrLf) {
  const std::string text = std::string(kSeparator) +
                           "\r\nSubject: a\r\n\r\nx From ???@??? Sun Dec 6 2026 13:46:41\r\n" +
                           std::string(kSeparator) + "\nSubject: not a separator without CR\r\n";
  const ParsedMailboxFile parsed = ParseMailboxFile(text);
  ASSERT_EQ(parsed.messages.size(), 1u);
  EXPECT_EQ(parsed.messages[0], text);
}

TEST(MbxFormat, KeepsLeadingBytesAndEndsAnUnendedLastMessage) {
  const std::string body_without_end = std::string(kSeparator) + "\r\nSubject: cut\r\n\r\nhalf";
  const ParsedMailboxFile parsed = ParseMailboxFile("stray text\r\n" + body_without_end);
  EXPECT_EQ(parsed.preamble, "stray text\r\n");
  ASSERT_EQ(parsed.messages.size(), 1u);
  EXPECT_EQ(parsed.messages[0], body_without_end + "\r\n");
  EXPECT_EQ(parsed.offsets[0], 12u);

  EXPECT_TRUE(ParseMailboxFile("").messages.empty());
  EXPECT_EQ(ParseMailboxFile("no separator").preamble, "no separator\r\n");
}

TEST(MbxFormat, ReadsTextBodyAndHeaderValues) {
  const std::string raw = Message(
      "Subject: Hello\r\n"
      "message-id:   <a b@localhost.localdomain>\r\n"
      "X-Folded: first\r\n"
      " second\r\n"
      "\r\n"
      "Message-Id: <in the body>\r\n"
      "body");
  EXPECT_EQ(MessageText(raw).substr(0, 16), "Subject: Hello\r\n");
  EXPECT_TRUE(MessageText(raw).ends_with("body"));
  EXPECT_EQ(MessageBody(raw), "Message-Id: <in the body>\r\nbody");
  EXPECT_EQ(MessageHeaderValue(raw, "Message-Id"), "<a b@localhost.localdomain>");
  EXPECT_EQ(MessageHeaderValue(raw, "Subject"), "Hello");
  EXPECT_EQ(MessageHeaderValue(raw, "X-Folded"), "first");
  EXPECT_EQ(MessageHeaderValue(raw, "Subj"), "");
  EXPECT_EQ(MessageHeaderValue(Message("Subject: none\r\n\r\n"), "Message-Id"), "");
  EXPECT_EQ(MessageBody(Message("Subject: no body")), "");
}

}  // namespace
}  // namespace tavi::host
