#pragma once

// A window's message map: the table through which a window class says which
// of its handlers answers which message. Three kinds of entry:
// - a window message (WM_INITDIALOG, a registered message, ...), handed
//   wParam and lParam, whose result is the message's result;
// - a command id: WM_COMMAND from a control, a menu or an accelerator with
//   that id, whatever its notification code;
// - a control id with a WM_NOTIFY code, handed the notification's header
//   (the first member of the control's notification data).
// A command or notification that no entry names falls back to an entry for
// WM_COMMAND or WM_NOTIFY itself, if there is one.

#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "platform/winsys.h"

namespace tavi {

class MessageMap {
 public:
  using MessageHandler = std::function<platform::LResult(platform::WParam, platform::LParam)>;
  using CommandHandler = std::function<void()>;
  using NotifyHandler = std::function<platform::LResult(const platform::NotifyHeader&)>;

  // Each adds an entry; a second entry for the same message, command id, or
  // control id and code replaces the first.
  void OnMessage(platform::MessageId message, MessageHandler handler);
  void OnCommand(int command_id, CommandHandler handler);
  void OnNotify(int control_id, int code, NotifyHandler handler);

  // Calls the handler the map holds for the message and returns its result
  // (0 for a command); nullopt when no entry names the message, so that the
  // window's default handling runs. A WM_NOTIFY's lParam must point to a
  // NotifyHeader, as every control's does.
  std::optional<platform::LResult> Dispatch(platform::MessageId message, platform::WParam wparam,
                                            platform::LParam lparam) const;

 private:
  std::optional<platform::LResult> CallMessageHandler(platform::MessageId message,
                                                      platform::WParam wparam,
                                                      platform::LParam lparam) const;

  std::map<platform::MessageId, MessageHandler> messages_;
  std::map<int, CommandHandler> commands_;
  std::map<std::pair<int, int>, NotifyHandler> notifications_;  // by control id and code
};

}  // namespace tavi
