#pragma once

// The project's pages on the web, which the About box's buttons (and the
// windows' menus that lead to them) open in the browser. One place for them,
// so that a move of the site is one change.

namespace tavi {

inline constexpr const char* kHomePageAddress = "https://tavi.example.org/";
inline constexpr const char* kReleaseNotesAddress = "https://tavi.example.org/release-notes";

}  // namespace tavi
