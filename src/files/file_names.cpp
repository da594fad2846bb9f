#include "files/file_names.h"

#include <cstdio>
#include <string_view>

#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi {
namespace {

constexpr std::string_view kDroppedFromSafeNames = "\\/:*?!\"'<>|";
constexpr std::string_view kInvalidInFileNames = "\\/:*?!\"<>|";
constexpr std::size_t kMaxSafeNameLength = 250;
constexpr std::size_t kMaxFileNameLength = 255;

// The system's alphanumeric test in its ANSI form. The code page here is
// UTF-8, whose multi-byte sequences are all made of bytes of 0x80 and above:
// counting those as letters keeps non-English names whole.
bool IsAlphaNumericByte(unsigned char byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z') || byte >= 0x80;
}

std::string WithoutTrailingSeparators(std::string folder) {
  while (folder.size() > 1 && folder.back() == platform::kPathSeparator) folder.pop_back();
  return folder;
}

}  // namespace

bool FileExists(const std::string& path) {
  if (path.size() < 4) return false;
  return !platform::FindFiles(path).empty();
}

bool IsDirectory(const std::string& path) {
  if (path.size() < 3) return false;
  const auto attributes = platform::GetFileAttributes(path);
  return attributes && attributes->directory;
}

std::string MakeSafeFileName(const std::string& name) {
  std::string safe;
  for (const char c : name) {
    if (IsAlphaNumericByte(static_cast<unsigned char>(c)) ||
        kDroppedFromSafeNames.find(c) == std::string_view::npos)
      safe += c;
  }
  while (!safe.empty() && platform::IsAsciiWhiteSpace(safe.back())) safe.pop_back();
  if (safe.size() > kMaxSafeNameLength) safe.resize(kMaxSafeNameLength);
  return safe.empty() ? "No Name" : safe;
}

bool IsValidFileName(const std::string& name) {
  if (name.empty() || name.size() > kMaxFileNameLength) return false;
  for (const char c : name) {
    if (!IsAlphaNumericByte(static_cast<unsigned char>(c)) &&
        kInvalidInFileNames.find(c) != std::string_view::npos)
      return false;
  }
  return true;
}

std::string GetHostExecutablePath() {
  std::string path = platform::ExecutablePath();
  return path.empty() ? "-1" : path;
}

std::string PrepareFilePath(const std::string& folder, const std::string& name,
                            const std::string& extension, bool make_unique, bool skip_create) {
  const std::string base = WithoutTrailingSeparators(folder);
  const std::string stem = MakeSafeFileName(name);
  if (!skip_create && !IsDirectory(base)) platform::CreateFolder(base);
  auto candidate = [&](const std::string& candidate_stem) {
    return platform::JoinPath(base, candidate_stem + "." + extension);
  };
  std::string path = candidate(stem);
  for (int counter = 1; make_unique && FileExists(path); ++counter)
    path = candidate(stem + "_" + std::to_string(counter));
  if (!skip_create) platform::CreateEmptyFile(path);
  return path;
}

bool EnsureFileExists(const std::string& path) {
  if (platform::GetFileAttributes(path)) return true;
  return platform::CreateEmptyFile(path);
}

bool TruncateFile(const std::string& path) {
  if (!platform::GetFileAttributes(path)) return false;
  return platform::CreateEmptyFile(path);
}

bool AppendLineToFile(const std::string& path, const std::string& text) {
  if (text.empty()) return true;
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  const std::string line = text + "\r\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size();
  return std::fclose(file) == 0 && written;
}

std::string ReadWholeFile(const std::string& path) {
  std::string bytes = platform::ReadFileBytes(path).value_or("");
  const auto zero = bytes.find('\0');
  if (zero != std::string::npos) bytes.resize(zero);
  return bytes;
}

}  // namespace tavi
