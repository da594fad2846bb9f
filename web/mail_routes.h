#pragma once

// The page's routes to the host's mail, answered on the user-interface
// thread from the host's store:
//   GET  /api/mailboxes                   the tree with counts (MailboxTreeJson)
//   GET  /api/mailboxes/N/messages        ?first=F&count=C, a page of the list
//                                         (MessageListJson; F 0, C 500 by default)
//   POST /api/open-mailbox                {"mailbox": N}: the host opens the mailbox
//                                         (its window, its index) and answers its list
//   POST /api/open-message                {"mailbox": N, "message": M}: the message is
//                                         read from now on; answers MessageJson
//   GET  /message-body/N/M                the message's body as a feed document
// An unknown mailbox or message is 404, a bad member or parameter 400, and
// neither changes anything.

#include "host/host.h"
#include "web/page_router.h"

namespace tavi::web {

// `host` must outlive the router.
void AddMailRoutes(PageRouter& router, host::Host& host);

}  // namespace tavi::web
