#include "plugin/about_box.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

void FillPaths(PluginPaths& paths) {
  paths.ProductName = "Tavi";
  paths.VersionText = "2.4";
  paths.ConfigDir = "/srv/mail/plugins";
}

TEST(AboutBox, TextNamesTheProductItsVersionAndWhereItIsInstalled) {
  PluginPaths paths;
  FillPaths(paths);
  EXPECT_EQ(AboutCaption(paths), "About Tavi");
  EXPECT_EQ(AboutText(paths),
            "Tavi\r\nVersion: 2.4 / Final\r\n\r\n"
            "Feeds delivered as messages into your mailboxes.\r\n"
            "Provided as is, without warranty of any kind.\r\n\r\n"
            "Installed in: \r\n/srv/mail/plugins");
}

}  // namespace
}  // namespace tavi
