#include "res/resource_tables.h"

#include "res/main_window_ids.h"
#include "res/product_icon_ids.h"

namespace tavi::res::main_window {

// The newsboxes on the left; on the right the feeds with the buttons that
// change them, the selected feed's last article and a decoration; below, the
// download's progress beside Download and Stop, and the window's own buttons
// along the bottom. The window has no close box: Close is the way out.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      .caption = "Tavi",
      .class_name = std::string(kWindowClass),
      .font_name = "Tahoma",
      .font_size = 8,
      .rect = {0, 0, 360, 207},
      .style = platform::dialog_style::kCaption,
      .icon_id = kPluginIcon,
      .controls = {
          {kLabel, kNewsboxesLabel, "News&boxes:", {7, 7, 120, 8}},
          {kListView,
           kNewsboxesList,
           "",
           {7, 17, 120, 122},
           kSingleSelection | kShowSelectionAlways | kNoColumnHeader | kTabStop},
          {kGroupBox, kFeedsGroup, "&Feeds", {134, 4, 219, 135}},
          {kListView,
           kFeedsList,
           "",
           {141, 16, 150, 97},
           kShowSelectionAlways | kNoColumnHeader | kTabStop},
          {kButton, kAddButton, "&Add", {298, 16, 48, 14}, kTabStop},
          {kButton, kEditButton, "&Edit", {298, 33, 48, 14}, kTabStop},
          {kButton, kDeleteButton, "&Delete", {298, 50, 48, 14}, kTabStop},
          {kIcon, kDecorationPicture, "", {312, 93, 21, 20}, 0, kDecorationIcon},
          {kLabel, kInfoLine, "", {141, 117, 205, 18}, kNoPrefix},
          {kIcon, kActivityPicture, "", {7, 147, 21, 20}, 0, kActivityIcon},
          {kLabel, kGeneralLine, "", {34, 146, 246, 8}, kNoPrefix},
          {kProgressBar, kDownloadProgress, "", {34, 156, 246, 9}},
          {kLabel, kDetailsLine, "", {34, 167, 246, 8}, kNoPrefix},
          {kButton, kDownloadButton, "D&ownload", {287, 145, 66, 14}, kDefaultButton | kTabStop},
          {kButton, kStopButton, "&Stop", {287, 162, 66, 14}, kTabStop},
          {kButton, kNewsboardButton, "&Newsboard", {7, 186, 60, 14}, kTabStop},
          {kButton, kHelpButton, "&Help", {226, 186, 60, 14}, kTabStop},
          {kButton, kCloseButton, "&Close", {293, 186, 60, 14}, kTabStop},
      }};
  return kTemplate;
}

// F1 opens the help, Shift+F1 the About box, ahead of the dialog's own keys.
const platform::AcceleratorTable& Accelerators() {
  static const platform::AcceleratorTable kTable{
      .id = kAccelerators,
      .entries = {
          {platform::virtual_key::kF1, 0, kHelpCommand},
          {platform::virtual_key::kF1, platform::key_modifier::kShift, kAboutCommand},
      }};
  return kTable;
}

}  // namespace tavi::res::main_window
