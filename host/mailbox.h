#pragma once

// One mailbox of the store: its messages in memory, kept in line with its
// mailbox file, and the table of contents beside it.
//
// A move is whole or absent. A move first appends the message to the
// target's file and commits it in the target's table of contents (one entry
// and the header's committed length, written in place, so a move costs the
// same whatever the size of either mailbox); a failed write or commit is cut
// back off and the move fails, leaving the message where it was. Only then is
// the message taken out of the source in memory. The source file is rewritten
// later, once for a whole batch of moves (Flush), as a temporary file renamed
// over the old one, and its table of contents after it. So at every instant
// each moved message is committed in the target, or still in the source, or
// both: a process killed before the source rewrite leaves a duplicate, never
// a loss, and a rewritten file is either the old one or the whole new one.
// A process killed in the middle of an append leaves bytes beyond the
// target's committed length; whoever reads that file afresh cuts them off
// first (a read-only store only leaves them out), so a torn message is never
// taken for one. Tables of contents are written whole whenever the mailbox
// is indexed or rewritten, committing the file's length then.
//
// Others write mailbox files too (the plug-in truncates its staging mailbox,
// deletes its table of contents and appends to the file). A file without a
// table of contents, or with one of an older version or someone else's, has
// nothing cut: whoever appends to a mailbox file without committing must
// delete its table of contents first. Should the host index such a file
// half-way (a page asking for the counts while the plug-in stages), a
// writable mailbox that has read the file keeps what lies beyond the length
// it committed: only the plug-in in its own process can have put it there.
// The mailbox notices by the file's identity, size and times when its file
// changed since it last read or wrote it, and indexes it again. Messages
// taken out in memory but still in the changed file are then removed from
// what is on disk by their exact bytes, so a foreign change is kept and a
// moved message is still never left only in memory.
//
// A read-only mailbox reads its file but never writes, cuts or creates one.
//
// Used on one thread (the host's user-interface thread).

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_changes.h"

namespace tavi::host {

class Mailbox;
struct ParsedMailboxFile;
struct TocEntry;

// Whether the store may change the files of its data folder.
enum class StoreAccess { kReadWrite, kReadOnly };

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
  // The checksum of Raw() that its table-of-contents entry carries.
  std::uint32_t Checksum() const { return checksum_; }
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
  // counter, which must outlive the mailbox. `listener`, when given, is told
  // of every change to the messages in memory or to their states (kMessages);
  // it is the store's and must outlive the mailbox too.
  Mailbox(int number, std::string mbx_path, int* next_message_number, StoreAccess access,
          const HostChangeListener* listener = nullptr);
  Mailbox(const Mailbox&) = delete;
  Mailbox& operator=(const Mailbox&) = delete;

  // The table of contents beside the mailbox file.
  std::string TocPath() const;

  // Reads the file when it was never read or changed since the mailbox last
  // read or wrote it, first cutting off what lies beyond the committed
  // length unless a writable mailbox read it before; writes the table of
  // contents when it read. False when the file exists but cannot be read or
  // cut, or a pending rewrite fails (memory then stays as it was).
  bool ReadIfChanged();
  // Reads the file again whatever its state and writes the table of
  // contents. False as for ReadIfChanged.
  bool ReadAgain();
  // ReadIfChanged, and a table of contents written afresh when someone deleted it:
  // what the host does when it opens the mailbox.
  bool ReadForOpening();
  // Reads the file only when the mailbox was never read: for a run of reads
  // that follows ReadIfChanged, so that it costs no look at the file per message.
  bool ReadOnce();

  // The messages as of the last read.
  std::size_t Count() const { return messages_.size(); }
  const MessagePtr& At(std::size_t index) const { return messages_[index]; }

  // Appends the message to the end of the file, commits it in the table of
  // contents and then adds it to the messages (the caller read it first).
  // False, with file and memory unchanged, when the write or the commit
  // fails, and always when read-only.
  bool Append(const MessagePtr& message);
  // Takes the message out of memory; the file keeps it until Flush. False
  // when the mailbox does not hold it.
  bool Remove(const MessagePtr& message);
  // Gives a message this mailbox holds a new text (header block, empty line,
  // body), keeping its separator line and state: the file is rewritten from
  // memory at once (a temporary file renamed over it) and the table of
  // contents after it. False, with file and memory unchanged, when the
  // mailbox does not hold the message, the file cannot be read again or
  // written, and always when read-only.
  bool ReplaceText(const MessagePtr& message, std::string_view text);
  // Sets the state of a message this mailbox holds (false otherwise, and
  // when read-only); the table of contents shows it from the next Flush.
  bool SetState(const MessagePtr& message, std::int16_t state);

  // Writes what the batch of changes left pending: the file without the
  // messages taken out, then the table of contents (a file someone else
  // changed is read again first). False when a write failed (the work stays
  // pending and the old files stay whole).
  bool Flush();

 private:
  bool Read();
  std::optional<std::string> ReadCommittedBytes(FileStamp& stamp);
  bool WriteWithoutRemoved(std::string& bytes);
  std::optional<std::uint64_t> AppendCommitted(int fd, const StoredMessage& message,
                                               FileStamp& after);
  bool Commit(const TocEntry& entry, std::uint64_t length_before, std::uint64_t length_after);
  bool RewriteFromMemory();
  std::vector<TocEntry> TocEntries() const;
  bool WriteToc();
  void Adopt(ParsedMailboxFile& parsed);
  void TellChanged() const;

  int number_;
  std::string path_;
  int* next_message_number_;
  StoreAccess access_;
  const HostChangeListener* listener_;
  bool loaded_ = false;
  FileStamp known_;
  // The length of the file as the messages in memory know it: what a table
  // of contents written from memory commits.
  std::uint64_t file_length_ = 0;
  std::string preamble_;
  std::vector<MessagePtr> messages_;
  std::vector<MessagePtr> removed_;
  bool toc_stale_ = false;
};

}  // namespace tavi::host
