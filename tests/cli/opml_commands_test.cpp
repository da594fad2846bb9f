#include "cli/opml_commands.h"

#include <gtest/gtest.h>

#include <fstream>

#include "cli/imported_alias.h"
#include "cli/run_tavi.h"
#include "files/file_names.h"
#include "platform/fs.h"
#include "store/feed_definitions.h"
#include "store/profile.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

using testing::Contains;
using testing::RunTaviOn;

std::string Opml(const std::string& body) {
  return "<?xml version=\"1.0\"?><opml version=\"1.0\"><head/><body>" + body + "</body></opml>";
}

class OpmlCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Tavi({"init"}).code, 0); }

  testing::CommandRun Tavi(std::vector<std::string> arguments) {
    return RunTaviOn(data_.path(), std::move(arguments));
  }
  testing::CommandRun Import(const std::string& opml, std::vector<std::string> options = {}) {
    const std::string file = files_.Join("feeds.opml");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << opml;
    std::vector<std::string> arguments = {"opml", "import", file};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return Tavi(arguments);
  }
  std::string Settings() const { return data_.Join("plugins/tavi.ini"); }
  std::string Read(const std::string& section, const std::string& key) const {
    return ReadProfileString(section, key, "<absent>", Settings());
  }

  tavi::testing::TempDir data_;
  tavi::testing::TempDir files_;
};

TEST_F(OpmlCommands, ImportSubscribesEachFeedIntoItsFolderOrANewsboxNamedAfterIt) {
  const testing::CommandRun run =
      Import(Opml("<outline text=\"Harbour\" title=\"Harbour News\" xmlUrl=\"http://h/\"/>"
                  "<outline text=\"Slashes\" category=\"//\" xmlUrl=\"http://s/\"/>"
                  "<outline text=\"Tech\"><outline text=\"Linux\">"
                  "<outline text=\"LWN\" xmlUrl=\"http://l/\"/></outline></outline>"));
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Read("Aliases", "Harbour"), "Harbour News");
  EXPECT_EQ(Read("Harbour", "URL"), "http://h/");
  EXPECT_EQ(Read("Harbour", "NewsboxPath"), data_.Join("Harbour.mbx"));
  // Without a title the name is the text; the folders become the newsbox's path.
  EXPECT_EQ(Read("Aliases", "LWN"), "LWN");
  EXPECT_EQ(Read("LWN", "Newsbox"), "Linux");
  EXPECT_EQ(Read("LWN", "NewsboxPath"), data_.Join("Tech.fol/Linux.mbx"));
  EXPECT_TRUE(Contains(run.out, "Added feed \"LWN\" (LWN) into newsbox Linux.")) << run.out;
  EXPECT_EQ(Read("Slashes", "NewsboxPath"), data_.Join("Slashes.mbx"));
  EXPECT_TRUE(Contains(run.out, "Imported 3 of 3 feeds; refused 0.")) << run.out;
}

TEST_F(OpmlCommands, ExportImportExportGivesTheSameFile) {
  ASSERT_EQ(
      Import(Opml("<outline text=\"A &amp; B\" title=\"Ampersand\" xmlUrl=\"http://a/?x=1&amp;y\"/>"
                  "<outline text=\"Work\"><outline text=\"Jobs\" title=\"Job List\" "
                  "xmlUrl=\"http://j/\"/></outline>"))
          .code,
      0);
  const testing::CommandRun first = Tavi({"opml", "export"});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_TRUE(Contains(first.out,
                       "<outline type=\"rss\" text=\"Jobs\" title=\"Job List\" "
                       "xmlUrl=\"http://j/\" category=\"/Work\"/>"))
      << first.out;

  tavi::testing::TempDir other;
  ASSERT_EQ(RunTaviOn(other.path(), {"init"}).code, 0);
  const std::string file = files_.Join("exported.opml");
  std::ofstream(file, std::ios::binary) << first.out;
  const testing::CommandRun imported = RunTaviOn(other.path(), {"opml", "import", file});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(RunTaviOn(other.path(), {"opml", "export"}).out, first.out);
}

TEST_F(OpmlCommands, AParseErrorChangesNothing) {
  ASSERT_EQ(Tavi({"add", "Kept", "http://k/", "--name", "Kept"}).code, 0);
  const std::string before = *platform::ReadFileBytes(Settings());
  const testing::CommandRun run = Import(Opml("<outline text=\"A\" xmlUrl=\"http://a/\">"));
  EXPECT_EQ(run.code, kExitFailure);
  EXPECT_TRUE(Contains(run.err, ": not a well-formed document: ")) << run.err;
  EXPECT_EQ(*platform::ReadFileBytes(Settings()), before);
  EXPECT_FALSE(FileExists(data_.Join("A.mbx")));
}

TEST_F(OpmlCommands, DuplicateEmptyAndInvalidAliasesAreMadeUniqueOrRefusedWithTheReason) {
  ASSERT_EQ(Tavi({"add", "News", "http://old/", "--name", "Old"}).code, 0);
  const testing::CommandRun run =
      Import(Opml("<outline text=\"news\" xmlUrl=\"http://1/\"/>"
                  "<outline text=\"News\" xmlUrl=\"http://2/\"/>"
                  "<outline text=\"[x=y]\" xmlUrl=\"http://3/\"/>"
                  "<outline text=\"Aliases\" xmlUrl=\"http://4/\"/>"
                  "<outline text=\" \" xmlUrl=\"http://5/\"/>"
                  "<outline text=\"Again\" xmlUrl=\"http://old/\"/>"
                  "<outline text=\"Blank\" xmlUrl=\" \"/>"));
  EXPECT_EQ(run.code, kExitFailure);
  const std::vector<std::string> expected = {"News", "news 2", "News 3", "x y", "Aliases 2"};
  EXPECT_EQ(ReadListedAliases(Settings()), expected);
  EXPECT_EQ(Read("News", "URL"), "http://old/");
  EXPECT_TRUE(Contains(run.err,
                       "refused the outline \" \": it has no text or title to make an "
                       "alias of"))
      << run.err;
  EXPECT_TRUE(Contains(run.err,
                       "refused the outline \"Again\": its feed is subscribed already, "
                       "as \"News\""))
      << run.err;
  EXPECT_TRUE(Contains(run.err, "refused the outline \"Blank\": its xmlUrl is empty")) << run.err;
  EXPECT_TRUE(Contains(run.out, "Imported 4 of 7 feeds; refused 3.")) << run.out;
}

TEST_F(OpmlCommands, OutlinesNestedTooDeepAreRefusedAndTheRestImported) {
  std::string nested;
  for (int level = 0; level < 1000; ++level) nested += "<outline text=\"f\">";
  nested += "<outline text=\"Deep\" xmlUrl=\"http://deep/\"/>";
  for (int level = 0; level < 1000; ++level) nested += "</outline>";
  const testing::CommandRun run =
      Import(Opml(nested + "<outline text=\"Top\" xmlUrl=\"http://t/\"/>"));
  EXPECT_EQ(run.code, kExitFailure);
  EXPECT_TRUE(Contains(run.err, "\"Deep\": it is nested in more than 16 folders")) << run.err;
  EXPECT_EQ(ReadListedAliases(Settings()), std::vector<std::string>{"Top"});
}

TEST_F(OpmlCommands, LearnTitlesNamesFeedsAfterTheirDocuments) {
  tavi::testing::LoopbackServer server;
  server.Serve("/feed.rss", "<rss><channel><title>Learned</title></channel></rss>", "text/xml");
  const testing::CommandRun run = Import(
      Opml("<outline text=\"A\" title=\"Given\" xmlUrl=\"" + server.Url("/feed.rss") +
           "\"/><outline text=\"B\" title=\"Kept\" xmlUrl=\"" + server.Url("/none") + "\"/>"),
      {"--learn-titles"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Read("Aliases", "A"), "Learned");
  // A failed download keeps the outline's title and says so.
  EXPECT_EQ(Read("Aliases", "B"), "Kept");
  EXPECT_TRUE(Contains(run.err, "note: B: its title could not be learned")) << run.err;
}

TEST_F(OpmlCommands, UsageErrors) {
  EXPECT_EQ(Tavi({"opml", "import"}).code, kExitUsage);
  EXPECT_EQ(Tavi({"opml", "export", "file"}).code, kExitUsage);
  EXPECT_EQ(Tavi({"opml", "merge"}).code, kExitUsage);
}

TEST(ImportedAliases, CopiesOfOneTextAreNumberedAndLongTextsCutOnACharacter) {
  ImportedAliases aliases({"Tech"});
  EXPECT_EQ(aliases.Make("tech"), "tech 2");
  EXPECT_EQ(aliases.Make("Tech?"), "Tech? 3");  // "Tech?" shares Tech's cache file
  EXPECT_EQ(aliases.Make("; Line\nbreak "), "Line break");
  const std::string long_text = std::string(63, 'a') + "\xc3\xa9";
  EXPECT_EQ(aliases.Make(long_text), std::string(63, 'a'));
  EXPECT_EQ(aliases.Make("\r\n;"), "");
}

}  // namespace
}  // namespace tavi::cli
