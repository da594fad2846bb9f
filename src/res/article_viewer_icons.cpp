#include "res/resource_tables.h"

#include "res/article_viewer_ids.h"
#include "res/icon_drawing.h"
#include "res/icon_parts.h"

namespace tavi::res::article_viewer {
namespace {

using namespace icon_parts;

// The article viewer's window icon and toolbar images, 32 by 32.
std::vector<IconDrawing> Drawings() {
  return {
      // A page with the feed in its corner.
      {kWindowIcon,
       32,
       {R"(<path d="M5.75 2.75h13l6 6v20.5h-19z" fill="#fff" stroke="#3B4754")"
        R"( stroke-width="1.5" stroke-linejoin="round"/>)"
        R"(<path d="M18.75 2.75v6h6" fill="none" stroke="#3B4754" stroke-width="1.5")"
        R"( stroke-linejoin="round"/>)"
        R"(<path d="M9 13h12M9 17h12M9 21h12M9 25h8" stroke="#8A96A3" stroke-width="1.5"/>)"
        R"(<rect x="18.75" y="18.75" width="11.5" height="11.5" rx="2.95455" fill="#EE7D1B")"
        R"( stroke="#C25E0E" stroke-width="1.5"/>)"
        R"(<circle cx="21.8409" cy="27.1591" r="1.41818" fill="#fff"/>)"
        R"(<path d="M21.8409 23.3182a3.84091 3.84091 0 0 1 3.84091 3.84091M21.8409)"
        R"( 20.2455a6.91364 6.91364 0 0 1 6.91364 6.91364" fill="none" stroke="#fff")"
        R"( stroke-width="1.53636" stroke-linecap="round"/>)"}},
      // A letter with a green arrow.
      {kForwardInlineIcon, 32, {kLetter, kForwardArrow}},
      // A letter with a paper clip and a green arrow.
      {kForwardAsAttachmentIcon,
       32,
       {kLetter,
        R"(<path d="M8 28V17.5a2.5 2.5 0 0 1 5 0v9a1.5 1.5 0 0 1-3 0v-8" fill="none")"
        R"( stroke="#3B4754" stroke-width="1.5" stroke-linecap="round"/>)",
        kForwardArrow}},
      // A disk.
      {kSaveAsIcon,
       32,
       {R"(<path d="M3.75 3.75h20.5l4 4v20.5H3.75z" fill="#2F6DB5" stroke="#1F4F8A")"
        R"( stroke-width="1.5" stroke-linejoin="round"/>)"
        R"(<rect x="8" y="4.5" width="14" height="8" fill="#fff"/>)"
        R"(<rect x="18" y="6" width="2.5" height="5" fill="#2F6DB5"/>)"
        R"(<rect x="7.5" y="17" width="17" height="10.5" rx="1" fill="#E9EEF3"/>)"
        R"(<path d="M10 21h12M10 24h12" stroke="#8A96A3"/>)"}},
      // A green arrow into a tray.
      {kTransferIcon,
       32,
       {kTrayBack, kTrayFront,
        R"(<path d="M16 2v14M10 10.5l6 6 6-6" fill="none" stroke="#1F7A31" stroke-width="3.5")"
        R"( stroke-linecap="round" stroke-linejoin="round"/>)"}},
      // A page in front of a globe: the page on the web.
      {kFullArticleIcon,
       32,
       {R"(<circle cx="11.5" cy="12" r="10" fill="#A9C8EC" stroke="#2F6DB5")"
        R"( stroke-width="1.5"/>)"
        R"(<path d="M1.5 12h20M11.5 2c-4.5 3.5-4.5 16.5 0 20M11.5 2c4.5 3.5 4.5 16.5 0 20M3)"
        R"( 7h17M3 17h17" fill="none" stroke="#2F6DB5" stroke-width="1.2"/>)"
        R"(<path d="M14.75 12.75h10l4.5 4.5v12h-14.5z" fill="#fff" stroke="#3B4754")"
        R"( stroke-width="1.5" stroke-linejoin="round"/>)"
        R"(<path d="M17.5 19h9M17.5 22.5h9M17.5 26h6" stroke="#8A96A3" stroke-width="1.5"/>)"}},
      // A page in a tray: the article as the newsbox keeps it.
      {kNewsboxArticleIcon, 32, {kTrayBack, kPageInTray, kTrayFront}},
      // A page with a pencil.
      {kModifiedArticleIcon,
       32,
       {kPage, R"(<path d="M14 27l1-5 11-11 4 4-11 11z" fill="#F1C24B" stroke="#3B4754")"
               R"( stroke-width="1.5" stroke-linejoin="round"/>)"
               R"(<path d="M15 22l4 4" stroke="#3B4754" stroke-width="1.5"/>)"}},
  };
}

}  // namespace

std::span<const platform::IconImage> Icons() {
  static const IconTable table(Drawings());
  return table.Images();
}

}  // namespace tavi::res::article_viewer
