#include "engine/document_prefetch.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/fs.h"
#include "store/profile.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

using ::tavi::testing::LoopbackServer;
using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;

constexpr std::chrono::seconds kPatience{10};

TEST(DocumentPrefetch, WidthComesFromTheSettingsHeldToItsRange) {
  const struct {
    const char* stored;  // nullptr: absent
    std::size_t width;
  } rows[] = {
      {nullptr, 16}, {"1", 1}, {"40", 40}, {"0", 1},  // a width of none would never fetch anything
      {"-5", 1},                                      //
      {"1000", 64},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored == nullptr ? "absent" : row.stored);
    TempDir folder;
    const std::string settings = folder.Join("tavi.ini");
    if (row.stored != nullptr) WriteProfileString("General", "MaxDownloads", row.stored, settings);
    EXPECT_EQ(ReadMaxDownloads(settings), row.width);
  }
}

// The run takes each document once, in its turn; one it passes over (its
// feed was not checked) is deleted then, not at the end of the run.
TEST(DocumentPrefetch, EachDocumentIsTakenInItsTurnOrDeletedWhenPassedOver) {
  LoopbackServer server;
  server.Serve("/a", "document a");
  server.Serve("/b", "document b");
  server.Serve("/c", "document c");
  TempDir folder;
  const std::string feed_file = folder.Join("feed.xml");
  const auto get = [&](const std::string& path) {
    return platform::NetRequest{path.empty() ? "" : server.Url(path), "", ""};
  };
  DocumentPrefetch prefetch({get("/a"), get(""), get("/b"), get("/c")}, feed_file, 2);
  prefetch.MoveTo(0);
  EXPECT_TRUE(prefetch.Holds(get("/a")));
  EXPECT_FALSE(prefetch.Holds(get("/b"))) << "only the current feed's document";
  EXPECT_FALSE(prefetch.Holds({server.Url("/a"), "\"v2\"", ""}))
      << "a document asked for with other validators";
  ASSERT_TRUE(prefetch.WaitForCurrent(kPatience));
  ASSERT_TRUE(prefetch.TakeCurrent(feed_file, nullptr).ok);
  EXPECT_EQ(ReadFile(feed_file), "document a");
  platform::DeleteFile(feed_file);

  prefetch.MoveTo(1);
  EXPECT_FALSE(prefetch.Holds(get(""))) << "a feed without a URL has no document";
  prefetch.MoveTo(2);
  ASSERT_TRUE(prefetch.WaitForCurrent(kPatience));
  prefetch.MoveTo(3);  // the feed at 2 was passed over
  ASSERT_TRUE(prefetch.WaitForCurrent(kPatience));
  EXPECT_EQ(platform::FindFiles(feed_file + "*"), std::vector<std::string>{"feed.xml.3"});
  EXPECT_TRUE(prefetch.TakeCurrent(feed_file, nullptr).ok);
  EXPECT_EQ(ReadFile(feed_file), "document c");
}

}  // namespace
}  // namespace tavi
