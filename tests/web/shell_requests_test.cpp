#include "web/shell_requests.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/temp_dir.h"

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
    const HelpPages no_help("");
    const ShellToPage shell(events, no_help);
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

// The help folder of an installed plug-in, with two pages, a file that is
// no page, and a link that leads out of the folder.
class HelpShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Help());
    for (const char* name : {"Settings.htm", "Getting Started.htm", "notes.txt"})
      testing::WriteFile(Help() + "/" + name, "<p>help</p>");
    testing::WriteFile(root_.Join("secret.htm"), "secret");
    std::filesystem::create_symlink(root_.Join("secret.htm"), Help() + "/Linked.htm");
  }
  std::string Help() const { return root_.Join("tavi-help"); }

  testing::TempDir root_;
};

TEST_F(HelpShellTest, OnlyThePagesOfTheHelpFolderOpenAsTheHostsOwnAddresses) {
  const HelpPages help(Help());
  struct Case {
    const char* why;
    ShellRequest request;
    std::optional<std::string> opened;
  };
  const Case cases[] = {
      {"the first page in name order", Open(Help() + "/Getting Started.htm"), "/help/1.htm"},
      {"the second", Open(Help() + "/Settings.htm"), "/help/2.htm"},
      {"quoted", Open("\"" + Help() + "/Settings.htm\""), "/help/2.htm"},
      {"through the folder's parent", Open(Help() + "/../tavi-help/Settings.htm"), "/help/2.htm"},
      {"no page", Open(Help() + "/notes.txt"), std::nullopt},
      {"a link out of the folder", Open(Help() + "/Linked.htm"), std::nullopt},
      {"beside the folder", Open(root_.Join("secret.htm")), std::nullopt},
      {"up and out", Open(Help() + "/../secret.htm"), std::nullopt},
      {"a missing page", Open(Help() + "/Gone.htm"), std::nullopt},
      {"with parameters", Open(Help() + "/Settings.htm", "--x"), std::nullopt},
      {"another verb", Open(Help() + "/Settings.htm", "", "print"), std::nullopt},
      {"run", {ShellRequest::Kind::kRun, {}, "", Help() + "/Settings.htm", ""}, std::nullopt},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    EXPECT_EQ(HelpAddressToOpen(test.request, help), test.opened);
  }
  EXPECT_EQ(HelpAddressToOpen(Open(Help() + "/Settings.htm"), HelpPages("")), std::nullopt);
}

TEST_F(HelpShellTest, TheHostServesEachPageThatRunsNothing) {
  const HelpPages help(Help());
  PageRouter router;
  AddHelpRoutes(router, help);
  const PageResponse page = router.Answer({"GET", "/help/2.htm", {}, "", ""});
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.content_type, "text/html; charset=utf-8");
  EXPECT_EQ(page.body, "<p>help</p>");
  EXPECT_EQ(page.policy, AnswerPolicy::kImage);
  for (const char* path : {"/help/0.htm", "/help/3.htm", "/help/Settings.htm"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(router.Answer({"GET", path, {}, "", ""}).status, 404);
  }
}

}  // namespace
}  // namespace tavi::web
