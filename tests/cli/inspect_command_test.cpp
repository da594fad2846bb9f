#include "cli/inspect_command.h"

#include <gtest/gtest.h>

#include "cli/run_tavi.h"
#include "platform/fs.h"
#include "support/loopback_server.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;
using testing::RunTavi;

int Occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class InspectCommand : public ::testing::Test {
 protected:
  // The JSON for `document`; the run must exit with `code`.
  std::string Inspect(const std::string& document, std::vector<std::string> options = {},
                      int code = kExitSuccess) {
    tavi::testing::WriteFile(folder_.Join("feed.xml"), document);
    std::vector<std::string> arguments = {"inspect", folder_.Join("feed.xml")};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const testing::CommandRun run = RunTavi(arguments);
    EXPECT_EQ(run.code, code) << run.err;
    EXPECT_EQ(run.err, "");
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
            "  \"encoding\": \"UTF-8\",\n"
            "  \"encoding_source\": \"default\",\n"
            "  \"encoding_note\": \"invalid UTF-8 left as it came (1 byte)\",\n"
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

TEST_F(InspectCommand, AtomDatesAreConvertedAndUnreadableOnesLeftOut) {
  const std::string json = Inspect(
      "<feed><entry><id>e1</id><issued>2026-12-06T13:55:15Z</issued></entry>"
      "<entry><link href=\"http://l/2\"/><issued>soon</issued></entry>"
      "<entry><id>e3</id></entry></feed>",
      {"--now", "01/02/2027 03:04:05"});
  EXPECT_TRUE(Contains(json, "\"format\": \"atom\"")) << json;
  EXPECT_TRUE(Contains(json, "\"date\": \"Sun, Dec 06 2026 13:55:15\"")) << json;
  EXPECT_TRUE(Contains(json, "\"normalized_date\": \"12/06/2026 13:55:15\"")) << json;
  // Neither an unreadable date nor a missing one gives the entry a date.
  EXPECT_FALSE(Contains(json, "Jan 02 2027")) << json;
  EXPECT_EQ(Occurrences(json, "\"date\": \"\",\n      \"normalized_date\": \"\""), 2) << json;
  EXPECT_TRUE(Contains(json, "\"message_id\": \"<http://l/2@localhost.localdomain>\"")) << json;
}

TEST_F(InspectCommand, ShowsTheEncodingItFoundAndWhatItPassedOver) {
  const struct {
    std::string document;
    std::string shown;
  } rows[] = {
      {"<?xml version=\"1.0\" encoding=\"windows-1251\"?><rss><channel><item><title>\xCF"
       "</title></item></channel></rss>",
       "  \"encoding\": \"windows-1251\",\n  \"encoding_source\": \"XML declaration\",\n"
       "  \"encoding_note\": \"\",\n"},
      {"<?xml version=\"1.0\" encoding=\"x-martian\"?><rss/>",
       "  \"encoding\": \"UTF-8\",\n  \"encoding_source\": \"default\",\n"
       "  \"encoding_note\": \"unknown encoding \\\"x-martian\\\" in the XML declaration, "
       "ignored\",\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.document);
    const std::string json = Inspect(row.document);
    EXPECT_TRUE(Contains(json, row.shown)) << json;
  }
  EXPECT_TRUE(Contains(Inspect("<?xml version=\"1.0\" encoding=\"windows-1251\"?><rss><channel>"
                               "<item><title>\xCF</title></item></channel></rss>"),
                       "\"title\": \"\xD0\x9F\""));
}

TEST_F(InspectCommand, ADocumentThatDoesNotLoadHasNoFormatAndNoArticlesAndFails) {
  const std::string json =
      Inspect("<rss><item><guid>1</guid></item></rss><rss/>", {}, kExitFailure);
  EXPECT_TRUE(Contains(json, "\"loaded\": false")) << json;
  EXPECT_TRUE(Contains(json, "\"message\": \"44 bytes, Root element has sibling\"")) << json;
  EXPECT_TRUE(Contains(json, "\"format\": \"\",\n  \"articles\": []")) << json;
  EXPECT_TRUE(Contains(Inspect("", {}, kExitFailure), "\"message\": \"0 bytes, Empty document\""));
}

TEST_F(InspectCommand, AFileThatCannotBeReadIsNamedWithoutJson) {
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {folder_.Join("absent.xml"), "No such file or directory"},
      {folder_.path(), "Is a directory"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.path);
    const testing::CommandRun run = RunTavi({"inspect", test.path});
    EXPECT_EQ(run.code, kExitNoDocument);
    EXPECT_EQ(run.err, "tavi: inspect: cannot read " + test.path + ": " + test.reason + "\n");
    EXPECT_EQ(run.out, "");
  }
}

// A URL is downloaded into a temporary folder under $TMPDIR, which is gone
// afterwards.
TEST_F(InspectCommand, AUrlIsDownloadedAndInspected) {
  const tavi::testing::TempDir temporary;
  const tavi::testing::ScopedEnvironmentVariable tmpdir("TMPDIR", temporary.path());
  tavi::testing::LoopbackServer server;
  server.Serve("/feed.rss", "<rss><channel><item><guid>g-1</guid></item></channel></rss>",
               "application/rss+xml");
  tavi::testing::WriteFile(folder_.Join("local.xml"), "<feed><entry><id>e1</id></entry></feed>");
  const struct {
    std::string url;
    std::string found;
  } cases[] = {
      {server.Url("/feed.rss"), "\"guid\": \"g-1\""},
      {"file://" + folder_.Join("local.xml"), "\"guid\": \"e1\""},
      {"HTTP" + server.Url("/feed.rss").substr(4), "\"guid\": \"g-1\""},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.url);
    const testing::CommandRun run = RunTavi({"inspect", test.url});
    EXPECT_EQ(run.code, kExitSuccess) << run.err;
    EXPECT_TRUE(Contains(run.out, test.found)) << run.out;
    EXPECT_TRUE(platform::FindFiles(temporary.Join("*")).empty());
  }
}

TEST_F(InspectCommand, ADownloadIsReadInTheCharsetItsContentTypeNames) {
  const tavi::testing::TempDir temporary;
  const tavi::testing::ScopedEnvironmentVariable tmpdir("TMPDIR", temporary.path());
  tavi::testing::LoopbackServer server;
  server.Serve("/feed.rss", "<rss><channel><item><title>Caf\xE9</title></item></channel></rss>",
               "application/rss+xml; charset=ISO-8859-1");
  const testing::CommandRun run = RunTavi({"inspect", server.Url("/feed.rss")});
  EXPECT_EQ(run.code, kExitSuccess) << run.err;
  EXPECT_TRUE(Contains(run.out,
                       "  \"encoding\": \"windows-1252\",\n"
                       "  \"encoding_source\": \"Content-Type\",\n"))
      << run.out;
  EXPECT_TRUE(Contains(run.out, "\"title\": \"Caf\xC3\xA9\"")) << run.out;
}

TEST_F(InspectCommand, AFailedDownloadSaysSoWithoutJson) {
  const testing::CommandRun run = RunTavi({"inspect", "http://127.0.0.1:1/feed.rss"});
  EXPECT_EQ(run.code, kExitNoDocument);
  EXPECT_EQ(run.err,
            "tavi: inspect: http://127.0.0.1:1/feed.rss could not be downloaded: A connection "
            "with the server could not be established\n");
  EXPECT_EQ(run.out, "");
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
