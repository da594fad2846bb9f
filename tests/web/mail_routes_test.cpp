#include "web/mail_routes.h"

#include <gtest/gtest.h>

#include "host/toc_file.h"
#include "support/host_test.h"
#include "web/mail_views.h"

namespace tavi::web {
namespace {

constexpr const char* kArticle =
    "Subject: Lighthouse open day\r\n"
    "From: desk@gazette.example (News Desk)\r\n"
    "Date: Fri, 07 Nov 2025 17:45:00 +0000\r\n"
    "Website: http://gazette.example/lighthouse\r\n"
    "\r\n"
    "<x-html><p>Climb all 212 steps.</p></x-html>";

class MailRoutesTest : public testing::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    AddMailRoutes(router_, *host_);
    feeds_ = *Store().CreateFolder(host::kTopLevel, "Feeds");
    news_ = *Store().CreateMailbox(feeds_, "News");
    ASSERT_TRUE(Store().AddMessage(news_, kArticle));
    ASSERT_TRUE(Store().AddMessage(news_, "Subject: Second\r\n\r\nplain <text>"));
  }

  PageResponse Get(const std::string& path, std::map<std::string, std::string> query = {}) {
    return router_.Answer({"GET", path, std::move(query), "", ""});
  }
  PageResponse Post(const std::string& path, const std::string& body) {
    return router_.Answer({"POST", path, {}, "application/json", body});
  }
  int MessageNumber(std::size_t index) { return Store().MessageAt(news_, index)->Number(); }
  std::string OpenMessageBody(int mailbox, int message) {
    return "{\"mailbox\": " + std::to_string(mailbox) +
           ", \"message\": " + std::to_string(message) + "}";
  }

  PageRouter router_;
  int feeds_ = 0;
  int news_ = 0;
};

TEST_F(MailRoutesTest, TheTreeNestsFoldersAndCountsUnreadAndTotalMessages) {
  Store().SetHidden(host::kTrashMailboxNumber, true);
  ASSERT_TRUE(Store().SetMessageState(Store().MessageAt(news_, 0), host::kReadState));
  const PageResponse tree = Get("/api/mailboxes");
  EXPECT_EQ(tree.status, 200);
  EXPECT_EQ(tree.body,
            "{\n"
            "  \"mailboxes\": [\n"
            "    {\n"
            "      \"number\": 2,\n"
            "      \"name\": \"In\",\n"
            "      \"folder\": false,\n"
            "      \"unread\": 0,\n"
            "      \"total\": 0\n"
            "    },\n"
            "    {\n"
            "      \"number\": 3,\n"
            "      \"name\": \"Out\",\n"
            "      \"folder\": false,\n"
            "      \"unread\": 0,\n"
            "      \"total\": 0\n"
            "    },\n"
            "    {\n"
            "      \"number\": " +
                std::to_string(feeds_) +
                ",\n"
                "      \"name\": \"Feeds\",\n"
                "      \"folder\": true,\n"
                "      \"children\": [\n"
                "        {\n"
                "          \"number\": " +
                std::to_string(news_) +
                ",\n"
                "          \"name\": \"News\",\n"
                "          \"folder\": false,\n"
                "          \"unread\": 1,\n"
                "          \"total\": 2\n"
                "        }\n"
                "      ]\n"
                "    }\n"
                "  ]\n"
                "}");
}

TEST_F(MailRoutesTest, TheListGivesEachMessagesDateSenderSubjectAndStateByPages) {
  const PageResponse list = Get("/api/mailboxes/" + std::to_string(news_) + "/messages");
  ASSERT_EQ(list.status, 200);
  EXPECT_NE(list.body.find("\"total\": 2,\n  \"first\": 0,"), std::string::npos) << list.body;
  EXPECT_NE(list.body.find("\"number\": " + std::to_string(MessageNumber(0)) +
                           ",\n      \"date\": \"Fri, 07 Nov 2025 17:45:00 +0000\",\n"
                           "      \"from\": \"desk@gazette.example (News Desk)\",\n"
                           "      \"subject\": \"Lighthouse open day\",\n"
                           "      \"read\": false"),
            std::string::npos)
      << list.body;
  const PageResponse second_page = Get("/api/mailboxes/" + std::to_string(news_) + "/messages",
                                       {{"first", "1"}, {"count", "5"}});
  EXPECT_EQ(second_page.body.find("Lighthouse"), std::string::npos);
  EXPECT_NE(second_page.body.find("\"subject\": \"Second\""), std::string::npos);
  const PageResponse past_the_end =
      Get("/api/mailboxes/" + std::to_string(news_) + "/messages", {{"first", "7"}});
  EXPECT_NE(past_the_end.body.find("\"messages\": []"), std::string::npos);
}

TEST_F(MailRoutesTest, OpeningAMessageReadsItForGoodAndGivesItsFieldsAndBody) {
  const int number = MessageNumber(0);
  const PageResponse opened = Post("/api/open-message", OpenMessageBody(news_, number));
  ASSERT_EQ(opened.status, 200);
  EXPECT_NE(opened.body.find("\"read\": true"), std::string::npos);
  EXPECT_NE(opened.body.find("{\n      \"name\": \"Website\",\n"
                             "      \"value\": \"http://gazette.example/lighthouse\"\n    }"),
            std::string::npos)
      << opened.body;
  const std::string body_path = MessageBodyPath(news_, number);
  EXPECT_NE(opened.body.find("\"body\": \"" + body_path + "\""), std::string::npos);
  const PageResponse body = Get(body_path);
  EXPECT_EQ(body.status, 200);
  EXPECT_EQ(body.policy, AnswerPolicy::kFeedDocument);
  EXPECT_EQ(body.content_type, "text/html; charset=utf-8");
  EXPECT_NE(body.body.find("<p>Climb all 212 steps.</p>"), std::string::npos);
  // The state is in the table of contents at once: a host that stops now
  // keeps it.
  const std::string toc = testing::ReadFile(data_.Join("Feeds.fol/News.toc"));
  ASSERT_GE(toc.size(), host::kTocHeaderSize + host::kTocEntrySize);
  EXPECT_EQ(toc[host::kTocHeaderSize + host::kTocStateOffset], host::kReadState);
}

TEST_F(MailRoutesTest, OpeningAMailboxShowsItsWindowAndListsIt) {
  const PageResponse opened =
      Post("/api/open-mailbox", "{\"mailbox\": " + std::to_string(news_) + "}");
  EXPECT_EQ(opened.status, 200);
  EXPECT_NE(opened.body.find("\"name\": \"News\""), std::string::npos);
  EXPECT_TRUE(host_->Windows().MailboxWindow(news_));
}

TEST_F(MailRoutesTest, WhatNamesNoMailboxOrMessageIsRefusedAndChangesNothing) {
  const int number = MessageNumber(1);
  const std::string news = std::to_string(news_);
  struct Case {
    const char* why;
    PageResponse response;
    int status;
  };
  const Case cases[] = {
      {"an unknown mailbox's list", Get("/api/mailboxes/999/messages"), 404},
      {"a folder's list", Get("/api/mailboxes/" + std::to_string(feeds_) + "/messages"), 404},
      {"a first that is no number", Get("/api/mailboxes/" + news + "/messages", {{"first", "x"}}),
       400},
      {"a negative count", Get("/api/mailboxes/" + news + "/messages", {{"count", "-1"}}), 400},
      {"a message of another mailbox",
       Post("/api/open-message", OpenMessageBody(host::kInMailboxNumber, number)), 404},
      {"an unknown message", Post("/api/open-message", OpenMessageBody(news_, 99999)), 404},
      {"a message number that is text",
       Post("/api/open-message", "{\"mailbox\": " + news + ", \"message\": \"1\"}"), 400},
      {"a number beyond an int",
       Post("/api/open-message", "{\"mailbox\": " + news + ", \"message\": 4294967296}"), 400},
      {"no message", Post("/api/open-message", "{\"mailbox\": " + news + "}"), 400},
      {"opening a folder",
       Post("/api/open-mailbox", "{\"mailbox\": " + std::to_string(feeds_) + "}"), 404},
      {"opening the top level", Post("/api/open-mailbox", "{\"mailbox\": 0}"), 404},
      {"an unknown body", Get("/message-body/" + news + "/99999"), 404},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    EXPECT_EQ(test.response.status, test.status) << test.response.body;
    EXPECT_EQ(test.response.policy, AnswerPolicy::kPage);
  }
  EXPECT_EQ(Store().MessageAt(news_, 1)->State(), host::kUnreadState);
  EXPECT_FALSE(host_->Windows().MailboxWindow(feeds_));
}

}  // namespace
}  // namespace tavi::web
