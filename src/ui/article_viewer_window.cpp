#include "ui/article_viewer_window.h"

#include <algorithm>

#include "delivery/message_text.h"
#include "platform/web_browser.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_toolbar.h"
#include "res/article_viewer_ids.h"
#include "res/resources.h"
#include "store/profile.h"
#include "store/settings_layout.h"

namespace tavi {
namespace {

using namespace res::article_viewer;
using platform::LParam;
using platform::LResult;
using platform::WParam;

constexpr platform::Size kMinimumSize{400, 200};
constexpr platform::Size kMaximumSize{2000, 2000};
constexpr int kMinimizedState = 1;
constexpr int kMaximizedState = 2;

bool IsWebAddress(const std::string& url) {
  return url.starts_with("http://") || url.starts_with("https://");
}

}  // namespace

ArticleViewerWindow::ArticleViewerWindow(const WindowContext& context, std::string header_block,
                                         std::string stored_body,
                                         std::function<void(const ArticleViewerWindow*)> destroyed)
    : DialogWindow(kDialog),
      context_(context),
      header_block_(std::move(header_block)),
      stored_body_(std::move(stored_body)),
      destroyed_(std::move(destroyed)) {
  MapMessage(platform::WM_INITDIALOG, &ArticleViewerWindow::OnInitDialog);
  MapMessage(platform::WM_SIZE, &ArticleViewerWindow::OnSize);
  MapMessage(platform::WM_NOTIFY, &ArticleViewerWindow::OnNotify);
  MapMessage(platform::WM_NCDESTROY, &ArticleViewerWindow::OnNcDestroy);
  MapMessage(platform::WM_COMMAND, &ArticleViewerWindow::OnCommandRange);
  MapNotify(kToolbar, platform::TBN_DROPDOWN, &ArticleViewerWindow::OnTransferDropDown);
  MapCommands();
}

ArticleViewerWindow::~ArticleViewerWindow() = default;

void ArticleViewerWindow::MapCommands() {
  using Window = ArticleViewerWindow;
  const std::pair<int, void (Window::*)()> commands[] = {
      {platform::IDOK, &Window::OnNothing},
      {platform::IDCANCEL, &Window::Close},
      {kCloseCommand, &Window::Close},
      {kForwardInlineCommand, &Window::OnForwardInline},
      {kForwardInlineButton, &Window::OnForwardInline},
      {kForwardAsAttachmentCommand, &Window::OnForwardAsAttachment},
      {kForwardAsAttachmentButton, &Window::OnForwardAsAttachment},
      {kSaveAsCommand, &Window::OnSaveAs},
      {kSaveAsButton, &Window::OnSaveAs},
      {kTransferButton, &Window::OnTransferButton},
      {kFullArticleCommand, &Window::OnFullArticle},
      {kFullArticleButton, &Window::OnFullArticle},
      {kNewsboxArticleCommand, &Window::OnNewsboxArticle},
      {kNewsboxArticleButton, &Window::OnNewsboxArticle},
      {kSourceCommand, &Window::OnSource},
      {kMaximizeCommand, &Window::OnMaximize},
      {kRestoreCommand, &Window::OnRestore},
      {kMinimizeCommand, &Window::OnMinimize},
      {kStretchCommand, &Window::OnStretch},
      {kCenterCommand, &Window::OnCenter},
      {kTopicsCommand, &Window::OnTopics},
      {kReleaseNotesCommand, &Window::OnReleaseNotes},
      {kAboutCommand, &Window::OnAbout},
      {kAboutButton, &Window::OnAbout},
  };
  for (const auto& [command, handler] : commands) MapCommand(command, handler);
}

LResult ArticleViewerWindow::OnInitDialog(WParam, LParam) {
  // Enter goes to the control that has the focus, and Escape does nothing:
  // the viewer ends only by Close.
  platform::SetDialogKeys(Handle(), {.enter = false, .escape = false});
  ShowItem(kSourcePane, false);
  BuildTransferMenu();
  ReadHeaders();
  SetCaption(feed_ + ", " + date_ + ", " + subject_);
  CreateToolbarAbove();
  platform::SetWindowTrackingSizes(Handle(), kMinimumSize, kMaximumSize);
  RestorePlacement();
  SetUpBrowser();
  view_mode_ = ArticleViewMode::kFullArticle;
  platform::BrowserNavigate(Item(kArticleBrowser), link_, platform::kNavigateNoHistory);
  platform::SetFocus(Item(kArticleBrowser));
  CheckViewCommands();
  return 0;
}

void ArticleViewerWindow::ReadHeaders() {
  feed_ = GetHeaderValue(header_block_, "Feed: ");
  subject_ = GetHeaderValue(header_block_, "Subject: ");
  date_ = GetHeaderValue(header_block_, "Date: ");
  link_ = GetHeaderValue(header_block_, "Website: ");
}

void ArticleViewerWindow::CreateToolbarAbove() {
  const platform::ToolbarTemplate* toolbar = res::FindToolbar(kToolbarResource);
  if (toolbar == nullptr) return;
  const platform::ToolbarPlacement placement =
      platform::CreateToolbar(Handle(), *toolbar, kToolbar);
  toolbar_ = placement.toolbar;
  toolbar_height_ = placement.height;
  platform::EnableToolbarButton(toolbar_, kModifiedArticleButton, false);
  if (const auto rect = platform::GetWindowRect(Handle()))
    platform::MoveWindow(Handle(),
                         {rect->left, rect->top, rect->right, rect->bottom + toolbar_height_});
  LayOut();
}

void ArticleViewerWindow::RestorePlacement() {
  const std::string& file = context_.paths.settings_file;
  const auto read = [&file](const char* key, int default_value) {
    return ReadProfileInt(settings::kWindowsSection, key, default_value, file);
  };
  const int left = read(settings::kMessageLeft, settings::kDefaultMessageLeft);
  const int top = read(settings::kMessageTop, settings::kDefaultMessageTop);
  const int width = read(settings::kMessageWidth, settings::kDefaultMessageWidth);
  const int height = read(settings::kMessageHeight, settings::kDefaultMessageHeight);
  platform::MoveWindow(Handle(), {left, top, left + width, top + height});
  const int state = read(settings::kMessageState, settings::kDefaultMessageState);
  if (state == kMinimizedState) platform::ShowWindow(Handle(), platform::SW_MINIMIZE);
  if (state == kMaximizedState) platform::ShowWindow(Handle(), platform::SW_MAXIMIZE);
}

void ArticleViewerWindow::SetUpBrowser() {
  platform::SetBrowserProperties(Item(kArticleBrowser),
                                 {.offline = true, .silent = true, .theater_mode = false});
}

LResult ArticleViewerWindow::OnSize(WParam wparam, LParam) {
  if (wparam != platform::SIZE_MINIMIZED) LayOut();
  return 0;
}

void ArticleViewerWindow::LayOut() {
  if (platform::IsIconic(Handle())) return;
  const auto client = platform::GetClientRect(Handle());
  if (!client) return;
  const platform::Rect area{client->left + 1, client->top + toolbar_height_, client->right - 1,
                            client->bottom - 1};
  platform::MoveWindow(Item(kArticleBrowser), area);
  platform::MoveWindow(Item(kSourcePane), area);
}

LResult ArticleViewerWindow::OnNotify(WParam wparam, LParam lparam) {
  const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lparam);
  if (header->id != kArticleBrowser) return 0;
  switch (header->code) {
    case platform::BRN_BEFORENAVIGATE2:
    case platform::BRN_NEWWINDOW2:
      OnBeforeNavigate(wparam, lparam);
      return 0;
    case platform::BRN_NAVIGATECOMPLETE2:
      if (!source_shown_) platform::SetFocus(Item(kArticleBrowser));
      return 0;
    case platform::BRN_DOWNLOADCOMPLETE:
      OnDownloadComplete();
      return 0;
  }
  return 0;
}

// A link the person clicks leaves the article: its page opens in the
// person's own browser, and the viewer keeps showing the article. The
// viewer's own navigations (the link, about:blank) go ahead.
void ArticleViewerWindow::OnBeforeNavigate(WParam, LParam lparam) {
  auto* notify = reinterpret_cast<platform::BrowserNotify*>(lparam);
  if (notify->header.code == platform::BRN_NEWWINDOW2) {
    notify->cancel = true;
    return;
  }
  if (!notify->by_person) return;
  notify->cancel = true;
  if (IsWebAddress(notify->url))
    platform::ShellExecute(Handle(), "open", notify->url, "", platform::SW_SHOWNORMAL);
}

void ArticleViewerWindow::OnDownloadComplete() {
  const platform::WindowHandle browser = Item(kArticleBrowser);
  if (view_mode_ == ArticleViewMode::kNewsboxArticle) {
    platform::SetBrowserBodyHtml(browser, stored_body_);
    return;
  }
  live_page_captured_ = !platform::BrowserLoadFailed(browser);
  live_page_html_ = live_page_captured_ ? platform::GetBrowserBodyHtml(browser) : "";
  live_page_text_ = live_page_captured_ ? platform::GetBrowserBodyText(browser) : "";
}

const std::string& ArticleViewerWindow::CurrentBody() const {
  if (view_mode_ == ArticleViewMode::kFullArticle && live_page_captured_) return live_page_html_;
  return stored_body_;
}

void ArticleViewerWindow::OnFullArticle() { ShowView(ArticleViewMode::kFullArticle); }

void ArticleViewerWindow::OnNewsboxArticle() { ShowView(ArticleViewMode::kNewsboxArticle); }

void ArticleViewerWindow::ShowView(ArticleViewMode mode) {
  view_mode_ = mode;
  if (mode == ArticleViewMode::kFullArticle) {
    platform::BrowserNavigate(Item(kArticleBrowser), link_);
  } else {
    // The load's completion puts the stored body into the empty page.
    platform::BrowserNavigate(Item(kArticleBrowser), "about:blank");
  }
  if (source_shown_) ShowSource(false);
  CheckViewCommands();
}

void ArticleViewerWindow::CheckViewCommands() {
  const platform::MenuHandle menu = platform::GetMenu(Handle());
  platform::CheckMenuCommand(menu, kFullArticleCommand,
                             view_mode_ == ArticleViewMode::kFullArticle);
  platform::CheckMenuCommand(menu, kNewsboxArticleCommand,
                             view_mode_ == ArticleViewMode::kNewsboxArticle);
  platform::CheckMenuCommand(menu, kSourceCommand, source_shown_);
}

void ArticleViewerWindow::OnSource() { ShowSource(!source_shown_); }

void ArticleViewerWindow::ShowSource(bool show) {
  source_shown_ = show;
  if (show) SetItemText(kSourcePane, CurrentBody());
  ShowItem(kArticleBrowser, !show);
  ShowItem(kSourcePane, show);
  platform::SetFocus(Item(show ? kSourcePane : kArticleBrowser));
  CheckViewCommands();
}

LResult ArticleViewerWindow::OnNcDestroy(WParam, LParam) {
  if (destroyed_) destroyed_(this);
  return 0;
}

}  // namespace tavi
