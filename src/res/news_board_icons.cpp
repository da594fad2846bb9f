#include "res/resource_tables.h"

#include "res/icon_drawing.h"
#include "res/icon_parts.h"
#include "res/news_board_ids.h"

namespace tavi::res::news_board {
namespace {

using namespace icon_parts;

// The News Board's window icon and toolbar images, 32 by 32, and its
// headline rows' images, 16 by 16.
std::vector<IconDrawing> Drawings() {
  return {
      // A board of headlines under an orange title.
      {kWindowIcon,
       32,
       {R"(<rect x="1.75" y="3.75" width="28.5" height="24.5" rx="2" fill="#fff")"
        R"( stroke="#3B4754" stroke-width="1.5"/>)"
        R"(<path d="M1.75 5.75a2 2 0 0 1 2-2h24.5a2 2 0 0 1 2 2v4.5h-28.5z" fill="#EE7D1B")"
        R"( stroke="#3B4754" stroke-width="1.5"/>)"
        R"(<path d="M5 14h14M5 18.5h22M5 23h22" stroke="#8A96A3" stroke-width="2"/>)"
        R"(<path d="M5 14h6" stroke="#2F6DB5" stroke-width="2"/>)"}},
      // A page with a bold headline and a blue dot.
      {kUnopenedRowIcon,
       16,
       {R"(<path d="M2.5 1.5h8l3 3v10h-11z" fill="#fff" stroke="#3B4754")"
        R"( stroke-linejoin="round"/>)"
        R"(<path d="M4.5 5.5h5" stroke="#3B4754" stroke-width="2"/>)"
        R"(<path d="M4.5 9h7M4.5 11.5h7" stroke="#8A96A3"/>)"
        R"(<circle cx="12" cy="12" r="3" fill="#2F6DB5" stroke="#fff"/>)"}},
      // The same page in grey, without the dot.
      {kOpenedRowIcon,
       16,
       {R"(<path d="M2.5 1.5h8l3 3v10h-11z" fill="#fff" stroke="#8A96A3")"
        R"( stroke-linejoin="round"/>)"
        R"(<path d="M4.5 5.5h5" stroke="#8A96A3" stroke-width="1"/>)"
        R"(<path d="M4.5 9h7M4.5 11.5h7" stroke="#8A96A3"/>)"}},
      // A page with an arrow out of it.
      {kOpenIcon,
       32,
       {kPage, R"(<path d="M17 25l10-10M20 15h7v7" fill="none" stroke="#2F6DB5" stroke-width="3")"
               R"( stroke-linecap="round" stroke-linejoin="round"/>)"}},
      // A globe.
      {kBrowseIcon,
       32,
       {R"(<circle cx="16" cy="16" r="12.5" fill="#A9C8EC" stroke="#2F6DB5")"
        R"( stroke-width="1.5"/>)"
        R"(<path d="M3.5 16h25M16 3.5c-5.625 4.375-5.625 20.625 0 25M16 3.5c5.625 4.375 5.625)"
        R"( 20.625 0 25M5.375 9.75h21.25M5.375 22.25h21.25" fill="none" stroke="#2F6DB5")"
        R"( stroke-width="1.2"/>)"}},
      // A page with a red cross.
      {kRemoveIcon,
       32,
       {kPage, R"(<path d="M19 18l10 10M29 18l-10 10" stroke="#D23C32" stroke-width="3.5")"
               R"( stroke-linecap="round"/>)"}},
      // A tray with an arrow out of it.
      {kOpenNewsboxIcon,
       32,
       {kTrayBack, kPageInTray, kTrayFront,
        R"(<path d="M16 26V14M11 18.5l5-5 5 5" fill="none" stroke="#1F7A31" stroke-width="3")"
        R"( stroke-linecap="round" stroke-linejoin="round"/>)"}},
  };
}

}  // namespace

std::span<const platform::IconImage> Icons() {
  static const IconTable table(Drawings());
  return table.Images();
}

}  // namespace tavi::res::news_board
