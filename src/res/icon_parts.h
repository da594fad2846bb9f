#pragma once

// Parts that several windows' icons draw alike, so that a page or a tray
// looks the same in every window.

#include <string_view>

namespace tavi::res::icon_parts {

// On 32 by 32.

// A page with a folded corner and four lines of text.
inline constexpr std::string_view kPage =
    R"(<path d="M3.75 2.75h13l6 6v20.5h-19z" fill="#fff" stroke="#3B4754")"
    R"( stroke-width="1.5" stroke-linejoin="round"/>)"
    R"(<path d="M16.75 2.75v6h6" fill="none" stroke="#3B4754" stroke-width="1.5")"
    R"( stroke-linejoin="round"/>)"
    R"(<path d="M7 13h12M7 17h12M7 21h12M7 25h8" stroke="#8A96A3" stroke-width="1.5"/>)";

// A tray, drawn as its back, what it holds, then its front.
inline constexpr std::string_view kTrayBack =
    R"(<path d="M2.75 18.75l4-12h18.5l4 12z" fill="#E9EEF3" stroke="#2F6DB5")"
    R"( stroke-width="1.5" stroke-linejoin="round"/>)";
inline constexpr std::string_view kPageInTray =
    R"(<path d="M8.75 20v-16.25h14.5v16.25" fill="#fff" stroke="#8A96A3")"
    R"( stroke-width="1.5"/>)"
    R"(<path d="M11.5 8h9M11.5 11h9M11.5 14h6" stroke="#8A96A3" stroke-width="1.5"/>)";
inline constexpr std::string_view kTrayFront =
    R"(<path d="M2.75 18.75h8l1.5 3h7.5l1.5-3h8v9.5H2.75z" fill="#A9C8EC" stroke="#2F6DB5")"
    R"( stroke-width="1.5" stroke-linejoin="round"/>)";

// A letter seen from the front, and a green arrow pointing right below it.
inline constexpr std::string_view kLetter =
    R"(<rect x="2.75" y="3.75" width="26.5" height="18" rx="1.5" fill="#fff")"
    R"( stroke="#2F6DB5" stroke-width="1.5"/>)"
    R"(<path d="M3.5 5l12.5 9 12.5-9" fill="none" stroke="#2F6DB5" stroke-width="1.5")"
    R"( stroke-linejoin="round"/>)";
inline constexpr std::string_view kForwardArrow =
    R"(<path d="M17 21.5h6v-4l7.5 6.5-7.5 6.5v-4h-6z" fill="#36A048" stroke="#1F7A31")"
    R"( stroke-linejoin="round"/>)";

// On 16 by 16: a tray as above, and the page it may hold.
inline constexpr std::string_view kSmallTrayBack =
    R"(<path d="M1.5 9.5l2-6h9l2 6z" fill="#E9EEF3" stroke="#2F6DB5")"
    R"( stroke-linejoin="round"/>)";
inline constexpr std::string_view kSmallPageInTray =
    R"(<path d="M4.5 9.5v-7h7v7" fill="#fff" stroke="#8A96A3"/>)"
    R"(<path d="M6 4.5h4M6 6.5h4" stroke="#8A96A3"/>)";
inline constexpr std::string_view kSmallTrayFront =
    R"(<path d="M1.5 9.5h4l1 1.5h3l1-1.5h4v5h-13z" fill="#A9C8EC" stroke="#2F6DB5")"
    R"( stroke-linejoin="round"/>)";

}  // namespace tavi::res::icon_parts
