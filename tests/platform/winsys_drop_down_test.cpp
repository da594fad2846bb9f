#include "platform/winsys_drop_down.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

constexpr int kTypes = 1104;

class DropDownTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    DialogTemplate dialog;
    dialog.caption = "Save As";
    dialog.rect = {0, 0, 200, 60};
    dialog.controls = {
        {ControlKind::kDropDownList, kTypes, "", {7, 7, 150, 12}, control_style::kTabStop}};
    dialog_ = CreateDialog(dialog, {}, log_.Dialog(), 0);
    ShowWindow(dialog_, SW_SHOW);
    list_ = GetDlgItem(dialog_, kTypes);
    for (const char* item : {"News File", "E-Mail File", "Any File Type"})
      AddDropDownItem(list_, item);
  }

  std::vector<testing::Notice> Heard() {
    PumpWaitingMessages();
    std::vector<testing::Notice> heard = log_.Notices();
    log_.ClearNotices();
    return heard;
  }

  WindowHandle dialog_;
  WindowHandle list_;
};

TEST_F(DropDownTest, KeepsItsItemsAndChoiceAndRefusesWhatIsNotThere) {
  EXPECT_EQ(GetClassName(list_), "ComboBox");
  EXPECT_EQ(GetDropDownItemCount(list_), 3);
  EXPECT_EQ(GetDropDownItemText(list_, 1), "E-Mail File");
  EXPECT_EQ(GetDropDownItemText(list_, 3), "");
  EXPECT_EQ(GetDropDownSelection(list_), -1) << "nothing is chosen at first";

  EXPECT_TRUE(SetDropDownSelection(list_, 2));
  EXPECT_FALSE(SetDropDownSelection(list_, 3));
  EXPECT_FALSE(SetDropDownSelection(list_, -2));
  EXPECT_EQ(GetDropDownSelection(list_), 2);
  EXPECT_TRUE(SetDropDownSelection(list_, -1));
  EXPECT_EQ(GetDropDownSelection(list_), -1);

  SetDropDownSelection(list_, 1);
  EXPECT_TRUE(ClearDropDownItems(list_));
  EXPECT_EQ(GetDropDownItemCount(list_), 0);
  EXPECT_EQ(GetDropDownSelection(list_), -1) << "the choice goes with the items";
  EXPECT_EQ(AddDropDownItem(list_, "Text"), 0);

  // Not a drop-down list.
  EXPECT_EQ(AddDropDownItem(dialog_, "x"), -1);
  EXPECT_EQ(GetDropDownItemCount(dialog_), -1);
  EXPECT_FALSE(SetDropDownSelection(dialog_, -1));
  EXPECT_FALSE(ClearDropDownItems({}));
  EXPECT_TRUE(Heard().empty()) << "a program's own changes are told to nobody";
}

TEST_F(DropDownTest, APersonsPickTellsTheParentOnlyWhenTheChoiceChanges) {
  const testing::Notice changed{WM_COMMAND, kTypes, CBN_SELCHANGE};
  struct Step {
    const char* what;
    bool (*act)(WindowHandle list);
    bool taken;
    int selection;
    std::vector<testing::Notice> heard;
  };
  const Step steps[] = {
      {"pick 1",
       [](WindowHandle list) { return InjectDropDownSelection(list, 1); },
       true,
       1,
       {changed}},
      {"pick 1 again",
       [](WindowHandle list) { return InjectDropDownSelection(list, 1); },
       true,
       1,
       {}},
      {"pick beyond",
       [](WindowHandle list) { return InjectDropDownSelection(list, 3); },
       false,
       1,
       {}},
      {"Down",
       [](WindowHandle list) { return InjectKeyPress(list, virtual_key::kDown); },
       true,
       2,
       {changed}},
      // The last item stays chosen.
      {"Down at the end",
       [](WindowHandle list) { return InjectKeyPress(list, virtual_key::kDown); },
       true,
       2,
       {}},
      {"Up",
       [](WindowHandle list) { return InjectKeyPress(list, virtual_key::kUp); },
       true,
       1,
       {changed}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_EQ(step.act(list_), step.taken);
    EXPECT_EQ(Heard(), step.heard);
    EXPECT_EQ(GetDropDownSelection(list_), step.selection);
  }

  EnableWindow(list_, false);
  EXPECT_FALSE(InjectDropDownSelection(list_, 0)) << "a disabled list takes no pick";
}

TEST_F(DropDownTest, TheSnapshotCarriesTheItemsAndTheChoiceWithEachChange) {
  SetDropDownSelection(list_, 2);
  const auto state_of_list = [this](const Snapshot& snapshot) {
    return std::ranges::find_if(
        snapshot.windows, [this](const WindowSnapshot& state) { return state.handle == list_; });
  };
  const Snapshot first = TakeSnapshot();
  const auto list = state_of_list(first);
  ASSERT_NE(list, first.windows.end());
  EXPECT_EQ(list->kind, ControlKind::kDropDownList);
  ASSERT_TRUE(list->drop_down);
  EXPECT_EQ(list->drop_down->items,
            (std::vector<std::string>{"News File", "E-Mail File", "Any File Type"}));
  EXPECT_EQ(list->drop_down->selection, 2);

  SetDropDownSelection(list_, 0);
  const Snapshot second = TakeSnapshot(first.version);
  const auto changed = state_of_list(second);
  ASSERT_NE(changed, second.windows.end()) << "a new choice is a change of the list";
  EXPECT_EQ(changed->drop_down->selection, 0);
}

}  // namespace
}  // namespace tavi::platform
