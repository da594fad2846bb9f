// The News Board's rows: adding, sorting and the acts on the selected rows,
// the popup menu, and the preview page.
#include "ui/news_board.h"

#include <algorithm>

#include "delivery/host_automation.h"
#include "platform/net.h"
#include "platform/web_browser.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_toolbar.h"
#include "res/news_board_ids.h"
#include "res/popup_menu_ids.h"
#include "ui/article_viewer.h"

namespace tavi {
namespace {

using namespace res::news_board;
using platform::LParam;
using platform::LResult;
using platform::WParam;

constexpr const char* kBrowserProgram = "Iexplore.exe";
constexpr int kOpenedImage = 1;
// Where Shift+F10 puts the popup when the selection mark has no row.
constexpr platform::Point kPopupOffset{10, 30};

const HeadlineEntry& EntryOf(LParam user_value) {
  return *reinterpret_cast<const HeadlineEntry*>(user_value);
}

platform::BrowserNotify& BrowserNotifyOf(const platform::NotifyHeader& header) {
  // The control reads `cancel` back from its own notification data.
  return const_cast<platform::BrowserNotify&>(
      reinterpret_cast<const platform::BrowserNotify&>(header));
}

const platform::ListViewNotify& ListNotifyOf(const platform::NotifyHeader& header) {
  return reinterpret_cast<const platform::ListViewNotify&>(header);
}

}  // namespace

std::vector<const HeadlineEntry*> NewsBoard::Rows() const {
  std::vector<const HeadlineEntry*> rows;
  const int count = platform::GetListViewRowCount(Item(kHeadlineList));
  for (int row = 0; row < count; ++row) rows.push_back(EntryOfRow(row));
  return rows;
}

HeadlineEntry* NewsBoard::EntryOfRow(int row) const {
  const auto data = platform::GetListViewRow(Item(kHeadlineList), row);
  return data ? reinterpret_cast<HeadlineEntry*>(data->user_value) : nullptr;
}

std::vector<int> NewsBoard::SelectedRows() const {
  std::vector<int> rows;
  const platform::WindowHandle list = Item(kHeadlineList);
  for (int row = platform::GetNextSelectedListViewRow(list); row >= 0;
       row = platform::GetNextSelectedListViewRow(list, row))
    rows.push_back(row);
  return rows;
}

// The rows are always in order, so the new one goes after the last row that
// does not sort after it: where a stable sort of all rows would put it,
// without sorting thousands of rows for each article.
LResult NewsBoard::OnNewArticle(WParam, LParam lparam) {
  const auto* notice = reinterpret_cast<const NewArticleNotice*>(lparam);
  if (notice == nullptr) return 0;
  auto entry = std::make_unique<HeadlineEntry>(MakeHeadlineEntry(*notice));
  const platform::WindowHandle list = Item(kHeadlineList);
  int low = 0;
  int high = platform::GetListViewRowCount(list);
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (CompareHeadlines(*EntryOfRow(middle), *entry, sort_key_, sort_order_) <= 0)
      low = middle + 1;
    else
      high = middle;
  }
  std::vector<std::string> texts;
  for (int column = 0; column < kHeadlineColumnCount; ++column)
    texts.push_back(HeadlineColumnText(*entry, column));
  platform::InsertListViewRow(list, low,
                              {std::move(texts), 0, reinterpret_cast<LParam>(entry.get())});
  entries_.push_back(std::move(entry));
  Show(true);
  return 1;
}

void NewsBoard::Sort() {
  platform::SortListView(Item(kHeadlineList), [this](LParam a, LParam b) {
    return CompareHeadlines(EntryOf(a), EntryOf(b), sort_key_, sort_order_);
  });
}

LResult NewsBoard::OnColumnClick(const platform::NotifyHeader& header) {
  const int column = ListNotifyOf(header).column;
  if (column < 0 || column >= kHeadlineColumnCount) return 0;
  if (column == sort_key_)
    sort_order_ = sort_order_ == kSortAscending ? kSortDescending : kSortAscending;
  sort_key_ = column;
  Sort();
  return 0;
}

LResult NewsBoard::OnSelectionChanged(const platform::NotifyHeader&) {
  UpdateToolbar();
  return 0;
}

void NewsBoard::UpdateToolbar() {
  const bool any = platform::GetSelectedListViewRowCount(Item(kHeadlineList)) > 0;
  for (int button : {kOpenButton, kBrowseButton, kRemoveButton, kOpenNewsboxButton})
    platform::EnableToolbarButton(Item(kToolbar), button, any);
}

LResult NewsBoard::OnDoubleClick(const platform::NotifyHeader&) {
  if (platform::GetAsyncKeyState(platform::virtual_key::kControl) < 0)
    OnBrowse();
  else
    OnOpen();
  return 0;
}

LResult NewsBoard::OnRightClick(const platform::NotifyHeader& header) {
  ShowPopup(platform::ClientToScreen(Item(kHeadlineList), ListNotifyOf(header).point));
  return 0;
}

LResult NewsBoard::OnListKey(const platform::NotifyHeader& header) {
  const platform::ListViewNotify& notify = ListNotifyOf(header);
  const bool shift = (notify.modifiers & platform::key_modifier::kShift) != 0;
  const bool control = (notify.modifiers & platform::key_modifier::kControl) != 0;
  if (notify.key == platform::virtual_key::kReturn) {
    control ? OnBrowse() : OnOpen();
    return 0;
  }
  if (notify.key != platform::virtual_key::kF10 || !shift) return 0;
  const platform::WindowHandle list = Item(kHeadlineList);
  const auto rect = platform::GetListViewRowRect(list, platform::GetListViewSelectionMark(list));
  if (rect) {
    ShowPopup(platform::ClientToScreen(list, {rect->left, rect->top}));
  } else if (const auto window = platform::GetWindowRect(Handle())) {
    ShowPopup({window->left + kPopupOffset.x, window->top + kPopupOffset.y});
  }
  return 0;
}

void NewsBoard::ShowPopup(platform::Point screen_point) {
  if (SelectedRows().empty() || !menu_) return;
  platform::TrackPopupMenu(platform::GetSubMenu(menu_, res::popup_menu::kNewsBoardSubmenu),
                           screen_point, Handle());
}

void NewsBoard::OnOpen() {
  const platform::WindowHandle list = Item(kHeadlineList);
  for (int row : SelectedRows()) {
    HeadlineEntry* entry = EntryOfRow(row);
    OpenArticleViewer(context_, entry->HeaderText, entry->MessageText);
    auto data = platform::GetListViewRow(list, row);
    data->image = kOpenedImage;
    platform::SetListViewRow(list, row, std::move(*data));
    entry->Opened = 1;
  }
  SendToBack();
}

// Only a web address goes to the browser, as one parameter: the website is
// feed text, and must never become a command line.
void NewsBoard::OnBrowse() {
  for (int row : SelectedRows()) {
    const std::string& website = EntryOfRow(row)->Website;
    if (!platform::IsWebAddress(website)) continue;
    platform::ShellExecute(platform::GetDesktopWindow(), "open", kBrowserProgram, website,
                           platform::SW_SHOWNORMAL);
  }
  SendToBack();
}

void NewsBoard::OnRemove() {
  const platform::WindowHandle list = Item(kHeadlineList);
  for (int row = platform::GetNextSelectedListViewRow(list); row >= 0;
       row = platform::GetNextSelectedListViewRow(list)) {
    const HeadlineEntry* entry = EntryOfRow(row);
    platform::DeleteListViewRow(list, row);
    std::erase_if(entries_, [entry](const auto& owned) { return owned.get() == entry; });
  }
  UpdateToolbar();
  RebuildPreview();
}

void NewsBoard::OnOpenNewsbox() {
  for (int row : SelectedRows()) OpenHostMailboxByPath(EntryOfRow(row)->NewsboxPath);
  const platform::WindowHandle host = context_.host_main_window;
  if (platform::SetForegroundWindow(host)) {
    platform::SetFocus(host);
    if (platform::IsIconic(host)) platform::ShowWindow(host, platform::SW_RESTORE);
    const platform::WindowHandle mailbox = platform::GetTopWindow(context_.paths.mdi_client);
    if (mailbox) {
      platform::BringWindowToTop(mailbox);
      platform::SetFocus(mailbox);
    }
  }
  SendToBack();
}

void NewsBoard::OnSelectAll() {
  const std::uint32_t both = platform::LVIS_SELECTED | platform::LVIS_FOCUSED;
  platform::SetListViewRowState(Item(kHeadlineList), -1, both, both);
}

// The board steps back behind what it opened, keeping its size and place;
// the list keeps the focus for the next act.
void NewsBoard::SendToBack() {
  platform::MoveWindowToBottom(Handle());
  platform::SetFocus(Item(kHeadlineList));
}

LResult NewsBoard::OnUpdateBlogReport(WParam, LParam) {
  RebuildPreview();
  return 1;
}

void NewsBoard::RebuildPreview() {
  preview_html_ = BuildPreviewHtml(Rows());
  preview_pending_ = true;
  platform::BrowserNavigate(Item(kPreview), kEmptyPage, platform::kNavigateNoHistory);
}

LResult NewsBoard::OnDownloadComplete(const platform::NotifyHeader&) {
  if (!preview_pending_) return 0;
  preview_pending_ = false;
  platform::SetBrowserBodyHtml(Item(kPreview), preview_html_);
  return 0;
}

// The preview shows only the board's own page: a link a person clicks opens
// in the browser, if it is a web address, and nothing else ever loads.
LResult NewsBoard::OnBeforeNavigate(const platform::NotifyHeader& header) {
  platform::BrowserNotify& notify = BrowserNotifyOf(header);
  if (notify.url == kEmptyPage) return 0;
  notify.cancel = true;
  if (notify.by_person && platform::IsWebAddress(notify.url))
    platform::ShellExecute(platform::GetDesktopWindow(), "open", notify.url, "",
                           platform::SW_SHOWNORMAL);
  return 0;
}

LResult NewsBoard::OnNewWindow(const platform::NotifyHeader& header) {
  BrowserNotifyOf(header).cancel = true;
  return 0;
}

}  // namespace tavi
