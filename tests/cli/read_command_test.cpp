#include "cli/read_command.h"

#include <gtest/gtest.h>

#include "cli/run_tavi.h"
#include "host/host.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;

// A message as the composer writes it: headers, an empty line, and the
// HTML body after a line end.
std::string Message(const std::string& subject, const std::string& html) {
  return "Subject: " + subject +
         "\r\nDate: Mon, 03 Nov 2025 08:30:00\r\nContent-Type: text/html\r\n\r\n\r\n<x-html>" +
         html + "</x-html>";
}

class ReadCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Tavi({"init"}).code, 0); }

  void Deliver(const std::vector<std::string>& messages) {
    auto host = host::Host::Start(data_.path());
    ASSERT_NE(host, nullptr);
    host::MailStore& store = host->Store();
    const auto news = store.CreateMailbox(host::kTopLevel, "News");
    ASSERT_TRUE(news);
    for (const std::string& message : messages) ASSERT_TRUE(store.AddMessage(*news, message));
    ASSERT_TRUE(store.Flush());
  }

  testing::CommandRun Tavi(std::vector<std::string> arguments) {
    return testing::RunTaviOn(data_.path(), std::move(arguments));
  }

  tavi::testing::TempDir data_;
};

TEST_F(ReadCommand, ShowsTheHeadersThenTheBodyAsTextWithItsLinks) {
  Deliver({Message("First", "<p>one</p>"),
           Message("Storm warning",
                   "<h1>Gale</h1><p>Winds of <b>force&nbsp;9</b>.</p>"
                   "<ul><li><a href=\"https://x.example/boats\">Secure boats</a></li>"
                   "<li>Stay ashore</li></ul><script>track()</script>"
                   "<p>See the <a href=\"https://x.example/office\">office</a> or "
                   "<a href=\"https://x.example/boats\">online</a>.</p>")});
  const testing::CommandRun run = Tavi({"read", "news", "2"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Subject: Storm warning\n"
            "Date: Mon, 03 Nov 2025 08:30:00\n"
            "Content-Type: text/html\n"
            "\n"
            "Gale\n"
            "\n"
            "Winds of force\xc2\xa0"
            "9.\n"
            "\n"
            "- Secure boats[1]\n"
            "- Stay ashore\n"
            "\n"
            "See the office[2] or online[1].\n"
            "\n"
            "[1] https://x.example/boats\n"
            "[2] https://x.example/office\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(ReadCommand, RawPrintsTheStoredTextWithItsLineEnds) {
  Deliver({Message("First", "<p>one</p>\r\n<p>two</p>")});
  const testing::CommandRun run = Tavi({"read", "News", "1", "--raw"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Subject: First\n"
            "Date: Mon, 03 Nov 2025 08:30:00\n"
            "Content-Type: text/html\n"
            "\n"
            "\n"
            "<x-html><p>one</p>\n"
            "<p>two</p></x-html>\n");
}

// A hostile feed's title, text and link addresses must not reach the
// terminal as control sequences, in either form. (The HTML parser itself
// turns raw controls in the markup into U+FFFD; character references still
// make them.)
TEST_F(ReadCommand, ControlCharactersFromTheFeedArePrintedEscaped) {
  Deliver({Message("Hi\x1b]0;owned\x07",
                   "<p>&#x1b;[2J cleared\x1b[31m\xc2\x9b"
                   "1m</p><a href=\"https://x.example/&#27;[5m\">blink</a>")});
  const testing::CommandRun run = Tavi({"read", "News", "1"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "Subject: Hi\\x1B]0;owned\\x07\n")) << run.out;
  EXPECT_TRUE(Contains(run.out,
                       "\n\\x1B[2J cleared\xef\xbf\xbd[31m\xef\xbf\xbd"
                       "1m\n\nblink[1]\n"))
      << run.out;
  EXPECT_TRUE(Contains(run.out, "[1] https://x.example/\\x1B[5m\n")) << run.out;
  const testing::CommandRun raw = Tavi({"read", "News", "1", "--raw"});
  ASSERT_EQ(raw.code, 0) << raw.err;
  EXPECT_TRUE(Contains(raw.out, "Subject: Hi\\x1B]0;owned\\x07\n")) << raw.out;
  EXPECT_TRUE(Contains(raw.out, "cleared\\x1B[31m\\u009B1m</p>")) << raw.out;
  for (const testing::CommandRun& printed : {run, raw})
    EXPECT_EQ(printed.out.find_first_of("\x1b\x07"), std::string::npos);
}

TEST_F(ReadCommand, AMissingMailboxOrMessageIsNamedAndFails) {
  Deliver({Message("Only", "<p>one</p>")});
  const testing::CommandRun mailbox = Tavi({"read", "Nowhere", "1"});
  EXPECT_EQ(mailbox.code, kExitFailure);
  EXPECT_EQ(mailbox.err, "tavi: read: there is no mailbox named \"Nowhere\"\n");
  const testing::CommandRun message = Tavi({"read", "News", "2"});
  EXPECT_EQ(message.code, kExitFailure);
  EXPECT_EQ(message.err, "tavi: read: News has 1 message; there is no message 2\n");
  EXPECT_EQ(message.out, "");
}

TEST(ReadableMessage, ABodyWithoutHtmlIsPrintedAsItIs) {
  EXPECT_EQ(ReadableMessage("Subject: Plain\r\n\r\nline one\r\n<b>not html</b>"),
            "Subject: Plain\n\nline one\n<b>not html</b>\n");
  EXPECT_EQ(ReadableMessage("Subject: No body"), "Subject: No body\n\n");
  // An HTML part that was cut off still reads to its end.
  EXPECT_EQ(ReadableMessage("Subject: Cut\r\n\r\n<x-html><p>half"), "Subject: Cut\n\nhalf\n");
}

}  // namespace
}  // namespace tavi::cli
