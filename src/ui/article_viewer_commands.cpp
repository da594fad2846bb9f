// The article viewer's commands: Transfer, Forward, Save As, the Window and
// Help menus, and Close.

#include "delivery/article_file.h"
#include "delivery/article_forward.h"
#include "delivery/article_transfer.h"
#include "delivery/transfer_targets.h"
#include "files/file_names.h"
#include "platform/save_file_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_mouse.h"
#include "platform/winsys_shell.h"
#include "res/article_viewer_ids.h"
#include "store/profile.h"
#include "store/settings_layout.h"
#include "ui/about_dialog.h"
#include "ui/article_viewer_window.h"
#include "ui/help_topics.h"
#include "ui/project_pages.h"

namespace tavi {
namespace {

using namespace res::article_viewer;
using platform::LParam;
using platform::LResult;
using platform::WParam;

constexpr int kLastTransferCommand = 1000;
// Stretch leaves the bottom of the desktop to the task bar.
constexpr int kStretchBottomMargin = 52;
constexpr const char* kSaveTitle = "Save Article As...";
constexpr const char* kSaveFilter =
    "News File (*.nws)|*.nws|E-Mail File (*.eml)|*.eml|Any File Type (*.*)|*.*|";
constexpr const char* kSaveFailedText = "The article could not be saved in the file ";
constexpr const char* kNotepad = "notepad.exe";

// The Transfer menu's submenu: the "&File" entry of the menu bar.
platform::MenuHandle TransferMenuOf(platform::MenuHandle menu_bar) {
  for (int position = 0; position < platform::GetMenuEntryCount(menu_bar); ++position) {
    const platform::MenuHandle submenu = platform::GetSubMenu(menu_bar, position);
    if (platform::FindMenuCommand(submenu, kTransferPlaceholderCommand) ||
        platform::FindMenuCommand(submenu, kInCommand))
      return submenu;
  }
  return {};
}

void AddTargets(platform::MenuHandle menu, const std::vector<TransferTarget>& targets) {
  for (const TransferTarget& target : targets) {
    if (target.kind != MailboxKind::kFolder) {
      platform::MenuEntry entry;
      entry.text = target.name;
      entry.command = target.number;
      platform::InsertMenuEntry(menu, -1, entry);
      continue;
    }
    const platform::MenuHandle folder = platform::CreateMenu();
    AddTargets(folder, target.entries);
    platform::MenuEntry entry;
    entry.text = target.name;
    entry.submenu = folder;
    platform::InsertMenuEntry(menu, -1, entry);
  }
}

platform::Size DesktopSize() {
  const auto rect = platform::GetWindowRect(platform::GetDesktopWindow());
  return rect ? platform::Size{rect->Width(), rect->Height()} : platform::kDefaultDesktopSize;
}

}  // namespace

void ArticleViewerWindow::BuildTransferMenu() {
  const platform::MenuHandle menu = TransferMenuOf(platform::GetMenu(Handle()));
  if (!menu) return;
  platform::DeleteMenuEntry(menu, 0);
  platform::MenuEntry in_entry;
  in_entry.text = "&In";
  in_entry.command = kInCommand;
  platform::InsertMenuEntry(menu, 0, in_entry);
  const HostConnection connection;
  if (!connection.IsConnected()) {
    connection.ReportError();
    return;
  }
  const std::vector<MailboxEntry> entries =
      CollectTransferEntries(connection, context_.paths.in_mailbox_file, context_.out_mailbox_file);
  AddTargets(menu, TransferTargetsIn(entries, context_.paths.data_folder));
}

LResult ArticleViewerWindow::OnCommandRange(WParam wparam, LParam) {
  const int command = platform::LowWord(wparam);
  if (command < kInCommand || command > kLastTransferCommand) return 0;
  OnTransferTo(command == kInCommand ? kInMailboxNumber : command);
  return 0;
}

void ArticleViewerWindow::OnTransferTo(std::int32_t target_number) {
  const ArticleTransfer transfer{context_.paths.data_folder, context_.paths.mdi_client,
                                 target_number, header_block_, CurrentBody()};
  const TransferResult result = TransferArticle(transfer, [this] { TakeFocusBack(); });
  switch (result.outcome) {
    case TransferOutcome::kArrived:
      Close();
      return;
    case TransferOutcome::kStagingBusy:
    case TransferOutcome::kNotStaged:
    case TransferOutcome::kLeftInPending:
      platform::MessageBox(Handle(), result.failure, context_.product_name,
                           platform::MB_OK | platform::MB_ICONWARNING);
      return;
  }
}

void ArticleViewerWindow::TakeFocusBack() {
  platform::PumpWaitingMessages();
  platform::BringWindowToTop(Handle());
  platform::SetFocus(Handle());
}

void ArticleViewerWindow::OnForwardInline() {
  ForwardInline(subject_, ArticleText(header_block_, CurrentBody()));
}

void ArticleViewerWindow::OnForwardAsAttachment() {
  ForwardAsAttachment(context_.paths.data_folder, subject_,
                      ArticleText(header_block_, CurrentBody()));
}

void ArticleViewerWindow::OnSaveAs() {
  platform::SaveFileRequest request;
  request.owner = Handle();
  request.title = kSaveTitle;
  request.filter = kSaveFilter;
  request.confirm_overwrite = true;
  request.hide_read_only = true;
  const std::optional<platform::SaveFileChoice> choice = platform::GetSaveFileName(request);
  if (!choice) return;
  if (SaveArticleFile(choice->path, header_block_, CurrentBody())) return;
  platform::MessageBox(Handle(), kSaveFailedText + choice->path + ".", context_.product_name,
                       platform::MB_OK | platform::MB_ICONERROR);
}

LResult ArticleViewerWindow::OnTransferDropDown(const platform::NotifyHeader&) {
  OnTransferButton();
  return 0;
}

void ArticleViewerWindow::OnTransferButton() {
  const platform::MenuHandle menu = TransferMenuOf(platform::GetMenu(Handle()));
  if (menu) platform::TrackPopupMenu(menu, platform::GetCursorPos(), Handle());
}

void ArticleViewerWindow::OnMaximize() { platform::ShowWindow(Handle(), platform::SW_MAXIMIZE); }

void ArticleViewerWindow::OnRestore() { platform::ShowWindow(Handle(), platform::SW_RESTORE); }

void ArticleViewerWindow::OnMinimize() { platform::ShowWindow(Handle(), platform::SW_MINIMIZE); }

void ArticleViewerWindow::OnStretch() {
  platform::ShowWindow(Handle(), platform::SW_RESTORE);
  const platform::Size desktop = DesktopSize();
  platform::MoveWindow(Handle(), {0, 0, desktop.width, desktop.height - kStretchBottomMargin});
}

void ArticleViewerWindow::OnCenter() {
  platform::ShowWindow(Handle(), platform::SW_RESTORE);
  const platform::Size desktop = DesktopSize();
  const int left = desktop.width / 4;
  const int top = desktop.height / 4;
  platform::MoveWindow(Handle(), {left, top, left + desktop.width / 2, top + desktop.height / 2});
}

void ArticleViewerWindow::OnTopics() {
  if (FileExists(context_.help_file))
    platform::ShellExecute(Handle(), "open", context_.help_file, "", platform::SW_SHOWNORMAL);
}

void ArticleViewerWindow::OnReleaseNotes() {
  if (FileExists(context_.release_notes_file)) {
    platform::ShellExecute(Handle(), "open", kNotepad, context_.release_notes_file,
                           platform::SW_SHOWNORMAL);
    return;
  }
  platform::ShellExecute(Handle(), "open", kReleaseNotesAddress, "", platform::SW_SHOWNORMAL);
}

void ArticleViewerWindow::OnAbout() {
  AboutDialog(context_.about_caption, context_.about_text).RunModal(Handle());
}

void ArticleViewerWindow::SavePlacement() const {
  const std::string& file = context_.paths.settings_file;
  const auto write = [&file](const char* key, int value) {
    WriteProfileInt(settings::kWindowsSection, key, value, file);
  };
  const platform::ShowState state = platform::GetShowState(Handle());
  const auto rect = platform::GetWindowRect(Handle());
  if (state == platform::ShowState::kNormal && rect) {
    write(settings::kMessageLeft, rect->left);
    write(settings::kMessageTop, rect->top);
    write(settings::kMessageWidth, rect->Width());
    write(settings::kMessageHeight, rect->Height());
  }
  const bool maximized = state == platform::ShowState::kMaximized;
  const bool minimized = state == platform::ShowState::kMinimized;
  write(settings::kMessageState, maximized ? 2 : minimized ? 1 : 0);
}

void ArticleViewerWindow::Close() {
  SavePlacement();
  platform::DestroyWindow(Handle());
}

}  // namespace tavi
