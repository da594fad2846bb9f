#include "platform/winsys.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/winsys_snapshot.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using testing::SeenMessage;

class WindowTest : public testing::WinsysTest {};

TEST_F(WindowTest, SnapshotListsTopLevelWindowsTopmostFirstEachFollowedByItsChildren) {
  const WindowHandle main = MakeWindow("EudoraMainWindow", "Eudora");
  const WindowHandle client = MakeWindow("MDIClient", "", main);
  const WindowHandle in_box = MakeWindow("MailboxWindow", "In", client);
  const WindowHandle pending = MakeWindow("MailboxWindow", "Pending", client, {}, false);
  const WindowHandle board = MakeWindow("NewsBoardWindow", "News Board", GetDesktopWindow());

  const ThreadId me = CurrentThreadId();
  const std::vector<WindowSnapshot> snapshot = TakeSnapshot().windows;
  ASSERT_EQ(snapshot.size(), 5u);
  const std::vector<std::tuple<WindowHandle, std::string, std::string, WindowHandle, bool>>
      expected = {{board, "NewsBoardWindow", "News Board", {}, true},
                  {main, "EudoraMainWindow", "Eudora", {}, true},
                  {client, "MDIClient", "", main, true},
                  {pending, "MailboxWindow", "Pending", client, false},
                  {in_box, "MailboxWindow", "In", client, true}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const WindowSnapshot& state = snapshot[i];
    EXPECT_EQ(std::tie(state.handle, state.class_name, state.text, state.parent, state.visible),
              expected[i]);
    EXPECT_EQ(state.thread, me);
  }
}

TEST_F(WindowTest, FindsWindowsByClassAndTitleIgnoringCase) {
  const WindowHandle main = MakeWindow("EudoraMainWindow", "Eudora");
  const WindowHandle client = MakeWindow("MDIClient", "", main);
  const WindowHandle untitled = MakeWindow("MailboxWindow", "", client);
  const WindowHandle pending = MakeWindow("MailboxWindow", "Pending", client);
  const WindowHandle report = MakeWindow("ReportWindow", "Pending", client);

  struct Case {
    const char* name;
    WindowHandle found;
    WindowHandle expected;
  };
  const Case cases[] = {
      {"top-level by class", FindWindow("eudoramainwindow"), main},
      {"top-level by class and title", FindWindow("EudoraMainWindow", "EUDORA"), main},
      {"a child is not top-level", FindWindow("MDIClient"), {}},
      {"wrong title", FindWindow("EudoraMainWindow", "Eudora Pro"), {}},
      {"child by class", FindChildWindow(main, "MDIClient", kAnyText), client},
      {"grandchildren are not searched", FindChildWindow(main, "MailboxWindow", kAnyText), {}},
      // Any class: the topmost child with the title, whatever its class.
      {"title only, topmost first", FindChildWindow(client, kAnyText, "pending"), report},
      {"class and title", FindChildWindow(client, "MailboxWindow", "Pending"), pending},
      // An empty title is a title: it matches only windows without one.
      {"empty title", FindChildWindow(client, kAnyText, ""), untitled},
      {"search continues below `after`", FindChildWindow(client, kAnyText, "Pending", report),
       pending},
      {"nothing below the last match", FindChildWindow(client, kAnyText, "Pending", pending), {}},
      {"`after` not a child", FindChildWindow(client, kAnyText, kAnyText, main), {}},
      {"desktop means top-level", FindChildWindow(GetDesktopWindow(), "EudoraMainWindow", kAnyText),
       main},
      {"stale parent", FindChildWindow(WindowHandle{0xFFFFFF}, kAnyText, kAnyText), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.found, c.expected);
  }
}

TEST_F(WindowTest, TopWindowIsTheNewestOrTheOneLastBroughtToTop) {
  const WindowHandle client = MakeWindow("MDIClient", "");
  EXPECT_EQ(GetTopWindow(client), WindowHandle{});

  const WindowHandle first = MakeWindow("MailboxWindow", "In", client);
  const WindowHandle second = MakeWindow("MailboxWindow", "Out", client);
  EXPECT_EQ(GetTopWindow(client), second);

  ASSERT_TRUE(BringWindowToTop(first));
  EXPECT_EQ(GetTopWindow(client), first);
  EXPECT_EQ(FindChildWindow(client, "MailboxWindow", kAnyText, first), second);

  DestroyWindow(first);
  EXPECT_EQ(GetTopWindow(client), second);
  EXPECT_EQ(GetTopWindow({}), client);
}

TEST_F(WindowTest, DestroyingAWindowDestroysItsDescendantsParentsFirst) {
  bool alive_during_destroy = false;
  const auto procedure = log_.Procedure(
      [&](WindowHandle window, MessageId message, WParam, LParam) -> std::optional<LResult> {
        if (message == WM_DESTROY) alive_during_destroy = IsWindow(window);
        return std::nullopt;
      });
  const WindowHandle parent = MakeWindow("Parent", "", {}, procedure);
  const WindowHandle child = MakeWindow("Child", "", parent, procedure);
  const WindowHandle grandchild = MakeWindow("Grandchild", "", child, procedure);
  const WindowHandle sibling = MakeWindow("Sibling", "");

  ASSERT_TRUE(DestroyWindow(parent));

  const ThreadId me = CurrentThreadId();
  EXPECT_EQ(log_.Seen(WM_DESTROY), (std::vector<SeenMessage>{{parent, WM_DESTROY, 0, me},
                                                             {child, WM_DESTROY, 0, me},
                                                             {grandchild, WM_DESTROY, 0, me}}));
  EXPECT_EQ(log_.Seen(WM_NCDESTROY), (std::vector<SeenMessage>{{grandchild, WM_NCDESTROY, 0, me},
                                                               {child, WM_NCDESTROY, 0, me},
                                                               {parent, WM_NCDESTROY, 0, me}}));
  EXPECT_TRUE(alive_during_destroy);
  for (const WindowHandle gone : {parent, child, grandchild}) EXPECT_FALSE(IsWindow(gone));
  EXPECT_TRUE(IsWindow(sibling));
  EXPECT_FALSE(DestroyWindow(parent));

  // Handles are never reused, so the stale ones stay stale.
  const WindowHandle next = MakeWindow("Parent", "");
  for (const WindowHandle gone : {parent, child, grandchild}) EXPECT_NE(next, gone);
}

TEST_F(WindowTest, OnlyTheOwningThreadMayDestroyAWindow) {
  const WindowHandle window = MakeWindow("Mine", "");
  bool destroyed_elsewhere = true;
  std::thread other([&] { destroyed_elsewhere = DestroyWindow(window); });
  other.join();
  EXPECT_FALSE(destroyed_elsewhere);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowTest, SystemCloseCommandClosesAWindowThatAcceptsClosing) {
  const WindowHandle client = MakeWindow("MDIClient", "");
  const WindowHandle accepting = MakeWindow("MailboxWindow", "Pending", client, log_.Procedure());
  const WindowHandle refusing = MakeWindow(
      "MailboxWindow", "In", client,
      log_.Procedure([](WindowHandle, MessageId message, WParam, LParam) -> std::optional<LResult> {
        if (message == WM_CLOSE) return 0;  // keeps the window open
        return std::nullopt;
      }));

  SendMessage(accepting, WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessage(refusing, WM_SYSCOMMAND, SC_CLOSE, 0);

  EXPECT_FALSE(IsWindow(accepting));
  EXPECT_TRUE(IsWindow(refusing));
  EXPECT_EQ(log_.Seen(WM_CLOSE).size(), 2u);
}

TEST_F(WindowTest, TitleChangesGoThroughTheWindowProcedure) {
  std::string offered;
  const WindowHandle plain = MakeWindow("Status", "Ready");
  const WindowHandle guarded = MakeWindow(
      "Status", "Fixed", {},
      [&](WindowHandle window, MessageId message, WParam wparam, LParam lparam) -> LResult {
        if (message != WM_SETTEXT) return DefWindowProc(window, message, wparam, lparam);
        offered = reinterpret_cast<const char*>(lparam);
        return 0;  // refuses the change
      });

  EXPECT_TRUE(SetWindowText(plain, "Tavi. For Help, press F1."));
  EXPECT_EQ(GetWindowText(plain), "Tavi. For Help, press F1.");

  EXPECT_FALSE(SetWindowText(guarded, "Changed"));
  EXPECT_EQ(offered, "Changed");
  EXPECT_EQ(GetWindowText(guarded), "Fixed");

  EXPECT_FALSE(SetWindowText(WindowHandle{0xFFFFFF}, "x"));
  EXPECT_EQ(GetWindowText(WindowHandle{0xFFFFFF}), "");
}

TEST_F(WindowTest, AWindowIsVisibleOnlyWhenItAndItsAncestorsAreShown) {
  const WindowHandle board = MakeWindow("NewsBoardWindow", "", {}, {}, false);
  const WindowHandle list = MakeWindow("SysListView32", "", board);

  EXPECT_FALSE(IsWindowVisible(board));
  EXPECT_FALSE(IsWindowVisible(list));

  EXPECT_FALSE(ShowWindow(board, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_TRUE(ShowWindow(list, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_TRUE(IsWindowVisible(board));
  EXPECT_FALSE(ShowWindow(WindowHandle{0xFFFFFF}, SW_SHOW));
}

TEST_F(WindowTest, CreationFailsForAStaleParentOrWhenTheWindowRefusesToBeCreated) {
  const WindowHandle parent = MakeWindow("Parent", "");
  DestroyWindow(parent);
  EXPECT_FALSE(MakeWindow("Child", "", parent));

  const WindowHandle refused = MakeWindow(
      "Refuses", "", {},
      log_.Procedure([](WindowHandle, MessageId message, WParam, LParam) -> std::optional<LResult> {
        if (message == WM_CREATE) return -1;
        return std::nullopt;
      }));
  EXPECT_FALSE(refused);
  ASSERT_EQ(log_.Seen(WM_CREATE).size(), 1u);
  EXPECT_EQ(log_.Seen(WM_DESTROY).size(), 1u);
  EXPECT_FALSE(FindWindow("Refuses"));
}

TEST_F(WindowTest, AThreadsWindowsEndWithTheThread) {
  WindowHandle parent;
  WindowHandle child;
  ThreadId owner = 0;
  std::thread worker([&] {
    parent = MakeWindow("Worker", "");
    child = MakeWindow("WorkerChild", "", parent);
    owner = GetWindowThreadId(child);
  });
  worker.join();

  EXPECT_NE(owner, 0u);
  EXPECT_NE(owner, CurrentThreadId());
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(PostThreadMessage(owner, WM_APP, 0, 0));
}

// An object a procedure or a timer callback owns, which asks the window
// system about its window as it goes, as a control handing a label back its
// own procedure does.
struct AsksAsItGoes {
  WindowHandle window;
  int* asked;
  ~AsksAsItGoes() {
    IsWindow(window);
    ++*asked;
  }
};

WindowProcedure OwningProcedure(WindowHandle window, int& asked) {
  return [owned = std::make_shared<AsksAsItGoes>(window, &asked)](
             WindowHandle target, MessageId message, WParam wparam, LParam lparam) {
    return DefWindowProc(target, message, wparam, lparam);
  };
}

TEST_F(WindowTest, WhatAProcedureOrTimerOwnsMayCallTheWindowSystemAsItGoes) {
  int asked = 0;
  const WindowHandle replaced = MakeWindow("Replaced", "");
  SubclassWindow(replaced, OwningProcedure(replaced, asked));
  SubclassWindow(replaced, {});
  EXPECT_EQ(asked, 1);

  const WindowHandle destroyed = MakeWindow("Destroyed", "");
  SubclassWindow(destroyed, OwningProcedure(destroyed, asked));
  SetTimer(destroyed, 1, std::chrono::hours(1),
           [owned = std::make_shared<AsksAsItGoes>(destroyed, &asked)](WindowHandle, TimerId) {});
  DestroyWindow(destroyed);
  EXPECT_EQ(asked, 3);

  const WindowHandle timed = MakeWindow("Timed", "");
  SetTimer(timed, 1, std::chrono::hours(1),
           [owned = std::make_shared<AsksAsItGoes>(timed, &asked)](WindowHandle, TimerId) {});
  KillTimer(timed, 1);
  EXPECT_EQ(asked, 4);

  std::thread worker([&asked] {
    const WindowHandle window = MakeWindow("Worker", "");
    SubclassWindow(window, OwningProcedure(window, asked));
  });
  worker.join();
  EXPECT_EQ(asked, 5) << "the thread's windows went with it";
}

TEST_F(WindowTest, TheDesktopAlwaysExistsAndParentsTheTopLevelWindows) {
  const WindowHandle desktop = GetDesktopWindow();
  const WindowHandle board = MakeWindow("NewsBoardWindow", "", desktop);
  EXPECT_TRUE(IsWindow(desktop));
  EXPECT_TRUE(IsWindowVisible(desktop));
  EXPECT_EQ(GetParent(board), WindowHandle{});
  EXPECT_EQ(GetTopWindow(desktop), board);
  EXPECT_EQ(FindWindow("NewsBoardWindow"), board);
}

}  // namespace
}  // namespace tavi::platform
