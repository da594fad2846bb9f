#include "ui/news_board.h"

#include <algorithm>
#include <array>

#include "platform/web_browser.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_toolbar.h"
#include "res/news_board_ids.h"
#include "res/popup_menu_ids.h"
#include "res/resources.h"
#include "store/profile.h"
#include "ui/about_dialog.h"
#include "ui/window_messages.h"
#include "ui/window_placement.h"

namespace tavi {
namespace {

using namespace res::news_board;
using platform::LParam;
using platform::LResult;
using platform::WParam;

// The splitter bar's margins: the list and the preview keep this much.
constexpr int kSplitterMargin = 50;
// The preview keeps this much height below the bar's top when the person
// shrinks the board.
constexpr int kPreviewMinimumHeight = 75;
constexpr platform::Size kMinimumTrackingSize{250, 0};
constexpr platform::Size kMaximumTrackingSize{2250, 2150};
// Each pane keeps this much from the board's edges and from the bar.
constexpr int kPaneGap = 1;
constexpr int kStateNormal = 0;
constexpr int kStateMinimised = 1;
constexpr int kStateMaximised = 2;

// The boards the plug-in has created, each owned here for the life of its
// window; only the host's user-interface thread touches the list.
std::vector<std::unique_ptr<NewsBoard>>& Boards() {
  static std::vector<std::unique_ptr<NewsBoard>> boards;
  return boards;
}

void ForgetClosedBoards() {
  std::erase_if(Boards(), [](const auto& board) { return !board->Handle(); });
}

}  // namespace

NewsBoard::NewsBoard(WindowContext context) : DialogWindow(kDialog), context_(std::move(context)) {
  const WindowMessages& messages = RegisteredWindowMessages();
  MapMessage(platform::WM_INITDIALOG, &NewsBoard::OnInitDialog);
  MapMessage(platform::WM_CLOSE, &NewsBoard::OnClose);
  MapMessage(platform::WM_SIZE, &NewsBoard::OnSize);
  MapMessage(platform::WM_WINDOWPOSCHANGING, &NewsBoard::OnWindowPosChanging);
  MapMessage(kSplitterMovedMessage, &NewsBoard::OnSplitterMoved);
  MapMessage(messages.display_window, &NewsBoard::OnDisplayWindow);
  MapMessage(messages.new_article, &NewsBoard::OnNewArticle);
  MapMessage(messages.update_blog_report, &NewsBoard::OnUpdateBlogReport);
  MapMessage(messages.exit_host, &NewsBoard::OnExitHost);
  MapNotify(kHeadlineList, platform::LVN_COLUMNCLICK, &NewsBoard::OnColumnClick);
  MapNotify(kHeadlineList, platform::LVN_ITEMCHANGED, &NewsBoard::OnSelectionChanged);
  MapNotify(kHeadlineList, platform::NM_CLICK, &NewsBoard::OnSelectionChanged);
  MapNotify(kHeadlineList, platform::NM_DBLCLK, &NewsBoard::OnDoubleClick);
  MapNotify(kHeadlineList, platform::NM_RCLICK, &NewsBoard::OnRightClick);
  MapNotify(kHeadlineList, platform::LVN_KEYDOWN, &NewsBoard::OnListKey);
  MapNotify(kPreview, platform::BRN_BEFORENAVIGATE2, &NewsBoard::OnBeforeNavigate);
  MapNotify(kPreview, platform::BRN_NEWWINDOW2, &NewsBoard::OnNewWindow);
  MapNotify(kPreview, platform::BRN_DOWNLOADCOMPLETE, &NewsBoard::OnDownloadComplete);
  for (int command : {kOpenCommand, kOpenButton}) MapCommand(command, &NewsBoard::OnOpen);
  for (int command : {kBrowseCommand, kBrowseButton}) MapCommand(command, &NewsBoard::OnBrowse);
  for (int command : {kRemoveCommand, kRemoveButton}) MapCommand(command, &NewsBoard::OnRemove);
  for (int command : {kOpenNewsboxCommand, kOpenNewsboxButton})
    MapCommand(command, &NewsBoard::OnOpenNewsbox);
  MapCommand(kSelectAllCommand, &NewsBoard::OnSelectAll);
  MapCommand(kAboutButton, &NewsBoard::OnAbout);
  // Escape is swallowed: the board goes only by its close box.
  MapCommand(platform::IDCANCEL, &NewsBoard::OnNothing);
}

NewsBoard::~NewsBoard() {
  if (menu_) platform::DestroyMenu(menu_);
}

LResult NewsBoard::OnInitDialog(WParam, LParam) {
  // Enter reaches the list, where it opens the selected articles.
  platform::SetDialogKeys(Handle(), {.enter = false, .escape = false});
  if (const auto* menu = res::FindMenu(res::popup_menu::kMenu))
    menu_ = platform::CreateMenuFromTemplate(*menu);
  SetUpList();
  SetUpToolbar();
  SetUpSplitter();
  platform::BrowserNavigate(Item(kPreview), kEmptyPage, platform::kNavigateNoHistory);
  const std::string& file = context_.paths.settings_file;
  sort_order_ = ReadProfileInt(settings::kColumnsSection, settings::kSortOrder,
                               settings::kDefaultSortOrder, file);
  sort_key_ = ReadProfileInt(settings::kColumnsSection, settings::kSortKey,
                             settings::kDefaultSortKey, file);
  Sort();
  PlaceFromSettings();
  return 0;
}

void NewsBoard::SetUpList() {
  const platform::WindowHandle list = Item(kHeadlineList);
  for (int column = 0; column < kHeadlineColumnCount; ++column) {
    const char* title = kHeadlineColumnTitles[column];
    platform::InsertListViewColumn(
        list, column,
        {title, ReadProfileInt(settings::kColumnsSection, title, settings::kDefaultColumnWidth,
                               context_.paths.settings_file)});
  }
  platform::SetListViewImages(list, {kRowIcons.begin(), kRowIcons.end()});
}

// The toolbar goes above the template's controls, which move down, and the
// board grows by its height so that they keep their sizes.
void NewsBoard::SetUpToolbar() {
  const auto* toolbar = res::FindToolbar(kToolbarResource);
  if (toolbar == nullptr) return;
  const platform::ToolbarPlacement placement =
      platform::CreateToolbar(Handle(), *toolbar, kToolbar);
  toolbar_height_ = placement.height;
  for (const platform::WindowHandle child : platform::GetChildWindows(Handle())) {
    const auto rect = platform::GetChildRect(child);
    if (child == placement.toolbar || !rect) continue;
    platform::MoveWindow(child, {rect->left, rect->top + toolbar_height_, rect->right,
                                 rect->bottom + toolbar_height_});
  }
  if (const auto rect = platform::GetWindowRect(Handle()))
    platform::MoveWindow(Handle(),
                         {rect->left, rect->top, rect->right, rect->bottom + toolbar_height_});
  UpdateToolbar();
}

void NewsBoard::SetUpSplitter() {
  splitter_.Attach(Handle(), kSplitterBar);
  splitter_.SetMargins(kSplitterMargin, kSplitterMargin);
  splitter_.AddAbove(kHeadlineList);
  splitter_.AddBelow(kPreview);
  splitter_top_ = ReadProfileInt(settings::kWindowsSection, settings::kSplitterTop,
                                 settings::kDefaultSplitterTop, context_.paths.settings_file);
  Layout();
}

void NewsBoard::PlaceFromSettings() {
  const std::string& file = context_.paths.settings_file;
  const char* section = settings::kWindowsSection;
  const int left =
      ReadProfileInt(section, settings::kNewsboardLeft, settings::kDefaultNewsboardLeft, file);
  const int top =
      ReadProfileInt(section, settings::kNewsboardTop, settings::kDefaultNewsboardTop, file);
  const int width =
      ReadProfileInt(section, settings::kNewsboardWidth, settings::kDefaultNewsboardWidth, file);
  const int height =
      ReadProfileInt(section, settings::kNewsboardHeight, settings::kDefaultNewsboardHeight, file);
  const int state =
      ReadProfileInt(section, settings::kNewsboardState, settings::kDefaultNewsboardState, file);
  platform::MoveWindow(Handle(), {left, top, left + width, top + height});
  PlaceWindow(Handle(), {left, top});
  // The board takes the state and stays hidden until it shows itself.
  if (state == kStateMinimised) platform::ShowWindow(Handle(), platform::SW_SHOWMINIMIZED);
  if (state == kStateMaximised) platform::ShowWindow(Handle(), platform::SW_MAXIMIZE);
}

void NewsBoard::Show(bool show) {
  visible_ = show;
  platform::ShowWindow(Handle(), show ? platform::SW_SHOW : platform::SW_HIDE);
}

LResult NewsBoard::OnDisplayWindow(WParam wparam, LParam) {
  Show(wparam == 1);
  return 1;
}

// Only the board's own Show makes it visible: whoever else shows it (its
// creation in a minimised or maximised state included) leaves it hidden.
LResult NewsBoard::OnWindowPosChanging(WParam, LParam lparam) {
  auto* change = reinterpret_cast<platform::WindowPos*>(lparam);
  if (!visible_) change->flags &= ~platform::SWP_SHOWWINDOW;
  return 0;
}

LResult NewsBoard::OnExitHost(WParam, LParam) {
  if (!visible_) return 1;
  SaveSettings();
  Show(false);
  return 1;
}

LResult NewsBoard::OnClose(WParam, LParam) {
  SaveSettings();
  Show(false);
  return 0;
}

// The list runs from the toolbar to the bar, the preview from the bar to
// the bottom; the bar keeps its top and spans the width.
void NewsBoard::Layout() {
  const auto client = platform::GetClientRect(Handle());
  if (!client) return;
  const int right = client->right - kPaneGap;
  const int bar_bottom = splitter_top_ + kSplitterBarHeight;
  platform::MoveWindow(Item(kHeadlineList),
                       {kPaneGap, toolbar_height_, right, splitter_top_ - kPaneGap});
  platform::MoveWindow(Item(kSplitterBar), {0, splitter_top_, client->right, bar_bottom});
  platform::MoveWindow(Item(kPreview), {kPaneGap, bar_bottom + kPaneGap, right, client->bottom});
  platform::SetWindowTrackingSizes(
      Handle(), {kMinimumTrackingSize.width, splitter_top_ + kPreviewMinimumHeight},
      kMaximumTrackingSize);
}

LResult NewsBoard::OnSize(WParam wparam, LParam) {
  if (wparam != platform::SIZE_MINIMIZED) Layout();
  return 0;
}

LResult NewsBoard::OnSplitterMoved(WParam, LParam) {
  if (const auto bar = platform::GetChildRect(splitter_.Handle())) splitter_top_ = bar->top;
  Layout();
  return 0;
}

// All in one rewrite of the settings file: the board closes as the host
// exits, when a second rewrite might not come.
void NewsBoard::SaveSettings() const {
  std::array<int, kHeadlineColumnCount> widths{};
  for (int column = 0; column < kHeadlineColumnCount; ++column)
    widths[column] = platform::GetListViewColumnWidth(Item(kHeadlineList), column);
  int state = kStateNormal;
  if (platform::IsZoomed(Handle())) state = kStateMaximised;
  if (platform::IsIconic(Handle())) state = kStateMinimised;
  // Only the normal rectangle is kept, so that a board closed maximised
  // comes back to it when restored.
  const auto rect = state == kStateNormal ? platform::GetWindowRect(Handle()) : std::nullopt;
  const auto bar = platform::GetChildRect(splitter_.Handle());
  EditProfileBatch(context_.paths.settings_file, [&](ProfileBatch& batch) {
    const char* columns = settings::kColumnsSection;
    const char* windows = settings::kWindowsSection;
    batch.WriteInt(columns, settings::kSortOrder, sort_order_);
    batch.WriteInt(columns, settings::kSortKey, sort_key_);
    for (int column = 0; column < kHeadlineColumnCount; ++column)
      batch.WriteInt(columns, kHeadlineColumnTitles[column], widths[column]);
    if (rect) {
      batch.WriteInt(windows, settings::kNewsboardLeft, rect->left);
      batch.WriteInt(windows, settings::kNewsboardTop, rect->top);
      batch.WriteInt(windows, settings::kNewsboardWidth, rect->Width());
      batch.WriteInt(windows, settings::kNewsboardHeight, rect->Height());
    }
    batch.WriteInt(windows, settings::kNewsboardState, state);
    if (bar) batch.WriteInt(windows, settings::kSplitterTop, bar->top);
    return true;
  });
}

void NewsBoard::OnAbout() {
  AboutDialog(context_.about_caption, context_.about_text).RunModal(Handle());
}

void NewsBoard::OnNothing() {}

platform::WindowHandle EnsureNewsBoard(platform::WindowHandle& news_board,
                                       const WindowContext& context) {
  if (platform::IsWindow(news_board)) return news_board;
  auto board = std::make_unique<NewsBoard>(context);
  news_board = board->Create(platform::GetDesktopWindow());
  if (!news_board) return {};
  // Listed only once a window exists, so that the list outlives the window
  // system's own records at the process's end.
  ForgetClosedBoards();
  Boards().push_back(std::move(board));
  return news_board;
}

void CloseNewsBoard(platform::WindowHandle& news_board) {
  if (!platform::IsWindow(news_board)) return;
  platform::SendMessage(news_board, RegisteredWindowMessages().exit_host, 1, 1);
  std::erase_if(Boards(), [&](const auto& board) { return board->Handle() == news_board; });
  if (platform::IsWindow(news_board)) platform::DestroyWindow(news_board);
  news_board = {};
}

}  // namespace tavi
