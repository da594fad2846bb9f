#include "ui/mailboxes_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host.h"
#include "platform/winsys.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_tree_view.h"
#include "res/mailboxes_dialog_ids.h"
#include "res/new_mailbox_dialog_ids.h"
#include "support/dialog_person.h"
#include "support/host_test.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::mailboxes_dialog;

// Images of the tree, as the dialog numbers them.
constexpr int kRootImage = 0;
constexpr int kMailboxImage = 1;
constexpr int kClosedFolderImage = 2;
constexpr int kOpenFolderImage = 3;

class MailboxesDialogTest : public testing::HostTest {
 protected:
  int NewFolder(int parent, const std::string& name) {
    return Store().CreateFolder(parent, name).value_or(-1);
  }
  int NewMailbox(int parent, const std::string& name) {
    return Store().CreateMailbox(parent, name).value_or(-1);
  }
  std::string PathOf(int number) { return Store().Item(number)->path; }

  // Opens the picker modeless and shown, so that the test's thread can
  // drive it and look at it between steps.
  WindowHandle Open(const std::string& current_path = "") {
    dialog_ = std::make_unique<MailboxesDialog>(data_.path(), "", current_path);
    const WindowHandle window = dialog_->Create({});
    ShowWindow(window, SW_SHOW);
    tree_ = GetDlgItem(window, kMailboxTree);
    return window;
  }

  TreeItem Root() const { return GetNextTreeItem(tree_, {}, TreeRelation::kRoot); }
  // The child of `parent` showing `text`; none when there is none.
  TreeItem Child(TreeItem parent, const std::string& text) const {
    for (TreeItem item = GetNextTreeItem(tree_, parent, TreeRelation::kChild); item;
         item = GetNextTreeItem(tree_, item, TreeRelation::kNextSibling))
      if (GetTreeItem(tree_, item)->content.text == text) return item;
    return {};
  }
  std::vector<std::string> ChildTexts(TreeItem parent) const {
    std::vector<std::string> texts;
    for (TreeItem item = GetNextTreeItem(tree_, parent, TreeRelation::kChild); item;
         item = GetNextTreeItem(tree_, item, TreeRelation::kNextSibling))
      texts.push_back(GetTreeItem(tree_, item)->content.text);
    return texts;
  }
  TreeItemState State(TreeItem item) const { return GetTreeItem(tree_, item).value(); }
  TreeItem Selection() const { return GetNextTreeItem(tree_, {}, TreeRelation::kSelection); }
  bool SelectEnabled() const {
    return IsWindowEnabled(GetDlgItem(dialog_->Handle(), kSelectButton));
  }
  bool CreateEnabled() const {
    return IsWindowEnabled(GetDlgItem(dialog_->Handle(), kCreateNewButton));
  }

  void Click(TreeItem item, ClickKind kind = ClickKind::kLeft) {
    ASSERT_TRUE(InjectTreeViewClick(tree_, item, kind));
    testing::PumpDialogMessages();
  }
  void PressEnterOnTree() {
    ASSERT_TRUE(InjectKeyPress(tree_, virtual_key::kReturn));
    testing::PumpDialogMessages();
  }
  // Create New, answered in the New Mailbox dialog with `name` and OK.
  void CreateNew(const std::string& name) {
    testing::DialogPerson person("New Mailbox", [name](WindowHandle ask) {
      InjectText(GetDlgItem(ask, res::new_mailbox_dialog::kNameEdit), name);
      InjectClick(GetDlgItem(ask, res::new_mailbox_dialog::kOkButton));
    });
    ASSERT_TRUE(InjectClick(GetDlgItem(dialog_->Handle(), kCreateNewButton)));
    testing::PumpDialogMessages();
    EXPECT_TRUE(person.Acted());
  }

  std::unique_ptr<MailboxesDialog> dialog_;
  WindowHandle tree_;
};

TEST_F(MailboxesDialogTest, TheTreeNestsTheHostsFoldersUnderTheDataFolderEachLevelSorted) {
  const int feeds = NewFolder(host::kTopLevel, "Feeds");
  // A folder that holds only folders, listed by the host out of order.
  NewMailbox(NewFolder(feeds, "b-Tech"), "Daily");
  NewMailbox(NewFolder(feeds, "A-News"), "World");
  NewFolder(host::kTopLevel, "Empty");
  NewMailbox(host::kTopLevel, "Zeta");
  ASSERT_TRUE(Store().SetHidden(NewMailbox(host::kTopLevel, "Hidden"), true));

  Open();

  const TreeItemState root = State(Root());
  EXPECT_EQ(root.content.text, data_.path().substr(data_.path().rfind('/') + 1));
  EXPECT_EQ(root.content.image, kRootImage);
  EXPECT_TRUE(root.expanded);
  EXPECT_EQ(ChildTexts(Root()),
            (std::vector<std::string>{"Empty", "Feeds", "In", "Out", "Trash", "Zeta"}));
  const TreeItem feeds_node = Child(Root(), "Feeds");
  EXPECT_EQ(ChildTexts(feeds_node), (std::vector<std::string>{"A-News", "b-Tech"}));
  EXPECT_EQ(ChildTexts(Child(feeds_node, "b-Tech")), std::vector<std::string>{"Daily"});
  EXPECT_EQ(State(Child(Root(), "Empty")).child_count, 0);
  EXPECT_EQ(State(Child(Root(), "Empty")).content.image, kClosedFolderImage);
  EXPECT_EQ(State(Child(Root(), "Zeta")).content.image, kMailboxImage);
  EXPECT_FALSE(Selection());
  EXPECT_FALSE(SelectEnabled());
  EXPECT_FALSE(CreateEnabled());
}

TEST_F(MailboxesDialogTest, TheNewsboxInANestedFolderIsShownSelectedWithItsFoldersOpen) {
  NewMailbox(NewFolder(host::kTopLevel, "Archive"), "Old");
  const int daily = NewMailbox(NewFolder(NewFolder(host::kTopLevel, "Feeds"), "Tech"), "Daily");

  Open(PathOf(daily));

  const TreeItem feeds = Child(Root(), "Feeds");
  const TreeItem tech = Child(feeds, "Tech");
  EXPECT_EQ(Selection(), Child(tech, "Daily"));
  for (const TreeItem folder : {feeds, tech}) {
    EXPECT_TRUE(State(folder).expanded);
    EXPECT_EQ(State(folder).content.image, kOpenFolderImage);
  }
  // The walk opens every folder it passes on its way.
  EXPECT_TRUE(State(Child(Root(), "Archive")).expanded);
  EXPECT_TRUE(SelectEnabled());
  EXPECT_FALSE(CreateEnabled());
}

TEST_F(MailboxesDialogTest, OnlyAMailboxCanBeSelectedAndOnlyAFolderOrTheRootCreatedIn) {
  const int feeds = NewFolder(host::kTopLevel, "Feeds");
  const int news = NewMailbox(feeds, "News");
  ASSERT_TRUE(Store().AddMessage(news, "Subject: s\r\n\r\nbody"));
  const WindowHandle window = Open();

  Click(Child(Root(), "Feeds"));
  EXPECT_FALSE(SelectEnabled());
  EXPECT_TRUE(CreateEnabled());
  PressEnterOnTree();
  EXPECT_TRUE(IsWindowVisible(window)) << "Enter on a folder chooses nothing";
  EXPECT_FALSE(dialog_->Chosen());

  Click(Root());
  EXPECT_FALSE(SelectEnabled());
  EXPECT_TRUE(CreateEnabled());

  Click(Child(Child(Root(), "Feeds"), "News"), ClickKind::kDouble);
  EXPECT_FALSE(IsWindowVisible(window));
  const MailboxEntry expected{"News", PathOf(news), news, MailboxKind::kMailbox, 1};
  EXPECT_EQ(dialog_->Chosen(), expected);
}

TEST_F(MailboxesDialogTest, AFolderShowsItsOpenImageOnlyWhileItIsExpanded) {
  NewMailbox(NewFolder(host::kTopLevel, "Feeds"), "News");
  Open();
  const TreeItem feeds = Child(Root(), "Feeds");

  ASSERT_TRUE(InjectTreeViewExpand(tree_, feeds, true));
  testing::PumpDialogMessages();
  EXPECT_EQ(State(feeds).content.image, kOpenFolderImage);
  ASSERT_TRUE(InjectTreeViewExpand(tree_, feeds, false));
  testing::PumpDialogMessages();
  EXPECT_EQ(State(feeds).content.image, kClosedFolderImage);
}

TEST_F(MailboxesDialogTest, AMailboxMadeWithCreateNewIsSortedInSelectedAndCanBeChosenAtOnce) {
  const int feeds = NewFolder(host::kTopLevel, "Feeds");
  NewMailbox(feeds, "Alpha");
  NewMailbox(feeds, "Omega");
  Open();
  Click(Child(Root(), "Feeds"));

  CreateNew("Middle");

  const TreeItem feeds_node = Child(Root(), "Feeds");
  EXPECT_EQ(ChildTexts(feeds_node), (std::vector<std::string>{"Alpha", "Middle", "Omega"}));
  EXPECT_EQ(Selection(), Child(feeds_node, "Middle"));
  EXPECT_EQ(GetThreadFocus(CurrentThreadId()), tree_);
  PressEnterOnTree();
  const MailboxEntry expected{"Middle", PathOf(feeds) + "/Middle.mbx", kCreatedMailboxNumber,
                              MailboxKind::kMailbox, 0};
  EXPECT_EQ(dialog_->Chosen(), expected);
}

TEST_F(MailboxesDialogTest, ATopLevelMailboxKeepsTheTypedNameWithTheFileTheHostMade) {
  Open();
  Click(Root());

  CreateNew("Tom's News");

  EXPECT_EQ(State(Selection()).content.text, "Tom's News");
  PressEnterOnTree();
  ASSERT_TRUE(dialog_->Chosen());
  EXPECT_EQ(dialog_->Chosen()->name, "Tom's News");
  EXPECT_EQ(dialog_->Chosen()->path, data_.Join("Toms News.mbx"));
}

TEST_F(MailboxesDialogTest, ANameTheHostTakesForAnExistingMailboxAddsNothing) {
  NewMailbox(host::kTopLevel, "Work");
  Open();
  Click(Root());
  const std::vector<std::string> before = ChildTexts(Root());

  // New Mailbox lets the leading blank through; the host drops it and
  // answers with the user's own Work.
  CreateNew(" Work");

  EXPECT_EQ(ChildTexts(Root()), before);
  EXPECT_EQ(Selection(), Root());
}

TEST_F(MailboxesDialogTest, WithoutTheAutomationServerOnlyTheRootIsShownAndNothingIsCreated) {
  host_->SetAutomationEnabled(false);
  const WindowHandle window = Open(data_.Join("In.mbx"));
  EXPECT_TRUE(ChildTexts(Root()).empty());
  Click(Root());

  CreateNew("News");

  EXPECT_TRUE(ChildTexts(Root()).empty());
  EXPECT_EQ(ShownMessageBoxes().size(), 1u) << "the failed connection is reported";
  PressEnterOnTree();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(dialog_->Chosen());
}

TEST_F(MailboxesDialogTest, TheAutomationServerGoingAwayWhileOpenLosesNothingShown) {
  const int news = NewMailbox(host::kTopLevel, "News");
  Open();
  host_->SetAutomationEnabled(false);
  Click(Root());

  CreateNew("Fresh");

  EXPECT_EQ(ChildTexts(Root()), (std::vector<std::string>{"In", "News", "Out", "Trash"}));
  Click(Child(Root(), "News"), ClickKind::kDouble);
  ASSERT_TRUE(dialog_->Chosen());
  EXPECT_EQ(dialog_->Chosen()->path, PathOf(news));
}

TEST_F(MailboxesDialogTest, CancelAndEscapeChooseNothing) {
  NewMailbox(host::kTopLevel, "News");
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "Cancel");
    testing::DialogPerson person([escape](WindowHandle picker) {
      const WindowHandle tree = GetDlgItem(picker, kMailboxTree);
      InjectTreeViewClick(tree, GetNextTreeItem(tree, {}, TreeRelation::kRoot), ClickKind::kLeft);
      if (escape)
        InjectKeyPress(tree, virtual_key::kEscape);
      else
        InjectClick(GetDlgItem(picker, kCancelButton));
    });
    EXPECT_FALSE(PickMailbox({}, data_.path(), "", data_.Join("News.mbx")));
    EXPECT_TRUE(person.Acted());
  }
}

}  // namespace
}  // namespace tavi
