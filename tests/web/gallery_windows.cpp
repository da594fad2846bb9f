#include "gallery_windows.h"

#include "gallery_window_parts.h"

#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_toolbar.h"
#include "platform/winsys_tree_view.h"
#include "res/article_viewer_ids.h"
#include "res/news_board_ids.h"
#include "res/resources.h"
#include "web/json_writer.h"

namespace tavi::testing {

void GalleryLog::Add(std::string line) {
  const std::lock_guard<std::mutex> guard(lock_);
  lines_.push_back(std::move(line));
}

std::string GalleryLog::Json() const {
  const std::lock_guard<std::mutex> guard(lock_);
  web::JsonWriter json;
  json.BeginArray();
  for (const std::string& line : lines_) json.String(line);
  json.EndArray();
  return json.Text();
}

namespace {

using platform::ControlKind;
using platform::LParam;
using platform::MessageId;
using platform::WindowHandle;
using platform::WParam;
namespace ids = gallery_ids;

// Dialog ids are below this; each id is looked for.
constexpr int kLastDialogId = 1000;
constexpr int kCascadeStep = 36;

const std::vector<int>& SampleIcons() {
  static const std::vector<int> icons = [] {
    std::vector<int> ids;
    for (const platform::IconImage& icon : res::AllIcons())
      if (ids.size() < 3) ids.push_back(icon.id);
    return ids;
  }();
  return icons;
}

}  // namespace

void FillList(WindowHandle list, int rows) {
  platform::InsertListViewColumn(list, 0, {"Title", 220});
  platform::InsertListViewColumn(list, 1, {"Row", 60});
  platform::SetListViewImages(list, SampleIcons());
  for (int row = 0; row < rows; ++row) {
    platform::InsertListViewRow(
        list, row, {{"Row " + std::to_string(row), std::to_string(row)}, row % 3, row});
  }
}

void FillTree(WindowHandle tree) {
  platform::SetTreeViewImages(tree, SampleIcons());
  for (const char* name : {"Feeds", "Archive"}) {
    const platform::TreeItem parent =
        platform::InsertTreeItem(tree, {}, platform::TreeInsertPosition::kLast, {name, 0, 1, 0});
    for (const char* child : {"Gazette", "Harbour news"})
      platform::InsertTreeItem(tree, parent, platform::TreeInsertPosition::kLast,
                               {std::string(name) + " / " + child, 2, 2, 0});
  }
}

namespace {

// Sample content for the controls a template leaves empty for its window to fill.
void FillControls(WindowHandle dialog) {
  for (const WindowHandle control : platform::GetChildWindows(dialog)) {
    const std::optional<ControlKind> kind = platform::GetWindowKind(control);
    if (kind == ControlKind::kListView) FillList(control, 3);
    if (kind == ControlKind::kTreeView) FillTree(control);
    if (kind == ControlKind::kProgressBar) platform::SetProgressPosition(control, 40);
  }
}

std::string Describe(MessageId message, WParam wparam, LParam lparam) {
  if (message == platform::WM_COMMAND)
    return "command " + std::to_string(platform::LowWord(wparam)) + " " +
           std::to_string(platform::HighWord(wparam));
  const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lparam);
  if (header->code == platform::LVN_KEYDOWN) {
    const auto* list = reinterpret_cast<const platform::ListViewNotify*>(lparam);
    return "key " + std::to_string(list->key) + " " + std::to_string(list->modifiers);
  }
  return "notify " + std::to_string(header->id) + " " + std::to_string(header->code);
}

bool IsToldNotice(MessageId message, LParam lparam) {
  if (message == platform::WM_COMMAND) return true;
  if (message != platform::WM_NOTIFY) return false;
  const int code = reinterpret_cast<const platform::NotifyHeader*>(lparam)->code;
  return code == platform::NM_CLICK || code == platform::NM_DBLCLK || code == platform::NM_RCLICK ||
         code == platform::LVN_COLUMNCLICK || code == platform::LVN_KEYDOWN ||
         code == platform::TVN_ITEMEXPANDED || code == platform::TBN_DROPDOWN;
}

}  // namespace

platform::DialogProcedure RecordingProcedure(GalleryLog& log) {
  return [&log](WindowHandle, MessageId message, WParam wparam,
                LParam lparam) -> std::optional<platform::LResult> {
    if (IsToldNotice(message, lparam)) log.Add(Describe(message, wparam, lparam));
    return std::nullopt;
  };
}

namespace {

void AddMenuAndToolbar(WindowHandle dialog, const platform::DialogTemplate& dialog_template) {
  if (const platform::MenuTemplate* menu = res::FindMenu(dialog_template.menu_id))
    platform::SetMenu(dialog, platform::CreateMenuFromTemplate(*menu));
  int toolbar_id = 0;
  if (dialog_template.id == res::news_board::kDialog)
    toolbar_id = res::news_board::kToolbarResource;
  if (dialog_template.id == res::article_viewer::kDialog)
    toolbar_id = res::article_viewer::kToolbarResource;
  if (const platform::ToolbarTemplate* toolbar = res::FindToolbar(toolbar_id))
    platform::CreateToolbar(dialog, *toolbar, res::news_board::kToolbar);
}

void CascadeAndShow(WindowHandle dialog, int place) {
  const platform::Rect rect = platform::GetWindowRect(dialog).value_or(platform::Rect{});
  const int left = 10 + place * kCascadeStep;
  const int top = 10 + place * kCascadeStep;
  platform::MoveWindow(dialog, {left, top, left + rect.Width(), top + rect.Height()});
  platform::ShowWindow(dialog, platform::SW_SHOW);
}

}  // namespace

std::vector<WindowHandle> ShowTemplateDialogs(GalleryLog& log) {
  std::vector<WindowHandle> dialogs;
  for (int id = 1; id < kLastDialogId; ++id) {
    const platform::DialogTemplate* dialog_template = res::FindDialog(id);
    if (dialog_template == nullptr) continue;
    const WindowHandle dialog =
        platform::CreateDialog(*dialog_template, {}, RecordingProcedure(log), 0);
    AddMenuAndToolbar(dialog, *dialog_template);
    FillControls(dialog);
    CascadeAndShow(dialog, static_cast<int>(dialogs.size()));
    dialogs.push_back(dialog);
  }
  return dialogs;
}

int InsertGalleryRow(WindowHandle window, const std::string& text) {
  const WindowHandle list = platform::GetDlgItem(window, ids::kRows);
  if (platform::InsertListViewRow(list, 0, {{text, "new"}, 0, 0}) < 0) return -1;
  return platform::GetListViewRowCount(list);
}

}  // namespace tavi::testing
