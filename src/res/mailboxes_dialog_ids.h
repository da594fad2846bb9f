#pragma once

// The Mailboxes dialog's resources by name: dialog 112, its controls and the
// images of its mailbox tree. The template itself is in mailboxes_dialog.cpp.

#include <array>

namespace tavi::res::mailboxes_dialog {

inline constexpr int kDialog = 112;

// Controls. The prompt above the tree has no id.
inline constexpr int kMailboxTree = 1051;
inline constexpr int kSelectButton = 1069;
inline constexpr int kCreateNewButton = 1072;
inline constexpr int kCancelButton = 1070;
inline constexpr int kHelpButton = 1071;

// The tree's images, in image-list order.
inline constexpr int kRootIcon = 192;
inline constexpr int kMailboxIcon = 193;
inline constexpr int kClosedFolderIcon = 195;
inline constexpr int kOpenFolderIcon = 194;
inline constexpr std::array<int, 4> kTreeIcons = {kRootIcon, kMailboxIcon, kClosedFolderIcon,
                                                  kOpenFolderIcon};

}  // namespace tavi::res::mailboxes_dialog
