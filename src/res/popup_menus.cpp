#include "res/resource_tables.h"

#include "res/main_window_ids.h"
#include "res/news_board_ids.h"
#include "res/popup_menu_ids.h"

namespace tavi::res::popup_menu {

const platform::MenuTemplate& Menu() {
  static const platform::MenuTemplate kPopups{
      .id = kMenu,
      .items = {
          {.text = "newsbox",
           .items = {{.text = "&Open\tEnter", .command = main_window::kOpenNewsboxCommand},
                     {.text = "&Close", .command = main_window::kCloseNewsboxCommand}}},
          // Empty: it only holds the News Board's popup at its place.
          {.text = "spare"},
          {.text = "NewsBoard",
           .items = {{.text = "&Open\tEnter", .command = news_board::kOpenCommand},
                     {.text = "&Browse\tCtrl+Enter", .command = news_board::kBrowseCommand},
                     {.text = "&Remove", .command = news_board::kRemoveCommand},
                     {.text = "Open the &Newsbox", .command = news_board::kOpenNewsboxCommand},
                     {.separator = true},
                     {.text = "Select &All", .command = news_board::kSelectAllCommand}}},
      }};
  return kPopups;
}

}  // namespace tavi::res::popup_menu
