#include "res/resource_tables.h"

#include "res/feed_properties_ids.h"
#include "res/icon_drawing.h"

namespace tavi::res::feed_properties {
namespace {

// The option pictures, 32 by 32: the feed with a mark for each option in a
// column beside it (a page: full articles, a star: only new ones, a clock:
// checked on its own), each drawn in grey when the option is off. They match
// the main window's Feeds list images.
std::vector<IconDrawing> Drawings() {
  constexpr std::string_view kFeed =
      R"(<rect x="0.75" y="5.75" width="20.5" height="20.5" rx="5" fill="#EE7D1B")"
      R"( stroke="#C25E0E" stroke-width="1.5"/>)"
      R"(<circle cx="6.5" cy="20.5" r="2.4" fill="#fff"/>)"
      R"(<path d="M6.5 14a6.5 6.5 0 0 1 6.5 6.5M6.5 8.8a11.7 11.7 0 0 1 11.7 11.7")"
      R"( fill="none" stroke="#fff" stroke-width="2.6" stroke-linecap="round"/>)";
  constexpr OptionMark kFullArticles{
      R"(<rect x="24.5" y="1.5" width="7" height="8.5" rx="1" fill="#2F6DB5"/>)"
      R"(<path d="M26.5 4h3M26.5 6h3M26.5 8h2" stroke="#fff"/>)",
      R"(<rect x="24.5" y="1.5" width="7" height="8.5" rx="1" fill="none" stroke="#C5CDD6"/>)"};
  constexpr OptionMark kOnlyNew{
      R"(<path d="M28 12.3L29 14.9L31.8 15.1L29.6 16.8L30.4 19.5L28 18L25.6 19.5L26.4)"
      R"( 16.8L24.2 15.1L27 14.9z" fill="#36A048" stroke="#1F7A31" stroke-linejoin="round"/>)",
      R"(<path d="M28 12.3L29 14.9L31.8 15.1L29.6 16.8L30.4 19.5L28 18L25.6 19.5L26.4)"
      R"( 16.8L24.2 15.1L27 14.9z" fill="none" stroke="#C5CDD6" stroke-linejoin="round"/>)"};
  constexpr OptionMark kOwnSchedule{
      R"(<circle cx="28" cy="27.5" r="3.6" fill="#7D55C7"/>)"
      R"(<path d="M28 25.5v2h1.8" fill="none" stroke="#fff" stroke-width="1.2"/>)",
      R"(<circle cx="28" cy="27.5" r="3.6" fill="none" stroke="#C5CDD6"/>)"};
  return FeedOptionDrawings(kOptionIcons, 32, kFeed, {kFullArticles, kOnlyNew, kOwnSchedule});
}

}  // namespace

std::span<const platform::IconImage> Icons() {
  static const IconTable table(Drawings());
  return table.Images();
}

}  // namespace tavi::res::feed_properties
