#pragma once

// One mailbox of the store: its messages in memory, kept in line with its
// mailbox file, and the table of contents beside it.
//
// Never losing a message. A move first appends the message to the target's
// file (one write; a failed write is cut back off and the move fails, leaving
// the message where it was) and only then takes it out of the source in
// memory. The source file is rewritten later, once for a whole batch of moves
// (Flush), as a temporary file renamed over the old one. So at every instant
// each moved message is in the target file, or in the source file, or in
// both: a crash before the source rewrite leaves a duplicate, never a loss,
// and a rewritten file is either the old one or the whole new one. (Should
// the machine stop in the middle of an append, the target ends in a damaged
// copy while the message is still whole in the source.) Tables of contents
// are rewritten the same way, and are only an index: the host rebuilds one
// from the mailbox file whenever it indexes the mailbox. The
// deferred rewrite keeps a run of single moves linear: each move costs one
// append, whatever the size of either mailbox.
//
// Others write mailbox files too (the plug-in appends to its staging
// mailbox, truncates it and deletes its table of contents). The mailbox
// notices by the file's identity, size and times when its file changed since
// it last read or wrote it, and indexes it again. Messages taken out in
// memory but still in the changed file are then removed from what is on disk
// by their exact bytes, so a foreign change is kept and a moved message is
// still never left only in memory.
//
// Used on one thread (the host's user-interface thread).

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::host {

class Mailbox;
struct ParsedMailboxFile;

// One message: its raw bytes (separator line first) and what the host knows
// about it. The mailbox that holds it changes it; everyone else reads.
class StoredMessage {
 public:
  StoredMessage(std::string raw, int number);

  const std::string& Raw() const { return raw_; }
  // The text after the separator line, without the final line end.
  std::string_view Text() const;
  std::string_view Body() const;
  // The Message-Id header's value exactly as written; "" when absent.
  std::string_view MessageId() const;
  std::string_view Subject() const;
  // A number unique among all messages of the store.
  int Number() const { return number_; }
  // 0 is unread.
  std::int16_t State() const { return state_; }
  // The number of the mailbox holding the message; 0 once the message left
  // the store's view (its mailbox was indexed again from its file).
  int MailboxNumber() const { return mailbox_; }

 private:
  friend class Mailbox;
  std::string raw_;
  int number_;
  std::uint32_t checksum_;
  std::int16_t state_ = 0;
  int mailbox_ = 0;
  std::uint64_t offset_ = 0;
};

using MessagePtr = std::shared_ptr<StoredMessage>;

// Identity and change marks of a file, to tell whether someone else wrote it.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

class Mailbox {
 public:
  // `number` is the item number; `next_message_number` is the store's
  // counter, which must outlive the mailbox.
  Mailbox(int number, std::string mbx_path, int* next_message_number);
  Mailbox(const Mailbox&) = delete;
  Mailbox& operator=(const Mailbox&) = delete;

  // The table of contents beside the mailbox file.
  std::string TocPath() const;

  // Reads the file when it was never read or changed since the mailbox last
  // read or wrote it; writes the table of contents when it read. False when
  // the file exists but cannot be read, or a pending rewrite fails (memory
  // then stays as it was).
  bool Sync();
  // Reads the file again whatever its state and writes the table of
  // contents. False as for Sync.
  bool Reindex();
  // Sync, and a table of contents written afresh when someone deleted it:
  // what the host does when it opens the mailbox.
  bool SyncForOpening();
  // Reads the file only when the mailbox was never read: for a run of reads
  // that follows a Sync, so that it costs no look at the file per message.
  bool EnsureLoaded();

  // The messages as of the last Sync.
  std::size_t Count() const { return messages_.size(); }
  const MessagePtr& At(std::size_t index) const { return messages_[index]; }

  // Appends the message to the end of the file and then to the messages (the
  // caller synced first). False, with file and memory unchanged, when the
  // write fails.
  bool Append(const MessagePtr& message);
  // Takes the message out of memory; the file keeps it until Flush. False
  // when the mailbox does not hold it.
  bool Remove(const MessagePtr& message);
  // Sets the state of a message this mailbox holds (false otherwise); the
  // table of contents shows it from the next Flush.
  bool SetState(const MessagePtr& message, std::int16_t state);

  // Writes what the batch of changes left pending: the file without the
  // messages taken out, then the table of contents. False when a write
  // failed (the work stays pending and the old files stay whole).
  bool Flush();

 private:
  bool Reload();
  bool WriteWithoutRemoved(std::string& bytes);
  bool RewriteFromMemory();
  bool WriteToc();
  void Adopt(ParsedMailboxFile& parsed);

  int number_;
  std::string path_;
  int* next_message_number_;
  bool loaded_ = false;
  FileStamp known_;
  std::string preamble_;
  std::vector<MessagePtr> messages_;
  std::vector<MessagePtr> removed_;
  bool toc_stale_ = false;
};

}  // namespace tavi::host
