#include "cli/full_article_command.h"

#include <gtest/gtest.h>

#include "cli/run_tavi.h"
#include "host/host.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;

class FullArticleCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Tavi({"init"}).code, 0);
    server_.Serve("/story", "<HTML><p>The whole</p>\r\nstory</HTML>", "text/html");
    server_.Serve("/missing", tavi::testing::LoopbackResponse{404, "gone", "text/html", {}});
    Deliver({Message(server_.Url("/story")), Message(server_.Url("/missing")),
             "Subject: No link\r\n\r\nbody"});
  }

  static std::string Message(const std::string& link) {
    return "Subject: News\r\nWebsite: " + link + "\r\n\r\n\r\n<x-html>Summary</x-html>";
  }

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
  tavi::testing::LoopbackServer server_;
};

TEST_F(FullArticleCommand, PrintsTheMessageWithThePageAndLeavesItStored) {
  const std::string stored = Tavi({"read", "News", "1", "--raw"}).out;
  const std::string headers = "Subject: News\nWebsite: " + server_.Url("/story") + "\n\n";
  testing::CommandRun run = Tavi({"full-article", "News", "1"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, headers + "<html><p>The whole</p>\nstory</html>\n");
  run = Tavi({"full-article", "News", "1", "--text"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, headers + "<html>The whole<br>story</html>\n");
  EXPECT_EQ(Tavi({"read", "News", "1", "--raw"}).out, stored);
}

TEST_F(FullArticleCommand, ReportsWhyThereIsNoPage) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    const char* error;
  };
  const std::vector<Case> cases = {
      {"no such message",
       {"full-article", "News", "9"},
       "News has 3 messages; there is no message 9"},
      {"no Website line", {"full-article", "News", "3"}, "the message has no Website line"},
      {"an HTTP error",
       {"full-article", "News", "2"},
       "cannot be fetched: The server answered 404"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const testing::CommandRun run = Tavi(c.arguments);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(Contains(run.err, c.error)) << run.err;
  }
}

}  // namespace
}  // namespace tavi::cli
