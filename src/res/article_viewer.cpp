#include "res/resource_tables.h"

#include "res/article_viewer_ids.h"
#include "res/product_icon_ids.h"

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

const platform::MenuTemplate& MenuBar() {
  static const platform::MenuTemplate kMenu{
      .id = kMenuBar,
      .items = {
          {.text = "&Article",
           .items = {{.text = "Forward &Inline", .command = kForwardInlineCommand},
                     {.text = "Forward As &Attachment", .command = kForwardAsAttachmentCommand},
                     {.separator = true},
                     {.text = "&Save As File...", .command = kSaveAsCommand},
                     {.text = "&Print...", .command = kPrintCommand, .disabled = true},
                     {.separator = true},
                     {.text = "&Close\tAlt+F4", .command = kCloseCommand}}},
          {.text = "&View",
           .items = {{.text = "&Full Article\t[Online]",
                      .command = kFullArticleCommand,
                      .checked = true},
                     {.text = "&Newsbox Article\t[Offline]", .command = kNewsboxArticleCommand},
                     {.text = "&Modified Article\t[RAM]",
                      .command = kModifiedArticleCommand,
                      .disabled = true},
                     {.separator = true},
                     {.text = "&Source", .command = kSourceCommand}}},
          // The viewer puts "&In" and the host's mailboxes in the
          // placeholder's place when it opens.
          {.text = "&File",
           .items = {{.text = "&Mailboxes", .command = kTransferPlaceholderCommand}}},
          {.text = "&Tools",
           .items = {{.text = "&Edit", .command = kEditCommand, .disabled = true},
                     {.separator = true},
                     {.text = "HTML &Tidy", .command = kHtmlTidyCommand, .disabled = true},
                     {.text = "Strip &HTML", .command = kStripHtmlCommand, .disabled = true},
                     {.text = "&Remove Extra Line-Breaks",
                      .command = kRemoveLineBreaksCommand,
                      .disabled = true}}},
          {.text = "&Window",
           .items = {{.text = "Ma&ximize", .command = kMaximizeCommand},
                     {.text = "&Restore", .command = kRestoreCommand},
                     {.text = "Mi&nimize", .command = kMinimizeCommand},
                     {.separator = true},
                     {.text = "&Stretch", .command = kStretchCommand},
                     {.text = "&Center", .command = kCenterCommand}}},
          {.text = "&Help",
           .items = {{.text = "&Topics", .command = kTopicsCommand},
                     {.text = "&Release Notes", .command = kReleaseNotesCommand},
                     {.separator = true},
                     {.text = "&About", .command = kAboutCommand}}},
      }};
  return kMenu;
}

const platform::ToolbarTemplate& Toolbar() {
  static const platform::ToolbarTemplate kToolbar{
      .id = kToolbarResource,
      .button_size = 32,
      .buttons = {
          {kForwardInlineButton, kForwardInlineIcon, "Forward inline"},
          {kForwardAsAttachmentButton, kForwardAsAttachmentIcon, "Forward as an attachment"},
          {kSaveAsButton, kSaveAsIcon, "Save as a file"},
          {kTransferButton, kTransferIcon, "Transfer to a mailbox", true},
          {},
          {kFullArticleButton, kFullArticleIcon, "Full article (online)"},
          {kNewsboxArticleButton, kNewsboxArticleIcon, "Newsbox article (offline)"},
          {kModifiedArticleButton, kModifiedArticleIcon, "Modified article"},
          {},
          {kAboutButton, kProductIcon, "About"},
      }};
  return kToolbar;
}

}  // namespace tavi::res::article_viewer
