#include "res/resource_tables.h"

#include "res/new_mailbox_dialog_ids.h"

namespace tavi::res::new_mailbox_dialog {

// The prompt over the name, OK and Cancel in a row at the bottom right.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      .caption = "New Mailbox",
      .font_name = "Tahoma",
      .font_size = 8,
      .rect = {0, 0, 200, 58},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kSystemMenu |
               platform::dialog_style::kCentered,
      .controls = {
          {kLabel, -1, "Please specify the name for this new mailbox", {7, 7, 186, 8}},
          {kEdit, kNameEdit, "", {7, 18, 186, 12}, kTabStop},
          {kButton, kOkButton, "&OK", {89, 37, 50, 14}, kDefaultButton | kTabStop},
          {kButton, kCancelButton, "&Cancel", {143, 37, 50, 14}, kTabStop},
      }};
  return kTemplate;
}

}  // namespace tavi::res::new_mailbox_dialog
