#include "res/resource_tables.h"

#include "res/information_dialog_ids.h"

namespace tavi::res::information_dialog {

// The message's picture beside ten lines of text, Verify this Feed... and OK
// in a row at the bottom right.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      // Every message composes its own caption.
      .caption = "Tavi",
      .font_name = "Tahoma",
      .font_size = 8,
      .rect = {0, 0, 267, 116},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kSystemMenu |
               platform::dialog_style::kCentered,
      .controls = {
          {kIcon, kMessagePicture, "", {7, 7, 21, 20}, 0, kFeedValidityIcon},
          {kLabel, kMessageText, "", {35, 7, 225, 80}, kNoPrefix},
          {kButton, kVerifyButton, "&Verify this Feed...", {130, 95, 76, 14}, kTabStop},
          {kButton, kOkButton, "&OK", {210, 95, 50, 14}, kDefaultButton | kTabStop},
      }};
  return kTemplate;
}

}  // namespace tavi::res::information_dialog
