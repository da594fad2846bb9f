#include "web/host_message_loop.h"

#include "platform/winsys.h"
#include "platform/winsys_dialog.h"

namespace tavi::web {

void RunHostMessageLoop() {
  platform::Message message;
  while (platform::GetMessage(message)) {
    if (!platform::TranslateDialogInput(message)) platform::DispatchMessage(message);
  }
}

}  // namespace tavi::web
