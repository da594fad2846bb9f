#include "platform/save_file_dialog_template.h"

#include "platform/winsys.h"
#include "platform/winsys_dialog.h"

namespace tavi::platform::save_file_dialog {

// The folder's path and Up across the top, the folder's contents below, and
// the name and type fields beside Save and Cancel at the bottom.
DialogTemplate Template(const std::string& caption) {
  using namespace control_style;
  using enum ControlKind;
  constexpr std::uint32_t kList =
      kTabStop | kSingleSelection | kShowSelectionAlways | kFullRowSelect;
  return {.caption = caption,
          .class_name = kDialogClass,
          .font_name = "Tahoma",
          .font_size = 8,
          .rect = {0, 0, 280, 180},
          .style = dialog_style::kCaption | dialog_style::kSystemMenu | dialog_style::kCentered,
          .controls = {
              {kLabel, -1, "Save &in:", {7, 9, 40, 8}},
              {kLabel, kFolderPath, "", {50, 9, 180, 8}, kNoPrefix},
              {kButton, kUpButton, "&Up", {236, 6, 37, 14}, kTabStop},
              {kListView, kFileList, "", {7, 25, 266, 108}, kList},
              {kLabel, -1, "File &name:", {7, 142, 52, 8}},
              {kEdit, kFileName, "", {62, 140, 150, 12}, kTabStop},
              {kLabel, -1, "Save as &type:", {7, 160, 52, 8}},
              {kDropDownList, kFileType, "", {62, 158, 150, 12}, kTabStop},
              {kButton, IDOK, "&Save", {221, 139, 52, 14}, kTabStop | kDefaultButton},
              {kButton, IDCANCEL, "Cancel", {221, 157, 52, 14}, kTabStop},
          }};
}

}  // namespace tavi::platform::save_file_dialog
