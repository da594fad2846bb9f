#include "ui/feed_validator.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(FeedValidator, TheFeedAddressIsOneQueryValue) {
  EXPECT_EQ(FeedValidatorAddress("http://example.com/rss.php?cat=2&format=rss"),
            "https://validator.w3.org/feed/check.cgi?url="
            "http%3A%2F%2Fexample.com%2Frss.php%3Fcat%3D2%26format%3Drss");
}

}  // namespace
}  // namespace tavi
