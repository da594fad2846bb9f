#include "host/data_folder_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <utility>

#include "host/mail_store.h"
#include "support/temp_dir.h"

namespace tavi::host {
namespace {

using testing::ReadFile;
using testing::TempDir;

// A one-way channel between a test and the child it forked: one byte is one
// step, and reading blocks until the other side took it. No sleeps.
class Signal {
 public:
  Signal() { EXPECT_EQ(pipe(ends_), 0); }
  ~Signal() {
    close(ends_[0]);
    close(ends_[1]);
  }
  void Give() const { EXPECT_EQ(write(ends_[1], "!", 1), 1); }
  // False when the other side is gone without giving.
  bool Take() const {
    char byte = 0;
    return read(ends_[0], &byte, 1) == 1;
  }
  // Leaves only the reading end open in this process, so that Take returns
  // when the other side goes without giving.
  void KeepReadingEndOnly() { close(std::exchange(ends_[1], -1)); }

 private:
  int ends_[2] = {-1, -1};
};

// Runs `body` in a forked child that holds the lock of `folder` as
// "tavi download": `locked` is given once it holds it, and the child keeps it
// until it takes `release`, or the test lets go of `release`, or it is
// killed. Exits 0 when all went well.
pid_t ForkHolder(const std::string& folder, const Signal& locked, Signal& release) {
  const pid_t child = fork();
  if (child != 0) return child;
  release.KeepReadingEndOnly();
  DataFolderLockResult taken =
      DataFolderLock::Acquire(folder, "tavi download", LockWaiting::kFailAtOnce);
  if (taken.status != DataFolderLockStatus::kAcquired) _exit(2);
  locked.Give();
  release.Take();
  _exit(0);
}

int WaitForExit(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

class DataFolderLockTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string lock_file_ = dir_.Join(".tavi.lock");
};

TEST_F(DataFolderLockTest, TheHolderWritesItsProcessAndWhatItRuns) {
  DataFolderLockResult taken =
      DataFolderLock::Acquire(dir_.path(), "tavi\ndownload", LockWaiting::kFailAtOnce);
  ASSERT_EQ(taken.status, DataFolderLockStatus::kAcquired);
  EXPECT_TRUE(taken.lock.Held());
  EXPECT_EQ(ReadFile(lock_file_), std::to_string(getpid()) + " tavi download\n");
  // A second object of the same process is turned away like anyone else.
  const DataFolderLockResult second =
      DataFolderLock::Acquire(dir_.path(), "tavi-host", LockWaiting::kFailAtOnce);
  EXPECT_EQ(second.status, DataFolderLockStatus::kHeld);
  EXPECT_FALSE(second.lock.Held());
  EXPECT_EQ(second.holder.process_id, getpid());
  EXPECT_EQ(second.holder.description, "tavi download");
  // Handed on by a move, let go with the object.
  DataFolderLock moved = std::move(taken.lock);
  EXPECT_EQ(DataFolderLock::Acquire(dir_.path(), "x", LockWaiting::kFailAtOnce).status,
            DataFolderLockStatus::kHeld);
  moved = DataFolderLock();
  const DataFolderLockResult third =
      DataFolderLock::Acquire(dir_.path(), "tavi-host", LockWaiting::kFailAtOnce);
  EXPECT_EQ(third.status, DataFolderLockStatus::kAcquired);
  EXPECT_EQ(ReadFile(lock_file_), std::to_string(getpid()) + " tavi-host\n");
}

TEST_F(DataFolderLockTest, AnotherProcessIsTurnedAwayWithTheHoldersName) {
  Signal locked;
  Signal release;
  const pid_t child = ForkHolder(dir_.path(), locked, release);
  ASSERT_GT(child, 0);
  ASSERT_TRUE(locked.Take());
  const DataFolderLockResult refused =
      DataFolderLock::Acquire(dir_.path(), "tavi import", LockWaiting::kFailAtOnce);
  EXPECT_EQ(refused.status, DataFolderLockStatus::kHeld);
  EXPECT_EQ(refused.holder.process_id, child);
  EXPECT_EQ(refused.holder.description, "tavi download");
  release.Give();
  EXPECT_EQ(WaitForExit(child), 0);
  EXPECT_EQ(DataFolderLock::Acquire(dir_.path(), "tavi import", LockWaiting::kFailAtOnce).status,
            DataFolderLockStatus::kAcquired);
}

TEST_F(DataFolderLockTest, AWaiterIsToldOnceWhoItWaitsForAndGetsTheLockWhenItIsFree) {
  Signal locked;
  Signal release;
  const pid_t child = ForkHolder(dir_.path(), locked, release);
  ASSERT_GT(child, 0);
  ASSERT_TRUE(locked.Take());
  std::vector<DataFolderLockHolder> notices;
  const DataFolderLockResult taken = DataFolderLock::Acquire(
      dir_.path(), "tavi-host", LockWaiting::kWait, [&](const DataFolderLockHolder& holder) {
        notices.push_back(holder);
        // Only now does the holder finish: the call below must block for it.
        release.Give();
      });
  EXPECT_EQ(taken.status, DataFolderLockStatus::kAcquired);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].process_id, child);
  EXPECT_EQ(notices[0].description, "tavi download");
  EXPECT_EQ(WaitForExit(child), 0);
  EXPECT_EQ(ReadFile(lock_file_), std::to_string(getpid()) + " tavi-host\n");
}

TEST_F(DataFolderLockTest, AKilledHolderFreesTheLock) {
  Signal locked;
  Signal never;
  const pid_t child = ForkHolder(dir_.path(), locked, never);
  ASSERT_GT(child, 0);
  ASSERT_TRUE(locked.Take());
  ASSERT_EQ(kill(child, SIGKILL), 0);
  EXPECT_EQ(WaitForExit(child), 128 + SIGKILL);
  const DataFolderLockResult taken =
      DataFolderLock::Acquire(dir_.path(), "tavi download", LockWaiting::kFailAtOnce);
  EXPECT_EQ(taken.status, DataFolderLockStatus::kAcquired);
}

TEST_F(DataFolderLockTest, AHolderThatHadNotWrittenYetIsNamedByNothing) {
  const struct {
    const char* what;
    std::string line;
  } cases[] = {
      {"empty", ""},
      {"no line end yet", "1234 tavi down"},
      {"no process id", "tavi download\n"},
      {"a process id too long to be one", "12345678901 tavi download\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Signal locked;
    Signal release;
    const pid_t child = ForkHolder(dir_.path(), locked, release);
    ASSERT_GT(child, 0);
    ASSERT_TRUE(locked.Take());
    testing::WriteFile(lock_file_, c.line);
    const DataFolderLockResult refused =
        DataFolderLock::Acquire(dir_.path(), "x", LockWaiting::kFailAtOnce);
    release.Give();
    EXPECT_EQ(WaitForExit(child), 0);
    EXPECT_EQ(refused.status, DataFolderLockStatus::kHeld);
    EXPECT_EQ(refused.holder.process_id, 0);
    EXPECT_EQ(refused.holder.description, "");
  }
}

TEST(DescribeHolder, NamesTheProcessAndWhatItRunsWhenItSaidSo) {
  EXPECT_EQ(DescribeHolder({1234, "tavi download"}), "process 1234 (tavi download)");
  EXPECT_EQ(DescribeHolder({1234, ""}), "process 1234");
  EXPECT_EQ(DescribeHolder({0, ""}), "another process");
}

TEST_F(DataFolderLockTest, AFolderThatIsNotThereCannotBeLocked) {
  const DataFolderLockResult taken =
      DataFolderLock::Acquire(dir_.Join("missing"), "x", LockWaiting::kWait);
  EXPECT_EQ(taken.status, DataFolderLockStatus::kUnusable);
  EXPECT_EQ(taken.error, ENOENT);
  EXPECT_FALSE(taken.lock.Held());
}

TEST_F(DataFolderLockTest, TheStoreNeverTakesTheLockFileForAMailbox) {
  const DataFolderLockResult taken =
      DataFolderLock::Acquire(dir_.path(), "tavi download", LockWaiting::kFailAtOnce);
  ASSERT_EQ(taken.status, DataFolderLockStatus::kAcquired);
  const std::string line = ReadFile(lock_file_);
  auto store = MailStore::Open(dir_.path());
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->Children(kTopLevel),
            (std::vector<int>{kInMailboxNumber, kOutMailboxNumber, kTrashMailboxNumber}));
  EXPECT_FALSE(store->FindByName(".tavi").has_value());
  EXPECT_FALSE(store->FindByPath(lock_file_).has_value());
  store.reset();
  EXPECT_EQ(ReadFile(lock_file_), line);
}

}  // namespace
}  // namespace tavi::host
