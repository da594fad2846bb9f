#include "web/shell_requests.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tavi::web {
namespace {

using platform::ShellRequest;

ShellRequest Open(std::string target, std::string parameters = "", std::string verb = "open") {
  return {ShellRequest::Kind::kOpen, {}, std::move(verb), std::move(target), std::move(parameters)};
}

TEST(ShellRequests, OnlyOneWebAddressIsOpenedAndEverythingElseRefused) {
  struct Case {
    const char* why;
    ShellRequest request;
    std::optional<std::string> opened;
  };
  const Case cases[] = {
      {"an article's page", Open("https://news.example/a?b=1#c"), "https://news.example/a?b=1#c"},
      {"plain http", Open("http://127.0.0.1:8080/"), "http://127.0.0.1:8080/"},
      {"the scheme in capitals", Open("HTTP://news.example/"), "HTTP://news.example/"},
      {"the default verb", Open("http://news.example/", "", ""), "http://news.example/"},
      {"quoted, as one argument", Open("\"http://news.example/\""), "http://news.example/"},
      // The plug-in's "open in the browser" passes the address to the program.
      {"a browser with the address",
       Open("C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE", "http://news.example/"),
       "http://news.example/"},
      {"a browser with a quoted address", Open("iexplore", "\"https://news.example/\""),
       "https://news.example/"},
      {"a file", Open("file:///etc/passwd"), std::nullopt},
      {"a script address", Open("javascript:alert(1)"), std::nullopt},
      {"a data address", Open("data:text/html,<script>"), std::nullopt},
      {"a share on another machine", Open("\\\\server\\share\\run.exe"), std::nullopt},
      {"a relative path", Open("tavi.hlp"), std::nullopt},
      {"an absolute path", Open("/usr/bin/xterm"), std::nullopt},
      {"a help file with a topic", Open("winhlp32.exe", "tavi.hlp"), std::nullopt},
      {"a program with a web address", Open("cmd.exe", "http://news.example/"), std::nullopt},
      {"a web address with parameters", Open("http://news.example/", "--evil"), std::nullopt},
      {"two arguments", Open("iexplore.exe", "http://a.example/ http://b.example/"), std::nullopt},
      {"a browser with a file", Open("iexplore.exe", "file:///etc/passwd"), std::nullopt},
      // A browser would take what follows a space or a quote as another
      // argument, or as a switch of its own.
      {"a space inside", Open("http://news.example/a b"), std::nullopt},
      {"a quote inside", Open("http://news.example/\"--x"), std::nullopt},
      {"a line break inside", Open("http://news.example/\n"), std::nullopt},
      {"a backslash inside", Open("http://news.example\\@evil.example/"), std::nullopt},
      {"no host", Open("http:///etc/passwd"), std::nullopt},
      {"the scheme alone", Open("https://"), std::nullopt},
      {"another verb", Open("http://news.example/", "", "print"), std::nullopt},
      {"a command line",
       {ShellRequest::Kind::kRun, {}, "", "iexplore.exe http://news.example/", ""},
       std::nullopt},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    EXPECT_EQ(WebAddressToOpen(test.request), test.opened);
  }
}

// Through the shell as the plug-in calls it: a refusal is the shell's
// failure result, and only an address to open reaches the pages.
TEST(ShellRequests, TheHandlerTellsThePagesToOpenAddressesAndFailsTheRest) {
  PageEvents events;
  const std::shared_ptr<PageEventStream> stream = events.Open();
  const auto now = std::chrono::steady_clock::now;
  ASSERT_EQ(stream->Next(now()), "event: ready\ndata: {}\n\n");
  {
    const ShellToPage shell(events);
    EXPECT_GT(platform::ShellExecute({}, "open", "https://news.example/a?b=1&c=2", "", 1), 32);
    EXPECT_EQ(platform::ShellExecute({}, "open", "file:///etc/passwd", "", 1),
              platform::kShellFileNotFound);
    EXPECT_EQ(platform::WinExec("xterm", 1), platform::kShellFileNotFound);
  }
  EXPECT_EQ(stream->Next(now()),
            "event: open_address\ndata: {\"url\": \"https://news.example/a?b=1&c=2\"}\n\n");
  EXPECT_GT(platform::ShellExecute({}, "open", "https://news.example/", "", 1), 32)
      << "without tavi-host's handler the shell succeeds and does nothing";
  EXPECT_EQ(stream->Next(now()), "");
}

}  // namespace
}  // namespace tavi::web
