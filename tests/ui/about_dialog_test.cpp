#include "ui/about_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_test_support.h"
#include "res/about_box_ids.h"
#include "support/dialog_person.h"
#include "ui/project_pages.h"

namespace tavi {
namespace {

using namespace platform;
using namespace res::about_box;

using AboutDialogTest = testing::WinsysTest;

TEST_F(AboutDialogTest, ShowsItsCaptionAndTextOverItsOwnerAndCloseEndsIt) {
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  std::string caption;
  std::string text;
  WindowHandle owner_seen;
  bool close_focused = false;
  testing::DialogPerson person([&](WindowHandle dialog) {
    caption = GetWindowText(dialog);
    text = GetDlgItemText(dialog, kAboutText);
    owner_seen = GetOwner(dialog);
    close_focused = GetThreadFocus(GetWindowThreadId(dialog)) == GetDlgItem(dialog, kCloseButton);
    InjectClick(GetDlgItem(dialog, kCloseButton));
  });
  AboutDialog about("About Tavi", "Tavi\r\nVersion: 0.1 / Final");

  EXPECT_EQ(about.RunModal(owner), IDOK);

  EXPECT_EQ(caption, "About Tavi");
  EXPECT_EQ(text, "Tavi\r\nVersion: 0.1 / Final");
  EXPECT_EQ(owner_seen, owner);
  EXPECT_TRUE(close_focused);
  EXPECT_TRUE(ShownShellRequests().empty());
}

TEST_F(AboutDialogTest, ThePageButtonsOpenTheProjectsPagesAndTheBoxStaysOpen) {
  testing::DialogPerson person([&](WindowHandle dialog) {
    InjectClick(GetDlgItem(dialog, kHomePageButton));
    InjectClick(GetDlgItem(dialog, kReleaseNotesButton));
    // Reaches the box only if the pages left it open.
    InjectClick(GetDlgItem(dialog, kHomePageButton));
    InjectClick(GetDlgItem(dialog, kCloseButton));
  });
  AboutDialog about("About Tavi", "Tavi");

  EXPECT_EQ(about.RunModal({}), IDOK);

  std::vector<std::string> opened;
  for (const ShellRequest& request : ShownShellRequests()) {
    EXPECT_EQ(request.kind, ShellRequest::Kind::kOpen);
    EXPECT_EQ(request.verb, "open");
    EXPECT_EQ(request.show, SW_SHOWNORMAL);
    opened.push_back(request.target);
  }
  EXPECT_EQ(opened,
            (std::vector<std::string>{kHomePageAddress, kReleaseNotesAddress, kHomePageAddress}));
}

TEST_F(AboutDialogTest, EnterClosesTheBoxRatherThanOpenAPage) {
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  // Queued before the box exists: its focus takes them. Escape ends a box
  // that Enter failed to end, with another result.
  ASSERT_TRUE(InjectKeyPress({}, virtual_key::kReturn));
  ASSERT_TRUE(InjectKeyPress({}, virtual_key::kEscape));
  AboutDialog about("About Tavi", "Tavi");

  EXPECT_EQ(about.RunModal(owner), IDOK);
  EXPECT_TRUE(ShownShellRequests().empty());
}

}  // namespace
}  // namespace tavi
