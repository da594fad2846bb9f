#include "platform/winsys_snapshot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <tuple>

#include "platform/winsys_focus.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_test_support.h"
#include "platform/winsys_tree_view.h"

namespace tavi::platform {
namespace {

class SnapshotTest : public testing::WinsysTest {};

std::vector<WindowHandle> HandlesOf(const std::vector<WindowSnapshot>& windows) {
  std::vector<WindowHandle> handles;
  for (const WindowSnapshot& window : windows) handles.push_back(window.handle);
  return handles;
}

TEST_F(SnapshotTest, ASnapshotSinceAVersionHoldsExactlyTheWindowsChangedAfterIt) {
  const WindowHandle main = MakeWindow("Main", "Tavi");
  const WindowHandle status = MakeWindow("Status", "Ready.", main);
  const WindowHandle list = MakeWindow("List", "", main);
  const std::uint64_t start = TakeSnapshot().version;

  struct Case {
    const char* name;
    std::function<void()> change;
    std::vector<WindowHandle> changed;
  };
  const Case cases[] = {
      {"nothing", [] {}, {}},
      {"text", [&] { SetWindowText(status, "Downloading articles... Please wait."); }, {status}},
      {"rectangle",
       [&] {
         MoveWindow(list, {0, 0, 10, 10});
       },
       {list}},
      {"enabled state", [&] { EnableWindow(list, false); }, {list}},
      {"focus, won and lost",
       [&] {
         SetFocus(status);
         SetFocus(main);
       },
       {main, status}},
      {"visibility", [&] { ShowWindow(main, SW_HIDE); }, {main}},
      {"z-order", [&] { BringWindowToTop(status); }, {status}},
  };
  std::uint64_t known = start;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.change();
    const Snapshot snapshot = TakeSnapshot(known);
    EXPECT_EQ(HandlesOf(snapshot.windows), c.changed);
    EXPECT_GE(snapshot.version, known);
    known = snapshot.version;
  }
  const Snapshot everything = TakeSnapshot(start);
  EXPECT_EQ(HandlesOf(everything.windows), (std::vector<WindowHandle>{main, status, list}));
  EXPECT_EQ(everything.order, (std::vector<WindowHandle>{main, status, list}));
  EXPECT_EQ(everything.windows[1].text, "Downloading articles... Please wait.");
  EXPECT_FALSE(everything.windows[2].enabled);
  EXPECT_TRUE(everything.windows[0].focused);
  EXPECT_FALSE(everything.windows[1].focused);
}

TEST_F(SnapshotTest, AGoneWindowLeavesTheOrderAndAChangedOneKeepsItsPlace) {
  const WindowHandle main = MakeWindow("Main", "");
  const WindowHandle board = MakeWindow("NewsBoardWindow", "");
  const std::uint64_t known = TakeSnapshot().version;

  DestroyWindow(board);
  const Snapshot snapshot = TakeSnapshot(known);

  EXPECT_GT(snapshot.version, known) << "a removal is a change";
  EXPECT_EQ(snapshot.order, std::vector<WindowHandle>{main});
  EXPECT_TRUE(snapshot.windows.empty());
}

TEST_F(SnapshotTest, TheListenerHearsOfEveryChangeOutsideTheLock) {
  std::atomic<int> calls{0};
  std::atomic<ThreadId> caller{0};
  std::uint64_t seen_version = 0;
  // Taking a snapshot inside the listener would dead-lock if it were called
  // with the window system's lock held.
  SetChangeListener([&] {
    ++calls;
    caller = CurrentThreadId();
    seen_version = TakeSnapshot().version;
  });

  const WindowHandle main = MakeWindow("Main", "");
  const int after_create = calls.load();
  SetWindowText(main, "Tavi");
  const int after_text = calls.load();
  GetWindowText(main);
  IsWindowVisible(main);

  EXPECT_GE(after_create, 1);
  EXPECT_EQ(after_text, after_create + 1);
  EXPECT_EQ(calls.load(), after_text) << "reading changes nothing";
  EXPECT_EQ(seen_version, TakeSnapshot().version);

  ThreadId mover = 0;
  std::thread other([&] {
    mover = CurrentThreadId();
    MoveWindow(main, {5, 5, 5, 5});
  });
  other.join();
  EXPECT_EQ(calls.load(), after_text + 1);
  EXPECT_EQ(caller.load(), mover);
}

TEST_F(SnapshotTest, AListViewShowsItsSelectionAndIsReadByRangesOfRows) {
  WindowSpec description;
  description.class_name = "SysListView32";
  description.parent = MakeWindow("NewsBoardWindow", "");
  description.kind = ControlKind::kListView;
  const WindowHandle list = CreateWindow(description);
  InsertListViewColumn(list, 0, {"Headline", 120});
  for (int row = 0; row < 1000; ++row) {
    InsertListViewRow(list, row, {{"Headline " + std::to_string(row), "Feed"}, row % 2, row});
  }
  SetListViewRowState(list, 500, LVIS_SELECTED, LVIS_SELECTED);
  SetListViewRowState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

  const WindowSnapshot state = TakeSnapshot().windows.at(1);
  ASSERT_TRUE(state.list_view);
  EXPECT_EQ(state.list_view->row_count, 1000);
  EXPECT_EQ(state.list_view->selected_rows, (std::vector<int>{2, 500}));
  EXPECT_EQ(state.list_view->focused_row, 2);
  EXPECT_EQ(state.list_view->columns.at(0).title, "Headline");

  const std::vector<ListViewRowSnapshot> tail = ReadListViewRows(list, 998, 10);
  ASSERT_EQ(tail.size(), 2u);
  EXPECT_EQ(tail[0].index, 998);
  EXPECT_EQ(tail[1].texts, (std::vector<std::string>{"Headline 999", "Feed"}));
  EXPECT_EQ(tail[1].image, 1);
  const std::vector<ListViewRowSnapshot> head = ReadListViewRows(list, -3, 3);
  ASSERT_EQ(head.size(), 3u);
  EXPECT_EQ(head[2].index, 2);
  EXPECT_TRUE(head[2].selected);
  EXPECT_TRUE(head[2].focused);
  EXPECT_FALSE(head[1].selected);
  EXPECT_TRUE(ReadListViewRows(description.parent, 0, 5).empty());
}

TEST_F(SnapshotTest, ATreeListsEveryItemUnderItsParentWithItsDepth) {
  WindowSpec description;
  description.class_name = "SysTreeView32";
  description.parent = MakeWindow("#32770", "Mailboxes");
  description.kind = ControlKind::kTreeView;
  const WindowHandle tree = CreateWindow(description);
  const TreeItem root = InsertTreeItem(tree, {}, TreeInsertPosition::kLast, {"Mail", 0, 0, 0});
  const TreeItem folder =
      InsertTreeItem(tree, root, TreeInsertPosition::kLast, {"Folder", 2, 2, 0});
  const TreeItem news = InsertTreeItem(tree, folder, TreeInsertPosition::kLast, {"News", 1, 1, 0});
  const TreeItem box = InsertTreeItem(tree, root, TreeInsertPosition::kLast, {"Box", 1, 1, 0});
  ExpandTreeItem(tree, root, true);

  const WindowSnapshot state = TakeSnapshot().windows.at(1);
  ASSERT_TRUE(state.tree_view);
  const std::vector<TreeItemSnapshot>& items = state.tree_view->items;
  ASSERT_EQ(items.size(), 4u);
  const std::vector<std::tuple<TreeItem, TreeItem, int, bool, bool>> expected = {
      {root, {}, 0, true, true},
      {folder, root, 1, false, true},
      {news, folder, 2, false, false},
      {box, root, 1, false, false}};
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(items[i].text);
    EXPECT_EQ(std::tuple(items[i].item, items[i].parent, items[i].depth, items[i].expanded,
                         items[i].has_children),
              expected[i]);
  }
  EXPECT_EQ(items[1].image, 2);
}

}  // namespace
}  // namespace tavi::platform
