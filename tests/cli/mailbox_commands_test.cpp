#include "cli/mailbox_commands.h"

#include <gtest/gtest.h>

#include "cli/run_tavi.h"
#include "host/host.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;

std::string Message(int number) {
  return "Subject: Hello " + std::to_string(number) +
         "\r\nDate: Mon, 03 Nov 2025 08:30:00\r\n\r\nBody";
}

TEST(MailboxCommands, TreeShowsFoldersAndCountsFromTheTablesOfContents) {
  tavi::testing::TempDir data;
  {
    auto host = host::Host::Start(data.path());
    ASSERT_NE(host, nullptr);
    host::MailStore& store = host->Store();
    const auto work = store.CreateFolder(host::kTopLevel, "Work");
    const auto news = store.CreateMailbox(*work, "News");
    const auto hidden = store.CreateMailbox(host::kTopLevel, "Secret");
    ASSERT_TRUE(news && hidden);
    store.SetHidden(*hidden, true);
    for (int i = 1; i <= 3; ++i) ASSERT_TRUE(store.AddMessage(*news, Message(i)));
    ASSERT_TRUE(store.SetMessageState(store.MessageAt(*news, 0), 1));
    ASSERT_TRUE(store.Flush());
    EXPECT_EQ(MailboxTreeLines(store),
              (std::vector<std::string>{"In (0/0)", "Out (0/0)", "Trash (0/0)", "Work/",
                                        "  News (2/3)"}));
    EXPECT_EQ(FindMailbox(store, "work/news"), news);
    EXPECT_EQ(FindMailbox(store, "NEWS"), news);
    EXPECT_EQ(FindMailbox(store, "Work"), std::nullopt);
  }
  ASSERT_TRUE(testing::RunTaviOn(data.path(), {"init"}).code == 0);
  const testing::CommandRun show = testing::RunTaviOn(data.path(), {"show", "Work/News"});
  ASSERT_EQ(show.code, 0) << show.err;
  EXPECT_TRUE(Contains(show.out, "News: 3 messages (* unread)\n")) << show.out;
  EXPECT_TRUE(Contains(show.out, "    1   Mon, 03 Nov 2025 08:30:00  Hello 1\n")) << show.out;
  EXPECT_TRUE(Contains(show.out, "    2 * Mon, 03 Nov 2025 08:30:00  Hello 2\n")) << show.out;
  const testing::CommandRun unknown = testing::RunTaviOn(data.path(), {"show", "Nowhere"});
  EXPECT_EQ(unknown.code, 1);
  EXPECT_TRUE(Contains(unknown.err, "no mailbox named \"Nowhere\"")) << unknown.err;
}

// Subjects, dates and names come from feeds: a hostile one must not reach
// the terminal as control sequences.
TEST(MailboxCommands, FeedTextsAreEscapedBeforeTheyReachTheTerminal) {
  tavi::testing::TempDir data;
  {
    auto host = host::Host::Start(data.path());
    ASSERT_NE(host, nullptr);
    host::MailStore& store = host->Store();
    // The host keeps no C0 control in a mailbox name, but takes the C1 ones.
    const auto news = store.CreateMailbox(host::kTopLevel,
                                          "Red\xc2\x9b"
                                          "31mNews");
    ASSERT_TRUE(news);
    ASSERT_TRUE(store.AddMessage(*news,
                                 "Subject: Title\x1b]0;owned\x07 \xc2\x9b"
                                 "2J\r\nDate: \x9b"
                                 "1m\r\n\r\nBody"));
    ASSERT_TRUE(store.Flush());
  }
  ASSERT_EQ(testing::RunTaviOn(data.path(), {"init"}).code, 0);
  const testing::CommandRun mailboxes = testing::RunTaviOn(data.path(), {"mailboxes"});
  EXPECT_TRUE(Contains(mailboxes.out, "\nRed\\u009B31mNews (1/1)\n")) << mailboxes.out;
  const testing::CommandRun show = testing::RunTaviOn(data.path(), {"show",
                                                                    "Red\xc2\x9b"
                                                                    "31mNews"});
  ASSERT_EQ(show.code, 0) << show.err;
  EXPECT_EQ(show.out,
            "Red\\u009B31mNews: 1 message (* unread)\n"
            "    1 * \\x9B1m  Title\\x1B]0;owned\\x07 \\u009B2J\n");
  const testing::CommandRun unknown = testing::RunTaviOn(data.path(), {"show", "\x1b[2J"});
  EXPECT_TRUE(Contains(unknown.err, "no mailbox named \"\\x1B[2J\"")) << unknown.err;
}

}  // namespace
}  // namespace tavi::cli
