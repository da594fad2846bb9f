#include "engine/feed_title.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "fetch/downloader.h"
#include "files/file_names.h"
#include "platform/net.h"
#include "store/pacing.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

using std::chrono::milliseconds;
using testing::LoopbackResponse;
using testing::LoopbackServer;
using testing::TempDir;
using testing::WriteFile;

// Latin-1 text as UTF-16 little-endian after its byte-order mark.
std::string Utf16LittleEndian(std::string_view latin1) {
  std::string wide = "\xFF\xFE";
  for (const char c : latin1) wide += {c, '\0'};
  return wide;
}

class FeedTitleTest : public ::testing::Test {
 protected:
  void SetUp() override { SetPacing(Pacing::Designed()); }

  std::string FeedFile() const { return folder_.Join("feed.xml"); }

  testing::QuickNetTimeouts timeouts_;
  testing::RecordingSleeper sleeper_;
  LoopbackServer server_;
  TempDir folder_;
};

TEST_F(FeedTitleTest, LearnsTheTitleOfTheFeedItself) {
  struct Case {
    const char* name;
    std::string document;
    const char* title;
  };
  const Case cases[] = {
      {"RSS: the channel's title, not an item's",
       "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><item><title>Item</title></item>"
       "<title>Channel &amp; Co</title></channel></rss>",
       "Channel & Co"},
      {"Atom: the feed's own title, even after its entries",
       "<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><title>Entry</title></entry>"
       "<title>Atom Feed</title></feed>",
       "Atom Feed"},
      {"a declared encoding: the title in UTF-8",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss><channel><title>Caf\xE9</title>"
       "</channel></rss>",
       "Caf\xC3\xA9"},
      {"UTF-16 with its byte-order mark: no longer cut at the first zero byte",
       Utf16LittleEndian("<rss><channel><title>na\xEFve</title></channel></rss>"), "na\xC3\xAFve"},
      {"no title of the feed: parsed, the name stays empty",
       "<rss><channel><item><title>Only an item</title></item></channel></rss>", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_.Serve("/feed", c.document, "application/xml");
    const FeedTitleResult result = LearnFeedTitle(server_.Url("/feed"), FeedFile());
    EXPECT_TRUE(result.parsed);
    EXPECT_EQ(result.title, c.title);
    EXPECT_FALSE(FileExists(FeedFile()));
  }
}

TEST_F(FeedTitleTest, FailsWhenNoFeedDocumentArrives) {
  struct Case {
    const char* name;
    LoopbackResponse response;
  };
  LoopbackResponse not_found;
  not_found.status = 404;
  not_found.body = "<html><body>Not Found<br></body></html>";
  LoopbackResponse binary;
  binary.body = std::string("GIF89a") + std::string(52, '\0');
  LoopbackResponse text;
  text.body = "Just words, no markup.";
  const Case cases[] = {
      {"the server's error page is not a feed", not_found},
      {"an image is not text", binary},
      {"plain text is not XML", text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_.Serve("/feed", c.response);
    const FeedTitleResult result = LearnFeedTitle(server_.Url("/feed"), FeedFile());
    EXPECT_FALSE(result.parsed);
    EXPECT_EQ(result.title, "");
    EXPECT_FALSE(FileExists(FeedFile()));
  }
}

TEST_F(FeedTitleTest, FeedDocumentOverItsLimitIsNotRead) {
  LoopbackResponse huge;
  huge.body = "<rss><channel><title>Huge</title></channel></rss>";
  huge.padding = kMaxFeedDocumentBytes + 1 - huge.body.size();
  server_.Serve("/feed", huge);
  EXPECT_FALSE(LearnFeedTitle(server_.Url("/feed"), FeedFile()).parsed);
  EXPECT_FALSE(FileExists(FeedFile()));
}

TEST_F(FeedTitleTest, UnreachableServerIsNotParsed) {
  std::string url;
  {
    LoopbackServer gone;
    url = gone.Url("/feed");
  }
  EXPECT_FALSE(LearnFeedTitle(url, FeedFile()).parsed);
}

TEST_F(FeedTitleTest, StaleFeedFileGoesFirstWithItsPause) {
  // An earlier document must not pass for this one when the download fails.
  WriteFile(FeedFile(), "<rss><channel><title>Old</title></channel></rss>");
  std::string url;
  {
    LoopbackServer gone;
    url = gone.Url("/feed");
  }
  EXPECT_FALSE(LearnFeedTitle(url, FeedFile()).parsed);
  EXPECT_EQ(sleeper_.Waits(), std::vector<milliseconds>{milliseconds(100)});
  EXPECT_FALSE(FileExists(FeedFile()));
}

}  // namespace
}  // namespace tavi
