#include "web/host_change_events.h"

#include <string>

namespace tavi::web {

std::vector<PageEvent> PageEventsFor(const host::HostChange& change) {
  switch (change.kind) {
    case host::HostChangeKind::kMailboxTree:
      return {{"mailboxes"}};
    case host::HostChangeKind::kMessages:
      return {{"mailboxes"}, {"messages", "{\"mailbox\": " + std::to_string(change.mailbox) + "}"}};
    case host::HostChangeKind::kStatusText:
    case host::HostChangeKind::kAutomation:
      return {{"host"}};
  }
  return {};
}

}  // namespace tavi::web
