#pragma once

// The Mailboxes dialog (template 112), the picker of a feed's newsbox: a
// tree of the host's mailboxes and folders under a root named after the
// data folder, as the automation server reports them (CollectMailboxTree),
// each level sorted by name. Select (or a double click, or Enter on the
// tree) takes the selected mailbox; Create New asks for a name
// (NewMailboxDialog) and has the host create that mailbox in the selected
// folder or at the top level (CreateNewMailbox), then selects it. Without
// the automation server the tree holds only its root.

#include <optional>
#include <string>
#include <vector>

#include "delivery/mailbox_tree.h"
#include "platform/winsys_tree_view.h"
#include "ui/dialog_window.h"

namespace tavi {

class MailboxesDialog : public DialogWindow {
 public:
  // `data_folder`: the host's mail data folder (the root); `help_file`:
  // Tavi's help; `current_path`: the newsbox's file now, selected when the
  // tree shows it. Run it with RunModal: 1 when a mailbox was chosen
  // (Chosen()), IDCANCEL for Cancel, Escape or the close box.
  MailboxesDialog(std::string data_folder, std::string help_file, std::string current_path);

  // The chosen mailbox; nullopt before one was chosen.
  const std::optional<MailboxEntry>& Chosen() const { return chosen_; }

 private:
  platform::LResult OnInitDialog(platform::WParam, platform::LParam);
  void OnSelect();
  void OnCreateNew();
  void OnCancel();
  void OnHelp();
  platform::LResult OnSelectionChanged(const platform::NotifyHeader&);
  platform::LResult OnItemExpanded(const platform::NotifyHeader& header);
  platform::LResult OnDoubleClick(const platform::NotifyHeader&);
  platform::LResult OnReturn(const platform::NotifyHeader&);

  platform::WindowHandle Tree() const;
  platform::TreeItem AddNode(platform::TreeItem parent, MailboxEntry entry,
                             platform::TreeInsertPosition position);
  void FillFolder(const std::string& folder_path, platform::TreeItem parent,
                  const std::vector<MailboxEntry>& listed);
  void ShowExpanded(platform::TreeItem item, bool expanded);
  void SelectCurrentNewsbox();
  // The entry of the selected node; nullopt when nothing is selected.
  std::optional<MailboxEntry> SelectedEntry() const;
  void EnableButtons();

  const std::string data_folder_;
  const std::string help_file_;
  const std::string current_path_;
  // The entry of every node, indexed by the node's user value.
  std::vector<MailboxEntry> nodes_;
  platform::TreeItem root_;
  std::optional<MailboxEntry> chosen_;
};

// The mailbox picker over `owner`: runs a MailboxesDialog and returns the
// chosen mailbox; nullopt when the user cancelled or the dialog could not be
// shown.
std::optional<MailboxEntry> PickMailbox(platform::WindowHandle owner,
                                        const std::string& data_folder,
                                        const std::string& help_file,
                                        const std::string& current_path);

}  // namespace tavi
