#include "ui/main_window.h"

#include <algorithm>
#include <chrono>

#include "delivery/host_automation.h"
#include "files/file_names.h"
#include "platform/ascii.h"
#include "platform/oledate.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "res/main_window_ids.h"
#include "res/popup_menu_ids.h"
#include "res/resources.h"
#include "store/profile.h"
#include "ui/about_dialog.h"
#include "ui/help_topics.h"
#include "ui/information_dialog.h"
#include "ui/main_window_check.h"
#include "ui/news_board.h"
#include "ui/window_messages.h"
#include "ui/window_placement.h"

namespace tavi {
namespace {

using namespace res::main_window;
using platform::LParam;
using platform::LResult;
using platform::WParam;

constexpr platform::TimerId kClockTimer = 2;
constexpr std::chrono::milliseconds kClockPeriod{1000};
// The one column leaves room for the list's scroll bar.
constexpr int kColumnMargin = 20;
constexpr const char* kReadyText = "Ready. For Help, press F1.";
constexpr const char* kStagingMailbox = "Pending";

const std::vector<int> kFeedIcons(kFeedRowIcons.begin(), kFeedRowIcons.end());
const std::vector<int> kNewsboxIcons(kNewsboxRowIcons.begin(), kNewsboxRowIcons.end());

void SetUpList(platform::WindowHandle list, const char* title, const std::vector<int>& icons) {
  const auto rect = platform::GetWindowRect(list);
  const int width = rect ? std::max(0, rect->Width() - kColumnMargin) : 0;
  platform::InsertListViewColumn(list, 0, {title, width});
  platform::SetListViewImages(list, icons);
}

}  // namespace

MainWindow::MainWindow(const WindowContext& context, Mode mode, platform::WindowHandle& news_board,
                       EditFeedFunction edit_feed)
    : DialogWindow(kDialog),
      context_(context),
      mode_(mode),
      news_board_(news_board),
      edit_feed_(std::move(edit_feed)) {
  const WindowMessages& messages = RegisteredWindowMessages();
  MapMessage(platform::WM_INITDIALOG, &MainWindow::OnInitDialog);
  MapMessage(platform::WM_TIMER, &MainWindow::OnTimer);
  MapMessage(platform::WM_CLOSE, &MainWindow::OnIgnored);
  MapMessage(messages.update_gui, &MainWindow::OnUpdateGui);
  MapMessage(kImportCacheMessage, &MainWindow::OnImportCache);
  MapNotify(kFeedsList, platform::LVN_ITEMCHANGED, &MainWindow::OnFeedsChanged);
  MapNotify(kFeedsList, platform::NM_CLICK, &MainWindow::OnFeedsChanged);
  MapNotify(kFeedsList, platform::NM_DBLCLK, &MainWindow::OnFeedsDoubleClick);
  MapNotify(kFeedsList, platform::NM_RETURN, &MainWindow::OnFeedsReturn);
  MapNotify(kNewsboxesList, platform::LVN_ITEMCHANGED, &MainWindow::OnNewsboxesChanged);
  MapNotify(kNewsboxesList, platform::NM_CLICK, &MainWindow::OnNewsboxesChanged);
  MapNotify(kNewsboxesList, platform::NM_DBLCLK, &MainWindow::OnNewsboxesOpen);
  MapNotify(kNewsboxesList, platform::NM_RETURN, &MainWindow::OnNewsboxesOpen);
  MapNotify(kNewsboxesList, platform::NM_RCLICK, &MainWindow::OnNewsboxesRightClick);
  MapNotify(kNewsboxesList, platform::LVN_KEYDOWN, &MainWindow::OnNewsboxesKey);
  MapCommand(kAddButton, &MainWindow::OnAdd);
  MapCommand(kEditButton, &MainWindow::OnEdit);
  MapCommand(kDeleteButton, &MainWindow::OnDelete);
  MapCommand(kDownloadButton, &MainWindow::OnDownload);
  MapCommand(kStopButton, &MainWindow::OnStop);
  MapCommand(kNewsboardButton, &MainWindow::OnNewsboard);
  MapCommand(kHelpButton, &MainWindow::OnHelp);
  MapCommand(kHelpCommand, &MainWindow::OnHelp);
  MapCommand(kAboutCommand, &MainWindow::OnAbout);
  MapCommand(kCloseButton, &MainWindow::OnClose);
  MapCommand(kOpenNewsboxCommand, &MainWindow::OnOpenNewsbox);
  MapCommand(kCloseNewsboxCommand, &MainWindow::OnCloseNewsbox);
  // Escape is swallowed: the window ends only by Close or by its own acts.
  MapCommand(platform::IDCANCEL, &MainWindow::OnNothing);
}

MainWindow::~MainWindow() {
  if (newsbox_menu_) platform::DestroyMenu(newsbox_menu_);
}

LResult MainWindow::OnInitDialog(WParam, LParam) {
  const bool first_run = !FileExists(context_.paths.settings_file);
  EnsureNewsBoard(news_board_, context_);
  platform::SetDialogKeys(Handle(), {.enter = false, .escape = false});
  if (const auto* table = res::FindAcceleratorTable(kAccelerators))
    platform::SetDialogAccelerators(Handle(), *table);
  CloseHostMailboxWindow(context_.paths.mdi_client, kStagingMailbox);
  check_ =
      std::make_unique<MainWindowCheck>(Handle(), context_.paths, news_board_, stop_requested_);
  check_->SetGeneralLine(kReadyText);
  if (const auto* menu = res::FindMenu(res::popup_menu::kMenu))
    newsbox_menu_ = platform::CreateMenuFromTemplate(*menu);
  SetUpLists();
  LoadFeeds();
  PlaceWindow(Handle(),
              {ReadProfileInt(settings::kWindowsSection, settings::kPositionLeft,
                              settings::kDefaultPositionLeft, context_.paths.settings_file),
               ReadProfileInt(settings::kWindowsSection, settings::kPositionTop,
                              settings::kDefaultPositionTop, context_.paths.settings_file)});
  if (first_run) OpenHelpTopic(Handle(), context_.help_file, kGettingStartedTopic);
  SelectFirstFeed();
  EnableItem(kStopButton, false);
  if (mode_ == Mode::kCacheImport) SetControlsEnabled(false);
  StartClock();
  return 0;
}

void MainWindow::SetUpLists() {
  SetUpList(Item(kFeedsList), "Feeds", kFeedIcons);
  SetUpList(Item(kNewsboxesList), "newsbox", kNewsboxIcons);
}

void MainWindow::LoadFeeds() {
  for (const FeedRecord& feed : LoadFeedList(context_.paths.settings_file)) {
    AddFeedRow(feed);
    AddNewsboxRow(feed);
  }
  SortLists();
}

void MainWindow::AddFeedRow(const FeedRecord& feed) {
  feeds_.push_back(feed);
  platform::InsertListViewRow(
      Item(kFeedsList), platform::GetListViewRowCount(Item(kFeedsList)),
      {{feed.Alias}, FeedImageIndex(feed), static_cast<LParam>(feeds_.size() - 1)});
}

void MainWindow::AddNewsboxRow(const FeedRecord& feed) {
  if (!NeedsNewsboxRow(feed, newsboxes_)) return;
  newsboxes_.push_back(ReadNewsboxEntry(feed.Newsbox, feed.NewsboxPath));
  const NewsboxEntry& entry = newsboxes_.back();
  platform::InsertListViewRow(Item(kNewsboxesList),
                              platform::GetListViewRowCount(Item(kNewsboxesList)),
                              {{NewsboxRowText(entry)},
                               NewsboxImageIndex(entry),
                               static_cast<LParam>(newsboxes_.size() - 1)});
}

void MainWindow::SortLists() {
  platform::SortListView(Item(kFeedsList), [this](LParam a, LParam b) {
    return platform::CompareIgnoringCase(feeds_[a].Alias, feeds_[b].Alias);
  });
  platform::SortListView(Item(kNewsboxesList), [this](LParam a, LParam b) {
    return platform::CompareIgnoringCase(NewsboxRowText(newsboxes_[a]),
                                         NewsboxRowText(newsboxes_[b]));
  });
}

std::vector<int> MainWindow::SelectedFeedRows() const {
  std::vector<int> rows;
  for (int row = platform::GetNextSelectedListViewRow(Item(kFeedsList)); row >= 0;
       row = platform::GetNextSelectedListViewRow(Item(kFeedsList), row))
    rows.push_back(row);
  return rows;
}

const FeedRecord* MainWindow::FeedOfRow(int row) const {
  const auto data = platform::GetListViewRow(Item(kFeedsList), row);
  if (!data) return nullptr;
  return &feeds_[static_cast<std::size_t>(data->user_value)];
}

int MainWindow::SelectedNewsboxRow() const {
  return platform::GetNextSelectedListViewRow(Item(kNewsboxesList));
}

LResult MainWindow::OnTimer(WParam timer, LParam) {
  if (timer == kClockTimer) ShowClock();
  return 0;
}

void MainWindow::ShowClock() {
  SetItemText(kInfoLine, "Current Time: \n" + platform::FormatDate(platform::CurrentLocalDate(),
                                                                   "%m/%d/%Y %H:%M:%S"));
}

void MainWindow::StartClock() { platform::SetTimer(Handle(), kClockTimer, kClockPeriod); }

void MainWindow::StopClock() { platform::KillTimer(Handle(), kClockTimer); }

LResult MainWindow::OnUpdateGui(WParam wparam, LParam) {
  if (wparam == 1) SetCaption(context_.product_name);
  return 0;
}

LResult MainWindow::OnIgnored(WParam, LParam) { return 0; }

void MainWindow::OnNothing() {}

void MainWindow::OnStop() { stop_requested_ = true; }

void MainWindow::OnNewsboard() {
  const LResult answer =
      platform::SendMessage(news_board_, RegisteredWindowMessages().display_window, 1, 0);
  if (answer != 1 || !platform::BringWindowToTop(news_board_)) return;
  platform::SetForegroundWindow(news_board_);
  platform::SetFocus(news_board_);
}

void MainWindow::OnHelp() {
  OpenHelpTopic(Handle(), context_.help_file, kDownloadingArticlesTopic);
}

void MainWindow::OnAbout() {
  AboutDialog(context_.about_caption, context_.about_text).RunModal(Handle());
}

void MainWindow::OnClose() { Close(summary_.new_articles); }

void MainWindow::Close(int result) {
  StopClock();
  if (const auto rect = platform::GetWindowRect(Handle())) {
    WriteProfileInt(settings::kWindowsSection, settings::kPositionLeft, rect->left,
                    context_.paths.settings_file);
    WriteProfileInt(settings::kWindowsSection, settings::kPositionTop, rect->top,
                    context_.paths.settings_file);
  }
  EndDialog(result);
}

}  // namespace tavi
