#include "web/json_request.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tavi::web {
namespace {

struct RefusedCase {
  std::string text;
  JsonRequestStatus status;
  std::size_t offset;
  const char* why;
};

TEST(JsonRequest, RefusesAllButOneFlatObjectAndSaysWhereReadingStopped) {
  using enum JsonRequestStatus;
  const RefusedCase cases[] = {
      {"", kNotAnObject, 0, "empty"},
      {"  [1]", kNotAnObject, 2, "an array at the top"},
      {"\"text\"", kNotAnObject, 0, "a string at the top"},
      {"{", kBadSyntax, 1, "unended"},
      {"{\"a\" 1}", kBadSyntax, 5, "no colon"},
      {"{\"a\":1,}", kBadSyntax, 7, "a comma before the brace"},
      {"{\"a\":1 \"b\":2}", kBadSyntax, 7, "no comma between members"},
      {"{a:1}", kBadSyntax, 1, "an unquoted key"},
      {"{\"a\":tru}", kBadSyntax, 5, "a word cut short"},
      {"{\"a\":\"x\ny\"}", kBadSyntax, 7, "a raw line feed inside a string"},
      {"{\"a\":\"\\x\"}", kBadSyntax, 7, "an unknown escape"},
      {"{\"a\":\"\\u12g4\"}", kBadSyntax, 10, "a bad hex digit"},
      {"{\"a\":\"\\udc00\"}", kBadSyntax, 12, "a lone low surrogate"},
      {"{\"a\":\"\\ud800x\"}", kBadSyntax, 12, "a high surrogate without its low one"},
      {"{\"a\":\"abc", kBadSyntax, 9, "an unended string"},
      {"{\"a\":01}", kBadSyntax, 6, "a leading zero"},
      {"{\"a\":-}", kBadSyntax, 6, "a minus alone"},
      {"{\"a\":null}", kUnsupportedValue, 5, "null"},
      {"{\"a\":[1]}", kUnsupportedValue, 5, "an array as a value"},
      {"{\"a\":{}}", kUnsupportedValue, 5, "a nested object"},
      {"{\"a\":1.5}", kUnsupportedValue, 5, "a fraction"},
      {"{\"a\":1e3}", kUnsupportedValue, 5, "an exponent"},
      {"{\"a\":9223372036854775808}", kNumberOutOfRange, 5, "one above the largest"},
      {"{\"a\":-9223372036854775809}", kNumberOutOfRange, 5, "one below the smallest"},
      {"{\"a\":1,\"a\":2}", kDuplicateKey, 7, "a key twice"},
      {"{} {}", kTrailingText, 3, "two objects"},
      {"{}x", kTrailingText, 2, "a stray byte after the object"},
  };
  for (const RefusedCase& test : cases) {
    SCOPED_TRACE(test.why);
    const JsonRequestParse parsed = ParseJsonRequest(test.text);
    EXPECT_EQ(parsed.status, test.status) << JsonRequestStatusText(parsed.status);
    EXPECT_EQ(parsed.offset, test.offset);
    EXPECT_EQ(parsed.request.MemberCount(), 0u);
  }
}

TEST(JsonRequest, ReadsWholeNumbersBooleansAndStringsByKindAndKey) {
  const JsonRequestParse parsed = ParseJsonRequest(
      " {\"mailbox\" : 12, \"ctrl\":true,\"shift\": false,\n\"name\":\"In\\tbox\\\"\\\\\\/\","
      "\"min\":-9223372036854775808,\"max\":9223372036854775807,\"zero\":-0} ");
  ASSERT_EQ(parsed.status, JsonRequestStatus::kOk);
  const JsonRequest& request = parsed.request;
  EXPECT_EQ(request.MemberCount(), 7u);
  EXPECT_EQ(request.Integer("mailbox"), 12);
  EXPECT_EQ(request.Integer("min"), INT64_MIN);
  EXPECT_EQ(request.Integer("max"), INT64_MAX);
  EXPECT_EQ(request.Integer("zero"), 0);
  EXPECT_EQ(request.Bool("ctrl"), true);
  EXPECT_EQ(request.Bool("shift"), false);
  EXPECT_EQ(request.String("name"), "In\tbox\"\\/");
  // A member of another kind, or none, is no value.
  EXPECT_EQ(request.Integer("ctrl"), std::nullopt);
  EXPECT_EQ(request.Bool("mailbox"), std::nullopt);
  EXPECT_EQ(request.String("missing"), std::nullopt);
  EXPECT_EQ(ParseJsonRequest("{}").request.MemberCount(), 0u);
}

TEST(JsonRequest, TurnsUnicodeEscapesIntoUtf8) {
  struct Case {
    const char* escaped;
    const char* utf8;
  };
  const Case cases[] = {
      {"\\u0041", "A"},
      {"\\u00e9", "\xc3\xa9"},
      {"\\u20AC", "\xe2\x82\xac"},
      {"\\ud83d\\ude00", "\xf0\x9f\x98\x80"},
      {"caf\xc3\xa9", "caf\xc3\xa9"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.escaped);
    const JsonRequestParse parsed =
        ParseJsonRequest(std::string("{\"s\":\"") + test.escaped + "\"}");
    ASSERT_EQ(parsed.status, JsonRequestStatus::kOk);
    EXPECT_EQ(parsed.request.String("s"), test.utf8);
  }
}

TEST(JsonRequest, TakesAtMostItsCapOfMembers) {
  std::string text = "{";
  for (std::size_t i = 0; i <= kMaxJsonRequestMembers; ++i)
    text += (i == 0 ? "\"k" : ",\"k") + std::to_string(i) + "\":1";
  const std::size_t last_key = text.rfind(",\"k") + 1;
  text += "}";
  const JsonRequestParse parsed = ParseJsonRequest(text);
  EXPECT_EQ(parsed.status, JsonRequestStatus::kTooManyMembers);
  EXPECT_EQ(parsed.offset, last_key);
  const std::string at_cap = text.substr(0, last_key - 1) + "}";
  EXPECT_EQ(ParseJsonRequest(at_cap).request.MemberCount(), kMaxJsonRequestMembers);
}

}  // namespace
}  // namespace tavi::web
