#include "store/profile.h"

#include <atomic>
#include <cctype>
#include <climits>
#include <map>
#include <memory>
#include <mutex>

#include "platform/fs.h"
#include "platform/profile_file.h"

namespace tavi {
namespace {

// Leading blanks, an optional sign, then digits up to the first non-digit.
int ParseLeadingInteger(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long magnitude = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) break;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string CutToValueLimit(std::string value) {
  if (value.size() > kProfileValueLimit) value.resize(kProfileValueLimit);
  return value;
}

// A value is one line: each CR or LF becomes a blank, so that a feed title
// with a line break cannot cut its own line in two.
std::string OneLine(std::string value) {
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  return value;
}

// The lines of a section that hold "=", whole or only their values.
void AppendAssignments(const std::vector<std::string>& lines, bool values_only,
                       std::vector<std::string>& list) {
  for (const std::string& line : lines) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    list.push_back(values_only ? line.substr(equals + 1) : line);
  }
}

// The settings files as last parsed, each with the version of the file it
// was read from. The background checker reads a file of a thousand feeds key
// by key every minute: parsing it again for each key would cost a second.
// An entry serves only while the file is the same version (another process's
// rewrite replaces the file, which changes it) and this process has written
// no settings file since.
class ParsedFiles {
 public:
  std::shared_ptr<const platform::ProfileIndex> Current(const std::string& file) {
    // Taken before the file is examined: a write after this point makes the
    // entry stale at once.
    const std::uint64_t writes = own_writes_.load();
    const auto version = platform::GetFileVersion(file);
    if (version) {
      const std::lock_guard guard(lock_);
      const auto found = entries_.find(file);
      if (found != entries_.end() && found->second.version == *version &&
          found->second.own_writes == writes)
        return found->second.index;
    }
    // Read after the version was taken: bytes newer than it only make the
    // entry miss next time.
    const auto bytes = platform::ReadFileBytes(file);
    auto index = std::make_shared<const platform::ProfileIndex>(
        platform::ProfileDocument::Parse(bytes.value_or("")));
    if (version && bytes) Keep(file, {*version, writes, index});
    return index;
  }

  void NoteOwnWrite() { ++own_writes_; }

 private:
  // A process reads a handful of settings files; a test reads many.
  static constexpr std::size_t kMostFiles = 8;

  struct Entry {
    platform::FileVersion version;
    std::uint64_t own_writes = 0;
    std::shared_ptr<const platform::ProfileIndex> index;
  };

  void Keep(const std::string& file, Entry entry) {
    const std::lock_guard guard(lock_);
    if (entries_.size() >= kMostFiles && !entries_.contains(file)) entries_.clear();
    entries_[file] = std::move(entry);
  }

  std::mutex lock_;
  std::map<std::string, Entry> entries_;
  std::atomic<std::uint64_t> own_writes_{0};
};

// An object of its own rather than one never freed: the plug-in module that
// holds it is unloaded by the host, and what only it pointed to would be
// lost for good.
ParsedFiles& TheParsedFiles() {
  static ParsedFiles files;
  return files;
}

// Runs one write and has the parsed files read again afterwards.
template <typename Write>
bool Written(Write write) {
  const bool written = write();
  TheParsedFiles().NoteOwnWrite();
  return written;
}

}  // namespace

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& default_value, const std::string& file) {
  return CutToValueLimit(TheParsedFiles().Current(file)->Get(section, key).value_or(default_value));
}

int ReadProfileInt(const std::string& section, const std::string& key, int default_value,
                   const std::string& file) {
  return ParseLeadingInteger(ReadProfileString(section, key, std::to_string(default_value), file));
}

bool ReadProfileSection(std::vector<std::string>& list, const std::string& section,
                        bool values_only, const std::string& file) {
  AppendAssignments(TheParsedFiles().Current(file)->Section(section), values_only, list);
  return true;
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
  return Written([&] { return platform::SetProfileValue(file, section, key, OneLine(value)); });
}

bool WriteProfileInt(const std::string& section, const std::string& key, int value,
                     const std::string& file) {
  return WriteProfileString(section, key, std::to_string(value), file);
}

bool DeleteProfileKey(const std::string& section, const std::string& key, const std::string& file) {
  return Written([&] { return platform::DeleteProfileKey(file, section, key); });
}

bool DeleteProfileSection(const std::string& section, const std::string& file) {
  return Written([&] { return platform::DeleteProfileSection(file, section); });
}

std::string ProfileBatch::ReadString(const std::string& section, const std::string& key,
                                     const std::string& default_value) const {
  return CutToValueLimit(document_.Get(section, key).value_or(default_value));
}

int ProfileBatch::ReadInt(const std::string& section, const std::string& key,
                          int default_value) const {
  return ParseLeadingInteger(ReadString(section, key, std::to_string(default_value)));
}

std::vector<std::string> ProfileBatch::ReadSection(const std::string& section) const {
  std::vector<std::string> lines;
  AppendAssignments(document_.Section(section), false, lines);
  return lines;
}

bool ProfileBatch::WriteString(const std::string& section, const std::string& key,
                               const std::string& value) {
  return document_.Set(section, key, OneLine(value));
}

bool ProfileBatch::WriteInt(const std::string& section, const std::string& key, int value) {
  return WriteString(section, key, std::to_string(value));
}

bool ProfileBatch::DeleteKey(const std::string& section, const std::string& key) {
  return document_.DeleteKey(section, key);
}

bool ProfileBatch::DeleteSection(const std::string& section) {
  return document_.DeleteSection(section);
}

bool EditProfileBatch(const std::string& file, const std::function<bool(ProfileBatch&)>& change) {
  return Written([&] {
    return platform::EditProfile(file, [&change](platform::ProfileDocument& document) {
      ProfileBatch batch(document);
      return change(batch);
    });
  });
}

}  // namespace tavi
