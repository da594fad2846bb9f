#include "delivery/host_automation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <unordered_set>

#include "host/host.h"
#include "platform/ascii.h"
#include "store/pacing.h"
#include "support/host_test.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

using std::chrono::milliseconds;

std::string ToUpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

class HostAutomationTest : public testing::HostTest {
 protected:
  void SetUp() override {
    SetPacing(Pacing::Designed());
    HostTest::SetUp();
  }

  int NewFolder(int parent, const std::string& name) {
    return Store().CreateFolder(parent, name).value_or(-1);
  }
  int NewMailbox(int parent, const std::string& name) {
    return Store().CreateMailbox(parent, name).value_or(-1);
  }
  std::string PathOf(int number) { return Store().Item(number)->path; }
  void AddMessages(int mailbox, const std::vector<std::string>& message_ids) {
    for (const std::string& id : message_ids)
      ASSERT_TRUE(Store().AddMessage(mailbox, "Subject: s\r\nMessage-Id: " + id + "\r\n\r\nbody"));
  }
  std::vector<std::string> MessageIdsIn(int mailbox) {
    std::vector<std::string> ids;
    for (std::size_t at = 0; at < Store().MessageCount(mailbox).value_or(0); ++at)
      ids.emplace_back(Store().MessageAt(mailbox, at)->MessageId());
    return ids;
  }

  testing::RecordingSleeper sleeper_;
};

TEST_F(HostAutomationTest, StatusTextsGoToTheHostStatusBar) {
  std::string error_text = "unchanged";
  EXPECT_TRUE(ShowReadyStatus(error_text));
  EXPECT_EQ(host_->StatusText(), "Tavi. For Help, press F1.");
  EXPECT_EQ(error_text, "unchanged");

  EXPECT_TRUE(ShowNewArticlesStatus("12"));
  EXPECT_EQ(host_->StatusText(), "Tavi. Ready. Total number of new articles: 12. Have a nice day.");
}

TEST_F(HostAutomationTest, WithAutomationOffSilentOperationsShowNothing) {
  const int news = NewMailbox(host::kTopLevel, "News");
  AddMessages(news, {"<a>"});
  host_->SetAutomationEnabled(false);

  std::string error_text;
  EXPECT_FALSE(ShowReadyStatus(error_text));
  EXPECT_EQ(error_text, platform::kInvalidClassString);
  EXPECT_FALSE(ShowNewArticlesStatus("1"));
  std::unordered_set<std::string> ids = {"kept"};
  EXPECT_TRUE(CollectMessageIds(PathOf(news), "News", ids));
  EXPECT_EQ(ids, std::unordered_set<std::string>{"kept"});
  MoveAllMessages("News", host::kInMailboxNumber);
  EXPECT_EQ(Store().MessageCount(news), 1u);
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(HostAutomationTest, WithAutomationOffUserCommandsReportTheErrorInAMessageBox) {
  const int folder = NewFolder(host::kTopLevel, "Feeds");
  host_->SetAutomationEnabled(false);
  struct Case {
    const char* operation;
    std::function<bool()> succeeds;
  };
  const Case cases[] = {
      {"CreateTopLevelMailbox", [] { return !CreateTopLevelMailbox("News").empty(); }},
      {"CreateMailboxInFolder",
       [&] { return !CreateMailboxInFolder("News", PathOf(folder)).empty(); }},
      {"OpenHostMailbox", [] { return OpenHostMailbox("In"); }},
      {"OpenHostMailboxByPath", [&] { return OpenHostMailboxByPath(PathOf(2)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    platform::ClearShownMessageBoxes();
    EXPECT_FALSE(c.succeeds());
    const auto boxes = platform::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, platform::kInvalidClassString);
    EXPECT_EQ(boxes[0].flags & platform::MB_TYPEMASK, platform::MB_OK);
  }
  EXPECT_FALSE(std::filesystem::exists(data_.Join("News.mbx")));
}

TEST_F(HostAutomationTest, CreateTopLevelMailboxUsesTheSafeNameAndReturnsTheHostsPath) {
  struct Case {
    const char* given;
    const char* created;
  };
  const Case cases[] = {{"  *News?  ", "News"}, {" ?*: ", "No Name"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    const std::string path = CreateTopLevelMailbox(c.given);
    EXPECT_EQ(path, data_.Join(std::string(c.created) + ".mbx"));
    EXPECT_TRUE(std::filesystem::exists(path));
    const auto number = Store().FindByName(c.created);
    ASSERT_TRUE(number.has_value());
    EXPECT_EQ(Store().Item(*number)->parent, host::kTopLevel);
  }
}

TEST_F(HostAutomationTest, CreateMailboxInFolderFindsTheFolderByPath) {
  const int outer = NewFolder(host::kTopLevel, "Feeds");
  const int inner = NewFolder(outer, "Tech");
  const int plain = NewMailbox(outer, "Plain");
  const std::string inner_path = PathOf(inner);
  struct Case {
    const char* name;
    std::string folder_path;
    std::string expected;
  };
  const Case cases[] = {
      // One separator before the name, however many the folder path ends in.
      {"Daily", inner_path + "//", inner_path + "/Daily.mbx"},
      // The host's spelling of the folder, not the caller's.
      {"Weekly", ToUpperAscii(inner_path), inner_path + "/Weekly.mbx"},
      {"a:b", inner_path, ""},
      {"", inner_path, ""},
      {"Lost", data_.Join("Nowhere.fol"), ""},
      {"Lost", PathOf(plain), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " in " + c.folder_path);
    const std::string path = CreateMailboxInFolder(c.name, c.folder_path);
    EXPECT_EQ(path, c.expected);
    EXPECT_EQ(std::filesystem::exists(path), !c.expected.empty());
  }
  EXPECT_EQ(Store().Children(inner).size(), 2u);
  EXPECT_FALSE(Store().FindByName("Lost").has_value());
}

TEST_F(HostAutomationTest, PathSearchesWalkFoldersInFoldersIgnoringCase) {
  const int outer = NewFolder(host::kTopLevel, "Outer");
  const int inner = NewFolder(outer, "Inner");
  const int deep = NewMailbox(inner, "Deep");
  const int side = NewMailbox(outer, "Side");
  const HostConnection connection;
  ASSERT_TRUE(connection.IsConnected());
  const platform::DispatchPtr top = connection.TopLevel();
  struct Case {
    const char* what;
    std::int32_t found;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"mailbox in a folder in a folder", FindMailboxByPath(top, PathOf(deep)), deep},
      {"upper case", FindMailboxByPath(top, ToUpperAscii(PathOf(deep))), deep},
      {"lower case", FindMailboxByPath(top, platform::ToLowerAscii(PathOf(side))), side},
      {"a folder is no mailbox", FindMailboxByPath(top, PathOf(inner)), kNoItemNumber},
      {"unknown path", FindMailboxByPath(top, data_.Join("x.mbx")), kNoItemNumber},
      {"no collection", FindMailboxByPath(nullptr, PathOf(deep)), kNoItemNumber},
      {"folder in a folder", FindFolderByPath(top, ToUpperAscii(PathOf(inner))), inner},
      {"a mailbox is no folder", FindFolderByPath(top, PathOf(deep)), kNoItemNumber},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.found, c.expected);
  }
}

TEST_F(HostAutomationTest, OpenHostMailboxShowsItsWindowAndWaits) {
  EXPECT_TRUE(OpenHostMailbox("In"));
  const platform::WindowHandle window = host_->Windows().MailboxWindow(host::kInMailboxNumber);
  EXPECT_TRUE(platform::IsWindow(window));
  EXPECT_EQ(sleeper_.Waits(), std::vector<milliseconds>{milliseconds(200)});

  // Callers close the topmost host window after an open: nothing opened must
  // not count as opened.
  EXPECT_FALSE(OpenHostMailbox("Nowhere"));
  EXPECT_EQ(sleeper_.Waits().size(), 1u);
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(HostAutomationTest, OpenHostMailboxByPathOpensANestedMailboxAndNamesIt) {
  const int deep = NewMailbox(NewFolder(NewFolder(host::kTopLevel, "A"), "B"), "Deep");
  EXPECT_TRUE(OpenHostMailboxByPath(ToUpperAscii(PathOf(deep))));
  EXPECT_EQ(platform::GetWindowText(host_->Windows().MailboxWindow(deep)), "Deep");
  EXPECT_EQ(host_->StatusText(), "Deep");

  EXPECT_FALSE(OpenHostMailboxByPath(data_.Join("Deep.mbx")));
}

TEST_F(HostAutomationTest, CloseHostMailboxWindowClosesTheTitledDocumentWindow) {
  const platform::WindowHandle area = host_->Windows().DocumentArea();
  ASSERT_TRUE(host_->OpenMailbox(host::kInMailboxNumber));
  const platform::WindowHandle window = host_->Windows().MailboxWindow(host::kInMailboxNumber);
  EXPECT_FALSE(CloseHostMailboxWindow(area, "Out"));
  EXPECT_TRUE(CloseHostMailboxWindow(area, "In"));
  EXPECT_FALSE(platform::IsWindow(window));
  EXPECT_FALSE(CloseHostMailboxWindow(area, "In"));

  // Without a document area no top-level window is touched, untitled or not.
  const platform::WindowHandle untitled = platform::CreateWindow({"Other", "", {}, true, {}, 0});
  EXPECT_FALSE(CloseHostMailboxWindow({}, ""));
  EXPECT_TRUE(platform::IsWindow(untitled));
  platform::DestroyWindow(untitled);
}

TEST_F(HostAutomationTest, CollectMessageIdsFindsTheMailboxByPathElseByName) {
  const int news = NewMailbox(NewFolder(host::kTopLevel, "Feeds"), "News");
  AddMessages(news, {"<a@x>", "<b@x>", "<c@x>"});
  const std::unordered_set<std::string> expected = {"kept", "<c@x>", "<b@x>", "<a@x>"};

  std::unordered_set<std::string> by_path = {"kept"};
  EXPECT_TRUE(CollectMessageIds(ToUpperAscii(PathOf(news)), "Elsewhere", by_path));
  EXPECT_EQ(by_path, expected);

  std::unordered_set<std::string> by_name = {"kept"};
  EXPECT_TRUE(CollectMessageIds(data_.Join("gone.mbx"), "News", by_name));
  EXPECT_EQ(by_name, expected);

  const int empty = NewMailbox(host::kTopLevel, "Empty");
  std::unordered_set<std::string> none;
  EXPECT_TRUE(CollectMessageIds(PathOf(empty), "Empty", none));
  EXPECT_TRUE(CollectMessageIds(data_.Join("gone.mbx"), "Gone", none));
  EXPECT_TRUE(none.empty());
}

TEST_F(HostAutomationTest, CollectMessageIdsKeepsTheCallersWindowResponsive) {
  const int news = NewMailbox(host::kTopLevel, "News");
  AddMessages(news, {"<a>"});
  int handled = 0;
  const platform::WindowHandle window =
      platform::CreateWindow({"Caller",
                              "",
                              {},
                              true,
                              [&](platform::WindowHandle self, platform::MessageId message,
                                  platform::WParam wparam, platform::LParam lparam) {
                                if (message == platform::WM_USER) ++handled;
                                return platform::DefWindowProc(self, message, wparam, lparam);
                              },
                              0});
  platform::PostMessage(window, platform::WM_USER, 0, 0);
  std::unordered_set<std::string> ids;
  CollectMessageIds(PathOf(news), "News", ids);
  EXPECT_EQ(handled, 1);
  platform::DestroyWindow(window);
}

TEST_F(HostAutomationTest, MoveAllMessagesEmptiesTheSourceIntoTheTarget) {
  const int pending = NewMailbox(host::kTopLevel, "Pending");
  const int news = NewMailbox(NewFolder(host::kTopLevel, "Feeds"), "News");
  AddMessages(pending, {"<a>", "<b>", "<c>"});
  for (std::size_t at = 0; at < 3; ++at) Store().SetMessageState(Store().MessageAt(pending, at), 1);

  MoveAllMessages("Pending", 999);
  EXPECT_EQ(Store().MessageCount(pending), 3u);

  MoveAllMessages("Pending", news);
  EXPECT_EQ(Store().MessageCount(pending), 0u);
  EXPECT_EQ(MessageIdsIn(news), (std::vector<std::string>{"<c>", "<b>", "<a>"}));
  for (std::size_t at = 0; at < 3; ++at) EXPECT_EQ(Store().MessageAt(news, at)->State(), 0);
}

}  // namespace
}  // namespace tavi
