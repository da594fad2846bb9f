#include "web/json_writer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tavi::web {
namespace {

struct StringCase {
  std::string input;
  std::string json;
  const char* why;
};

TEST(JsonString, KeepsValidUtf8AndWritesEveryOtherByteAsItsLatin1Character) {
  const StringCase cases[] = {
      {"", "\"\"", "empty"},
      {"a\"b\\c", "\"a\\\"b\\\\c\"", "quote and reverse solidus escaped"},
      {"\n\r\t\x01\x7f", "\"\\n\\r\\t\\u0001\\u007f\"", "controls escaped"},
      {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\"",
       "two-, three- and four-byte sequences kept"},
      {"caf\xe9", "\"caf\\u00e9\"", "a Latin-1 byte"},
      {"\x80x", "\"\\u0080x\"", "a lone continuation byte"},
      {"\xc0\x80", "\"\\u00c0\\u0080\"", "overlong form of U+0000"},
      {"\xe0\x80\xaf", "\"\\u00e0\\u0080\\u00af\"", "overlong three-byte form"},
      {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\"", "a surrogate is no scalar value"},
      {"\xf4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\"", "above U+10FFFF"},
      {"\xe2\x82", "\"\\u00e2\\u0082\"", "cut short at the end"},
      {"\xe2\x82z", "\"\\u00e2\\u0082z\"", "cut short by an ASCII byte, which survives"},
      {"\xf5\x80", "\"\\u00f5\\u0080\"", "a byte that never starts a sequence"},
      {std::string("a\0b", 3), "\"a\\u0000b\"", "a zero byte"},
  };
  for (const StringCase& test : cases) {
    SCOPED_TRACE(test.why);
    EXPECT_EQ(JsonString(test.input), test.json);
  }
}

TEST(JsonWriter, IndentsNestedObjectsAndArrays) {
  JsonWriter json;
  json.BeginObject();
  json.Key("loaded");
  json.Bool(true);
  json.Key("list");
  json.BeginArray();
  json.BeginObject();
  json.Key("k");
  json.String("v");
  json.EndObject();
  json.String("w");
  json.EndArray();
  json.Key("none");
  json.BeginArray();
  json.EndArray();
  json.Key("numbers");
  json.BeginArray();
  json.Number(0);
  json.Number(-42);
  json.Number(INT64_MIN);
  json.EndArray();
  json.EndObject();
  EXPECT_EQ(json.Text(),
            "{\n"
            "  \"loaded\": true,\n"
            "  \"list\": [\n"
            "    {\n"
            "      \"k\": \"v\"\n"
            "    },\n"
            "    \"w\"\n"
            "  ],\n"
            "  \"none\": [],\n"
            "  \"numbers\": [\n"
            "    0,\n"
            "    -42,\n"
            "    -9223372036854775808\n"
            "  ]\n"
            "}");
}

}  // namespace
}  // namespace tavi::web
