#include "plugin/about_box.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/winsys_dialog.h"
#include "platform/winsys_input.h"
#include "res/about_box_ids.h"
#include "support/dialog_person.h"
#include "support/host_test.h"

namespace tavi {
namespace {

void FillPaths(PluginPaths& paths) {
  paths.ProductName = "Tavi";
  paths.VersionText = "2.4";
  paths.ConfigDir = "/home/reader/Mail/plugins";
}

TEST(AboutBox, TextNamesTheProductItsVersionAndWhereItIsInstalled) {
  PluginPaths paths;
  FillPaths(paths);
  EXPECT_EQ(AboutCaption(paths), "About Tavi");
  EXPECT_EQ(AboutText(paths),
            "Tavi\r\nVersion: 2.4 / Final\r\n\r\n"
            "Feeds delivered as messages into your mailboxes.\r\n"
            "Provided as is, without warranty of any kind.\r\n\r\n"
            "Installed in: \r\n/home/reader/Mail/plugins");
}

using AboutBoxTest = testing::HostTest;

TEST_F(AboutBoxTest, ShowsTheBoxOverTheHostsMainWindowUntilItIsClosed) {
  PluginPaths paths;
  FillPaths(paths);
  std::string caption;
  std::string text;
  platform::WindowHandle owner;
  testing::DialogPerson person([&](platform::WindowHandle dialog) {
    caption = platform::GetWindowText(dialog);
    text = platform::GetDlgItemText(dialog, res::about_box::kAboutText);
    owner = platform::GetOwner(dialog);
    platform::InjectClick(platform::GetDlgItem(dialog, res::about_box::kCloseButton));
  });

  ShowAboutBox(paths);

  ASSERT_TRUE(person.Acted());
  EXPECT_EQ(caption, "About Tavi");
  EXPECT_EQ(text, AboutText(paths));
  EXPECT_EQ(owner, host_->Windows().MainWindow());
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

}  // namespace
}  // namespace tavi
