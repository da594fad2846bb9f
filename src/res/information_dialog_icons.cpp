#include "res/resource_tables.h"

#include "res/icon_drawing.h"
#include "res/icon_parts.h"
#include "res/information_dialog_ids.h"

namespace tavi::res::information_dialog {
namespace {

using namespace icon_parts;

// The information dialog's pictures, 32 by 32.
std::vector<IconDrawing> Drawings() {
  return {
      // An empty grey tray.
      {kNoNewArticlesIcon,
       32,
       {R"(<path d="M2.75 18.75l4-12h18.5l4 12z" fill="#E9EEF3" stroke="#8A96A3")"
        R"( stroke-width="1.5" stroke-linejoin="round"/>)"
        R"(<path d="M2.75 18.75h8l1.5 3h7.5l1.5-3h8v9.5H2.75z" fill="#E9EEF3" stroke="#8A96A3")"
        R"( stroke-width="1.5" stroke-linejoin="round"/>)"
        R"(<path d="M12 12.5h8" stroke="#8A96A3" stroke-width="2.5" stroke-linecap="round"/>)"}},
      // A tray of new pages under a green star.
      {kNewArticlesIcon,
       32,
       {kTrayBack, kPageInTray, kTrayFront,
        R"(<path d="M25 0.5L26.6 4.7L31.2 5L27.7 7.9L28.8 12.3L25 9.8L21.2 12.3L22.3 7.9L18.8)"
        R"( 5L23.4 4.7z" fill="#36A048" stroke="#1F7A31" stroke-linejoin="round"/>)"}},
      // A red cross.
      {kAutomationErrorIcon,
       32,
       {R"(<circle cx="16" cy="16" r="13.25" fill="#D23C32" stroke="#A52820")"
        R"( stroke-width="1.5"/>)"
        R"(<path d="M10.5 10.5l11 11M21.5 10.5l-11 11" stroke="#fff" stroke-width="3.5")"
        R"( stroke-linecap="round"/>)"}},
      // A warning triangle.
      {kAliasConflictIcon,
       32,
       {R"(<path d="M16 2.5l14 25.5h-28z" fill="#F1C24B" stroke="#B98C1C" stroke-width="1.5")"
        R"( stroke-linejoin="round"/>)"
        R"(<path d="M16 11v8.5" stroke="#3B4754" stroke-width="3" stroke-linecap="round"/>)"
        R"(<circle cx="16" cy="24" r="1.8" fill="#3B4754"/>)"}},
      // The feed under a magnifying glass.
      {kFeedValidityIcon,
       32,
       {R"(<rect x="1.75" y="1.75" width="20.5" height="20.5" rx="5" fill="#EE7D1B")"
        R"( stroke="#C25E0E" stroke-width="1.5"/>)"
        R"(<circle cx="7.5" cy="16.5" r="2.4" fill="#fff"/>)"
        R"(<path d="M7.5 10a6.5 6.5 0 0 1 6.5 6.5M7.5 4.8a11.7 11.7 0 0 1 11.7 11.7")"
        R"( fill="none" stroke="#fff" stroke-width="2.6" stroke-linecap="round"/>)"
        R"(<circle cx="21" cy="21" r="6" fill="#A9C8EC" fill-opacity="0.6" stroke="#3B4754")"
        R"( stroke-width="2.5"/>)"
        R"(<path d="M25.5 25.5l4.5 4.5" stroke="#3B4754" stroke-width="3.5")"
        R"( stroke-linecap="round"/>)"}},
  };
}

}  // namespace

std::span<const platform::IconImage> Icons() {
  static const IconTable table(Drawings());
  return table.Images();
}

}  // namespace tavi::res::information_dialog
