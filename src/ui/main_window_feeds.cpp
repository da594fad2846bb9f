// The main window's two lists: selection in one follows the other, the
// feeds are added, edited and deleted, and a newsbox is opened or closed in
// the host.

#include <algorithm>

#include "delivery/host_automation.h"
#include "platform/ascii.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "res/main_window_ids.h"
#include "store/profile.h"
#include "ui/information_dialog.h"
#include "ui/main_window.h"
#include "ui/main_window_check.h"

namespace tavi {
namespace {

using namespace res::main_window;
using platform::LResult;
using platform::NotifyHeader;

constexpr const char* kReadyText = "Ready. For Help, press F1.";

void Select(platform::WindowHandle list, int row, bool selected) {
  const std::uint32_t state = selected ? platform::LVIS_SELECTED | platform::LVIS_FOCUSED : 0;
  platform::SetListViewRowState(list, row, state, platform::LVIS_SELECTED | platform::LVIS_FOCUSED);
}

// Selects exactly the rows of `list` for which `wanted` holds.
template <typename Predicate>
void SelectRowsWhere(platform::WindowHandle list, Predicate wanted) {
  const int count = platform::GetListViewRowCount(list);
  for (int row = 0; row < count; ++row) {
    const bool want = wanted(row);
    const bool is = platform::GetListViewRowState(list, row, platform::LVIS_SELECTED) != 0;
    if (want != is) Select(list, row, want);
  }
}

}  // namespace

void MainWindow::SelectFirstFeed() {
  const platform::WindowHandle feeds = Item(kFeedsList);
  platform::SetFocus(feeds);
  if (platform::GetListViewRowCount(feeds) > 0) {
    Select(feeds, 0, true);
    return;
  }
  UpdateFeedButtons(0);
}

LResult MainWindow::OnFeedsChanged(const NotifyHeader&) {
  if (!following_) FollowFeedSelection();
  return 0;
}

LResult MainWindow::OnNewsboxesChanged(const NotifyHeader&) {
  if (!following_) FollowNewsboxSelection();
  return 0;
}

void MainWindow::FollowFeedSelection() {
  following_ = true;
  const std::vector<int> rows = SelectedFeedRows();
  UpdateFeedButtons(rows.size());
  if (rows.size() == 1) {
    const std::string& alias = FeedOfRow(rows.front())->Alias;
    const std::string newsbox = StoredNewsboxOf(alias, context_.paths.settings_file);
    SelectRowsWhere(Item(kNewsboxesList), [&](int row) {
      const auto data = platform::GetListViewRow(Item(kNewsboxesList), row);
      return data && platform::EqualsIgnoringCase(newsboxes_[data->user_value].name, newsbox);
    });
    StopClock();
    SetItemText(kInfoLine, alias + " - Last Article: \n" +
                               ReadLastArticle(alias, context_.paths.settings_file));
  } else {
    StartClock();
  }
  platform::SetFocus(Item(kFeedsList));
  following_ = false;
}

void MainWindow::FollowNewsboxSelection() {
  const int selected = SelectedNewsboxRow();
  if (selected < 0) return;
  following_ = true;
  const auto data = platform::GetListViewRow(Item(kNewsboxesList), selected);
  const std::string name = data ? newsboxes_[data->user_value].name : "";
  SelectRowsWhere(Item(kFeedsList), [&](int row) {
    return platform::EqualsIgnoringCase(
        StoredNewsboxOf(FeedOfRow(row)->Alias, context_.paths.settings_file), name);
  });
  platform::SetFocus(Item(kNewsboxesList));
  following_ = false;
  // The buttons follow the feeds now selected, as after a click on them.
  UpdateFeedButtons(SelectedFeedRows().size());
}

void MainWindow::UpdateFeedButtons(std::size_t selected_feeds) {
  EnableItem(kEditButton, selected_feeds == 1);
  EnableItem(kDeleteButton, selected_feeds == 1);
  EnableItem(kDownloadButton, selected_feeds > 0);
}

LResult MainWindow::OnFeedsDoubleClick(const NotifyHeader&) {
  OnEdit();
  return 0;
}

LResult MainWindow::OnFeedsReturn(const NotifyHeader&) {
  OnDownload();
  return 0;
}

void MainWindow::OnAdd() { EditFeed(""); }

void MainWindow::OnEdit() {
  const std::vector<int> rows = SelectedFeedRows();
  // A copy: the rows' records are read again once the feed is stored.
  if (rows.size() == 1) EditFeed(std::string(FeedOfRow(rows.front())->Alias));
}

void MainWindow::EditFeed(const std::string& alias) {
  if (!edit_feed_) return;
  const std::vector<std::string> aliases_before = ReadListedAliases(context_.paths.settings_file);
  if (edit_feed_(Handle(), alias)) ReloadFeedsAfterEdit(aliases_before, alias);
  check_->SetGeneralLine(kReadyText);
}

// Feed Properties stored a definition, under an alias it may have changed:
// the list is read again, and the feed that is new to it (or the edited one,
// when its alias stayed) is selected. Its row announces to the News Board.
void MainWindow::ReloadFeedsAfterEdit(const std::vector<std::string>& aliases_before,
                                      const std::string& edited_alias) {
  const auto is_changed = [&](const FeedRecord& feed) {
    const bool was_listed =
        std::any_of(aliases_before.begin(), aliases_before.end(),
                    [&](const std::string& alias) { return alias == feed.Alias; });
    return !was_listed || platform::EqualsIgnoringCase(feed.Alias, edited_alias);
  };
  following_ = true;
  platform::DeleteAllListViewRows(Item(kFeedsList));
  feeds_.clear();
  for (FeedRecord feed : LoadFeedList(context_.paths.settings_file)) {
    if (is_changed(feed)) feed.NotifyNewsBoard = 1;
    AddFeedRow(feed);
    AddNewsboxRow(feed);
  }
  SortLists();
  SelectRowsWhere(Item(kFeedsList), [&](int row) { return is_changed(*FeedOfRow(row)); });
  following_ = false;
  FollowFeedSelection();
}

void MainWindow::OnDelete() {
  const std::vector<int> rows = SelectedFeedRows();
  if (rows.size() != 1) return;
  const FeedRecord feed = *FeedOfRow(rows.front());
  InformationInputs inputs;
  inputs.mode = InformationMode::kConfirmDelete;
  inputs.feed_name = feed.Alias;
  inputs.url = feed.URL;
  inputs.newsbox = feed.Newsbox;
  if (InformationDialog(inputs, context_.product_name).RunModal(Handle()) != kInformationOk) {
    platform::SetFocus(Item(kFeedsList));
    return;
  }
  if (platform::DeleteListViewRow(Item(kFeedsList), rows.front()))
    DeleteFeed(feed.Alias, context_.paths.settings_file);
  FollowFeedSelection();
}

LResult MainWindow::OnNewsboxesOpen(const NotifyHeader&) {
  OnOpenNewsbox();
  return 0;
}

void MainWindow::OnOpenNewsbox() {
  const int row = SelectedNewsboxRow();
  if (row < 0) return;
  const auto data = platform::GetListViewRow(Item(kNewsboxesList), row);
  if (!data || !OpenHostMailboxByPath(newsboxes_[data->user_value].mailbox_path)) return;
  opened_newsbox_ = true;
  Close(summary_.new_articles);
}

void MainWindow::OnCloseNewsbox() {
  const int row = SelectedNewsboxRow();
  if (row < 0) return;
  const auto data = platform::GetListViewRow(Item(kNewsboxesList), row);
  if (data) CloseHostMailboxWindow(context_.paths.mdi_client, newsboxes_[data->user_value].name);
}

LResult MainWindow::OnNewsboxesRightClick(const NotifyHeader& header) {
  const auto& notify = reinterpret_cast<const platform::ListViewNotify&>(header);
  ShowNewsboxMenu(platform::ClientToScreen(Item(kNewsboxesList), notify.point));
  return 0;
}

LResult MainWindow::OnNewsboxesKey(const NotifyHeader& header) {
  const auto& notify = reinterpret_cast<const platform::ListViewNotify&>(header);
  const bool shift_f10 = notify.key == platform::virtual_key::kF10 &&
                         (notify.modifiers & platform::key_modifier::kShift) != 0;
  if (shift_f10) ShowNewsboxMenu(platform::ClientToScreen(Item(kNewsboxesList), {0, 0}));
  return 0;
}

void MainWindow::ShowNewsboxMenu(platform::Point point) {
  if (SelectedNewsboxRow() < 0 || !newsbox_menu_) return;
  platform::TrackPopupMenu(platform::GetSubMenu(newsbox_menu_, 0), point, Handle());
}

}  // namespace tavi
