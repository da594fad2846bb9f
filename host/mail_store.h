#pragma once

// The host's mail store: the data folder with its mailboxes (".mbx" files)
// and folders (".fol" folders, nested freely), each an item with a number,
// and the messages of every mailbox. In, Out and Trash always exist at the
// top level. Mailbox files are read when a mailbox is first used and again
// whenever someone else changed them, so a file the plug-in wrote into the
// data folder is picked up (ReadFoldersAgain, and every look-up that misses, looks for
// new files). A read-only store reads the files and writes, creates, cuts
// and deletes none: creations, appends, moves and state changes fail, and no
// table of contents is written, so it may look at a data folder while another
// process delivers into it.
//
// Used on one thread (the host's user-interface thread).

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_changes.h"
#include "host/mailbox.h"

namespace tavi::host {

// The top level of the mailbox tree, as a folder number. It is not an item:
// no look-up by number gives it.
inline constexpr int kTopLevel = 0;
inline constexpr int kInMailboxNumber = 2;
inline constexpr int kOutMailboxNumber = 3;
inline constexpr int kTrashMailboxNumber = 4;

// What a mailbox or folder is, by value.
struct ItemInfo {
  int number = 0;
  bool folder = false;
  // The display name, which is also the file stem: "Pending" for Pending.mbx.
  std::string name;
  // A mailbox's file (folder + "/" + name + ".mbx") or a folder's path
  // (parent folder + "/" + name + ".fol").
  std::string path;
  // Hidden items are left out of the lists the plug-in shows.
  bool hidden = false;
  int parent = kTopLevel;
};

// The file-name form of a mailbox or folder name: the characters
// \ / : * ? " < > | and control characters dropped, everything else kept as
// it is. nullopt when nothing but blanks and dots is left ("", " ", "..").
std::optional<std::string> MailboxStem(const std::string& name);

class MailStore {
 public:
  // Opens `data_folder`, creating it (one level) and In.mbx, Out.mbx and
  // Trash.mbx when missing, and lists the mailboxes and folders in it.
  // nullptr when the folder cannot be created or a system mailbox file
  // cannot be made. Reads no mailbox file yet. Read-only, it creates nothing
  // (In, Out and Trash without files are empty) and gives nullptr when the
  // folder is not there.
  static std::unique_ptr<MailStore> Open(const std::string& data_folder,
                                         StoreAccess access = StoreAccess::kReadWrite);
  // Writes every pending change (Flush).
  ~MailStore();
  MailStore(const MailStore&) = delete;
  MailStore& operator=(const MailStore&) = delete;

  const std::string& DataFolder() const { return data_folder_; }

  // Tells `listener` (empty: nobody) of every item added to the tree
  // (kMailboxTree) and every change to a mailbox's messages or their states
  // in memory (kMessages), whoever made it: a move, an append, a state, a
  // file read again.
  void SetChangeListener(HostChangeListener listener) { listener_ = std::move(listener); }

  // --- Items
  // The item with that number; nullopt for an unknown number or kTopLevel.
  std::optional<ItemInfo> Item(int number) const;
  // The numbers of a folder's items (kTopLevel: the top level) in display
  // order: In, Out, Trash first at the top level, then by name, letter case
  // ignored. Empty for a mailbox or an unknown number.
  std::vector<int> Children(int folder) const;
  // Adds the mailbox files and folders that appeared in the data folder
  // since the store last looked. Items whose files vanished stay (a mailbox
  // without a file is empty).
  void ReadFoldersAgain();
  // The first item with that display name (letter case ignored), the top
  // level first, then each level below in turn; reads the folders again once
  // on a miss.
  std::optional<int> FindByName(const std::string& name);
  // The item whose path equals `path` (letter case ignored); reads the folders again once on
  // a miss.
  std::optional<int> FindByPath(const std::string& path);
  // Creates a mailbox named MailboxStem(name) in a folder (kTopLevel: the top
  // level) and returns its number. An existing mailbox of that name in that
  // folder is returned as it is, and an existing file that the store did not
  // know yet is adopted with its messages (never emptied). nullopt for an
  // unusable name, a parent that is not a folder, a file that cannot be
  // created, and always for a read-only store.
  std::optional<int> CreateMailbox(int parent, const std::string& name);
  // The same for a folder.
  std::optional<int> CreateFolder(int parent, const std::string& name);
  // False for an unknown number.
  bool SetHidden(int number, bool hidden);

  // --- Messages
  // Reads the mailbox file again and writes its table of contents. False
  // for a number that is not a mailbox or a file that cannot be read.
  bool ReadMailboxAgain(int mailbox);
  // What the host does when it opens a mailbox: reads the file again when
  // someone else changed it, and writes the table of contents when it is
  // missing. False as for ReadMailboxAgain.
  bool ReadMailboxForOpening(int mailbox);
  // The number of messages; nullopt when `mailbox` is not a mailbox or its
  // file cannot be read.
  std::optional<std::size_t> MessageCount(int mailbox);
  // The message at a 0-based position; nullptr when out of range. Reads the
  // file only when the mailbox was never read: callers walking a mailbox
  // take its count first (MessageCount reads the file when it changed), so the walk stays one pass.
  MessagePtr MessageAt(int mailbox, std::size_t index);
  // Every message's raw bytes, in mailbox order.
  std::vector<std::string> RawMessages(int mailbox);
  // Appends a new message (a separator line for the current time, the text,
  // CR LF) to a mailbox and commits it. False when not a mailbox, the write
  // or the commit fails, or the store is read-only.
  bool AddMessage(int mailbox, const std::string& text);
  // Moves a message to the end of another mailbox: written to the target's
  // file first, taken out of the source's file at the next Flush (see
  // mailbox.h). Moving into its own mailbox does nothing and succeeds. False
  // when the message is no longer in a mailbox, the target is not a mailbox,
  // the target's file or table of contents cannot be written (the message
  // stays), or the store is read-only.
  bool MoveMessage(const MessagePtr& message, int target);
  // Gives a message a new text (header block, empty line, body) in place,
  // as a translator's result replaces it; its separator line and state stay.
  // False when it is no longer in a mailbox, its file cannot be rewritten
  // (the message stays as it was), or the store is read-only.
  bool ReplaceMessageText(const MessagePtr& message, std::string_view text);
  // Sets a message's state (0 unread); false when it is no longer in a
  // mailbox or the store is read-only.
  bool SetMessageState(const MessagePtr& message, std::int16_t state);
  // Rewrites the files that moves left pending and the tables of contents of
  // the mailboxes that changed. False when a write failed; what failed stays
  // pending and is tried again at the next Flush.
  bool Flush();

 private:
  struct Node {
    ItemInfo info;
    std::vector<int> children;
    std::unique_ptr<Mailbox> mailbox;
  };

  MailStore(std::string data_folder, StoreAccess access);
  bool EnsureSystemMailboxes();
  void ScanFolder(int folder);
  int AddItem(int parent, const std::string& stem, const std::string& path, bool folder,
              int number);
  std::string ChildPath(int parent, const std::string& stem, bool folder) const;
  std::optional<int> FindChildByName(int parent, const std::string& name, bool folder) const;
  std::optional<int> SearchByName(const std::string& name) const;
  std::optional<int> SearchByPath(const std::string& path) const;
  Mailbox* MailboxOf(int number);
  Mailbox* UpToDateMailbox(int number);

  std::string data_folder_;
  StoreAccess access_;
  // Before the items: their mailboxes hold its address.
  HostChangeListener listener_;
  std::map<int, Node> nodes_;
  std::map<std::string, int> numbers_by_path_;
  std::set<int> changed_;
  int next_item_number_ = 10;
  int next_message_number_ = 1;
};

}  // namespace tavi::host
