#include "web/mail_routes.h"

#include "host/toc_file.h"
#include "web/mail_views.h"
#include "web/message_parts.h"

namespace tavi::web {
namespace {

PageResponse ListAnswer(host::MailStore& store, int mailbox, std::size_t first, std::size_t count) {
  std::optional<std::string> list = MessageListJson(store, mailbox, first, count);
  if (!list) return ErrorAnswer(404, "there is no such mailbox");
  return JsonAnswer(std::move(*list));
}

PageResponse MessageList(host::MailStore& store, const PageCall& call) {
  const std::optional<std::size_t> first = QueryNumber(call.request, "first", 0);
  const std::optional<std::size_t> count = QueryNumber(call.request, "count", kMaxListedMessages);
  if (!first || !count) return ErrorAnswer(400, "first and count must be whole numbers");
  return ListAnswer(store, call.numbers[0], *first, *count);
}

PageResponse OpenMailbox(host::Host& host, const PageCall& call) {
  const std::optional<int> mailbox = ItemNumber(call.body, "mailbox");
  if (!mailbox) return ErrorAnswer(400, "mailbox must be a mailbox's number");
  const std::optional<host::ItemInfo> item = host.Store().Item(*mailbox);
  if (!item || item->folder) return ErrorAnswer(404, "there is no such mailbox");
  if (!host.OpenMailbox(*mailbox)) return ErrorAnswer(409, "the mailbox's file cannot be read");
  return ListAnswer(host.Store(), *mailbox, 0, kMaxListedMessages);
}

// Opening a message reads it: its state is written at once, so that the
// host's table of contents says so whatever happens next.
PageResponse OpenMessage(host::MailStore& store, const PageCall& call) {
  const std::optional<int> mailbox = ItemNumber(call.body, "mailbox");
  const std::optional<int> number = ItemNumber(call.body, "message");
  if (!mailbox || !number) return ErrorAnswer(400, "mailbox and message must be numbers");
  const host::MessagePtr message = FindMessage(store, *mailbox, *number);
  if (message == nullptr) return ErrorAnswer(404, "there is no such message");
  if (message->State() == host::kUnreadState) {
    store.SetMessageState(message, host::kReadState);
    store.Flush();
  }
  return JsonAnswer(MessageJson(*message));
}

PageResponse MessageBody(host::MailStore& store, const PageCall& call) {
  const host::MessagePtr message = FindMessage(store, call.numbers[0], call.numbers[1]);
  if (message == nullptr) return ErrorAnswer(404, "there is no such message");
  return {200, "text/html; charset=utf-8", MessageBodyDocument(message->Raw()),
          AnswerPolicy::kFeedDocument};
}

}  // namespace

void AddMailRoutes(PageRouter& router, host::Host& host) {
  host::MailStore& store = host.Store();
  router.Add({"GET", "/api/mailboxes",
              [&store](const PageCall&) { return JsonAnswer(MailboxTreeJson(store)); }});
  router.Add({"GET", "/api/mailboxes/{}/messages",
              [&store](const PageCall& call) { return MessageList(store, call); }});
  router.Add({"POST", "/api/open-mailbox",
              [&host](const PageCall& call) { return OpenMailbox(host, call); }});
  router.Add({"POST", "/api/open-message",
              [&store](const PageCall& call) { return OpenMessage(store, call); }});
  router.Add({"GET", "/message-body/{}/{}",
              [&store](const PageCall& call) { return MessageBody(store, call); }});
}

}  // namespace tavi::web
