#include "res/resource_tables.h"

#include "res/article_viewer_ids.h"

namespace tavi::res::article_viewer {

// The browser fills the window, and the raw-text pane lies hidden in the same
// place; the viewer creates its toolbar above them at run time.
const platform::DialogTemplate& Template() {
  using namespace platform::control_style;
  using enum platform::ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = kDialog,
      // The viewer shows the article's feed, date and subject.
      .caption = "Article",
      .font_name = "Courier New",
      .font_size = 10,
      .rect = {0, 0, 260, 160},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kSystemMenu |
               platform::dialog_style::kMinimizeBox | platform::dialog_style::kMaximizeBox |
               platform::dialog_style::kResizable,
      .menu_id = kMenuBar,
      .icon_id = kWindowIcon,
      .controls = {
          {kBrowser, kArticleBrowser, "", {1, 1, 258, 158}, kTabStop},
          {kRichText, kSourcePane, "", {1, 1, 258, 158}, kHidden | kTabStop},
      }};
  return kTemplate;
}

}  // namespace tavi::res::article_viewer
