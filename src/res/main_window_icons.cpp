#include "res/resource_tables.h"

#include "res/icon_drawing.h"
#include "res/icon_parts.h"
#include "res/main_window_ids.h"

namespace tavi::res::main_window {
namespace {

using namespace icon_parts;

// The main window's list images, 16 by 16: a feed with three marks for its
// options (a page: full articles, a dot: only new ones, a diamond: checked on
// its own; grey when off), and a tray for each newsbox. Its decoration is
// 32 by 32.
std::vector<IconDrawing> Drawings() {
  constexpr std::string_view kFeed =
      R"(<rect x="0.5" y="3" width="10" height="10" rx="2.5" fill="#EE7D1B")"
      R"( stroke="#C25E0E"/>)"
      R"(<circle cx="3.5" cy="10" r="1.3" fill="#fff"/>)"
      R"(<path d="M3.5 7a3 3 0 0 1 3 3M3.5 4.5a5.5 5.5 0 0 1 5.5 5.5" fill="none")"
      R"( stroke="#fff" stroke-width="1.4"/>)";
  constexpr OptionMark kFullArticles{
      R"(<rect x="12.5" y="1.5" width="3" height="3.5" fill="#2F6DB5" stroke="#2F6DB5"/>)",
      R"(<rect x="12.5" y="1.5" width="3" height="3.5" fill="none" stroke="#C5CDD6"/>)"};
  constexpr OptionMark kOnlyNew{
      R"(<circle cx="14" cy="8.5" r="1.6" fill="#36A048" stroke="#36A048"/>)",
      R"(<circle cx="14" cy="8.5" r="1.6" fill="none" stroke="#C5CDD6"/>)"};
  constexpr OptionMark kOwnSchedule{
      R"(<path d="M14 12l2 2-2 2-2-2z" fill="#7D55C7" stroke="#7D55C7")"
      R"( stroke-linejoin="round"/>)",
      R"(<path d="M14 12l2 2-2 2-2-2z" fill="none" stroke="#C5CDD6" stroke-linejoin="round"/>)"};
  std::vector<IconDrawing> drawings =
      FeedOptionDrawings(kFeedRowIcons, 16, kFeed, {kFullArticles, kOnlyNew, kOwnSchedule});
  drawings.insert(
      drawings.end(),
      {
          // An empty grey tray.
          {kEmptyNewsboxIcon,
           16,
           {R"(<path d="M1.5 9.5l2-6h9l2 6z" fill="#E9EEF3" stroke="#8A96A3")"
            R"( stroke-linejoin="round"/>)"
            R"(<path d="M1.5 9.5h4l1 1.5h3l1-1.5h4v5h-13z" fill="#E9EEF3" stroke="#8A96A3")"
            R"( stroke-linejoin="round"/>)"}},
          // A tray holding a page.
          {kReadNewsboxIcon, 16, {kSmallTrayBack, kSmallPageInTray, kSmallTrayFront}},
          // The same with an orange dot for unread messages.
          {kUnreadNewsboxIcon,
           16,
           {kSmallTrayBack, kSmallPageInTray, kSmallTrayFront,
            R"(<circle cx="12.5" cy="3.5" r="2.5" fill="#EE7D1B" stroke="#fff"/>)"}},
          // Feeds stacked one on another.
          {kDecorationIcon,
           32,
           {R"(<rect x="10.75" y="1.75" width="19.5" height="19.5" rx="4" fill="#F6B27A")"
            R"( stroke="#C25E0E" stroke-width="1.5"/>)"
            R"(<rect x="6.25" y="6.25" width="19.5" height="19.5" rx="4" fill="#F29449")"
            R"( stroke="#C25E0E" stroke-width="1.5"/>)"
            R"(<rect x="1.75" y="10.75" width="19.5" height="19.5" rx="4.77273" fill="#EE7D1B")"
            R"( stroke="#C25E0E" stroke-width="1.5"/>)"
            R"(<circle cx="7.20455" cy="24.7955" r="2.29091" fill="#fff"/>)"
            R"(<path d="M7.20455 18.5909a6.20455 6.20455 0 0 1 6.20455 6.20455M7.20455)"
            R"( 13.6273a11.1682 11.1682 0 0 1 11.1682 11.1682" fill="none" stroke="#fff")"
            R"( stroke-width="2.48182" stroke-linecap="round"/>)"}},
      });
  return drawings;
}

}  // namespace

std::span<const platform::IconImage> Icons() {
  static const IconTable table(Drawings());
  return table.Images();
}

}  // namespace tavi::res::main_window
