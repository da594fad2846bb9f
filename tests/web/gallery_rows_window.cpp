// The gallery's own window: a list of many rows and one control of each
// kind the browser tests work, each of which does what the plug-in's
// windows do with the window system (a message box, a popup menu, the
// shell) or is the plug-in's own (the splitter bar between the list and the
// tree, the information dialog of the Information menu).

#include <memory>

#include "gallery_information.h"
#include "gallery_window_parts.h"
#include "platform/save_file_dialog.h"
#include "platform/web_browser.h"
#include "platform/winsys_controls.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_mouse.h"
#include "platform/winsys_shell.h"
#include "res/popup_menu_ids.h"
#include "res/resources.h"
#include "ui/splitter_bar.h"

namespace tavi::testing {
namespace {

using platform::ControlKind;
using platform::LParam;
using platform::MessageId;
using platform::WindowHandle;
using platform::WParam;
namespace ids = gallery_ids;
namespace style = platform::control_style;

// The browser's page: what a hostile page would do if anything ran (every
// way sets parent.__pwned), and a link, which must reach the control alone.
constexpr const char* kHostileBrowserPage =
    "<p id=shown>Browser <b>HTML</b></p>"
    "<a id=away href='http://127.0.0.1:9/next?a=1&b=2' target=_blank "
    "onclick=\"parent.__pwned='click'\">next</a>"
    "<img src=x onerror=\"parent.__pwned='image'\">"
    "<meta http-equiv=refresh content='0;url=http://127.0.0.1:9/refresh'>"
    "<script>parent.__pwned='browser'</script>";

// How close the splitter bar may come to the list's top and the tree's
// bottom, in pixels.
constexpr int kSplitterMargin = 30;

const platform::DialogTemplate& RowsTemplate() {
  using enum ControlKind;
  static const platform::DialogTemplate kTemplate{
      .id = 1,
      .caption = "Gallery rows",
      .class_name = "GalleryRows",
      .rect = {0, 0, 400, 300},
      .style = platform::dialog_style::kCaption | platform::dialog_style::kSystemMenu |
               platform::dialog_style::kResizable,
      .controls = {
          {kListView, ids::kRows, "", {5, 5, 260, 195}, style::kFullRowSelect | style::kTabStop},
          {kLabel, ids::kSplitter, "", {5, 202, 260, 4}},
          {kTreeView,
           ids::kTree,
           "",
           {5, 208, 260, 70},
           style::kHasButtons | style::kHasLines | style::kLinesAtRoot | style::kTabStop},
          {kLabel, ids::kHostileLabel, kHostileText, {270, 5, 125, 30}},
          {kButton, ids::kMessageBoxButton, "&Message box", {270, 38, 120, 14}, style::kTabStop},
          {kEdit, ids::kDigits, "", {270, 56, 120, 12}, style::kDigitsOnly | style::kTabStop},
          {kCheckBox,
           ids::kCheck,
           "&Checked",
           {270, 72, 120, 12},
           style::kAutoCheck | style::kTabStop},
          {kEdit, ids::kAddress, "", {270, 88, 120, 12}, style::kTabStop},
          {kButton, ids::kOpenButton, "&Open address", {270, 104, 120, 14}, style::kTabStop},
          {kProgressBar, ids::kProgress, "", {270, 122, 120, 10}},
          {kRichText, ids::kRichText, "Rich <b>text</b>\nsecond line", {270, 136, 120, 40}},
          {kBrowser, ids::kBrowser, kHostileBrowserPage, {270, 180, 120, 60}},
          {kButton, ids::kSaveAsButton, "Save &As...", {270, 244, 120, 14}, style::kTabStop},
      }};
  return kTemplate;
}

const platform::MenuTemplate& RowsMenu() {
  static const platform::MenuTemplate kMenu{
      .id = 2,
      .items = {{.text = "&File",
                 .items = {{.text = "&Say hello\tCtrl+H", .command = ids::kSayHello},
                           {.separator = true},
                           {.text = "&Disabled", .command = 202, .disabled = true},
                           {.text = "C&hecked", .command = 203, .checked = true},
                           {.text = "&More", .items = {{.text = "&Deeper", .command = 204}}}}},
                InformationMenu()}};
  return kMenu;
}

void ShowPopupMenu(WindowHandle dialog) {
  const platform::MenuHandle menu =
      platform::CreateMenuFromTemplate(*res::FindMenu(res::popup_menu::kMenu));
  platform::TrackPopupMenu(platform::GetSubMenu(menu, res::popup_menu::kNewsBoardSubmenu),
                           platform::GetCursorPos(), dialog);
  platform::DestroyMenu(menu);
}

// The save-file dialog as the article viewer asks for it; the log tells
// "saved PATH type N" or "save cancelled".
void SaveAs(GalleryLog& log, WindowHandle dialog, const std::string& folder) {
  platform::SaveFileRequest request;
  request.owner = dialog;
  request.title = "Save Article As...";
  request.filter = "News File (*.nws)|*.nws|E-Mail File (*.eml)|*.eml|Any File Type (*.*)|*.*|";
  request.initial_folder = folder;
  request.confirm_overwrite = true;
  request.hide_read_only = true;
  const std::optional<platform::SaveFileChoice> choice = platform::GetSaveFileName(request);
  if (!choice) {
    log.Add("save cancelled");
    return;
  }
  log.Add("saved " + choice->path + " type " + std::to_string(choice->filter_index));
}

// A person's link in the browser is logged and kept out of it, as the News
// Board keeps its preview: "browser new-window URL", "browser navigate URL".
void AnswerBrowser(GalleryLog& log, LParam lparam) {
  auto* notify = reinterpret_cast<platform::BrowserNotify*>(lparam);
  if (notify->header.code == platform::BRN_NEWWINDOW2) log.Add("browser new-window " + notify->url);
  if (notify->header.code != platform::BRN_BEFORENAVIGATE2) return;
  log.Add("browser navigate " + notify->url);
  notify->cancel = notify->by_person;
}

void AnswerCommand(GalleryLog& log, WindowHandle dialog, WParam wparam,
                   const std::string& save_folder) {
  const int id = platform::LowWord(wparam);
  if (platform::HighWord(wparam) == platform::EN_CHANGE)
    log.Add("text " + std::to_string(id) + " " + platform::GetDlgItemText(dialog, id));
  if (platform::HighWord(wparam) != platform::BN_CLICKED) return;
  if (ShowInformationFor(id, dialog, log)) return;
  if (id == ids::kMessageBoxButton) {
    const int answer = platform::MessageBox(dialog, "Keep <b>all</b> rows?\nSecond line", "Gallery",
                                            platform::MB_YESNO | platform::MB_ICONQUESTION);
    log.Add("box " + std::to_string(answer));
  }
  if (id == ids::kSaveAsButton) SaveAs(log, dialog, save_folder);
  if (id == ids::kOpenButton) {
    const int result = platform::ShellExecute(
        dialog, "open", platform::GetDlgItemText(dialog, ids::kAddress), "", platform::SW_SHOW);
    log.Add("shell " + std::string(result > 32 ? "opened" : "refused"));
  }
}

// Holds the splitter bar as long as the window's procedure.
platform::DialogProcedure RowsProcedure(GalleryLog& log, std::shared_ptr<SplitterBar> splitter,
                                        const std::string& save_folder) {
  return [&log, splitter, save_folder, record = RecordingProcedure(log)](
             WindowHandle dialog, MessageId message, WParam wparam,
             LParam lparam) -> std::optional<platform::LResult> {
    record(dialog, message, wparam, lparam);
    if (message == platform::WM_COMMAND) AnswerCommand(log, dialog, wparam, save_folder);
    if (message == kSplitterMovedMessage)
      log.Add("split " + std::to_string(SplitterDistance(wparam)));
    if (message == platform::WM_NOTIFY &&
        reinterpret_cast<const platform::NotifyHeader*>(lparam)->code == platform::NM_RCLICK)
      ShowPopupMenu(dialog);
    if (message == platform::WM_NOTIFY && platform::LowWord(wparam) == ids::kBrowser)
      AnswerBrowser(log, lparam);
    return std::nullopt;
  };
}

// The plug-in's splitter bar between the list and the tree.
void AttachSplitter(SplitterBar& bar, WindowHandle dialog) {
  bar.Attach(dialog, ids::kSplitter);
  bar.SetMargins(kSplitterMargin, kSplitterMargin);
  bar.AddAbove(ids::kRows);
  bar.AddBelow(ids::kTree);
}

}  // namespace

WindowHandle ShowRowsWindow(GalleryLog& log, int rows, const std::string& save_folder) {
  auto splitter = std::make_shared<SplitterBar>();
  const WindowHandle dialog =
      platform::CreateDialog(RowsTemplate(), {}, RowsProcedure(log, splitter, save_folder), 0);
  AttachSplitter(*splitter, dialog);
  platform::SetMenu(dialog, platform::CreateMenuFromTemplate(RowsMenu()));
  FillList(platform::GetDlgItem(dialog, ids::kRows), rows);
  FillTree(platform::GetDlgItem(dialog, ids::kTree));
  platform::SetProgressPosition(platform::GetDlgItem(dialog, ids::kProgress), 60);
  const platform::Rect rect = platform::GetWindowRect(dialog).value_or(platform::Rect{});
  platform::MoveWindow(dialog, {640, 10, 640 + rect.Width(), 10 + rect.Height()});
  platform::ShowWindow(dialog, platform::SW_SHOW);
  return dialog;
}

}  // namespace tavi::testing
