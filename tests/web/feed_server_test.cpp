#include "web/feed_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <string>

namespace tavi::web {
namespace {

// The sample feeds go out as they are even to a client that accepts every
// encoding: the library's brotli took close to a minute for a large feed.
TEST(FeedServer, FeedsAreServedUncompressedWhateverTheClientAccepts) {
  FeedServer feeds;
  const std::string document = "<rss>" + std::string(100000, 'x') + "</rss>";
  feeds.Serve("/feed.xml", document);
  ASSERT_TRUE(feeds.Start());
  httplib::Client client(feeds.Url(""));
  client.set_decompress(false);
  const auto answer = client.Get("/feed.xml", {{"Accept-Encoding", "br, gzip, deflate"}});
  ASSERT_TRUE(answer);
  EXPECT_FALSE(answer->has_header("Content-Encoding"));
  EXPECT_EQ(answer->body, document);
}

}  // namespace
}  // namespace tavi::web
