#pragma once

// The information dialog's resources by name: dialog 106, its controls and
// the icons it shows beside its text. Its caption and text are composed at run
// time for each message; the template carries stand-ins.

namespace tavi::res::information_dialog {

inline constexpr int kDialog = 106;

// Controls.
inline constexpr int kMessageText = 1032;
inline constexpr int kMessagePicture = 1033;
inline constexpr int kOkButton = 1034;
inline constexpr int kVerifyButton = 1035;

// Icons.
inline constexpr int kNoNewArticlesIcon = 105;
inline constexpr int kNewArticlesIcon = 107;
inline constexpr int kAutomationErrorIcon = 109;
inline constexpr int kAliasConflictIcon = 117;
inline constexpr int kFeedValidityIcon = 1010;  // for a valid and an invalid feed alike

}  // namespace tavi::res::information_dialog
