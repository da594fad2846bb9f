#include "ui/feed_validator.h"

#include "platform/net.h"

namespace tavi {
namespace {

constexpr const char* kFeedValidatorCheck = "https://validator.w3.org/feed/check.cgi?url=";

}  // namespace

std::string FeedValidatorAddress(const std::string& feed_url) {
  return kFeedValidatorCheck + platform::EncodeQueryValue(feed_url);
}

}  // namespace tavi
