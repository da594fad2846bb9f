#pragma once

// The commands that look into the host's mailboxes: mailboxes (the tree with
// unread and total counts) and show (one mailbox's messages).

#include <string>
#include <vector>

#include "cli/command_context.h"
#include "host/mail_store.h"

namespace tavi::cli {

int RunMailboxes(const CommandContext& context);
// Lists the messages of the mailbox, numbered from 1; * marks unread ones.
int RunShow(const CommandContext& context);

// The mailbox tree, one line per item, indented two blanks per level:
// a mailbox as name + " (" + unread + "/" + total + ")" with the counts of
// the messages the host finds in its file, a folder as name + "/".
// Names are made printable (cli/terminal_text.h). Hidden items are left out.
std::vector<std::string> MailboxTreeLines(host::MailStore& store);

// The mailbox or folder at the end of a path of names through folders
// ("Work/News", letter case ignored); nullopt when there is none.
std::optional<int> FindItemByTreePath(host::MailStore& store, const std::string& path);

// The mailbox named by `name`: a path of names through folders ("Work/News",
// letter case ignored), else the first mailbox of that name anywhere.
// nullopt when there is none.
std::optional<int> FindMailbox(host::MailStore& store, const std::string& name);

// FindMailbox for the command's first argument; when there is none, says so
// on the command's error stream ("tavi: show: there is no mailbox named
// ...") and returns nullopt.
std::optional<int> FindNamedMailbox(host::MailStore& store, const CommandContext& context);

}  // namespace tavi::cli
