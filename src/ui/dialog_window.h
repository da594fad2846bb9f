#pragma once

// The base of every window of Tavi: a dialog built from one of Tavi's
// templates (res/resources.h), modal or modeless, whose messages go through
// the message map that the deriving class fills in its constructor:
//
//   InformationDialog::InformationDialog(...) : DialogWindow(kDialog) {
//     MapMessage(WM_INITDIALOG, &InformationDialog::OnInitDialog);
//     MapCommand(kOkButton, &InformationDialog::OnOk);
//   }
//
// What the map leaves goes to the dialog's default handling, except Cancel:
// a window that maps no IDCANCEL is ended with IDCANCEL by Escape and by its
// close box, as the system's dialogs are. A window keeps no logic that the
// tavi command could need: its texts and decisions come from plain
// functions, and it only shows them and hands on what the user does.
//
// A window object and its window live on the thread that opens it.

#include <optional>
#include <string>

#include "platform/winsys.h"
#include "platform/winsys_dialog.h"
#include "ui/message_map.h"

namespace tavi {

class DialogWindow {
 public:
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Runs the window modally over `owner` (none: a window without an owner)
  // and returns the result given to EndDialog. -1 when Tavi has no template
  // of the window's id, the window is already open, `owner` is stale, or the
  // window ends without EndDialog (a WM_QUIT, which is left for the outer
  // loop).
  int RunModal(platform::WindowHandle owner);

  // Creates the window modeless and hidden (ShowWindow shows it) for
  // `parent` (none: no owner). It lives until it is destroyed or this object
  // goes; EndDialog only hides it. Returns the window; none when Tavi has no
  // template of the window's id, the window is already open, or `parent` is
  // stale.
  platform::WindowHandle Create(platform::WindowHandle parent);

  // The window while it exists (from its first message on); none before and
  // after.
  platform::WindowHandle Handle() const { return handle_; }

 protected:
  // `template_id`: the dialog template the window is built from.
  explicit DialogWindow(int template_id) : template_id_(template_id) {}
  // Destroys a modeless window that is still open, calling none of the
  // deriving class's handlers, which are gone by then.
  ~DialogWindow();

  // Entries of the message map (message_map.h tells how each is matched):
  // `handler` is a member function of the deriving class `Window`.
  template <typename Window>
  void MapMessage(platform::MessageId message,
                  platform::LResult (Window::*handler)(platform::WParam, platform::LParam)) {
    map_.OnMessage(message, [this, handler](platform::WParam wparam, platform::LParam lparam) {
      return (static_cast<Window*>(this)->*handler)(wparam, lparam);
    });
  }
  template <typename Window>
  void MapCommand(int command_id, void (Window::*handler)()) {
    map_.OnCommand(command_id, [this, handler] { (static_cast<Window*>(this)->*handler)(); });
  }
  template <typename Window>
  void MapNotify(int control_id, int code,
                 platform::LResult (Window::*handler)(const platform::NotifyHeader&)) {
    map_.OnNotify(control_id, code, [this, handler](const platform::NotifyHeader& header) {
      return (static_cast<Window*>(this)->*handler)(header);
    });
  }

  // The common steps on the open window's controls. Each returns none, ""
  // or false when the window is not open or has no control `id`.
  platform::WindowHandle Item(int id) const;
  std::string ItemText(int id) const;
  bool SetItemText(int id, const std::string& text) const;
  bool EnableItem(int id, bool enable) const;
  bool ShowItem(int id, bool show) const;
  // The window's caption.
  bool SetCaption(const std::string& caption) const;
  // Ends the window with `result`: a modal one's RunModal returns it, a
  // modeless one is hidden. False when the window is not open.
  bool EndDialog(int result) const;

 private:
  std::optional<platform::LResult> Procedure(platform::WindowHandle dialog,
                                             platform::MessageId message, platform::WParam wparam,
                                             platform::LParam lparam);
  platform::DialogProcedure ProcedureOfThis();

  const int template_id_;
  platform::WindowHandle handle_;
  MessageMap map_;
};

}  // namespace tavi
