#include "ui/about_dialog.h"

#include <utility>

#include "platform/winsys_focus.h"
#include "platform/winsys_shell.h"
#include "res/about_box_ids.h"
#include "ui/project_pages.h"

namespace tavi {

using namespace res::about_box;

AboutDialog::AboutDialog(std::string caption, std::string text)
    : DialogWindow(kDialog), caption_(std::move(caption)), text_(std::move(text)) {
  MapMessage(platform::WM_INITDIALOG, &AboutDialog::OnInitDialog);
  MapCommand(kCloseButton, &AboutDialog::OnClose);
  MapCommand(kHomePageButton, &AboutDialog::OnHomePage);
  MapCommand(kReleaseNotesButton, &AboutDialog::OnReleaseNotes);
}

platform::LResult AboutDialog::OnInitDialog(platform::WParam, platform::LParam) {
  SetCaption(caption_);
  SetItemText(kAboutText, text_);
  // Close takes the focus, so that Enter closes the box rather than open
  // the first page, whose button comes first in the tab order.
  platform::SetFocus(Item(kCloseButton));
  return 0;
}

void AboutDialog::OnClose() { EndDialog(platform::IDOK); }

void AboutDialog::OnHomePage() { OpenPage(kHomePageAddress); }

void AboutDialog::OnReleaseNotes() { OpenPage(kReleaseNotesAddress); }

void AboutDialog::OpenPage(const char* address) {
  // A browser that cannot be started leaves the box as it is.
  platform::ShellExecute(Handle(), "open", address, "", platform::SW_SHOWNORMAL);
}

}  // namespace tavi
