#include "res/resource_tables.h"

#include "res/feed_properties_ids.h"

namespace tavi::res::feed_properties {

// One field under another, each below its label: the alias, the URL with
// Validate beside it, the newsbox; then the three options, the interval
// inside the sentence of the last one; the option picture and the info line;
// OK, Cancel and Help in a row at the bottom right. No button is the default:
// Enter presses none of them.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      .caption = "Feed Properties",
      .font_name = "Tahoma",
      .font_size = 8,
      .rect = {0, 0, 280, 184},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kCentered,
      .controls = {
          {kLabel, -1, "&Alias (Friendly Name):", {7, 7, 266, 8}},
          {kEdit, kAliasEdit, "", {7, 17, 266, 12}, kTabStop},
          {kLabel, -1, "&URL:", {7, 35, 266, 8}},
          {kEdit, kUrlEdit, "", {7, 45, 210, 12}, kTabStop},
          {kButton, kValidateButton, "&Validate", {221, 44, 52, 14}, kFlat | kTabStop},
          {kLabel, -1, "&Newsbox:", {7, 63, 266, 8}},
          {kButton,
           kNewsboxButton,
           "[No newsbox selected]",
           {7, 73, 266, 14},
           kFlat | kPushLike | kTabStop},
          {kCheckBox,
           kReferringArticlesBox,
           "&Download full/referring articles (if available/referred).",
           {7, 94, 266, 10},
           kTabStop},
          {kCheckBox,
           kOnlyNewArticlesBox,
           "Do&wnload only new articles.",
           {7, 107, 266, 10},
           kTabStop},
          {kCheckBox, kAutoCheckBox, "Check for new articles every", {7, 120, 128, 10}, kTabStop},
          // Shown after the interval but listed before it, so that its access
          // key leads to the interval.
          {kLabel, -1, "&minutes.", {176, 121, 40, 8}},
          {kEdit, kIntervalEdit, "", {138, 119, 34, 12}, kDigitsOnly | kTabStop},
          {kIcon, kOptionPicture, "", {7, 138, 21, 20}, 0, kOptionIcons[0]},
          {kLabel, kInfoLine, "", {33, 144, 240, 8}, kCenter | kNoPrefix},
          {kButton, kOkButton, "&OK", {113, 163, 50, 14}, kTabStop},
          {kButton, kCancelButton, "&Cancel", {168, 163, 50, 14}, kTabStop},
          {kButton, kHelpButton, "&Help", {223, 163, 50, 14}, kTabStop},
      }};
  return kTemplate;
}

}  // namespace tavi::res::feed_properties
