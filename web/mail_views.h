#pragma once

// The host's mail as the page shows it, in JSON: the mailbox tree with its
// counts, a page of a mailbox's messages, one message. Read from the store
// on the host's user-interface thread. Every text from a feed goes out as a
// JSON string, for the page to show as text.

#include <cstddef>
#include <optional>
#include <string>

#include "host/mail_store.h"
#include "web/json_request.h"

namespace tavi::web {

// The most messages one page of a list holds.
inline constexpr std::size_t kMaxListedMessages = 500;

// {"mailboxes": [ITEM...]} in the store's order, hidden items left out;
// ITEM is {"number": 2, "name": "In", "folder": false, "unread": 1,
// "total": 3} for a mailbox and {"number": 11, "name": "Feeds", "folder":
// true, "children": [ITEM...]} for a folder. The folders are read again
// first, so that mailboxes made since appear.
std::string MailboxTreeJson(host::MailStore& store);

// The messages first to first + count - 1 of a mailbox in its order (count
// at most kMaxListedMessages): {"mailbox": 12, "name": "Gazette", "total":
// 3, "first": 0, "messages": [{"number": 345, "date": "...", "from": "...",
// "subject": "...", "read": false}...]}, the texts from the header fields
// Date, From and Subject. nullopt when `mailbox` is not a mailbox.
std::optional<std::string> MessageListJson(host::MailStore& store, int mailbox, std::size_t first,
                                           std::size_t count);

// The message numbered `number` (StoredMessage::Number) in `mailbox`, the
// mailbox read again first when its file changed; nullptr when it is not
// there (nor is a number the mailbox no longer holds).
host::MessagePtr FindMessage(host::MailStore& store, int mailbox, int number);

// {"mailbox": 12, "number": 345, "read": true, "headers": [{"name": ...,
// "value": ...}...], "body": "/message-body/12/345"}: the message's header
// fields in order, and where its body is served.
std::string MessageJson(const host::StoredMessage& message);

// The number a request's member gives a mailbox or a message: a whole
// number from 0 that fits an int; nullopt for anything else.
std::optional<int> ItemNumber(const JsonRequest& body, std::string_view key);

// "/message-body/MAILBOX/NUMBER".
std::string MessageBodyPath(int mailbox, int number);

}  // namespace tavi::web
