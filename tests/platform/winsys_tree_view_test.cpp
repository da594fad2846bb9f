#include "platform/winsys_tree_view.h"

#include <gtest/gtest.h>

#include "platform/winsys_input.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

constexpr int kMailboxes = 1051;

class TreeViewTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    const WindowHandle parent =
        MakeWindow("#32770", "Mailboxes", {},
                   log_.Procedure([this](WindowHandle, MessageId message, WParam,
                                         LParam lparam) -> std::optional<LResult> {
                     if (message != WM_NOTIFY) return std::nullopt;
                     notices_.push_back(*reinterpret_cast<const TreeViewNotify*>(lparam));
                     return 0;
                   }));
    WindowSpec description;
    description.class_name = "SysTreeView32";
    description.parent = parent;
    description.kind = ControlKind::kTreeView;
    description.control_id = kMailboxes;
    tree_ = CreateWindow(description);
  }

  TreeItem Add(TreeItem parent, const std::string& text,
               TreeInsertPosition position = TreeInsertPosition::kLast) {
    return InsertTreeItem(tree_, parent, position, {text, 1, 1, static_cast<LParam>(text.size())});
  }

  std::vector<std::string> TextsOfChildren(TreeItem parent) {
    std::vector<std::string> texts;
    for (TreeItem item = GetNextTreeItem(tree_, parent, TreeRelation::kChild); item;
         item = GetNextTreeItem(tree_, item, TreeRelation::kNextSibling)) {
      texts.push_back(GetTreeItem(tree_, item)->content.text);
    }
    return texts;
  }

  WindowHandle tree_;
  std::vector<TreeViewNotify> notices_;
};

TEST_F(TreeViewTest, ItemsGoFirstLastOrInSortedPlaceAmongTheirSiblings) {
  const TreeItem root = Add({}, "Mail");
  Add(root, "Lists");
  Add(root, "news");
  Add(root, "Archive", TreeInsertPosition::kFirst);
  Add(root, "Feeds", TreeInsertPosition::kSorted);
  Add(root, "Zebra", TreeInsertPosition::kSorted);
  Add(root, "aardvark", TreeInsertPosition::kSorted);

  EXPECT_EQ(TextsOfChildren(root),
            (std::vector<std::string>{"aardvark", "Archive", "Feeds", "Lists", "news", "Zebra"}));
  EXPECT_EQ(GetNextTreeItem(tree_, {}, TreeRelation::kRoot), root);
  EXPECT_EQ(GetTreeItemCount(tree_), 7);
  EXPECT_FALSE(InsertTreeItem(tree_, TreeItem{999}, TreeInsertPosition::kLast, {}));
}

TEST_F(TreeViewTest, SortingRecursivelyOrdersEveryLevelAndOnlyThatFar) {
  const TreeItem root = Add({}, "Mail");
  const TreeItem folder = Add(root, "Zeta");
  Add(root, "Alpha");
  Add(folder, "b");
  Add(folder, "A");
  const TreeItem other = Add({}, "Other");
  Add(other, "z");
  Add(other, "y");

  ASSERT_TRUE(SortTreeChildren(tree_, root, true));

  EXPECT_EQ(TextsOfChildren(root), (std::vector<std::string>{"Alpha", "Zeta"}));
  EXPECT_EQ(TextsOfChildren(folder), (std::vector<std::string>{"A", "b"}));
  EXPECT_EQ(TextsOfChildren(other), (std::vector<std::string>{"z", "y"}));
  ASSERT_TRUE(SortTreeChildren(tree_, {}, true));
  EXPECT_EQ(TextsOfChildren(other), (std::vector<std::string>{"y", "z"}));
}

TEST_F(TreeViewTest, TheNextVisibleItemGoesThroughExpandedItemsOnly) {
  // Mail { Folder { Inner { Deep } }, Box }, Other
  const TreeItem mail = Add({}, "Mail");
  const TreeItem folder = Add(mail, "Folder");
  const TreeItem inner = Add(folder, "Inner");
  const TreeItem deep = Add(inner, "Deep");
  const TreeItem box = Add(mail, "Box");
  const TreeItem other = Add({}, "Other");
  const auto next = [&](TreeItem item) {
    return GetNextTreeItem(tree_, item, TreeRelation::kNextVisible);
  };

  EXPECT_EQ(next(mail), other);
  ASSERT_TRUE(ExpandTreeItem(tree_, mail, true));
  EXPECT_EQ(next(mail), folder);
  EXPECT_EQ(next(folder), box);
  ASSERT_TRUE(ExpandTreeItem(tree_, folder, true));
  ASSERT_TRUE(ExpandTreeItem(tree_, inner, true));
  // From the deepest item the walk climbs to the nearest ancestor with a
  // next sibling.
  EXPECT_EQ(next(deep), box);
  EXPECT_EQ(next(box), other);
  EXPECT_EQ(next(other), TreeItem{});
  EXPECT_FALSE(ExpandTreeItem(tree_, box, true)) << "an item without children";
  EXPECT_TRUE(notices_.empty()) << "a program's expansion tells nobody";
}

TEST_F(TreeViewTest, SelectingShowsTheItemAndTellsTheParentWhatWasAndWhatIs) {
  const TreeItem mail = Add({}, "Mail");
  const TreeItem folder = Add(mail, "Folder");
  const TreeItem news = Add(folder, "News");

  ASSERT_TRUE(SelectTreeItem(tree_, news));
  ASSERT_TRUE(SelectTreeItem(tree_, news));
  ASSERT_TRUE(SelectTreeItem(tree_, mail));

  EXPECT_TRUE(GetTreeItem(tree_, mail)->expanded);
  EXPECT_TRUE(GetTreeItem(tree_, folder)->expanded);
  EXPECT_EQ(GetNextTreeItem(tree_, {}, TreeRelation::kSelection), mail);
  EXPECT_TRUE(GetTreeItem(tree_, mail)->selected);
  ASSERT_EQ(notices_.size(), 2u) << "selecting the selected item again changes nothing";
  EXPECT_EQ(notices_[0].header.code, TVN_SELCHANGED);
  EXPECT_EQ(notices_[0].header.id, kMailboxes);
  EXPECT_EQ(notices_[0].action, TVC_UNKNOWN);
  EXPECT_EQ(notices_[0].old_item, TreeItem{});
  EXPECT_EQ(notices_[0].new_item, news);
  EXPECT_EQ(notices_[0].new_user_value, 4);
  EXPECT_EQ(notices_[1].old_item, news);
  EXPECT_EQ(notices_[1].old_user_value, 4);
  EXPECT_EQ(notices_[1].new_item, mail);
  EXPECT_FALSE(SelectTreeItem(tree_, TreeItem{999}));
}

TEST_F(TreeViewTest, DeletingAnItemTakesItsSubtreeAndASelectionInside) {
  const TreeItem mail = Add({}, "Mail");
  const TreeItem folder = Add(mail, "Folder");
  const TreeItem news = Add(folder, "News");
  const TreeItem box = Add(mail, "Box");
  SelectTreeItem(tree_, news);
  notices_.clear();

  ASSERT_TRUE(DeleteTreeItem(tree_, folder));

  EXPECT_EQ(TextsOfChildren(mail), std::vector<std::string>{"Box"});
  EXPECT_EQ(GetTreeItemCount(tree_), 2);
  EXPECT_EQ(GetTreeItem(tree_, news), std::nullopt);
  EXPECT_EQ(GetNextTreeItem(tree_, {}, TreeRelation::kSelection), TreeItem{});
  EXPECT_TRUE(notices_.empty());
  EXPECT_EQ(GetNextTreeItem(tree_, box, TreeRelation::kParent), mail);
  ASSERT_TRUE(DeleteTreeItem(tree_, {}));
  EXPECT_EQ(GetTreeItemCount(tree_), 0);
}

TEST_F(TreeViewTest, EnterTellsTheParent) {
  PostMessage(tree_, WM_KEYDOWN, virtual_key::kReturn, 0);
  PostMessage(tree_, WM_KEYDOWN, virtual_key::kDown, 0);
  PumpWaitingMessages();

  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_EQ(notices_[0].header.code, NM_RETURN);
  EXPECT_EQ(notices_[0].header.window, tree_);
}

TEST_F(TreeViewTest, APersonsExpansionIsToldWithTheNewState) {
  const TreeItem mail = Add({}, "Mail");
  const TreeItem folder = Add(mail, "Folder");
  Add(folder, "News");

  ASSERT_TRUE(InjectTreeViewExpand(tree_, folder, true));
  ASSERT_TRUE(InjectTreeViewExpand(tree_, folder, true));  // already expanded: nothing told
  ASSERT_TRUE(InjectTreeViewExpand(tree_, folder, false));
  EXPECT_FALSE(
      InjectTreeViewExpand(tree_, GetNextTreeItem(tree_, folder, TreeRelation::kChild), true))
      << "an item without children";
  PumpWaitingMessages();

  ASSERT_EQ(notices_.size(), 2u);
  EXPECT_EQ(notices_[0].header.code, TVN_ITEMEXPANDED);
  EXPECT_EQ(notices_[0].action, TVE_EXPAND);
  EXPECT_TRUE(notices_[0].expanded);
  EXPECT_EQ(notices_[0].new_item, folder);
  EXPECT_EQ(notices_[0].new_user_value, 6);
  EXPECT_EQ(notices_[1].action, TVE_COLLAPSE);
  EXPECT_FALSE(notices_[1].expanded);
  EXPECT_FALSE(GetTreeItem(tree_, folder)->expanded);
}

TEST_F(TreeViewTest, AClickSelectsByMouseAndADoubleClickAlsoTogglesUnlessTheParentTakesIt) {
  const TreeItem mail = Add({}, "Mail");
  const TreeItem folder = Add(mail, "Folder");
  Add(folder, "News");
  const auto codes = [&] {
    std::vector<int> seen;
    for (const TreeViewNotify& notice : notices_) seen.push_back(notice.header.code);
    notices_.clear();
    return seen;
  };

  ASSERT_TRUE(InjectTreeViewClick(tree_, folder, ClickKind::kLeft));
  PumpWaitingMessages();
  EXPECT_EQ(notices_.at(0).action, TVC_BYMOUSE);
  EXPECT_EQ(codes(), (std::vector<int>{TVN_SELCHANGED, NM_CLICK}));

  ASSERT_TRUE(InjectTreeViewClick(tree_, folder, ClickKind::kDouble));
  PumpWaitingMessages();
  EXPECT_EQ(codes(), (std::vector<int>{NM_CLICK, NM_DBLCLK, TVN_ITEMEXPANDED}));
  EXPECT_TRUE(GetTreeItem(tree_, folder)->expanded);

  ASSERT_TRUE(InjectTreeViewClick(tree_, mail, ClickKind::kRight));
  PumpWaitingMessages();
  EXPECT_EQ(codes(), std::vector<int>{NM_RCLICK});
  EXPECT_EQ(GetNextTreeItem(tree_, {}, TreeRelation::kSelection), folder);
  EXPECT_FALSE(InjectTreeViewClick(tree_, TreeItem{999}, ClickKind::kLeft));
}

TEST_F(TreeViewTest, AParentThatHandlesTheDoubleClickKeepsTheItemAsItIs) {
  const WindowHandle picker = MakeWindow(
      "#32770", "", {}, [](WindowHandle window, MessageId message, WParam wparam, LParam lparam) {
        if (message == WM_NOTIFY &&
            reinterpret_cast<const NotifyHeader*>(lparam)->code == NM_DBLCLK) {
          return LResult{1};
        }
        return DefWindowProc(window, message, wparam, lparam);
      });
  WindowSpec description;
  description.class_name = "SysTreeView32";
  description.parent = picker;
  description.kind = ControlKind::kTreeView;
  const WindowHandle tree = CreateWindow(description);
  const TreeItem folder = InsertTreeItem(tree, {}, TreeInsertPosition::kLast, {"Folder"});
  InsertTreeItem(tree, folder, TreeInsertPosition::kLast, {"News"});

  ASSERT_TRUE(InjectTreeViewClick(tree, folder, ClickKind::kDouble));
  PumpWaitingMessages();

  EXPECT_FALSE(GetTreeItem(tree, folder)->expanded);
  EXPECT_EQ(GetNextTreeItem(tree, {}, TreeRelation::kSelection), folder);
}

}  // namespace
}  // namespace tavi::platform
