#include "ui/message_map.h"

namespace tavi {

using platform::LParam;
using platform::LResult;
using platform::MessageId;
using platform::WParam;

void MessageMap::OnMessage(MessageId message, MessageHandler handler) {
  messages_.insert_or_assign(message, std::move(handler));
}

void MessageMap::OnCommand(int command_id, CommandHandler handler) {
  commands_.insert_or_assign(command_id, std::move(handler));
}

void MessageMap::OnNotify(int control_id, int code, NotifyHandler handler) {
  notifications_.insert_or_assign({control_id, code}, std::move(handler));
}

std::optional<LResult> MessageMap::Dispatch(MessageId message, WParam wparam, LParam lparam) const {
  if (message == platform::WM_COMMAND) {
    const auto command = commands_.find(platform::LowWord(wparam));
    if (command != commands_.end()) {
      command->second();
      return 0;
    }
  }
  if (message == platform::WM_NOTIFY) {
    const auto& header = *reinterpret_cast<const platform::NotifyHeader*>(lparam);
    const auto notification = notifications_.find({header.id, header.code});
    if (notification != notifications_.end()) return notification->second(header);
  }
  return CallMessageHandler(message, wparam, lparam);
}

std::optional<LResult> MessageMap::CallMessageHandler(MessageId message, WParam wparam,
                                                      LParam lparam) const {
  const auto entry = messages_.find(message);
  if (entry == messages_.end()) return std::nullopt;
  return entry->second(wparam, lparam);
}

}  // namespace tavi
