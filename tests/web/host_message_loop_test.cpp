#include "web/host_message_loop.h"

#include <gtest/gtest.h>

#include "platform/winsys_focus.h"
#include "platform/winsys_test_support.h"

namespace tavi::web {
namespace {

class HostMessageLoopTest : public testing::WinsysTest {};

// A person's Tab and Escape in a modeless dialog reach its dialog manager,
// not only the focused control.
TEST_F(HostMessageLoopTest, DialogKeysOfModelessDialogsWorkInTheHostsLoop) {
  platform::DialogTemplate dialog_template;
  dialog_template.caption = "Feeds";
  dialog_template.rect = {0, 0, 100, 60};
  dialog_template.controls = {
      {platform::ControlKind::kEdit, 10, "", {5, 5, 50, 12}, platform::control_style::kTabStop},
      {platform::ControlKind::kButton,
       11,
       "OK",
       {5, 20, 50, 14},
       platform::control_style::kTabStop},
  };
  const platform::WindowHandle dialog =
      platform::CreateDialog(dialog_template, {}, log_.Dialog(), 0);
  platform::ShowWindow(dialog, platform::SW_SHOW);
  platform::SetFocus(platform::GetDlgItem(dialog, 10));
  ASSERT_TRUE(platform::InjectKeyPress({}, platform::virtual_key::kTab));
  ASSERT_TRUE(platform::InjectKeyPress({}, platform::virtual_key::kEscape));
  platform::PostQuitMessage(0);
  RunHostMessageLoop();
  EXPECT_EQ(platform::GetFocus(), platform::GetDlgItem(dialog, 11));
  const std::vector<testing::Notice> notices = log_.Notices();
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices.back(), (testing::Notice{platform::WM_COMMAND, platform::IDCANCEL, 0}));
}

}  // namespace
}  // namespace tavi::web
