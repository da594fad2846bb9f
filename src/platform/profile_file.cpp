#include "platform/profile_file.h"

#include <mutex>
#include <string_view>

#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi::platform {
namespace {

std::mutex& WriterLock() {
  static std::mutex lock;
  return lock;
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The file as lines without their line ends, plus the line end it uses.
struct ProfileText {
  std::vector<std::string> lines;
  std::string line_end = "\n";

  static ProfileText Parse(const std::string& bytes) {
    ProfileText text;
    const auto first_break = bytes.find('\n');
    if (first_break != std::string::npos && first_break > 0 && bytes[first_break - 1] == '\r')
      text.line_end = "\r\n";
    std::size_t start = 0;
    while (start < bytes.size()) {
      auto end = bytes.find('\n', start);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      text.lines.push_back(std::move(line));
      start = end + 1;
    }
    return text;
  }

  std::string Join() const {
    std::string bytes;
    for (const auto& line : lines) bytes += line + line_end;
    return bytes;
  }
};

std::optional<std::string_view> SectionNameOf(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
  const auto equals = line.find('=');
  return equals != std::string_view::npos && EqualsIgnoringCase(Trim(line.substr(0, equals)), key);
}

bool IsCommentOrBlank(std::string_view line) {
  line = Trim(line);
  return line.empty() || line.front() == ';';
}

// Lines [begin, end) of a section: begin is its header, end the next header
// or the end of the file.
struct SectionRange {
  std::size_t begin;
  std::size_t end;
};

std::optional<SectionRange> FindSection(const ProfileText& text, std::string_view section) {
  for (std::size_t i = 0; i < text.lines.size(); ++i) {
    const auto name = SectionNameOf(text.lines[i]);
    if (!name || !EqualsIgnoringCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < text.lines.size() && !SectionNameOf(text.lines[end])) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const ProfileText& text, SectionRange range,
                                   std::string_view key) {
  for (std::size_t i = range.begin + 1; i < range.end; ++i)
    if (IsKeyLine(text.lines[i], key)) return i;
  return std::nullopt;
}

ProfileText Load(const std::string& file) {
  return ProfileText::Parse(ReadFileBytes(file).value_or(""));
}

// Runs `change` on the file's lines under the writer lock and stores the
// result when `change` reports a modification.
template <typename Change>
bool Rewrite(const std::string& file, Change change) {
  std::lock_guard<std::mutex> guard(WriterLock());
  ProfileText text = Load(file);
  if (!change(text)) return true;
  return ReplaceFile(file, text.Join());
}

}  // namespace

std::optional<std::string> GetProfileValue(const std::string& file, const std::string& section,
                                           const std::string& key) {
  const ProfileText text = Load(file);
  const auto range = FindSection(text, section);
  if (!range) return std::nullopt;
  const auto line = FindKey(text, *range, key);
  if (!line) return std::nullopt;
  const std::string_view stored = text.lines[*line];
  return std::string(Trim(stored.substr(stored.find('=') + 1)));
}

std::vector<std::string> GetProfileSection(const std::string& file, const std::string& section) {
  const ProfileText text = Load(file);
  const auto range = FindSection(text, section);
  if (!range) return {};
  std::vector<std::string> lines;
  for (std::size_t i = range->begin + 1; i < range->end; ++i)
    if (!IsCommentOrBlank(text.lines[i])) lines.emplace_back(Trim(text.lines[i]));
  return lines;
}

bool SetProfileValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) return false;
  const std::string line = key + "=" + value;
  return Rewrite(file, [&](ProfileText& text) {
    const auto range = FindSection(text, section);
    if (!range) {
      text.lines.push_back("[" + section + "]");
      text.lines.push_back(line);
      return true;
    }
    if (const auto existing = FindKey(text, *range, key)) {
      text.lines[*existing] = line;
      return true;
    }
    // New keys go after the section's last line that is not blank.
    std::size_t insert_at = range->end;
    while (insert_at > range->begin + 1 && Trim(text.lines[insert_at - 1]).empty()) --insert_at;
    text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(insert_at), line);
    return true;
  });
}

bool DeleteProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  return Rewrite(file, [&](ProfileText& text) {
    const auto range = FindSection(text, section);
    if (!range) return false;
    const auto line = FindKey(text, *range, key);
    if (!line) return false;
    text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(*line));
    return true;
  });
}

bool DeleteProfileSection(const std::string& file, const std::string& section) {
  return Rewrite(file, [&](ProfileText& text) {
    const auto range = FindSection(text, section);
    if (!range) return false;
    text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(range->begin),
                     text.lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    return true;
  });
}

}  // namespace tavi::platform
