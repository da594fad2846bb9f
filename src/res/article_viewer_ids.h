#pragma once

// The article viewer's resources by name: dialog 124 and its controls, its
// menu bar 215 and toolbar 218 with their commands, and its icons. The
// template, the menu bar and the toolbar are in article_viewer.cpp.

namespace tavi::res::article_viewer {

inline constexpr int kDialog = 124;
inline constexpr int kMenuBar = 215;
inline constexpr int kToolbarResource = 218;

// Controls: the browser and the raw-text pane take the same place, and only
// one of them is shown at a time.
inline constexpr int kArticleBrowser = 1041;
inline constexpr int kSourcePane = 1068;
// The toolbar the viewer creates along its top edge.
inline constexpr int kToolbar = 59392;

// The "&Article" menu.
inline constexpr int kForwardInlineCommand = 32778;
inline constexpr int kForwardAsAttachmentCommand = 32779;
inline constexpr int kSaveAsCommand = 32790;
inline constexpr int kPrintCommand = 32812;
inline constexpr int kCloseCommand = 32782;

// The "&View" menu.
inline constexpr int kFullArticleCommand = 32796;
inline constexpr int kNewsboxArticleCommand = 32797;
inline constexpr int kModifiedArticleCommand = 32798;
inline constexpr int kSourceCommand = 32799;

// The "&File" menu (the Transfer menu): the viewer replaces the placeholder
// by "&In" and one entry per host mailbox, whose command is the mailbox's
// host number.
inline constexpr int kTransferPlaceholderCommand = 32783;
inline constexpr int kInCommand = 3;

// The "&Tools" menu, whose entries stay disabled.
inline constexpr int kEditCommand = 32793;
inline constexpr int kHtmlTidyCommand = 32788;
inline constexpr int kStripHtmlCommand = 32789;
inline constexpr int kRemoveLineBreaksCommand = 32787;

// The "&Window" menu.
inline constexpr int kMaximizeCommand = 32791;
inline constexpr int kRestoreCommand = 32795;
inline constexpr int kMinimizeCommand = 32792;
inline constexpr int kStretchCommand = 32794;
inline constexpr int kCenterCommand = 32800;

// The "&Help" menu.
inline constexpr int kTopicsCommand = 32811;
inline constexpr int kReleaseNotesCommand = 32780;
inline constexpr int kAboutCommand = 32781;

// Commands of the toolbar.
inline constexpr int kForwardInlineButton = 32801;
inline constexpr int kForwardAsAttachmentButton = 32802;
inline constexpr int kSaveAsButton = 32803;
inline constexpr int kTransferButton = 32804;  // drops the "&File" menu down
inline constexpr int kFullArticleButton = 32805;
inline constexpr int kNewsboxArticleButton = 32806;
inline constexpr int kModifiedArticleButton = 32807;  // always disabled
inline constexpr int kAboutButton = 32808;

// Icons: the window's own and the toolbar's (its About button shows
// kProductIcon).
inline constexpr int kWindowIcon = 1013;
inline constexpr int kForwardInlineIcon = 226;
inline constexpr int kForwardAsAttachmentIcon = 227;
inline constexpr int kSaveAsIcon = 221;
inline constexpr int kTransferIcon = 222;
inline constexpr int kFullArticleIcon = 223;
inline constexpr int kNewsboxArticleIcon = 224;
inline constexpr int kModifiedArticleIcon = 225;

}  // namespace tavi::res::article_viewer
