#pragma once

// What the page is told when the host changes: each change of the host
// becomes the events that name what the page shows of it again.

#include <vector>

#include "host/host_changes.h"
#include "web/page_events.h"

namespace tavi::web {

// kMailboxTree: "mailboxes". kMessages: "mailboxes" (its counts) and
// "messages" with {"mailbox": N}. kStatusText and kAutomation: "host".
std::vector<PageEvent> PageEventsFor(const host::HostChange& change);

}  // namespace tavi::web
