#include "ui/information_dialog.h"

#include <utility>

#include "platform/winsys_controls.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_shell.h"
#include "res/information_dialog_ids.h"
#include "ui/feed_validator.h"

namespace tavi {
namespace {

using namespace res::information_dialog;

}  // namespace

InformationDialog::InformationDialog(InformationInputs inputs, std::string product_name)
    : DialogWindow(kDialog), inputs_(std::move(inputs)), product_name_(std::move(product_name)) {
  MapMessage(platform::WM_INITDIALOG, &InformationDialog::OnInitDialog);
  MapCommand(kOkButton, &InformationDialog::OnOk);
  MapCommand(kVerifyButton, &InformationDialog::OnVerify);
}

platform::LResult InformationDialog::OnInitDialog(platform::WParam, platform::LParam) {
  const InformationMessage message = ComposeInformationMessage(inputs_, product_name_);
  SetCaption(message.caption);
  SetItemText(kMessageText, message.text);
  platform::SetWindowIcon(Item(kMessagePicture), message.icon);
  ShowItem(kVerifyButton, message.verify_button);
  // OK takes the focus, so that Enter acknowledges the message even when
  // Verify, which comes first in the tab order, is shown.
  platform::SetFocus(Item(kOkButton));
  return 0;
}

void InformationDialog::OnOk() { EndDialog(kInformationOk); }

void InformationDialog::OnVerify() {
  // Fire and forget: a browser that cannot be started leaves the message as
  // it is.
  platform::ShellExecute(Handle(), "open", FeedValidatorAddress(inputs_.url), "",
                         platform::SW_SHOWNORMAL);
}

int ShowRunReport(platform::WindowHandle owner, const RunSummary& summary,
                  const std::string& product_name) {
  return InformationDialog(RunReportInputs(summary), product_name).RunModal(owner);
}

}  // namespace tavi
