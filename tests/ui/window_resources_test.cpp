#include "ui/window_resources.h"

#include <gtest/gtest.h>

#include "platform/module_resources.h"
#include "res/cursors.h"
#include "res/resources.h"

namespace tavi {
namespace {

TEST(WindowResources, EveryIconAndCursorReachesTheFrontEnds) {
  RegisterWindowResources();
  for (const platform::IconImage& icon : res::AllIcons()) {
    SCOPED_TRACE(icon.id);
    EXPECT_EQ(platform::FindIconImage(icon.id), std::string(icon.svg));
  }
  EXPECT_EQ(platform::FindCursor(res::kSplitterCursor.id), "row-resize");
  EXPECT_EQ(platform::FindCursor(res::kBusyCursor.id), "wait");
}

}  // namespace
}  // namespace tavi
