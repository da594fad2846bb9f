#pragma once

// The plug-in's operations on the host, through the host's automation server
// "Eudora.EuApplication.1" and the host's document area. Each operation makes
// its own connection and releases everything it obtained before it returns;
// nothing is kept between calls. All of them run on the thread of the window
// that needs them and block it while the host answers.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/automation.h"
#include "platform/winsys.h"

namespace tavi {

// The automation server's program id.
inline constexpr const char* kHostProgramId = "Eudora.EuApplication.1";

// The number look-ups give when nothing matches.
inline constexpr std::int32_t kNoItemNumber = -1;

// One connection to the host's automation server, for the length of one
// operation. Connecting creates the application object; a failure keeps the
// system's error text. The object is released with the connection.
class HostConnection {
 public:
  HostConnection();
  HostConnection(const HostConnection&) = delete;
  HostConnection& operator=(const HostConnection&) = delete;

  bool IsConnected() const { return application_ != nullptr; }
  // Why connecting failed; empty when connected.
  const std::string& ErrorText() const { return error_text_; }
  // The standard report of a failed connection: a message box with the error
  // text and one OK button.
  void ReportError() const;

  // The members below need a connection (assert).

  // The top level of the host's mailbox tree; null if the host gives none.
  platform::DispatchPtr TopLevel() const;
  // The mailbox or folder of that name, or of that number; null when none.
  platform::DispatchPtr ItemByName(const std::string& name) const;
  platform::DispatchPtr ItemByNumber(std::int32_t number) const;
  // Shows the text in the host's status bar; false when the host refused it.
  bool SetStatusText(const std::string& text) const;
  platform::DispatchObject& Application() const;

 private:
  platform::DispatchPtr application_;
  std::string error_text_;
};

// The mailbox whose file is `path` anywhere in the host's tree, or else the
// one named `name`; null when neither is there.
platform::DispatchPtr MailboxByPathOrName(const HostConnection& connection, const std::string& path,
                                          const std::string& name);

// The number of entries of an item or message collection (0 for null).
std::int32_t CollectionCount(const platform::DispatchPtr& collection);
// The entry at `index` (from 1) of an item or message collection; null when
// there is none.
platform::DispatchPtr CollectionEntry(const platform::DispatchPtr& collection, std::int32_t index);

// Shows "Tavi. For Help, press F1." in the host's status bar. False when the
// server cannot be reached; `error_text` then receives the system's error
// text (at most 4096 bytes) for the caller to show.
bool ShowReadyStatus(std::string& error_text);

// Shows the number of new articles of a run in the host's status bar. False,
// silently, when the server cannot be reached.
bool ShowNewArticlesStatus(const std::string& count_text);

// Creates a mailbox at the top level of the host's tree, named
// SafeMailboxName(mailbox_name), and returns its file path as the host gives
// it. A failed connection is reported in a message box; the result is then
// empty, as it is when the host does not know the new mailbox.
std::string CreateTopLevelMailbox(const std::string& mailbox_name);

// Creates a mailbox named exactly `mailbox_name` in the host folder whose
// ".fol" path is `folder_path` (letter case ignored, trailing separators
// dropped) and returns the folder's path as the host gives it +
// "/mailbox_name.mbx". Empty when the name is not a valid file name, the
// folder is not found, or the host refuses the creation; a failed connection
// is reported in a message box.
std::string CreateMailboxInFolder(const std::string& mailbox_name, const std::string& folder_path);

// Opens the mailbox of that name in a host window and then waits
// after_opening_mailbox. False when the host has no such mailbox or cannot
// open it; a failed connection is reported in a message box and gives false.
bool OpenHostMailbox(const std::string& mailbox_name);

// Opens the mailbox whose file is `mailbox_path` (letter case ignored,
// anywhere in the tree) and shows its name in the host's status bar. False
// when it is not found or cannot be opened; a failed connection is reported in a message box and
// gives false.
bool OpenHostMailboxByPath(const std::string& mailbox_path);

// Sends the system close command to the direct child of the host document
// area `mdi_client` (any class) titled `title` (ASCII case ignored). False
// when there is none, or no document area (`mdi_client` none).
bool CloseHostMailboxWindow(platform::WindowHandle mdi_client, const std::string& title);

// The number of the mailbox whose file path equals `path` (letter case
// ignored), searching `collection` and the folders in it; kNoItemNumber when
// none matches. Runs inside a connection.
std::int32_t FindMailboxByPath(const platform::DispatchPtr& collection, const std::string& path);

// The same search for a folder whose ".fol" path equals `path`.
std::int32_t FindFolderByPath(const platform::DispatchPtr& collection, const std::string& path);

// Adds the Message-Ids of the messages of a mailbox to `message_ids`, read
// from the last message to the first. The mailbox is found by its file path,
// or else by its name. The calling thread's waiting window messages are
// handled after each message. Always true: without a connection, or without
// such a mailbox, the set is left as it was.
bool CollectMessageIds(const std::string& mailbox_path, const std::string& mailbox_name,
                       std::unordered_set<std::string>& message_ids);

// Moves every message of the mailbox named `source_name` into the mailbox
// numbered `target_number`, last message first. Silently does nothing without
// a connection or a target.
void MoveAllMessages(const std::string& source_name, std::int32_t target_number);

}  // namespace tavi
