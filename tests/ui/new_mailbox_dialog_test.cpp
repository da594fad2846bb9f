#include "ui/new_mailbox_dialog.h"

#include <gtest/gtest.h>

#include "platform/winsys.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_input.h"
#include "res/new_mailbox_dialog_ids.h"
#include "support/dialog_person.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::new_mailbox_dialog;

class NewMailboxDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::WriteFile(folder_.Join("Work.mbx"), ""); }

  testing::TempDir folder_;
};

TEST_F(NewMailboxDialogTest, ATakenOrUnusableNameLeavesTheDialogOpenWithoutAWord) {
  NewMailboxDialog dialog(folder_.path());
  const WindowHandle window = dialog.Create({});
  ShowWindow(window, SW_SHOW);
  const WindowHandle edit = GetDlgItem(window, kNameEdit);
  for (const char* name : {"", "work", "Work ", "a:b"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(InjectText(edit, name));
    // Enter presses the default button, OK.
    ASSERT_TRUE(InjectKeyPress(edit, virtual_key::kReturn));
    testing::PumpDialogMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(dialog.Name(), "");
  }
  EXPECT_TRUE(ShownMessageBoxes().empty());
}

TEST_F(NewMailboxDialogTest, OkEndsWithOneAndTheNameEscapeWithZero) {
  struct Case {
    const char* name;
    int key;
    int result;
    const char* accepted;
  };
  const Case cases[] = {{"Workshop", virtual_key::kReturn, 1, "Workshop"},
                        {"Workshop", virtual_key::kEscape, 0, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    testing::DialogPerson person([&c](WindowHandle ask) {
      InjectText(GetDlgItem(ask, kNameEdit), c.name);
      InjectKeyPress(GetDlgItem(ask, kNameEdit), c.key);
    });
    NewMailboxDialog dialog(folder_.path());
    EXPECT_EQ(dialog.RunModal({}), c.result);
    EXPECT_EQ(dialog.Name(), c.accepted);
  }
}

}  // namespace
}  // namespace tavi
