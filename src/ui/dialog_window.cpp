#include "ui/dialog_window.h"

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "res/resources.h"

namespace tavi {
namespace {

using platform::LParam;
using platform::LResult;
using platform::MessageId;
using platform::WindowHandle;
using platform::WParam;

bool IsCancel(MessageId message, WParam wparam) {
  return message == platform::WM_COMMAND && platform::LowWord(wparam) == platform::IDCANCEL;
}

}  // namespace

DialogWindow::~DialogWindow() {
  map_ = MessageMap();
  if (handle_) platform::DestroyWindow(handle_);
}

int DialogWindow::RunModal(WindowHandle owner) {
  const platform::DialogTemplate* dialog_template = res::FindDialog(template_id_);
  if (dialog_template == nullptr || handle_) return -1;
  return platform::DialogBox(*dialog_template, owner, ProcedureOfThis(), 0);
}

WindowHandle DialogWindow::Create(WindowHandle parent) {
  const platform::DialogTemplate* dialog_template = res::FindDialog(template_id_);
  if (dialog_template == nullptr || handle_) return {};
  return platform::CreateDialog(*dialog_template, parent, ProcedureOfThis(), 0);
}

WindowHandle DialogWindow::Item(int id) const {
  return handle_ ? platform::GetDlgItem(handle_, id) : WindowHandle{};
}

std::string DialogWindow::ItemText(int id) const { return platform::GetWindowText(Item(id)); }

bool DialogWindow::SetItemText(int id, const std::string& text) const {
  const WindowHandle item = Item(id);
  return item && platform::SetWindowText(item, text);
}

bool DialogWindow::EnableItem(int id, bool enable) const {
  const WindowHandle item = Item(id);
  return item && platform::EnableWindow(item, enable);
}

bool DialogWindow::ShowItem(int id, bool show) const {
  const WindowHandle item = Item(id);
  if (!item) return false;
  platform::ShowWindow(item, show ? platform::SW_SHOW : platform::SW_HIDE);
  return true;
}

bool DialogWindow::SetCaption(const std::string& caption) const {
  return handle_ && platform::SetWindowText(handle_, caption);
}

bool DialogWindow::EndDialog(int result) const {
  return handle_ && platform::EndDialog(handle_, result);
}

std::optional<LResult> DialogWindow::Procedure(WindowHandle dialog, MessageId message,
                                               WParam wparam, LParam lparam) {
  // Known from the first message on, so that the handlers of WM_CREATE and
  // WM_INITDIALOG can use the common steps.
  if (!handle_) handle_ = dialog;
  std::optional<LResult> result = map_.Dispatch(message, wparam, lparam);
  if (!result && IsCancel(message, wparam)) {
    platform::EndDialog(dialog, platform::IDCANCEL);
    result = 0;
  }
  if (message == platform::WM_NCDESTROY) handle_ = {};
  return result;
}

platform::DialogProcedure DialogWindow::ProcedureOfThis() {
  return [this](WindowHandle dialog, MessageId message, WParam wparam, LParam lparam) {
    return Procedure(dialog, message, wparam, lparam);
  };
}

}  // namespace tavi
