#pragma once

// The host's mailbox files as the plug-in writes them, and the two counts it
// reads from their tables of contents.
//
// A mailbox file (".mbx") is a sequence of messages, each one a separator
// line ("From ???@??? Sun Dec 6 2026 13:46:41" and CR LF), the message text,
// and a final CR LF. Messages reach the host through one staging mailbox,
// "Pending", whose file the plug-in empties and appends to; the host then
// indexes it and moves its messages on. A table of contents (".toc") is read
// only: a 104-byte header whose bytes 102-103 hold the message count
// (unsigned, little-endian), then one 218-byte entry per message whose signed
// 16-bit value at offset 12 is 0 for an unread message.

#include <string>

#include "platform/winsys.h"

namespace tavi {

// The staging mailbox's name: a mailbox at the top level of the host's tree.
inline constexpr const char* kStagingMailboxName = "Pending";

// The name a mailbox gets from a name the user gave: the file-name-safe form
// (MakeSafeFileName) with white space removed at both ends; "No Name" when
// nothing is left. The host names the mailbox's file after it.
std::string SafeMailboxName(const std::string& name);

// The separator line, without CR LF, for the local date and time in
// `date_text` (read by the locale-aware date parser); the current local time
// when the text does not parse. Day without a leading zero, four-digit year,
// 24-hour time with two-digit fields: "From ???@??? Sun Dec 6 2026 09:05:07".
std::string FormatSeparatorLine(const std::string& date_text);

// `text` with ">" put before every line that begins "From ???@???", so that
// the host never takes a line of a message for the start of the next one.
// Every message the plug-in writes into a mailbox file goes through it.
std::string QuoteSeparatorLines(const std::string& text);

// The file of a top-level mailbox in the host's mail data folder:
// data_folder/stem.mbx, or data_folder/stem.toc with `index_file`, where stem
// is SafeMailboxName(mailbox_name). Mailboxes inside folders have paths
// the host chooses; ask the host for those.
std::string MailboxFilePath(const std::string& data_folder, const std::string& mailbox_name,
                            bool index_file);

// Appends the bytes of `text` to the end of an existing mailbox file, exactly
// (no line-end translation). False when the file does not exist or cannot be
// opened for writing, in which case nothing is created; false as well when
// the bytes cannot all be written, in which case the file is cut back to its
// former length.
bool AppendToMailboxFile(const std::string& path, const std::string& text);

// The staging mailbox's two files.
struct StagingPaths {
  // Empty when the mailbox could not be made, or its table of contents could
  // not be deleted (the host would cut whatever was appended).
  std::string mailbox_file;
  std::string index_file;
};

// Brings the staging mailbox into its empty state so that new messages can be
// appended: closes the host's window on it (the child of `mdi_client` titled
// "Pending", else one with an empty title), empties its mailbox file or, when
// there is none, has the host create the mailbox (the host then reports a
// failed connection in a message box and `mailbox_file` is empty), and
// deletes its table of contents so that the host indexes the file afresh.
// Each step that changed something is followed by the after_staging_step wait.
StagingPaths PrepareStagingMailbox(const std::string& data_folder,
                                   platform::WindowHandle mdi_client);

// The message count in the header of a table of contents; -1 when the file
// cannot be opened for reading and writing (missing, or held by the host) or
// is shorter than its header.
int ReadMailboxIndexCount(const std::string& index_path);

// The number of unread entries of a table of contents; an entry that cannot
// be read (the file is shorter than its count says) is not counted. -1 when
// the file cannot be opened or is shorter than its header.
int CountUnreadMessages(const std::string& index_path);

}  // namespace tavi
