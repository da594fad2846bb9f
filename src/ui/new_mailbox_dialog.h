#pragma once

// The New Mailbox dialog (template 125): asks for the name of a mailbox to
// be created in one folder of the host's tree, and accepts only a name that
// IsFreeMailboxName allows there. A refused name leaves the dialog open
// without a word.

#include <string>

#include "ui/dialog_window.h"

namespace tavi {

class NewMailboxDialog : public DialogWindow {
 public:
  // `folder_path`: the folder the mailbox is for (the data folder for the
  // top level). Run it with RunModal: 1 when a name was accepted (Name()),
  // 0 for Cancel or Escape.
  explicit NewMailboxDialog(std::string folder_path);

  // The accepted name; "" before one was accepted.
  const std::string& Name() const { return name_; }

 private:
  void OnOk();
  void OnCancel();

  const std::string folder_path_;
  std::string name_;
};

}  // namespace tavi
