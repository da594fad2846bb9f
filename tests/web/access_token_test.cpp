#include "web/access_token.h"

#include <gtest/gtest.h>

namespace tavi::web {
namespace {

TEST(NewSecret, Is64HexDigitsAndNeverTheSameTwice) {
  const std::string first = NewSecret();
  const std::string second = NewSecret();
  for (const std::string& secret : {first, second}) {
    ASSERT_EQ(secret.size(), 2 * kSecretBytes);
    EXPECT_EQ(secret.find_first_not_of("0123456789abcdef"), std::string::npos) << secret;
  }
  EXPECT_NE(first, second);
}

TEST(SameSecret, OnlyTheWholeSecretMatches) {
  const std::string secret = "0123456789abcdef";
  EXPECT_TRUE(SameSecret(secret, secret));
  EXPECT_FALSE(SameSecret("0123456789abcdeF", secret));
  EXPECT_FALSE(SameSecret("0123456789abcde", secret));
  EXPECT_FALSE(SameSecret(secret + "0", secret));
  EXPECT_FALSE(SameSecret("", secret));
}

}  // namespace
}  // namespace tavi::web
