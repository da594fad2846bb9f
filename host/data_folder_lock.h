#pragma once

// One host per data folder. A process that works on a data folder holds its
// lock: an exclusive advisory lock (flock) on the file ".tavi.lock" in the
// folder. Once it holds the lock it writes into that file one line, its
// process id and a short description of what it runs ("1234 tavi
// download"), so that whoever finds the lock taken can say whom it waits for.
//
// The lock goes with the object that took it, or with its process: a holder
// that is killed frees it at once. Programs the holder starts (fork and exec)
// do not inherit it; a child forked without exec shares it while it lives.
// Two objects of one process exclude each other like two processes: waiting
// for a lock this same process holds never ends.
//
// The lock file stays when the lock is let go: deleting it would let one
// process lock the deleted file while the next creates and locks a new one.
// Its name does not end in ".mbx", so the mail store never takes it for a
// mailbox.

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace tavi::host {

inline constexpr std::string_view kDataFolderLockFileName = ".tavi.lock";

// Who holds a data folder's lock, as the holder described itself.
struct DataFolderLockHolder {
  // 0 when the holder had not yet written its line (it had only just locked).
  pid_t process_id = 0;
  std::string description;
};

// The holder as a person reads it: "process 1234 (tavi download)", or
// "another process" when it had not yet written its line.
std::string DescribeHolder(const DataFolderLockHolder& holder);

// What Acquire does when another holds the lock.
enum class LockWaiting { kWait, kFailAtOnce };

enum class DataFolderLockStatus {
  kAcquired,  // the lock is ours, with our line written
  kHeld,      // another holds it (only with kFailAtOnce)
  kUnusable,  // the lock file cannot be created, locked or written
};

struct DataFolderLockResult;

// A data folder's lock while the object lives; moves hand it on.
class DataFolderLock {
 public:
  // Called once, before blocking, with the holder of a taken lock.
  using HolderNotice = std::function<void(const DataFolderLockHolder&)>;

  // Takes the lock of `data_folder` (which must exist; the lock file is
  // created in it when absent) and writes this process's id and
  // `description` (line breaks become blanks; cut to 200 bytes) into the
  // lock file. When another holds the lock: with kFailAtOnce, kHeld and the
  // holder; with kWait, `notice` (when set) is called once with the holder
  // and the call blocks until the lock is free. kUnusable with the error
  // number when the file cannot be opened, locked or written.
  static DataFolderLockResult Acquire(const std::string& data_folder, std::string_view description,
                                      LockWaiting waiting, const HolderNotice& notice = {});

  // Holds nothing.
  DataFolderLock() = default;
  // Lets the lock go.
  ~DataFolderLock();
  DataFolderLock(DataFolderLock&& other) noexcept;
  DataFolderLock& operator=(DataFolderLock&& other) noexcept;
  DataFolderLock(const DataFolderLock&) = delete;
  DataFolderLock& operator=(const DataFolderLock&) = delete;

  bool Held() const { return fd_ >= 0; }

 private:
  explicit DataFolderLock(int fd) : fd_(fd) {}

  int fd_ = -1;
};

struct DataFolderLockResult {
  DataFolderLockStatus status = DataFolderLockStatus::kUnusable;
  // Holds the lock when kAcquired; holds nothing otherwise.
  DataFolderLock lock;
  // kHeld: who holds the lock.
  DataFolderLockHolder holder;
  // kUnusable: the error number of the call that failed.
  int error = 0;
};

}  // namespace tavi::host
