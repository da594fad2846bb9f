#include "res/resource_tables.h"

#include "res/news_board_ids.h"
#include "res/product_icon_ids.h"

namespace tavi::res::news_board {

// The headline list over the preview, the splitter bar between them; each
// spans the width. The board creates its toolbar above them at run time and
// lays the three out again whenever its size or the bar's place changes.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      .caption = "News Board",
      .class_name = std::string(kWindowClass),
      .font_name = "Tahoma",
      .font_size = 8,
      .rect = {0, 0, 320, 200},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kSystemMenu |
               platform::dialog_style::kMinimizeBox | platform::dialog_style::kMaximizeBox |
               platform::dialog_style::kResizable,
      .icon_id = kWindowIcon,
      .controls = {
          {kListView,
           kHeadlineList,
           "",
           {1, 1, 318, 60},
           kShowSelectionAlways | kFullRowSelect | kTabStop},
          // Units cannot say 4 pixels at 8 points (2 units are 3 pixels, 3 are
          // 5): the board gives the bar kSplitterBarHeight when it places it.
          {kLabel, kSplitterBar, "", {0, 62, 320, 2}, kNotify},
          {kBrowser, kPreview, "", {1, 65, 318, 134}, kTabStop},
      }};
  return kTemplate;
}

const platform::ToolbarTemplate& Toolbar() {
  static const platform::ToolbarTemplate kToolbar{
      .id = kToolbarResource,
      .button_size = 32,
      .buttons = {
          {kOpenButton, kOpenIcon, "Open the article"},
          {kBrowseButton, kBrowseIcon, "Open the web page in the browser"},
          {kRemoveButton, kRemoveIcon, "Remove from the board"},
          {},
          {kOpenNewsboxButton, kOpenNewsboxIcon, "Open the newsbox"},
          {},
          {kAboutButton, kProductIcon, "About"},
      }};
  return kToolbar;
}

}  // namespace tavi::res::news_board
