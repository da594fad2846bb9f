#include "ui/new_mailbox_dialog.h"

#include <utility>

#include "delivery/new_mailbox.h"
#include "res/new_mailbox_dialog_ids.h"

namespace tavi {
namespace {

using namespace res::new_mailbox_dialog;

constexpr int kAccepted = 1;
constexpr int kCancelled = 0;

}  // namespace

NewMailboxDialog::NewMailboxDialog(std::string folder_path)
    : DialogWindow(kDialog), folder_path_(std::move(folder_path)) {
  MapCommand(kOkButton, &NewMailboxDialog::OnOk);
  MapCommand(kCancelButton, &NewMailboxDialog::OnCancel);
  MapCommand(platform::IDCANCEL, &NewMailboxDialog::OnCancel);
}

void NewMailboxDialog::OnOk() {
  const std::string name = ItemText(kNameEdit);
  if (!IsFreeMailboxName(folder_path_, name)) return;
  name_ = name;
  EndDialog(kAccepted);
}

void NewMailboxDialog::OnCancel() { EndDialog(kCancelled); }

}  // namespace tavi
