#include "res/resource_tables.h"

#include "res/icon_drawing.h"
#include "res/product_icon_ids.h"

namespace tavi::res {
namespace {

// Tavi's own icons.
std::vector<IconDrawing> Drawings() {
  return {
      // A letter with the feed on it: feeds delivered as mail. 32 by 32.
      {kPluginIcon,
       32,
       {R"(<rect x="2.75" y="10.75" width="26.5" height="18" rx="1.5" fill="#fff")"
        R"( stroke="#2F6DB5" stroke-width="1.5"/>)"
        R"(<path d="M3.5 12l12.5 9 12.5-9" fill="none" stroke="#2F6DB5" stroke-width="1.5")"
        R"( stroke-linejoin="round"/>)"
        R"(<rect x="17.75" y="1.75" width="12.5" height="12.5" rx="3.18182" fill="#EE7D1B")"
        R"( stroke="#C25E0E" stroke-width="1.5"/>)"
        R"(<circle cx="21.1364" cy="10.8636" r="1.52727" fill="#fff"/>)"
        R"(<path d="M21.1364 6.72727a4.13636 4.13636 0 0 1 4.13636 4.13636M21.1364)"
        R"( 3.41818a7.44545 7.44545 0 0 1 7.44545 7.44545" fill="none" stroke="#fff")"
        R"( stroke-width="1.65455" stroke-linecap="round"/>)"}},
      // A page and a globe: the full article from the web. 16 by 16, a
      // menu image.
      {kTranslatorIcon,
       16,
       {R"(<path d="M1.5 1.5h7l3 3v10h-10z" fill="#fff" stroke="#3B4754")"
        R"( stroke-linejoin="round"/>)"
        R"(<path d="M3.5 6h5M3.5 8.5h5" stroke="#8A96A3"/>)"
        R"(<circle cx="11.5" cy="11.5" r="4" fill="#A9C8EC" stroke="#2F6DB5"/>)"
        R"(<path d="M7.5 11.5h8M11.5 7.5c-2 1.5-2 6.5 0 8M11.5 7.5c2 1.5 2 6.5 0 8")"
        R"( fill="none" stroke="#2F6DB5" stroke-width=".8"/>)"}},
      // A globe sending the feed. 32 by 32.
      {kProductIcon,
       32,
       {R"(<circle cx="13" cy="19" r="11.5" fill="#A9C8EC" stroke="#2F6DB5")"
        R"( stroke-width="1.5"/>)"
        R"(<path d="M1.5 19h23M13 7.5c-5.175 4.025-5.175 18.975 0 23M13 7.5c5.175 4.025 5.175)"
        R"( 18.975 0 23M3.225 13.25h19.55M3.225 24.75h19.55" fill="none" stroke="#2F6DB5")"
        R"( stroke-width="1.2"/>)"
        R"(<path d="M19 4a9 9 0 0 1 9 9M19 8.5a4.5 4.5 0 0 1 4.5 4.5" fill="none")"
        R"( stroke="#EE7D1B" stroke-width="2.8" stroke-linecap="round"/>)"
        R"(<circle cx="19.5" cy="12.5" r="2" fill="#EE7D1B"/>)"}},
  };
}

}  // namespace

std::span<const platform::IconImage> ProductIcons() {
  static const IconTable table(Drawings());
  return table.Images();
}

}  // namespace tavi::res
