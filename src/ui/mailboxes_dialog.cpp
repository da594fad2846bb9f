#include "ui/mailboxes_dialog.h"

#include <utility>

#include "delivery/host_automation.h"
#include "delivery/new_mailbox.h"
#include "files/file_names.h"
#include "platform/ascii.h"
#include "platform/fs.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "res/mailboxes_dialog_ids.h"
#include "ui/help_page.h"
#include "ui/new_mailbox_dialog.h"

namespace tavi {
namespace {

using namespace res::mailboxes_dialog;
using platform::TreeInsertPosition;
using platform::TreeItem;
using platform::TreeRelation;

constexpr int kChosen = 1;

// Indexes into kTreeIcons.
constexpr int kRootImage = 0;
constexpr int kMailboxImage = 1;
constexpr int kClosedFolderImage = 2;
constexpr int kOpenFolderImage = 3;

constexpr const char* kUnnamedRoot = "Mailboxes";

int ImageOf(MailboxKind kind) {
  switch (kind) {
    case MailboxKind::kMailbox:
      return kMailboxImage;
    case MailboxKind::kFolder:
      return kClosedFolderImage;
    case MailboxKind::kRoot:
      return kRootImage;
  }
  return kMailboxImage;
}

// The root is named after the data folder's last component.
MailboxEntry RootEntry(const std::string& data_folder) {
  const std::size_t separator = data_folder.rfind(platform::kPathSeparator);
  std::string name =
      separator == std::string::npos ? data_folder : data_folder.substr(separator + 1);
  if (name.empty()) name = kUnnamedRoot;
  return {name, data_folder, kCreatedMailboxNumber, MailboxKind::kRoot, 0};
}

}  // namespace

MailboxesDialog::MailboxesDialog(std::string data_folder, std::string help_file,
                                 std::string current_path)
    : DialogWindow(kDialog),
      data_folder_(std::move(data_folder)),
      help_file_(std::move(help_file)),
      current_path_(std::move(current_path)) {
  MapMessage(platform::WM_INITDIALOG, &MailboxesDialog::OnInitDialog);
  MapCommand(kSelectButton, &MailboxesDialog::OnSelect);
  MapCommand(kCreateNewButton, &MailboxesDialog::OnCreateNew);
  MapCommand(kCancelButton, &MailboxesDialog::OnCancel);
  MapCommand(kHelpButton, &MailboxesDialog::OnHelp);
  MapNotify(kMailboxTree, platform::TVN_SELCHANGED, &MailboxesDialog::OnSelectionChanged);
  MapNotify(kMailboxTree, platform::TVN_ITEMEXPANDED, &MailboxesDialog::OnItemExpanded);
  MapNotify(kMailboxTree, platform::NM_DBLCLK, &MailboxesDialog::OnDoubleClick);
  MapNotify(kMailboxTree, platform::NM_RETURN, &MailboxesDialog::OnReturn);
}

platform::LResult MailboxesDialog::OnInitDialog(platform::WParam, platform::LParam) {
  // Enter goes to the tree, where it means Select.
  platform::SetDialogKeys(Handle(), {.enter = false, .escape = true});
  platform::SetTreeViewImages(Tree(), {kTreeIcons.begin(), kTreeIcons.end()});
  root_ = AddNode({}, RootEntry(data_folder_), TreeInsertPosition::kLast);
  {
    const HostConnection connection;
    if (connection.IsConnected()) FillFolder(data_folder_, root_, CollectMailboxTree(connection));
  }
  platform::SortTreeChildren(Tree(), {}, true);
  platform::ExpandTreeItem(Tree(), root_, true);
  if (FileExists(current_path_)) SelectCurrentNewsbox();
  EnableButtons();
  return 1;
}

void MailboxesDialog::OnSelect() {
  const std::optional<MailboxEntry> selected = SelectedEntry();
  if (!selected || selected->kind != MailboxKind::kMailbox) return;
  chosen_ = selected;
  EndDialog(kChosen);
}

void MailboxesDialog::OnCreateNew() {
  const std::optional<MailboxEntry> folder = SelectedEntry();
  if (!folder || folder->kind == MailboxKind::kMailbox) return;
  const TreeItem parent = platform::GetNextTreeItem(Tree(), {}, TreeRelation::kSelection);
  NewMailboxDialog ask(folder->path);
  if (ask.RunModal(Handle()) != 1) return;
  const std::string path =
      CreateNewMailbox(ask.Name(), folder->path, folder->kind == MailboxKind::kRoot);
  if (path.empty()) return;
  // The name as typed: the host may have made it safe for its file.
  const TreeItem created =
      AddNode(parent, {ask.Name(), path, kCreatedMailboxNumber, MailboxKind::kMailbox, 0},
              TreeInsertPosition::kSorted);
  if (folder->kind == MailboxKind::kFolder) ShowExpanded(parent, true);
  platform::SetFocus(Tree());
  platform::SelectTreeItem(Tree(), created);
}

void MailboxesDialog::OnCancel() { EndDialog(platform::IDCANCEL); }

void MailboxesDialog::OnHelp() { ShowHelpPage(help_file_, kSettingsHelpPage); }

platform::LResult MailboxesDialog::OnSelectionChanged(const platform::NotifyHeader&) {
  EnableButtons();
  return 0;
}

platform::LResult MailboxesDialog::OnItemExpanded(const platform::NotifyHeader& header) {
  // Every tree-view notification starts with its header.
  const auto& notify = reinterpret_cast<const platform::TreeViewNotify&>(header);
  const std::size_t index = static_cast<std::size_t>(notify.new_user_value);
  if (index < nodes_.size() && nodes_[index].kind == MailboxKind::kFolder)
    ShowExpanded(notify.new_item, notify.expanded);
  return 0;
}

platform::LResult MailboxesDialog::OnDoubleClick(const platform::NotifyHeader&) {
  OnSelect();
  // 0: a double-clicked folder still opens or closes.
  return 0;
}

platform::LResult MailboxesDialog::OnReturn(const platform::NotifyHeader&) {
  OnSelect();
  return 1;
}

platform::WindowHandle MailboxesDialog::Tree() const { return Item(kMailboxTree); }

TreeItem MailboxesDialog::AddNode(TreeItem parent, MailboxEntry entry,
                                  TreeInsertPosition position) {
  const int image = ImageOf(entry.kind);
  const platform::TreeItemContent content{entry.name, image, image,
                                          static_cast<platform::LParam>(nodes_.size())};
  nodes_.push_back(std::move(entry));
  return platform::InsertTreeItem(Tree(), parent, position, content);
}

void MailboxesDialog::FillFolder(const std::string& folder_path, TreeItem parent,
                                 const std::vector<MailboxEntry>& listed) {
  for (MailboxEntry& entry : EntriesInFolder(listed, folder_path)) {
    const bool is_folder = entry.kind == MailboxKind::kFolder;
    const std::string path = entry.path;
    const TreeItem node = AddNode(parent, std::move(entry), TreeInsertPosition::kLast);
    // Each level is strictly deeper than the one before, so this ends.
    if (is_folder) FillFolder(path, node, listed);
  }
}

void MailboxesDialog::ShowExpanded(TreeItem item, bool expanded) {
  std::optional<platform::TreeItemState> state = platform::GetTreeItem(Tree(), item);
  if (!state) return;
  state->content.image = state->content.selected_image =
      expanded ? kOpenFolderImage : kClosedFolderImage;
  platform::SetTreeItem(Tree(), item, state->content);
  platform::ExpandTreeItem(Tree(), item, expanded);
}

// Walks the nodes in display order, opening each folder on the way, until
// the newsbox's node; the folders passed stay open.
void MailboxesDialog::SelectCurrentNewsbox() {
  const platform::WindowHandle tree = Tree();
  for (TreeItem item = platform::GetNextTreeItem(tree, root_, TreeRelation::kChild); item;
       item = platform::GetNextTreeItem(tree, item, TreeRelation::kNextVisible)) {
    const std::optional<platform::TreeItemState> state = platform::GetTreeItem(tree, item);
    if (!state) return;
    const MailboxEntry& entry = nodes_[static_cast<std::size_t>(state->content.user_value)];
    if (state->child_count > 0) ShowExpanded(item, true);
    if (platform::EqualsIgnoringCase(entry.path, current_path_)) {
      platform::SelectTreeItem(tree, item);
      return;
    }
  }
}

std::optional<MailboxEntry> MailboxesDialog::SelectedEntry() const {
  const TreeItem selected = platform::GetNextTreeItem(Tree(), {}, TreeRelation::kSelection);
  const std::optional<platform::TreeItemState> state = platform::GetTreeItem(Tree(), selected);
  if (!state) return std::nullopt;
  return nodes_.at(static_cast<std::size_t>(state->content.user_value));
}

void MailboxesDialog::EnableButtons() {
  const std::optional<MailboxEntry> selected = SelectedEntry();
  const bool mailbox = selected && selected->kind == MailboxKind::kMailbox;
  EnableItem(kSelectButton, mailbox);
  EnableItem(kCreateNewButton, selected && !mailbox);
}

std::optional<MailboxEntry> PickMailbox(platform::WindowHandle owner,
                                        const std::string& data_folder,
                                        const std::string& help_file,
                                        const std::string& current_path) {
  MailboxesDialog dialog(data_folder, help_file, current_path);
  if (dialog.RunModal(owner) != kChosen) return std::nullopt;
  return dialog.Chosen();
}

}  // namespace tavi
