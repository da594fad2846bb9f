#include "platform/module_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavi::platform {
namespace {

TEST(ModuleResources, ImagesAndCursorsOutliveWhatRegisteredThem) {
  {
    std::string svg = "<svg viewBox=\"0 0 16 16\"></svg>";
    const std::vector<IconImage> images = {{7001, svg}};
    RegisterIconImages(images);
    svg.assign(svg.size(), 'x');  // the module's copy goes away
    RegisterCursor(7080, "row-resize");
  }
  EXPECT_EQ(FindIconImage(7001), "<svg viewBox=\"0 0 16 16\"></svg>");
  EXPECT_EQ(FindCursor(7080), "row-resize");
  EXPECT_EQ(FindIconImage(7002), std::nullopt);
  EXPECT_EQ(FindCursor(7002), std::nullopt);
  // Registering an id again replaces it.
  RegisterCursor(7080, "wait");
  EXPECT_EQ(FindCursor(7080), "wait");
}

}  // namespace
}  // namespace tavi::platform
