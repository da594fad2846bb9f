#include "res/resource_tables.h"

#include "res/about_box_ids.h"
#include "res/product_icon_ids.h"

namespace tavi::res::about_box {

// Tavi's picture beside the text (the product name, version, notices and the
// installation folder: nine lines at most), the project's pages on the left
// of the bottom row and Close on its right.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      // The box shows "About " and the product name read from the module.
      .caption = "About",
      .font_name = "Tahoma",
      .font_size = 8,
      .rect = {0, 0, 250, 107},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kSystemMenu |
               platform::dialog_style::kCentered,
      .icon_id = kPluginIcon,
      .controls = {
          {kIcon, kProductPicture, "", {7, 7, 21, 20}, 0, kPluginIcon},
          {kLabel, kAboutText, "", {35, 7, 208, 72}, kNoPrefix},
          {kButton, kHomePageButton, "&Home Page", {7, 86, 64, 14}, kTabStop},
          {kButton, kReleaseNotesButton, "&Release Notes", {75, 86, 64, 14}, kTabStop},
          {kButton, kCloseButton, "Close", {183, 86, 60, 14}, kDefaultButton | kTabStop},
      }};
  return kTemplate;
}

}  // namespace tavi::res::about_box
