#include "cli/mailbox_commands.h"

#include <iomanip>
#include <ostream>

#include "cli/session.h"
#include "cli/terminal_text.h"
#include "delivery/message_text.h"
#include "host/toc_file.h"
#include "platform/ascii.h"

namespace tavi::cli {
namespace {

// "Name (unread/total)", counted from what the host read in the mailbox
// file: its table of contents may be missing or behind while this command
// writes nothing.
std::string MailboxLine(host::MailStore& store, const host::ItemInfo& item) {
  const std::size_t total = store.MessageCount(item.number).value_or(0);
  std::size_t unread = 0;
  for (std::size_t index = 0; index < total; ++index) {
    const host::MessagePtr message = store.MessageAt(item.number, index);
    if (message && message->State() == host::kUnreadState) ++unread;
  }
  return PrintableText(item.name) + " (" + std::to_string(unread) + "/" + std::to_string(total) +
         ")";
}

void AddTreeLines(host::MailStore& store, int folder, std::size_t depth,
                  std::vector<std::string>& lines) {
  for (const int number : store.Children(folder)) {
    const std::optional<host::ItemInfo> item = store.Item(number);
    if (!item || item->hidden) continue;
    const std::string indent(depth * 2, ' ');
    if (!item->folder) {
      lines.push_back(indent + MailboxLine(store, *item));
      continue;
    }
    lines.push_back(indent + PrintableText(item->name) + "/");
    AddTreeLines(store, number, depth + 1, lines);
  }
}

std::optional<int> ChildNamed(host::MailStore& store, int folder, const std::string& name) {
  for (const int number : store.Children(folder)) {
    const std::optional<host::ItemInfo> item = store.Item(number);
    if (item && platform::EqualsIgnoringCase(item->name, name)) return number;
  }
  return std::nullopt;
}

bool IsMailbox(host::MailStore& store, std::optional<int> number) {
  if (!number) return false;
  const std::optional<host::ItemInfo> item = store.Item(*number);
  return item && !item->folder;
}

// The header block of a message, without the empty line that ends it, so
// that a header value never runs on into the body.
std::string HeaderBlock(std::string_view text) {
  return std::string(text.substr(0, text.find("\r\n\r\n")));
}

void PrintMessage(std::ostream& out, std::size_t position, const host::StoredMessage& message) {
  const std::string headers = HeaderBlock(message.Text());
  out << std::setw(5) << position << (message.State() == 0 ? " * " : "   ")
      << PrintableText(GetHeaderValue(headers, "Date: ")) << "  "
      << PrintableText(message.Subject()) << "\n";
}

}  // namespace

std::vector<std::string> MailboxTreeLines(host::MailStore& store) {
  std::vector<std::string> lines;
  store.ReadFoldersAgain();
  AddTreeLines(store, host::kTopLevel, 0, lines);
  return lines;
}

std::optional<int> FindItemByTreePath(host::MailStore& store, const std::string& path) {
  std::optional<int> current = host::kTopLevel;
  std::size_t start = 0;
  while (current && start <= path.size()) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    current = ChildNamed(store, *current, path.substr(start, slash - start));
    start = slash + 1;
  }
  return current;
}

std::optional<int> FindMailbox(host::MailStore& store, const std::string& name) {
  const std::optional<int> by_path = FindItemByTreePath(store, name);
  if (IsMailbox(store, by_path)) return by_path;
  const std::optional<int> by_name = store.FindByName(name);
  if (IsMailbox(store, by_name)) return by_name;
  return std::nullopt;
}

std::optional<int> FindNamedMailbox(host::MailStore& store, const CommandContext& context) {
  const std::string& name = context.command.positionals[0];
  const std::optional<int> mailbox = FindMailbox(store, name);
  if (!mailbox) {
    context.err << "tavi: " << context.command.command << ": there is no mailbox named \""
                << PrintableText(name) << "\"\n";
  }
  return mailbox;
}

int RunMailboxes(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kRead);
  if (session == nullptr) return kExitFailure;
  for (const std::string& line : MailboxTreeLines(session->Host().Store()))
    context.out << line << "\n";
  return kExitSuccess;
}

int RunShow(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kRead);
  if (session == nullptr) return kExitFailure;
  host::MailStore& store = session->Host().Store();
  const std::optional<int> mailbox = FindNamedMailbox(store, context);
  if (!mailbox) return kExitFailure;
  const std::size_t count = store.MessageCount(*mailbox).value_or(0);
  context.out << PrintableText(store.Item(*mailbox)->name) << ": " << count
              << (count == 1 ? " message" : " messages") << " (* unread)\n";
  for (std::size_t index = 0; index < count; ++index) {
    if (const host::MessagePtr message = store.MessageAt(*mailbox, index))
      PrintMessage(context.out, index + 1, *message);
  }
  return kExitSuccess;
}

}  // namespace tavi::cli
