#include "web/mail_views.h"

#include <algorithm>
#include <limits>

#include "host/mbx_format.h"
#include "host/toc_file.h"
#include "web/json_writer.h"
#include "web/message_parts.h"

namespace tavi::web {
namespace {

struct MailboxCounts {
  std::size_t unread = 0;
  std::size_t total = 0;
};

MailboxCounts CountMessages(host::MailStore& store, int mailbox) {
  MailboxCounts counts;
  counts.total = store.MessageCount(mailbox).value_or(0);
  for (std::size_t index = 0; index < counts.total; ++index) {
    const host::MessagePtr message = store.MessageAt(mailbox, index);
    if (message && message->State() == host::kUnreadState) ++counts.unread;
  }
  return counts;
}

void WriteItems(JsonWriter& json, host::MailStore& store, int folder);

void WriteItem(JsonWriter& json, host::MailStore& store, const host::ItemInfo& item) {
  json.BeginObject();
  json.NumberMember("number", item.number);
  json.StringMember("name", item.name);
  json.BoolMember("folder", item.folder);
  if (item.folder) {
    json.Key("children");
    WriteItems(json, store, item.number);
  } else {
    const MailboxCounts counts = CountMessages(store, item.number);
    json.NumberMember("unread", static_cast<std::int64_t>(counts.unread));
    json.NumberMember("total", static_cast<std::int64_t>(counts.total));
  }
  json.EndObject();
}

void WriteItems(JsonWriter& json, host::MailStore& store, int folder) {
  json.BeginArray();
  for (const int number : store.Children(folder)) {
    const std::optional<host::ItemInfo> item = store.Item(number);
    if (item && !item->hidden) WriteItem(json, store, *item);
  }
  json.EndArray();
}

bool IsMailbox(const host::MailStore& store, int number) {
  const std::optional<host::ItemInfo> item = store.Item(number);
  return item && !item->folder;
}

void WriteListEntry(JsonWriter& json, const host::StoredMessage& message) {
  json.BeginObject();
  json.NumberMember("number", message.Number());
  json.StringMember("date", host::MessageHeaderValue(message.Raw(), "Date"));
  json.StringMember("from", host::MessageHeaderValue(message.Raw(), "From"));
  json.StringMember("subject", message.Subject());
  json.BoolMember("read", message.State() != host::kUnreadState);
  json.EndObject();
}

}  // namespace

std::string MailboxTreeJson(host::MailStore& store) {
  store.ReadFoldersAgain();
  JsonWriter json;
  json.BeginObject();
  json.Key("mailboxes");
  WriteItems(json, store, host::kTopLevel);
  json.EndObject();
  return json.Text();
}

std::optional<std::string> MessageListJson(host::MailStore& store, int mailbox, std::size_t first,
                                           std::size_t count) {
  if (!IsMailbox(store, mailbox)) return std::nullopt;
  const std::size_t total = store.MessageCount(mailbox).value_or(0);
  const std::size_t end = std::min(total, first + std::min(count, kMaxListedMessages));
  JsonWriter json;
  json.BeginObject();
  json.NumberMember("mailbox", mailbox);
  json.StringMember("name", store.Item(mailbox)->name);
  json.NumberMember("total", static_cast<std::int64_t>(total));
  json.NumberMember("first", static_cast<std::int64_t>(first));
  json.Key("messages");
  json.BeginArray();
  for (std::size_t index = first; index < end; ++index) {
    if (const host::MessagePtr message = store.MessageAt(mailbox, index))
      WriteListEntry(json, *message);
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

host::MessagePtr FindMessage(host::MailStore& store, int mailbox, int number) {
  if (!IsMailbox(store, mailbox)) return nullptr;
  const std::size_t total = store.MessageCount(mailbox).value_or(0);
  for (std::size_t index = 0; index < total; ++index) {
    host::MessagePtr message = store.MessageAt(mailbox, index);
    if (message && message->Number() == number) return message;
  }
  return nullptr;
}

std::string MessageJson(const host::StoredMessage& message) {
  JsonWriter json;
  json.BeginObject();
  json.NumberMember("mailbox", message.MailboxNumber());
  json.NumberMember("number", message.Number());
  json.BoolMember("read", message.State() != host::kUnreadState);
  json.Key("headers");
  json.BeginArray();
  for (const HeaderField& field : MessageHeaderFields(message.Raw())) {
    json.BeginObject();
    json.StringMember("name", field.name);
    json.StringMember("value", field.value);
    json.EndObject();
  }
  json.EndArray();
  json.StringMember("body", MessageBodyPath(message.MailboxNumber(), message.Number()));
  json.EndObject();
  return json.Text();
}

std::optional<int> ItemNumber(const JsonRequest& body, std::string_view key) {
  const std::optional<std::int64_t> value = body.Integer(key);
  if (!value || *value < 0 || *value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(*value);
}

std::string MessageBodyPath(int mailbox, int number) {
  return "/message-body/" + std::to_string(mailbox) + "/" + std::to_string(number);
}

}  // namespace tavi::web
