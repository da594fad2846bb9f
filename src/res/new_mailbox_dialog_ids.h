#pragma once

// The New Mailbox dialog's resources by name: dialog 125 and its controls.
// The template itself is in new_mailbox_dialog.cpp.

namespace tavi::res::new_mailbox_dialog {

inline constexpr int kDialog = 125;

// Controls. The prompt above the name has no id.
inline constexpr int kNameEdit = 1077;
inline constexpr int kOkButton = 1075;
inline constexpr int kCancelButton = 1076;

}  // namespace tavi::res::new_mailbox_dialog
