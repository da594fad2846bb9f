#include "res/resource_tables.h"

#include "res/mailboxes_dialog_ids.h"

namespace tavi::res::mailboxes_dialog {

// The prompt over the mailbox tree; beside the tree a column of buttons, the
// two that act on the choice at the top, Cancel and Help set apart below.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      .caption = "Mailboxes",
      .font_name = "Tahoma",
      .font_size = 8,
      .rect = {0, 0, 247, 174},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kSystemMenu |
               platform::dialog_style::kCentered,
      .controls = {
          {kLabel, -1, "Please select the &mailbox for this feed", {7, 7, 170, 8}},
          {kTreeView,
           kMailboxTree,
           "",
           {7, 17, 170, 150},
           kHasButtons | kHasLines | kShowSelectionAlways | kFullRowSelect | kTabStop},
          {kButton, kSelectButton, "&Select", {184, 17, 56, 14}, kDefaultButton | kTabStop},
          {kButton, kCreateNewButton, "Create &New", {184, 35, 56, 14}, kTabStop},
          {kButton, kCancelButton, "&Cancel", {184, 61, 56, 14}, kTabStop},
          {kButton, kHelpButton, "&Help", {184, 79, 56, 14}, kTabStop},
      }};
  return kTemplate;
}

}  // namespace tavi::res::mailboxes_dialog
