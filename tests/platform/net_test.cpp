#include "platform/net.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>

#include "platform/fs.h"
#include "platform/net_url.h"
#include "support/loopback_server.h"
#include "support/socket_listeners.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"
#include "version.h"

namespace tavi::platform {
namespace {

using testing::LoopbackResponse;
using testing::LoopbackServer;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;
using Ending = LoopbackResponse::Ending;

constexpr char kCancelled[] = "The operation was cancelled.";
// How soon a cancel must end a transfer: it is noticed within a fifth of a
// second; the rest is room for a busy machine.
constexpr std::chrono::milliseconds kCancelledPromptly{500};
constexpr char kNoData[] = "The operation timed out: no data for 1 s.";
constexpr char kCannotConnect[] = "A connection with the server could not be established";
constexpr char kTerminated[] = "The connection with the server was terminated abnormally";

// Every byte value, the zero byte and line ends included, and then some.
std::string BinaryBytes() {
  std::string bytes;
  for (int round = 0; round < 3; ++round) {
    for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  }
  return bytes + "\r\n\0\n\r";
}

LoopbackResponse Answer(int status, std::string body, Ending ending = Ending::kComplete) {
  LoopbackResponse response;
  response.status = status;
  response.body = std::move(body);
  response.content_type = "application/octet-stream";
  response.ending = ending;
  return response;
}

// What a session gives for one URL: the open, the read that ended the body
// (or its failure), and the bytes read.
struct SessionOutcome {
  NetResult open;
  NetResult read;
  std::string body;
};

SessionOutcome ReadThroughSession(const std::string& url, std::size_t block_size = 512,
                                  std::uint64_t max_bytes = kNoByteLimit) {
  SessionOutcome outcome;
  InternetSession session;
  std::unique_ptr<InternetFile> file;
  outcome.open = session.OpenUrl(url, max_bytes, &file);
  if (!outcome.open.ok) return outcome;
  std::vector<char> block(block_size);
  for (;;) {
    std::size_t count = 0;
    outcome.read = file->Read(block, &count);
    EXPECT_LE(count, block_size);
    if (!outcome.read.ok || count == 0) return outcome;
    outcome.body.append(block.data(), count);
  }
}

// Runs `transfer` on a thread of its own and notes when it returned.
class TransferThread {
 public:
  explicit TransferThread(std::function<std::string()> transfer)
      : thread_([this, transfer = std::move(transfer)] {
          error_ = transfer();
          ended_ = std::chrono::steady_clock::now();
        }) {}

  // Waits for the transfer; its error text and when it returned.
  std::pair<std::string, std::chrono::steady_clock::time_point> Join() {
    thread_.join();
    return {error_, ended_};
  }

 private:
  std::string error_;
  std::chrono::steady_clock::time_point ended_;
  std::thread thread_;
};

class NetTest : public ::testing::Test {
 protected:
  // The names in the temporary folder, to see that no part file stays behind.
  std::vector<std::string> FolderEntries() const { return FindFiles(folder_.Join("*")); }

  testing::QuickNetTimeouts timeouts_;
  LoopbackServer server_;
  TempDir folder_;
};

// One server answer and what each mechanism makes of it.
struct AnswerCase {
  const char* name;
  LoopbackResponse response;
  std::string moniker_error;       // "": the URL moniker writes the file
  std::string session_open_error;  // "": the session opens the URL
  std::string session_read_error;  // "": the session reads to the end
  std::string session_body;
};

std::vector<AnswerCase> AnswerCases() {
  return {
      {"document", Answer(200, "<rss>feed</rss>"), "", "", "", "<rss>feed</rss>"},
      {"empty body", Answer(200, ""), "", "", "", ""},
      {"binary bytes", Answer(200, BinaryBytes()), "", "", "", BinaryBytes()},
      // An error status fails, and the error page is never taken for the
      // document.
      {"not found", Answer(404, "missing page"), "The server answered 404 Not Found.",
       "The server answered 404 Not Found.", "", ""},
      {"server error", Answer(500, "broken page"), "The server answered 500 Internal Server Error.",
       "The server answered 500 Internal Server Error.", "", ""},
      // The header promised more than the server sent before it hung up.
      {"cut short", Answer(200, "half", Ending::kCutShort), kTerminated, "", kTerminated, "half"},
  };
}

TEST_F(NetTest, EachMechanismHandlesEachKindOfAnswer) {
  int number = 0;
  for (const AnswerCase& answer : AnswerCases()) {
    SCOPED_TRACE(answer.name);
    const std::string path = "/answer" + std::to_string(++number);
    server_.Serve(path, answer.response);
    const std::string target = folder_.Join("target");
    const bool moniker_ok = answer.moniker_error.empty();

    const NetResult moniker = UrlDownloadToFile(server_.Url(path), target, kNoByteLimit);
    EXPECT_EQ(moniker.ok, moniker_ok);
    EXPECT_EQ(moniker.error, answer.moniker_error);
    EXPECT_EQ(GetFileAttributes(target).has_value(), moniker_ok);
    EXPECT_EQ(ReadFile(target), moniker_ok ? answer.response.body : "");
    DeleteFile(target);
    EXPECT_TRUE(FolderEntries().empty()) << "a part file stayed behind";

    const SessionOutcome session = ReadThroughSession(server_.Url(path));
    EXPECT_EQ(session.open.error, answer.session_open_error);
    EXPECT_EQ(session.read.ok, answer.session_read_error.empty());
    EXPECT_EQ(session.read.error, answer.session_read_error);
    EXPECT_EQ(session.body, answer.session_body);
  }
}

// The status and the reason come from the server's status line as sent.
TEST_F(NetTest, ErrorStatusTextsQuoteTheStatusLine) {
  struct Case {
    std::string status_line;
    std::string error;
  };
  const Case cases[] = {
      {"HTTP/1.1 403 Go Away", "The server answered 403 Go Away."},
      {"HTTP/1.1 503", "The server answered 503."},
      {"HTTP/1.1 410 ", "The server answered 410."},
      {"HTTP/1.0 451 Unavailable For Legal Reasons",
       "The server answered 451 Unavailable For Legal Reasons."},
      {"HTTP/1.1 404 " + std::string(200, 'r'),
       "The server answered 404 " + std::string(80, 'r') + "."},
      {"HTTP/1.1 599 Whatever", "The server answered 599 Whatever."},
      // Under 400 is no error: the body is the document.
      {"HTTP/1.1 203 Fine", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status_line);
    testing::CannedServer server(c.status_line + "\r\nContent-Length: 4\r\n\r\nbody");
    const std::string target = folder_.Join("target");

    EXPECT_EQ(UrlDownloadToFile(server.Url("/feed"), target, kNoByteLimit).error, c.error);
    EXPECT_EQ(ReadThroughSession(server.Url("/feed")).open.error, c.error);
    EXPECT_EQ(ReadFile(target), c.error.empty() ? "body" : "");
    DeleteFile(target);
  }
}

TEST_F(NetTest, BothMechanismsFollowRedirects) {
  server_.Serve("/moved/feed.xml", "<feed/>");
  server_.Redirect("/feed", "/moved/feed.xml", 301);
  server_.Redirect("/old-feed", server_.Url("/feed"), 302);
  const std::string target = folder_.Join("feed.xml");

  ASSERT_TRUE(UrlDownloadToFile(server_.Url("/old-feed"), target, kNoByteLimit).ok);
  EXPECT_EQ(ReadFile(target), "<feed/>");
  const SessionOutcome session = ReadThroughSession(server_.Url("/old-feed"));
  EXPECT_TRUE(session.read.ok);
  EXPECT_EQ(session.body, "<feed/>");
  EXPECT_EQ(server_.Hits("/moved/feed.xml"), 2);
}

TEST_F(NetTest, EndlessRedirectsFail) {
  server_.Redirect("/a", "/b");
  server_.Redirect("/b", "/a");
  const std::string target = folder_.Join("target");

  const NetResult moniker = UrlDownloadToFile(server_.Url("/a"), target, kNoByteLimit);
  EXPECT_EQ(moniker.error,
            "The redirection failed: the server redirected more than 20 times in a row.");
  EXPECT_FALSE(GetFileAttributes(target));
  const SessionOutcome session = ReadThroughSession(server_.Url("/a"));
  EXPECT_FALSE(session.open.ok);
  EXPECT_EQ(session.open.error, moniker.error);
}

TEST_F(NetTest, EveryRequestAsksCachesForAFreshCopyNamesTaviAndAcceptsCompression) {
  server_.Serve("/feed", "x");
  server_.Serve("/page", "y");
  ASSERT_TRUE(UrlDownloadToFile(server_.Url("/feed"), folder_.Join("feed"), kNoByteLimit).ok);
  ASSERT_TRUE(ReadThroughSession(server_.Url("/page")).read.ok);
  for (const char* path : {"/feed", "/page"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(server_.LastRequestHeader(path, "Cache-Control"), "no-cache");
    EXPECT_EQ(server_.LastRequestHeader(path, "Pragma"), "no-cache");
    EXPECT_EQ(server_.LastRequestHeader(path, "User-Agent"),
              std::string(TAVI_PRODUCT_NAME) + "/" + TAVI_VERSION_TEXT);
    const std::string encodings = server_.LastRequestHeader(path, "Accept-Encoding");
    for (const char* encoding : {"gzip", "deflate", "br"})
      EXPECT_NE(encodings.find(encoding), std::string::npos) << encodings;
    // Nothing to validate against: the request is unconditional.
    EXPECT_EQ(server_.LastRequestHeader(path, "If-None-Match"), "");
    EXPECT_EQ(server_.LastRequestHeader(path, "If-Modified-Since"), "");
  }
}

TEST_F(NetTest, SmallBlocksReadALargeBodyExactly) {
  std::string body;
  for (unsigned i = 0; i < 300000; ++i) body.push_back(static_cast<char>((i * 7919u) % 251u));
  server_.Serve("/large", body, "application/octet-stream");

  const SessionOutcome session = ReadThroughSession(server_.Url("/large"), 7);
  EXPECT_TRUE(session.read.ok);
  EXPECT_TRUE(session.body == body) << "the bytes read differ from the bytes sent";
}

TEST_F(NetTest, RefusedConnectionFailsInBothMechanisms) {
  std::string url;
  {
    LoopbackServer gone;
    url = gone.Url("/feed");
  }
  const std::string target = folder_.Join("target");

  const NetResult moniker = UrlDownloadToFile(url, target, kNoByteLimit);
  EXPECT_FALSE(moniker.ok);
  EXPECT_EQ(moniker.error, kCannotConnect);
  EXPECT_TRUE(FolderEntries().empty());
  const SessionOutcome session = ReadThroughSession(url);
  EXPECT_FALSE(session.open.ok);
  EXPECT_EQ(session.open.error, kCannotConnect);
}

TEST_F(NetTest, SilentServerTimesOutInBothMechanisms) {
  server_.Serve("/silent", Answer(200, "", Ending::kStallBeforeHeader));
  const std::string target = folder_.Join("target");
  const auto start = std::chrono::steady_clock::now();

  const NetResult moniker = UrlDownloadToFile(server_.Url("/silent"), target, kNoByteLimit);
  EXPECT_EQ(moniker.error, kNoData);
  EXPECT_TRUE(FolderEntries().empty());
  const SessionOutcome session = ReadThroughSession(server_.Url("/silent"));
  EXPECT_EQ(session.open.error, kNoData);
  // Two one-second idle timeouts; the default of a minute would be far longer.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(NetTest, ServerFallingSilentMidwayKeepsWhatArrived) {
  server_.Serve("/stalls", Answer(200, "<rss><item>", Ending::kStallAfterBody));
  const std::string target = folder_.Join("target");

  const NetResult moniker = UrlDownloadToFile(server_.Url("/stalls"), target, kNoByteLimit);
  EXPECT_EQ(moniker.error, kNoData);
  EXPECT_TRUE(FolderEntries().empty());

  InternetSession session;
  std::unique_ptr<InternetFile> file;
  ASSERT_TRUE(session.OpenUrl(server_.Url("/stalls"), kNoByteLimit, &file).ok);
  std::array<char, 512> block{};
  std::size_t count = 0;
  ASSERT_TRUE(file->Read(block, &count).ok);
  EXPECT_EQ(std::string(block.data(), count), "<rss><item>");
  EXPECT_EQ(file->Read(block, &count).error, kNoData);
  EXPECT_EQ(count, 0u);
  // The failure stays: a later read does not report the end of the body.
  EXPECT_FALSE(file->Read(block, &count).ok);
}

// Bytes keep coming, so the idle time never passes; the floor ends it.
TEST_F(NetTest, CrawlingServerFailsUnderTheSpeedFloorInBothMechanisms) {
  server_.Serve("/crawls", Answer(200, std::string(200, 'x'), Ending::kTrickle));
  const std::string target = folder_.Join("target");
  const std::string too_slow = "The operation timed out: under 100 bytes a second for 2 s.";

  EXPECT_EQ(UrlDownloadToFile(server_.Url("/crawls"), target, kNoByteLimit).error, too_slow);
  EXPECT_TRUE(FolderEntries().empty());
  const SessionOutcome session = ReadThroughSession(server_.Url("/crawls"), 1);
  EXPECT_EQ(session.read.error, too_slow);
  EXPECT_FALSE(session.body.empty()) << "the bytes before the failure are read first";
  EXPECT_LT(session.body.size(), 200u);
}

TEST_F(NetTest, ConnectionNeverEstablishedTimesOutNamingTheConnectTime) {
  testing::UnansweredListener listener;
  NetTimeouts timeouts = GetNetTimeouts();
  timeouts.connect = std::chrono::milliseconds(300);
  SetNetTimeouts(timeouts);
  const std::string expected = "The operation timed out: no connection after 300 ms.";

  EXPECT_EQ(UrlDownloadToFile(listener.Url("/feed"), folder_.Join("target"), kNoByteLimit).error,
            expected);
  EXPECT_TRUE(FolderEntries().empty());
  EXPECT_EQ(ReadThroughSession(listener.Url("/feed")).open.error, expected);
}

TEST_F(NetTest, DocumentsOverTheByteLimitFailAtOnceAndLeaveNoFile) {
  TempDir sources;
  const std::string over_two_kib = sources.Join("large.xml");
  WriteFile(over_two_kib, std::string(2049, 'x'));
  LoopbackResponse redirect_with_page = Answer(301, std::string(5000, 'r'));
  redirect_with_page.headers.emplace_back("Location", "/small");
  server_.Serve("/small", "ten bytes!");
  struct Case {
    const char* name;
    LoopbackResponse route;  // status 0: the URL is `file_url`
    std::string file_url;
    std::uint64_t limit;
    std::string error;   // "": the document arrives whole
    bool fails_at_open;  // else the session fails where the chunks fall
  };
  const Case cases[] = {
      // Without the announced length this would wait for the promised bytes.
      {"announced length over the limit", Answer(200, "0123456789", Ending::kStallAfterBody), "",
       500, "The document is larger than the limit of 500 bytes.", true},
      {"body over the limit without a length", Answer(200, "abcde", Ending::kTrickle), "", 3,
       "The document is larger than the limit of 3 bytes.", false},
      {"body of exactly the limit", Answer(200, std::string(1024, 'x')), "", 1024, "", false},
      {"no limit", Answer(200, std::string(300000, 'x')), "", kNoByteLimit, "", false},
      {"a redirection's own page does not count", redirect_with_page, "", 100, "", false},
      {"file over the limit", Answer(0, ""), "file://" + over_two_kib, 2048,
       "The document is larger than the limit of 2 KiB.", false},
      {"endless file", Answer(0, ""), "file:///dev/zero", 1024 * 1024,
       "The document is larger than the limit of 1 MiB.", false},
  };
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = "/limit" + std::to_string(++number);
    if (c.route.status != 0) server_.Serve(path, c.route);
    const std::string url = c.route.status != 0 ? server_.Url(path) : c.file_url;
    const std::string target = folder_.Join("target");

    EXPECT_EQ(UrlDownloadToFile(url, target, c.limit).error, c.error);
    EXPECT_EQ(FolderEntries().size(), c.error.empty() ? 1u : 0u);
    DeleteFile(target);
    const SessionOutcome session = ReadThroughSession(url, 512, c.limit);
    EXPECT_EQ(session.open.ok ? session.read.error : session.open.error, c.error);
    EXPECT_FALSE(c.fails_at_open && session.open.ok) << "an announced length fails the opening";
    if (c.limit != kNoByteLimit) {
      EXPECT_LE(session.body.size(), c.limit);
    }
  }
}

// Time limits of a minute would end none of these transfers within the test.
TEST_F(NetTest, CancelEndsEveryWaitingTransferPromptly) {
  const testing::ResetNetCancelAtEnd reset;
  SetNetTimeouts(NetTimeouts::Defaults());
  server_.Serve("/silent", Answer(200, "", Ending::kStallBeforeHeader));
  server_.Serve("/stalls", Answer(200, "<rss>", Ending::kStallAfterBody));
  const std::string target = folder_.Join("target");
  TransferThread transfers[] = {
      TransferThread(
          [&] { return UrlDownloadToFile(server_.Url("/silent"), target, kNoByteLimit).error; }),
      TransferThread(
          [&] { return UrlDownloadToFile(server_.Url("/stalls"), target, kNoByteLimit).error; }),
      TransferThread([&] { return ReadThroughSession(server_.Url("/silent")).open.error; }),
      TransferThread([&] { return ReadThroughSession(server_.Url("/stalls")).read.error; }),
  };
  server_.WaitUntilStalled(4);

  const auto cancelled_at = std::chrono::steady_clock::now();
  CancelNetTransfers();
  for (TransferThread& transfer : transfers) {
    const auto [error, ended_at] = transfer.Join();
    EXPECT_EQ(error, kCancelled);
    EXPECT_LT(ended_at - cancelled_at, kCancelledPromptly);
  }
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(NetTest, ACancelScopeEndsOnlyTheTransfersOfItsThread) {
  SetNetTimeouts(NetTimeouts::Defaults());
  server_.Serve("/stalls", Answer(200, "<rss>", Ending::kStallAfterBody));
  server_.Serve("/feed", "<rss/>");
  std::atomic<bool> cancel{false};
  TransferThread scoped([&] {
    const NetCancelScope scope(cancel);
    return UrlDownloadToFile(server_.Url("/stalls"), folder_.Join("stalls"), kNoByteLimit).error;
  });
  server_.WaitUntilStalled();

  const auto cancelled_at = std::chrono::steady_clock::now();
  cancel = true;
  const auto [error, ended_at] = scoped.Join();
  EXPECT_EQ(error, kCancelled);
  EXPECT_LT(ended_at - cancelled_at, kCancelledPromptly);
  // This thread holds no scope: its transfers go on.
  EXPECT_TRUE(UrlDownloadToFile(server_.Url("/feed"), folder_.Join("after"), kNoByteLimit).ok);
  EXPECT_EQ(ReadThroughSession(server_.Url("/feed")).body, "<rss/>");
  EXPECT_FALSE(NetTransfersCancelled());
}

TEST_F(NetTest, CancelEndsAnEndlessFileUrlPromptly) {
  const testing::ResetNetCancelAtEnd reset;
  const std::string target = folder_.Join("target");
  // The limit only bounds the harm should the cancel go unnoticed.
  TransferThread transfer(
      [&] { return UrlDownloadToFile("file:///dev/zero", target, 1024 * 1024 * 1024).error; });
  // Spins (no sleep) until the part file holds something.
  for (;;) {
    const std::vector<std::string> entries = FolderEntries();
    if (!entries.empty() && GetFileAttributes(folder_.Join(entries[0]))->size > 0) break;
    std::this_thread::yield();
  }

  const auto cancelled_at = std::chrono::steady_clock::now();
  CancelNetTransfers();
  const auto [error, ended_at] = transfer.Join();
  EXPECT_EQ(error, kCancelled);
  EXPECT_LT(ended_at - cancelled_at, kCancelledPromptly);
  EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(NetTest, AfterACancelNothingIsFetchedUntilReset) {
  const testing::ResetNetCancelAtEnd reset;
  server_.Serve("/feed", "<rss/>");
  InternetSession session;
  std::unique_ptr<InternetFile> opened;
  ASSERT_TRUE(session.OpenUrl(server_.Url("/feed"), kNoByteLimit, &opened).ok);
  std::array<char, 2> block{};
  std::size_t count = 0;
  ASSERT_TRUE(opened->Read(block, &count).ok);

  CancelNetTransfers();
  EXPECT_EQ(opened->Read(block, &count).error, kCancelled) << "the unread bytes are not handed out";
  EXPECT_EQ(UrlDownloadToFile(server_.Url("/feed"), folder_.Join("feed"), kNoByteLimit).error,
            kCancelled);
  EXPECT_EQ(ReadThroughSession(server_.Url("/feed")).open.error, kCancelled);
  EXPECT_EQ(server_.Hits("/feed"), 1);
  EXPECT_TRUE(FolderEntries().empty());

  ResetNetCancel();
  EXPECT_TRUE(UrlDownloadToFile(server_.Url("/feed"), folder_.Join("feed"), kNoByteLimit).ok);
}

TEST_F(NetTest, FailedMonikerDownloadLeavesAnExistingTargetAlone) {
  server_.Serve("/cut", Answer(200, "half", Ending::kCutShort));
  const std::string target = folder_.Join("feed.xml");
  WriteFile(target, "earlier document");

  EXPECT_FALSE(UrlDownloadToFile(server_.Url("/cut"), target, kNoByteLimit).ok);
  EXPECT_EQ(ReadFile(target), "earlier document");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"feed.xml"});
}

TEST_F(NetTest, MonikerIntoAMissingFolderFailsWithThePathError) {
  server_.Serve("/feed", "x");
  const NetResult result =
      UrlDownloadToFile(server_.Url("/feed"), folder_.Join("none/feed.xml"), kNoByteLimit);
  EXPECT_EQ(result.error, "The system cannot find the path specified.");
  EXPECT_EQ(server_.Hits("/feed"), 0) << "nothing is fetched that cannot be stored";
}

TEST_F(NetTest, FileUrlsWork) {
  const std::string source = folder_.Join("source.xml");
  WriteFile(source, BinaryBytes());
  const std::string target = folder_.Join("copy.xml");

  ASSERT_TRUE(UrlDownloadToFile("file://" + source, target, kNoByteLimit).ok);
  EXPECT_EQ(ReadFile(target), BinaryBytes());
  EXPECT_EQ(ReadThroughSession("file://" + source).body, BinaryBytes());

  const std::string empty = folder_.Join("empty.xml");
  WriteFile(empty, "");
  ASSERT_TRUE(UrlDownloadToFile("file://" + empty, target, kNoByteLimit).ok);
  EXPECT_EQ(ReadFile(target), "");
  const SessionOutcome empty_session = ReadThroughSession("file://" + empty);
  EXPECT_TRUE(empty_session.read.ok) << empty_session.open.error;

  const std::string missing = "file://" + folder_.Join("missing.xml");
  EXPECT_EQ(UrlDownloadToFile(missing, target, kNoByteLimit).error,
            "The system cannot find the file specified.");
  EXPECT_EQ(ReadThroughSession(missing).open.error, "The system cannot find the file specified.");
}

TEST_F(NetTest, UnusableUrlsFailBeforeAnyTransfer) {
  struct Case {
    std::string url;
    std::string error;
  };
  const Case cases[] = {
      {"", "The URL is invalid"},
      {"127.0.0.1/feed", "The URL is invalid"},  // no scheme: never guessed
      {"http://", "The URL is invalid"},
      {"ftp://127.0.0.1/feed", "The URL does not use a recognized protocol"},
      {"gopher://127.0.0.1/feed", "The URL does not use a recognized protocol"},
  };
  for (const Case& bad : cases) {
    SCOPED_TRACE(bad.url);
    EXPECT_EQ(UrlDownloadToFile(bad.url, folder_.Join("target"), kNoByteLimit).error, bad.error);
    EXPECT_EQ(ReadThroughSession(bad.url).open.error, bad.error);
    EXPECT_TRUE(FolderEntries().empty());
  }
}

TEST(IsWebAddress, AcceptsOnlyCompleteHttpAndHttpsUrls) {
  struct Case {
    const char* url;
    bool web;
  };
  const Case cases[] = {
      {"http://example.com/feed", true},
      {"https://example.com:8443/a?b=c#d", true},
      {"HTTP://EXAMPLE.COM/", true},  // the scheme is read without regard to case
      {"file:///etc/passwd", false},
      {"ftp://example.com/feed", false},
      {"javascript:alert(1)", false},
      {"example.com/feed", false},  // no scheme: never guessed
      {"http://", false},
      {"", false},
      {" http://example.com/", false},
      {"http://example.com/ ", false},
      {"http://example.com/\n", false},
      {"http://exa mple.com/", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(IsWebAddress(c.url), c.web);
  }
}

TEST(ResolveUrl, ResolvesAReferenceAsABrowserResolvesALink) {
  struct Case {
    const char* base;
    const char* reference;
    std::optional<std::string> resolved;
  };
  const Case cases[] = {
      {"http://h.example/a/b?q=1", "c", "http://h.example/a/c"},
      {"http://h.example/a/b", "../../../up", "http://h.example/up"},
      {"https://h.example/a", "//cdn.example/i.png", "https://cdn.example/i.png"},
      {"http://h.example/a", "?x=1#f", "http://h.example/a?x=1#f"},
      {"http://h.example/a", " \n/p q ", "http://h.example/p%20q"},  // blanks around go
      {"http://h.example/a", "https://other.example/", "https://other.example/"},
      // Without a usable base only complete references resolve.
      {"about:blank", "http://h.example/", "http://h.example/"},
      {"", "relative", std::nullopt},
      {"http://h.example/a", "javascript:alert(1)", std::nullopt},
      {"http://h.example/a", "http://exa mple.com/", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.base) + " + " + c.reference);
    EXPECT_EQ(ResolveUrl(c.base, c.reference), c.resolved);
  }
}

TEST(EncodeQueryValue, KeepsEveryReservedByteInsideTheValue) {
  EXPECT_EQ(EncodeQueryValue("http://example.com/feed?cat=2&format=rss#top"),
            "http%3A%2F%2Fexample.com%2Ffeed%3Fcat%3D2%26format%3Drss%23top");
  EXPECT_EQ(EncodeQueryValue("a b+c\xC3\xA9"), "a%20b%2Bc%C3%A9");
  EXPECT_EQ(EncodeQueryValue("-._~09azAZ"), "-._~09azAZ");
  EXPECT_EQ(EncodeQueryValue(""), "");
}

TEST(NetTimeouts, SettingsHoldUntilChanged) {
  EXPECT_EQ(GetNetTimeouts().connect, std::chrono::seconds(60));
  EXPECT_EQ(GetNetTimeouts().idle, std::chrono::seconds(60));
  EXPECT_EQ(GetNetTimeouts().low_speed_bytes_per_second, 100u);
  EXPECT_EQ(GetNetTimeouts().low_speed_time, std::chrono::seconds(60));
  NetTimeouts changed;
  changed.connect = std::chrono::milliseconds(1500);
  SetNetTimeouts(changed);
  EXPECT_EQ(GetNetTimeouts().connect, std::chrono::milliseconds(1500));
  SetNetTimeouts(NetTimeouts::Defaults());
}

// --- What the answer tells the caller ---------------------------------------

// The moniker's and the session's view of one request: the outcome and what
// was learned of the answer.
struct Fetched {
  NetResult result;
  NetResponse response;
  std::string body;
};

Fetched FetchByMoniker(const NetRequest& request, const std::string& target) {
  Fetched fetched;
  fetched.result = UrlDownloadToFile(request, target, kNoByteLimit, &fetched.response);
  fetched.body = ReadFile(target);
  return fetched;
}

Fetched FetchBySession(const NetRequest& request) {
  Fetched fetched;
  InternetSession session;
  std::unique_ptr<InternetFile> file;
  fetched.result = session.OpenUrl(request, kNoByteLimit, &file);
  if (!fetched.result.ok) return fetched;
  std::array<char, 512> block{};
  for (std::size_t count = 1; count > 0 && fetched.result.ok;) {
    fetched.result = file->Read(block, &count);
    fetched.body.append(block.data(), count);
  }
  fetched.response = file->Response();
  return fetched;
}

constexpr char kPackedDocument[] = "<rss><channel><title>Packed</title></channel></rss>";

// kPackedDocument compressed by each encoding a server may choose.
std::vector<std::pair<std::string, std::string>> PackedDocuments() {
  return {
      {"gzip", std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00\x02\x03\xB3\x29\x2A\x2E\xB6\xB3\x49"
                           "\xCE\x48\xCC\xCB\x4B\xCD\xB1\xB3\x29\xC9\x2C\xC9\x49\xB5\x0B\x48\x4C"
                           "\xCE\x4E\x4D\xB1\xD1\x87\xF0\x6C\xF4\xE1\xD2\xFA\x20\xD5\x00\xEB\xBA"
                           "\x5F\x15\x33\x00\x00\x00",
                           57)},
      {"deflate", std::string("\x78\x9C\xB3\x29\x2A\x2E\xB6\xB3\x49\xCE\x48\xCC\xCB\x4B\xCD\xB1"
                              "\xB3\x29\xC9\x2C\xC9\x49\xB5\x0B\x48\x4C\xCE\x4E\x4D\xB1\xD1\x87"
                              "\xF0\x6C\xF4\xE1\xD2\xFA\x20\xD5\x00\xE2\xE6\x12\x58",
                              45)},
      // A brotli stream of one stored (uncompressed) block and an empty last
      // one: the smallest a hand can write.
      {"br", std::string("\x20\x03\x10") + kPackedDocument + "\x03"},
  };
}

TEST_F(NetTest, CompressedDocumentsArriveDecompressedInBothMechanisms) {
  for (const auto& [encoding, packed] : PackedDocuments()) {
    SCOPED_TRACE(encoding);
    LoopbackResponse answer = Answer(200, packed);
    answer.headers.emplace_back("Content-Encoding", encoding);
    server_.Serve("/packed", answer);
    const std::string target = folder_.Join("packed");

    const Fetched moniker = FetchByMoniker({server_.Url("/packed"), "", ""}, target);
    EXPECT_TRUE(moniker.result.ok) << moniker.result.error;
    EXPECT_EQ(moniker.body, kPackedDocument);
    const Fetched session = FetchBySession({server_.Url("/packed"), "", ""});
    EXPECT_TRUE(session.result.ok) << session.result.error;
    EXPECT_EQ(session.body, kPackedDocument);
    DeleteFile(target);
  }
}

// The limit is on the document, not on what crossed the wire: a small
// compressed answer that unpacks beyond it fails, and a compressed answer
// announced longer than its document does not.
TEST_F(NetTest, ByteLimitCountsTheDecompressedDocument) {
  // 2000 times "x" in 35 bytes.
  LoopbackResponse bomb = Answer(200, std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00\x02\x03\xAB"
                                                  "\xA8\x18\x05\xA3\x60\x14\x8C\x82\x51\x30\x0A"
                                                  "\x46\xC1\x50\x07\x00\x7A\x65\x08\x29\xD0\x07"
                                                  "\x00\x00",
                                                  35));
  bomb.headers.emplace_back("Content-Encoding", "gzip");
  server_.Serve("/bomb", bomb);
  // 57 bytes that unpack into 51.
  LoopbackResponse small = Answer(200, PackedDocuments()[0].second);
  small.headers.emplace_back("Content-Encoding", "gzip");
  server_.Serve("/small", small);
  const std::string target = folder_.Join("t");

  EXPECT_EQ(UrlDownloadToFile(server_.Url("/bomb"), target, 1024).error,
            "The document is larger than the limit of 1 KiB.");
  EXPECT_EQ(ReadThroughSession(server_.Url("/bomb"), 512, 1024).read.error,
            "The document is larger than the limit of 1 KiB.");
  EXPECT_TRUE(FolderEntries().empty());
  EXPECT_TRUE(UrlDownloadToFile(server_.Url("/small"), target, 55).ok);
  EXPECT_EQ(ReadFile(target), kPackedDocument);
}

TEST_F(NetTest, ResponseTellsTheCharsetValidatorsAndFinalAddress) {
  LoopbackResponse answer = Answer(200, "<rss/>");
  answer.content_type = "application/rss+xml; charset=\"ISO-8859-1\"";
  answer.headers = {{"ETag", "\"v7\""}, {"Last-Modified", "Tue, 01 Dec 2026 10:00:00 GMT"}};
  server_.Serve("/feed", answer);
  server_.Redirect("/today", "/feed", 302);
  const NetRequest request{server_.Url("/today"), "", ""};

  for (const Fetched& fetched :
       {FetchByMoniker(request, folder_.Join("feed")), FetchBySession(request)}) {
    EXPECT_TRUE(fetched.result.ok);
    EXPECT_EQ(fetched.body, "<rss/>");
    const NetResponse& response = fetched.response;
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.final_url, server_.Url("/feed"));
    EXPECT_EQ(response.charset, "ISO-8859-1");
    EXPECT_EQ(response.etag, "\"v7\"");
    EXPECT_EQ(response.last_modified, "Tue, 01 Dec 2026 10:00:00 GMT");
    EXPECT_FALSE(response.not_modified);
    EXPECT_EQ(response.moved_to, "") << "a temporary redirect is no move";
  }
}

TEST_F(NetTest, ValidatorsAreSentAndA304LeavesTheTargetAsItWas) {
  LoopbackResponse not_modified = Answer(304, "");
  not_modified.headers.emplace_back("ETag", "\"v1\"");
  server_.Serve("/feed", not_modified);
  const std::string target = folder_.Join("feed");
  WriteFile(target, "the copy held");
  const NetRequest request{server_.Url("/feed"), "\"v1\"", "Tue, 01 Dec 2026 10:00:00 GMT"};

  for (const Fetched& fetched : {FetchByMoniker(request, target), FetchBySession(request)}) {
    EXPECT_TRUE(fetched.result.ok) << fetched.result.error;
    EXPECT_TRUE(fetched.response.not_modified);
    EXPECT_EQ(fetched.response.status, 304);
    EXPECT_EQ(server_.LastRequestHeader("/feed", "If-None-Match"), "\"v1\"");
    EXPECT_EQ(server_.LastRequestHeader("/feed", "If-Modified-Since"),
              "Tue, 01 Dec 2026 10:00:00 GMT");
  }
  EXPECT_EQ(ReadFile(target), "the copy held");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"feed"}) << "a part file stayed behind";

  // A validator that would start a header line of its own is not sent.
  FetchByMoniker({server_.Url("/feed"), "\"v1\"\r\nX-Injected: 1", ""}, target);
  EXPECT_EQ(server_.LastRequestHeader("/feed", "If-None-Match"), "");
  EXPECT_EQ(server_.LastRequestHeader("/feed", "X-Injected"), "");
}

TEST_F(NetTest, A304ThatCarriesABodyIsStillJustNotModified) {
  testing::CannedServer server(
      "HTTP/1.1 304 Not Modified\r\nETag: \"v2\"\r\nContent-Length: 14\r\n\r\nnot a document");
  const NetRequest request{server.Url("/feed"), "\"v2\"", ""};
  const std::string target = folder_.Join("feed");

  for (const Fetched& fetched : {FetchByMoniker(request, target), FetchBySession(request)}) {
    EXPECT_TRUE(fetched.result.ok) << fetched.result.error;
    EXPECT_TRUE(fetched.response.not_modified);
    EXPECT_EQ(fetched.body, "");
  }
  EXPECT_TRUE(FolderEntries().empty()) << "no file is made for a document not sent";
}

TEST_F(NetTest, OnlyPermanentRedirectsAtTheStartSayWhereTheDocumentMoved) {
  server_.Serve("/doc", "<rss/>");
  struct Hop {
    const char* from;
    const char* to;
    int status;
  };
  const struct {
    const char* name;
    std::vector<Hop> hops;  // the first is requested
    std::string moved_to;   // a path of the server, "" for none
  } cases[] = {
      {"no redirect", {}, ""},
      {"one 301", {{"/a1", "/doc", 301}}, "/doc"},
      {"308 then 301", {{"/b1", "/b2", 308}, {"/b2", "/doc", 301}}, "/doc"},
      // The temporary hop may lead elsewhere tomorrow; the permanent one
      // before it still holds.
      {"301 then 302", {{"/c1", "/c2", 301}, {"/c2", "/doc", 302}}, "/c2"},
      {"302 then 301", {{"/d1", "/d2", 302}, {"/d2", "/doc", 301}}, ""},
      {"307", {{"/e1", "/doc", 307}}, ""},
      {"303", {{"/f1", "/doc", 303}}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const Hop& hop : c.hops) server_.Redirect(hop.from, hop.to, hop.status);
    const std::string first = c.hops.empty() ? "/doc" : c.hops.front().from;
    const NetRequest request{server_.Url(first), "", ""};
    const std::string expected = c.moved_to.empty() ? "" : server_.Url(c.moved_to);

    for (const Fetched& fetched :
         {FetchByMoniker(request, folder_.Join("doc")), FetchBySession(request)}) {
      EXPECT_TRUE(fetched.result.ok);
      EXPECT_EQ(fetched.body, "<rss/>");
      EXPECT_EQ(fetched.response.moved_to, expected);
      EXPECT_EQ(fetched.response.final_url, server_.Url("/doc"));
    }
  }
}

TEST_F(NetTest, RedirectsToOtherSchemesAreRefused) {
  TempDir sources;
  const std::string secret = sources.Join("secret.xml");
  WriteFile(secret, "<rss>not for the server to choose</rss>");
  const std::string locations[] = {"file://" + secret, "ftp://127.0.0.1/feed",
                                   "gopher://127.0.0.1/feed", "dict://127.0.0.1/feed"};
  for (const std::string& location : locations) {
    SCOPED_TRACE(location);
    server_.Redirect("/feed", location, 301);
    const NetRequest request{server_.Url("/feed"), "", ""};
    for (const Fetched& fetched :
         {FetchByMoniker(request, folder_.Join("feed")), FetchBySession(request)}) {
      EXPECT_EQ(fetched.result.error,
                "The server redirected to an address that is not http or https.");
      EXPECT_EQ(fetched.body, "");
    }
    EXPECT_TRUE(FolderEntries().empty());
  }
}

}  // namespace
}  // namespace tavi::platform
