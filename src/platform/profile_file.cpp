#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <mutex>

#include "platform/fs.h"

namespace tavi::platform {
namespace {

constexpr const char* kLockFileSuffix = ".lock";

std::mutex& WriterLock() {
  static std::mutex lock;
  return lock;
}

// Set while this thread runs a change: a write from inside it would wait for
// the locks that its own edit holds.
thread_local bool running_change = false;

class RunningChange {
 public:
  RunningChange() { running_change = true; }
  ~RunningChange() { running_change = false; }
  RunningChange(const RunningChange&) = delete;
  RunningChange& operator=(const RunningChange&) = delete;
};

// The advisory lock on "<target>.lock", held for as long as the object
// lives: writers in other processes take their turns with this one.
class LockFileHold {
 public:
  explicit LockFileHold(const std::string& target) {
    fd_ = open((target + kLockFileSuffix).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      close(fd_);
      fd_ = -1;
      return;
    }
  }
  // Closing the descriptor releases the lock.
  ~LockFileHold() {
    if (fd_ >= 0) close(fd_);
  }
  LockFileHold(const LockFileHold&) = delete;
  LockFileHold& operator=(const LockFileHold&) = delete;

  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Runs `work` on the file that `file` finally names while holding this
// process's lock and the lock file's; false when the links cannot be followed
// or the lock file cannot be opened.
template <typename Work>
bool WithWriterLocks(const std::string& file, Work work) {
  const auto target = ResolveLinks(file);
  if (!target) return false;
  std::lock_guard<std::mutex> guard(WriterLock());
  const LockFileHold hold(*target);
  if (!hold.Held()) return false;
  return work(*target);
}

// The document an edit starts from: an absent file is an empty one, and one
// that exists but cannot be read is none at all.
std::optional<ProfileDocument> LoadForEdit(const std::string& target) {
  const auto bytes = ReadFileBytes(target);
  if (bytes) return ProfileDocument::Parse(*bytes);
  if (errno == ENOENT) return ProfileDocument();
  return std::nullopt;
}

ProfileDocument LoadForReading(const std::string& file) {
  return ProfileDocument::Parse(ReadFileBytes(file).value_or(""));
}

}  // namespace

std::optional<std::string> GetProfileValue(const std::string& file, const std::string& section,
                                           const std::string& key) {
  return LoadForReading(file).Get(section, key);
}

std::vector<std::string> GetProfileSection(const std::string& file, const std::string& section) {
  return LoadForReading(file).Section(section);
}

bool EditProfile(const std::string& file, const std::function<bool(ProfileDocument&)>& change) {
  assert(!running_change && "a change must not write a settings file: its locks are held");
  return WithWriterLocks(file, [&](const std::string& target) {
    auto document = LoadForEdit(target);
    if (!document) return false;
    {
      const RunningChange running;
      if (!change(*document)) return false;
    }
    if (document->Refused()) return false;
    if (!document->Changed()) return true;
    return ReplaceFile(target, document->Text());
  });
}

// The one-operation writes refuse what cannot be stored before taking any
// lock, so that a refused call leaves no trace, not even the lock file.
bool SetProfileValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  if (!IsStorableSectionName(section) || !IsStorableKeyName(key) || !IsStorableValue(value))
    return false;
  return EditProfile(file,
                     [&](ProfileDocument& document) { return document.Set(section, key, value); });
}

bool DeleteProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  if (!IsStorableSectionName(section) || !IsStorableKeyName(key)) return false;
  return EditProfile(file,
                     [&](ProfileDocument& document) { return document.DeleteKey(section, key); });
}

bool DeleteProfileSection(const std::string& file, const std::string& section) {
  if (!IsStorableSectionName(section)) return false;
  return EditProfile(file,
                     [&](ProfileDocument& document) { return document.DeleteSection(section); });
}

void RemoveStaleProfileTemporaries(const std::string& file) {
  WithWriterLocks(file, [](const std::string& target) {
    RemoveReplacementLeftoversOf(target);
    return true;
  });
}

}  // namespace tavi::platform
