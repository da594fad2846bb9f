#include "cli/inspect_command.h"

#include <gtest/gtest.h>

#include "cli/run_tavi.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;
using testing::RunTavi;

class InspectCommand : public ::testing::Test {
 protected:
  std::string Inspect(const std::string& document, std::vector<std::string> options = {}) {
    tavi::testing::WriteFile(folder_.Join("feed.xml"), document);
    std::vector<std::string> arguments = {"inspect", folder_.Join("feed.xml")};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const testing::CommandRun run = RunTavi(arguments);
    EXPECT_EQ(run.code, 0) << run.err;
    return run.out;
  }

  tavi::testing::TempDir folder_;
};

TEST_F(InspectCommand, ShowsAnRssItemAsTheEngineReadsIt) {
  const std::string json = Inspect(
      "<rss><channel><title>T</title><item><title>A &amp; B</title><link>http://l/1</link>"
      "<description>Caf\xe9</description><author>me</author>"
      "<pubDate>Sun, 06 Dec 2026 13:55:15 +0100</pubDate><guid>g-1</guid>"
      "<enclosure url=\"http://l/a.mp3\" length=\"12\" type=\"audio/mpeg\"/>"
      "<summary>S</summary></item></channel></rss>");
  EXPECT_EQ(json,
            "{\n"
            "  \"loaded\": true,\n"
            "  \"message\": \"305 bytes\",\n"
            "  \"format\": \"rss\",\n"
            "  \"articles\": [\n"
            "    {\n"
            "      \"title\": \"A & B\",\n"
            "      \"link\": \"http://l/1\",\n"
            "      \"description\": \"Caf\\u00e9\",\n"
            "      \"author\": \"me\",\n"
            "      \"date\": \"Sun, 06 Dec 2026 13:55:15 +0100\",\n"
            "      \"normalized_date\": \"12/06/2026 13:55:15\",\n"
            "      \"guid\": \"g-1\",\n"
            "      \"enclosure\": \"http://l/a.mp3\",\n"
            "      \"enclosure_length\": \"12\",\n"
            "      \"enclosure_type\": \"audio/mpeg\",\n"
            "      \"summary\": \"S\",\n"
            "      \"message_id\": \"<g-1@localhost.localdomain>\"\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST_F(InspectCommand, AtomDatesAreConvertedAndNowFixesUnreadableOnes) {
  const std::string json = Inspect(
      "<feed><entry><id>e1</id><issued>2026-12-06T13:55:15Z</issued></entry>"
      "<entry><link href=\"http://l/2\"/><issued>soon</issued></entry>"
      "<entry><id>e3</id></entry></feed>",
      {"--now", "01/02/2027 03:04:05"});
  EXPECT_TRUE(Contains(json, "\"format\": \"atom\"")) << json;
  EXPECT_TRUE(Contains(json, "\"date\": \"Sun, Dec 06 2026 13:55:15\"")) << json;
  EXPECT_TRUE(Contains(json, "\"normalized_date\": \"12/06/2026 13:55:15\"")) << json;
  // An unreadable date is the pinned current time; no date stays empty.
  EXPECT_TRUE(Contains(json, "\"date\": \"Sat, Jan 02 2027 03:04:05\"")) << json;
  EXPECT_TRUE(Contains(json, "\"date\": \"\",\n      \"normalized_date\": \"\"")) << json;
  EXPECT_TRUE(Contains(json, "\"message_id\": \"<http://l/2@localhost.localdomain>\"")) << json;
}

TEST_F(InspectCommand, ADocumentThatDoesNotLoadHasNoFormatAndNoArticles) {
  const std::string json = Inspect("<rss><item><guid>1</guid></item></rss><rss/>");
  EXPECT_TRUE(Contains(json, "\"loaded\": false")) << json;
  EXPECT_TRUE(Contains(json, "\"message\": \"44 bytes, Root element has sibling\"")) << json;
  EXPECT_TRUE(Contains(json, "\"format\": \"\",\n  \"articles\": []")) << json;
  const testing::CommandRun missing = RunTavi({"inspect", folder_.Join("absent.xml")});
  EXPECT_EQ(missing.code, 0);
  EXPECT_TRUE(Contains(missing.out, "\"message\": \"No such file or directory\"")) << missing.out;
}

TEST_F(InspectCommand, RefusesAnUnreadableNow) {
  const testing::CommandRun run = RunTavi({"inspect", "x.xml", "--now", "tomorrow"});
  EXPECT_EQ(run.code, kExitUsage);
  EXPECT_EQ(run.err,
            "tavi: --now: needs a local time \"MM/DD/YYYY HH:MM:SS\", not \"tomorrow\"\n"
            "try 'tavi inspect --help'\n");
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace tavi::cli
