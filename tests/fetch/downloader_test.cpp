#include "fetch/downloader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "platform/fs.h"
#include "platform/net.h"
#include "platform/winsys.h"
#include "store/cache_answer.h"
#include "store/pacing.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

using std::chrono::milliseconds;
using testing::LoopbackResponse;
using testing::LoopbackServer;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Ending = LoopbackResponse::Ending;

constexpr std::uint64_t kNoLimit = platform::kNoByteLimit;
constexpr char kCannotConnect[] = "A connection with the server could not be established";
constexpr char kNoData[] = "The operation timed out: no data for 1 s.";

LoopbackResponse Answer(int status, std::string body, Ending ending = Ending::kComplete) {
  LoopbackResponse response;
  response.status = status;
  response.body = std::move(body);
  response.ending = ending;
  return response;
}

class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPacing(Pacing::Designed());
    platform::ClearShownMessageBoxes();
  }

  std::vector<milliseconds> Waits() const { return sleeper_.Waits(); }
  std::vector<std::string> FolderEntries() const { return platform::FindFiles(folder_.Join("*")); }

  // The URL of a server that is gone: every connection is refused.
  static std::string RefusedUrl() {
    LoopbackServer gone;
    return gone.Url("/feed");
  }

  // The file's bytes, or nullopt when there is no file.
  static std::optional<std::string> FileAt(const std::string& path) {
    return platform::ReadFileBytes(path);
  }

  testing::QuickNetTimeouts timeouts_;
  testing::RecordingSleeper sleeper_;
  LoopbackServer server_;
  TempDir folder_;
};

TEST_F(DownloaderTest, DownloadToFileWritesWholeDocumentsOnlyAndReportsFailures) {
  struct Case {
    const char* name;
    std::optional<LoopbackResponse> route;  // none: the URL is refused
    bool ok;
    std::optional<std::string> file;
    std::string message;
  };
  const std::string binary("\x00\x01\xff\r\n\x1a\x80 end", 11);
  const Case cases[] = {
      {"document", Answer(200, "<rss/>"), true, "<rss/>", kAllDataDownloadedText},
      {"empty body", Answer(200, ""), true, "", kAllDataDownloadedText},
      {"binary", Answer(200, binary), true, binary, kAllDataDownloadedText},
      // The server's error page is not the document.
      {"not found", Answer(404, "no such feed"), false, std::nullopt,
       "The server answered 404 Not Found."},
      {"server error", Answer(500, "oops"), false, std::nullopt,
       "The server answered 500 Internal Server Error."},
      // Part of the body arrived before the failure: it is not kept.
      {"cut short", Answer(200, "<rss><it", Ending::kCutShort), false, std::nullopt,
       "The connection with the server was terminated abnormally"},
      {"falls silent", Answer(200, "<rss>", Ending::kStallAfterBody), false, std::nullopt, kNoData},
      {"silent", Answer(200, "", Ending::kStallBeforeHeader), false, std::nullopt, kNoData},
      {"refused", std::nullopt, false, std::nullopt, kCannotConnect},
  };
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/case" + std::to_string(++number);
    if (c.route) server_.Serve(path, *c.route);
    const std::string url = c.route ? server_.Url(path) : RefusedUrl();
    const std::string target = folder_.Join("target" + std::to_string(number));

    std::string message;
    EXPECT_EQ(DownloadToFile(url, target, kNoLimit, &message), c.ok);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(FileAt(target), c.file);
    EXPECT_EQ(FolderEntries().size(), c.file ? 1u : 0u) << "a part file stayed behind";
    platform::DeleteFile(target);
  }
}

TEST_F(DownloaderTest, FailedDownloadToFileLeavesAnOlderFileAsItWas) {
  server_.Serve("/feed", Answer(200, "<rss><item>new", Ending::kCutShort));
  const std::string target = folder_.Join("feed.xml");
  WriteFile(target, "older document");
  EXPECT_FALSE(DownloadToFile(server_.Url("/feed"), target, kNoLimit));
  EXPECT_EQ(FileAt(target), "older document");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"feed.xml"});
}

// A caller can recognise (and remove) the part files of a killed run by
// their names.
TEST_F(DownloaderTest, DownloadInProgressWritesANamedPartFileBesideTheTarget) {
  const testing::ResetNetCancelAtEnd reset;
  server_.Serve("/feed", Answer(200, "<rss>", Ending::kStallAfterBody));
  const std::string target = folder_.Join("feed.xml");
  std::string message;
  std::thread download([&] { DownloadToFile(server_.Url("/feed"), target, kNoLimit, &message); });
  server_.WaitUntilStalled();

  const std::vector<std::string> entries = FolderEntries();
  platform::CancelNetTransfers();
  download.join();
  ASSERT_EQ(entries.size(), 1u);
  const std::string prefix = "feed.xml.part" + std::to_string(getpid()) + "-";
  EXPECT_EQ(entries[0].substr(0, prefix.size()), prefix);
  const std::string counter = entries[0].substr(prefix.size());
  EXPECT_FALSE(counter.empty());
  EXPECT_EQ(counter.find_first_not_of("0123456789"), std::string::npos) << entries[0];
  EXPECT_EQ(message, "The operation was cancelled.");
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(DownloaderTest, DownloadToFileAndFetchToFileStopAtTheirByteLimit) {
  server_.Serve("/feed", Answer(200, std::string(2000, 'x')));
  const std::string target = folder_.Join("feed.xml");
  const std::string too_large = "The document is larger than the limit of 1000 bytes.";

  std::string message;
  EXPECT_FALSE(DownloadToFile(server_.Url("/feed"), target, 1000, &message));
  EXPECT_EQ(message, too_large);
  EXPECT_EQ(FetchToFile(server_.Url("/feed"), target, DeleteMode::kNone, 1000).error, too_large);
  EXPECT_EQ(server_.Hits("/feed"), 3) << "the fallback tries again under the same limit";
  EXPECT_TRUE(FolderEntries().empty());
  EXPECT_TRUE(DownloadToFile(server_.Url("/feed"), target, 2000));
}

TEST_F(DownloaderTest, DownloadToFileReplacesAnOlderFile) {
  server_.Serve("/feed", "new");
  const std::string target = folder_.Join("feed.xml");
  WriteFile(target, "a much longer older document");
  ASSERT_TRUE(DownloadToFile(server_.Url("/feed"), target, kNoLimit));
  EXPECT_EQ(ReadFile(target), "new");
}

TEST_F(DownloaderTest, DownloadToFileReportsATargetItCannotCreate) {
  server_.Serve("/feed", "x");
  std::string message;
  EXPECT_FALSE(
      DownloadToFile(server_.Url("/feed"), folder_.Join("none/feed.xml"), kNoLimit, &message));
  EXPECT_EQ(message, "The system cannot find the path specified.");
}

TEST_F(DownloaderTest, FetchToFileFallsBackOnlyWhenTheMonikerLeftNoFile) {
  struct Case {
    const char* name;
    LoopbackResponse route;
    int hits;  // 1: the moniker alone; 2: the fallback ran as well
    std::optional<std::string> file;
    std::string error;  // the fallback's, when it ran and failed
  };
  const Case cases[] = {
      {"document", Answer(200, "<rss/>"), 1, "<rss/>", ""},
      {"empty body", Answer(200, ""), 1, "", ""},
      {"not found", Answer(404, "missing"), 2, std::nullopt, "The server answered 404 Not Found."},
      {"cut short", Answer(200, "<rss>", Ending::kCutShort), 2, std::nullopt,
       "The connection with the server was terminated abnormally"},
  };
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/fetch" + std::to_string(++number);
    server_.Serve(path, c.route);
    const std::string target = folder_.Join("feed" + std::to_string(number) + ".xml");
    const platform::NetResult result =
        FetchToFile(server_.Url(path), target, DeleteMode::kDeleteAndWait, kNoLimit);
    EXPECT_EQ(result.ok, c.file.has_value());
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(FileAt(target), c.file);
    EXPECT_EQ(server_.Hits(path), c.hits);
  }
}

// A 304 leaves no file, and yet is no failure for the fallback to retry.
TEST_F(DownloaderTest, FetchToFileTakesA304AsSuccessWithoutADocument) {
  LoopbackResponse not_modified = Answer(304, "");
  not_modified.headers.emplace_back("ETag", "\"v1\"");
  server_.Serve("/feed", not_modified);
  const std::string target = folder_.Join("feed.xml");
  WriteFile(target, "stale document");

  platform::NetResponse response;
  const platform::NetResult result = FetchToFile({server_.Url("/feed"), "\"v1\"", ""}, target,
                                                 DeleteMode::kDeleteAndWait, kNoLimit, &response);
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_TRUE(response.not_modified);
  EXPECT_EQ(FileAt(target), std::nullopt);
  EXPECT_EQ(server_.Hits("/feed"), 1);
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(DownloaderTest, FetchToFileTreatsAStaleTargetByItsMode) {
  struct Case {
    DeleteMode mode;
    bool stale_file_stays;
    std::vector<milliseconds> waits;
  };
  const Case cases[] = {
      {DeleteMode::kNone, true, {}},
      {DeleteMode::kDelete, false, {}},
      {DeleteMode::kDeleteAndWait, false, {milliseconds(100)}},
  };
  const std::string url = RefusedUrl();
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    sleeper_.Clear();
    const std::string target = folder_.Join("feed.xml");
    WriteFile(target, "stale document");

    // A stale file left alone counts as fetched: callers go by the file.
    const platform::NetResult result = FetchToFile(url, target, c.mode, kNoLimit);
    EXPECT_EQ(result.ok, c.stale_file_stays);
    EXPECT_EQ(result.error, c.stale_file_stays ? "" : kCannotConnect);
    EXPECT_EQ(FileAt(target).has_value(), c.stale_file_stays);
    EXPECT_EQ(Waits(), c.waits);
    platform::DeleteFile(target);
  }
}

TEST_F(DownloaderTest, FetchToFileWaitsOnlyAfterADeletion) {
  server_.Serve("/feed", "<rss/>");
  EXPECT_TRUE(FetchToFile(server_.Url("/feed"), folder_.Join("feed.xml"),
                          DeleteMode::kDeleteAndWait, kNoLimit)
                  .ok);
  EXPECT_TRUE(Waits().empty());
}

TEST_F(DownloaderTest, BackgroundDownloadWritesTheCacheFileSilently) {
  server_.Serve("/feed", "<rss>cached</rss>");
  const std::string cache = folder_.Join("News.rss");

  auto thread = StartBackgroundDownload({cache, {server_.Url("/feed"), "", ""}});
  ASSERT_NE(thread, nullptr);
  thread->WaitUntilEnded();

  EXPECT_EQ(FileAt(cache), "<rss>cached</rss>");
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
  EXPECT_EQ(Waits(), std::vector<milliseconds>{milliseconds(20)});
}

// The import reads the document as a check that fetched it would: in its
// charset, from where it was found, and keeps its validators.
TEST_F(DownloaderTest, BackgroundDownloadAsksWithValidatorsAndKeepsTheAnswerBesideTheDocument) {
  LoopbackResponse answer = Answer(200, "<rss>caf\xE9</rss>");
  answer.content_type = "application/rss+xml; charset=ISO-8859-1";
  answer.headers = {{"ETag", "\"v2\""}};
  server_.Serve("/moved", answer);
  server_.Redirect("/feed", "/moved", 301);
  const std::string cache = folder_.Join("News.rss");
  const platform::NetRequest request{server_.Url("/feed"), "\"v1\"",
                                     "Fri, 11 Dec 2026 09:30:00 GMT"};

  auto thread = StartBackgroundDownload({cache, request});
  ASSERT_NE(thread, nullptr);
  thread->WaitUntilEnded();
  EXPECT_EQ(server_.LastRequestHeader("/feed", "If-None-Match"), "\"v1\"");
  EXPECT_EQ(server_.LastRequestHeader("/feed", "If-Modified-Since"),
            "Fri, 11 Dec 2026 09:30:00 GMT");
  const auto expect_answer = [&] {
    const std::optional<CacheAnswer> kept = ReadCacheAnswer(cache);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->requested_url, server_.Url("/feed"));
    EXPECT_EQ(kept->response.final_url, server_.Url("/moved"));
    EXPECT_EQ(kept->response.moved_to, server_.Url("/moved"));
    EXPECT_EQ(kept->response.charset, "ISO-8859-1");
    EXPECT_EQ(kept->response.etag, "\"v2\"");
  };
  expect_answer();

  // Unchanged: the document waiting for the import and its answer stay.
  LoopbackResponse not_modified = Answer(304, "");
  server_.Serve("/feed", not_modified);
  thread = StartBackgroundDownload({cache, request});
  ASSERT_NE(thread, nullptr);
  thread->WaitUntilEnded();
  EXPECT_EQ(server_.Hits("/feed"), 2);
  EXPECT_EQ(FileAt(cache), "<rss>caf\xE9</rss>");
  expect_answer();
  EXPECT_EQ(FolderEntries().size(), 2u);
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(DownloaderTest, FailedBackgroundDownloadShowsOneMessageBoxFromItsThread) {
  struct Case {
    const char* name;
    std::string url;
    std::string cache;
    std::string text;
  };
  server_.Serve("/feed", "x");
  const Case cases[] = {
      {"refused", RefusedUrl(), folder_.Join("Refused.rss"), kCannotConnect},
      // A feed without an address still gets its request.
      {"empty URL", "", folder_.Join("Empty.rss"), "The URL is invalid"},
      // A file error is reported like an internet error.
      {"no cache folder", server_.Url("/feed"), folder_.Join("Feeds/News.rss"),
       "The system cannot find the path specified."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ClearShownMessageBoxes();
    auto thread = StartBackgroundDownload({c.cache, {c.url, "", ""}});
    ASSERT_NE(thread, nullptr);
    thread->WaitUntilEnded();

    const auto boxes = platform::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, "");
    EXPECT_EQ(boxes[0].flags, platform::MB_OK);
    EXPECT_EQ(boxes[0].thread, thread->ThreadId());
    EXPECT_FALSE(FileAt(c.cache));
  }
}

// An endless document ends at the feed document limit unless the request
// names another.
TEST_F(DownloaderTest, BackgroundDownloadStopsAtTheFeedDocumentLimit) {
  const std::string cache = folder_.Join("News.rss");
  auto thread = StartBackgroundDownload({cache, {"file:///dev/zero", "", ""}});
  ASSERT_NE(thread, nullptr);
  thread->WaitUntilEnded();
  const auto boxes = platform::ShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "The document is larger than the limit of 64 MiB.");
  EXPECT_TRUE(FolderEntries().empty());

  platform::ClearShownMessageBoxes();
  thread = StartBackgroundDownload({cache, {"file:///dev/zero", "", ""}, 1024});
  ASSERT_NE(thread, nullptr);
  thread->WaitUntilEnded();
  ASSERT_EQ(platform::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(platform::ShownMessageBoxes()[0].text,
            "The document is larger than the limit of 1 KiB.");
}

TEST_F(DownloaderTest, DownloadThreadPassesOverOtherMessagesUntilItsRequest) {
  server_.Serve("/feed", "<rss/>");
  cwtDownloadFile thread;
  ASSERT_TRUE(thread.CreateThread());
  EXPECT_FALSE(thread.CreateThread()) << "one thread per object";
  auto* request = new DownloadRequest{folder_.Join("feed.rss"), {server_.Url("/feed"), "", ""}};
  ASSERT_TRUE(platform::PostThreadMessage(thread.ThreadId(), platform::WM_USER, 0, 0));
  ASSERT_TRUE(platform::PostThreadMessage(thread.ThreadId(), kDownloadRequestMessage, 0,
                                          reinterpret_cast<platform::LParam>(request)));
  thread.WaitUntilEnded();
  EXPECT_EQ(FileAt(folder_.Join("feed.rss")), "<rss/>");
}

}  // namespace
}  // namespace tavi
