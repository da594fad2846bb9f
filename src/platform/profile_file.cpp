#include "platform/profile_file.h"

#include <mutex>

#include "platform/fs.h"

namespace tavi::platform {
namespace {

std::mutex& WriterLock() {
  static std::mutex lock;
  return lock;
}

ProfileDocument Load(const std::string& file) {
  return ProfileDocument::Parse(ReadFileBytes(file).value_or(""));
}

// Runs `change` on the document under the writer lock and stores the result
// when it changed a line.
template <typename Change>
bool Rewrite(const std::string& file, Change change) {
  std::lock_guard<std::mutex> guard(WriterLock());
  ProfileDocument document = Load(file);
  if (!change(document)) return false;
  if (!document.Changed()) return true;
  return ReplaceFile(file, document.Text());
}

}  // namespace

std::optional<std::string> GetProfileValue(const std::string& file, const std::string& section,
                                           const std::string& key) {
  return Load(file).Get(section, key);
}

std::vector<std::string> GetProfileSection(const std::string& file, const std::string& section) {
  return Load(file).Section(section);
}

bool SetProfileValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  return Rewrite(file,
                 [&](ProfileDocument& document) { return document.Set(section, key, value); });
}

bool DeleteProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  return Rewrite(file, [&](ProfileDocument& document) { return document.DeleteKey(section, key); });
}

bool DeleteProfileSection(const std::string& file, const std::string& section) {
  return Rewrite(file, [&](ProfileDocument& document) { return document.DeleteSection(section); });
}

}  // namespace tavi::platform
