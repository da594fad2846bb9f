#include "platform/winsys_shell.h"

#include <gtest/gtest.h>

#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

class ShellTest : public testing::WinsysTest {};

TEST_F(ShellTest, WithoutAHandlerRequestsAreRecordedAndSucceed) {
  const WindowHandle owner = MakeWindow("TaviAggregatorMainWindow", "");
  EXPECT_GT(ShellExecute(owner, "open", "http://example.com/check.cgi?url=x", "", SW_SHOWNORMAL),
            32);
  EXPECT_GT(WinExec("HH.EXE  mk:@MSITStore:tavi.chm::/Settings.htm", SW_SHOWNORMAL), 31);

  const std::vector<ShellRequest> shown = ShownShellRequests();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].kind, ShellRequest::Kind::kOpen);
  EXPECT_EQ(shown[0].owner, owner);
  EXPECT_EQ(shown[0].verb, "open");
  EXPECT_EQ(shown[0].target, "http://example.com/check.cgi?url=x");
  EXPECT_EQ(shown[1].kind, ShellRequest::Kind::kRun);
  EXPECT_EQ(shown[1].target, "HH.EXE  mk:@MSITStore:tavi.chm::/Settings.htm");
}

TEST_F(ShellTest, AFailingHandlerGivesResultsThatCallersTakeForFailure) {
  std::vector<std::string> handled;
  SetShellHandler([&](const ShellRequest& request) {
    handled.push_back(request.target + "|" + request.parameters);
    return request.kind == ShellRequest::Kind::kOpen;
  });

  EXPECT_GT(ShellExecute({}, "open", "Iexplore.exe", "http://example.com/", SW_SHOWNORMAL), 32);
  EXPECT_LE(WinExec("HH.EXE  mk:@MSITStore:missing.chm::/Settings.htm", SW_SHOWNORMAL), 31);

  EXPECT_EQ(handled,
            (std::vector<std::string>{"Iexplore.exe|http://example.com/",
                                      "HH.EXE  mk:@MSITStore:missing.chm::/Settings.htm|"}));
  EXPECT_EQ(ShownShellRequests().size(), 2u);
}

}  // namespace
}  // namespace tavi::platform
