#include "platform/profile_text.h"

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool Holds(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

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

std::ptrdiff_t Offset(std::size_t index) { return static_cast<std::ptrdiff_t>(index); }

}  // namespace

bool IsStorableSectionName(std::string_view section) {
  return !Trim(section).empty() && !Holds(section, "\r\n[]");
}

bool IsStorableKeyName(std::string_view key) {
  const std::string_view name = Trim(key);
  return !name.empty() && !Holds(key, "\r\n=") && name.front() != ';' && name.front() != '[';
}

bool IsStorableValue(std::string_view value) { return !Holds(value, "\r\n"); }

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  ProfileDocument document;
  const auto first_break = bytes.find('\n');
  if (first_break != std::string_view::npos && first_break > 0 && bytes[first_break - 1] == '\r')
    document.line_end_ = "\r\n";
  std::size_t start = 0;
  while (start < bytes.size()) {
    auto end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    // Every CR at the end belongs to the line end: a line kept with one would
    // lose it when written with CR LF and read again.
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    document.lines_.emplace_back(line);
    start = end + 1;
  }
  return document;
}

std::optional<std::string> ProfileDocument::Get(std::string_view section,
                                                std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto line = FindKey(*range, key);
  if (!line) return std::nullopt;
  const std::string_view stored = lines_[*line];
  return std::string(Trim(stored.substr(stored.find('=') + 1)));
}

std::vector<std::string> ProfileDocument::Section(std::string_view section) const {
  const auto range = FindSection(section);
  if (!range) return {};
  std::vector<std::string> lines;
  for (std::size_t i = range->begin + 1; i < range->end; ++i)
    if (!IsCommentOrBlank(lines_[i])) lines.emplace_back(Trim(lines_[i]));
  return lines;
}

std::vector<ProfileDocument::NamedSection> ProfileDocument::Sections() const {
  std::vector<NamedSection> sections;
  for (const std::string& line : lines_) {
    if (const auto name = SectionNameOf(line)) {
      sections.push_back({std::string(*name), {}});
      continue;
    }
    if (!sections.empty() && !IsCommentOrBlank(line))
      sections.back().lines.emplace_back(Trim(line));
  }
  return sections;
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsStorableSectionName(section) || !IsStorableKeyName(key) || !IsStorableValue(value))
    return Refuse();
  std::string line = std::string(key) + "=" + std::string(value);
  const auto range = FindSection(section);
  if (!range) {
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
  } else if (const auto existing = FindKey(*range, key)) {
    if (lines_[*existing] == line) return true;
    lines_[*existing] = std::move(line);
  } else {
    lines_.insert(lines_.begin() + Offset(NewKeyPosition(*range)), std::move(line));
  }
  changed_ = true;
  return true;
}

bool ProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
  if (!IsStorableSectionName(section) || !IsStorableKeyName(key)) return Refuse();
  const auto range = FindSection(section);
  if (!range) return true;
  if (const auto line = FindKey(*range, key)) Erase(*line, *line + 1);
  return true;
}

bool ProfileDocument::DeleteSection(std::string_view section) {
  if (!IsStorableSectionName(section)) return Refuse();
  if (const auto range = FindSection(section)) Erase(range->begin, range->end);
  return true;
}

std::string ProfileDocument::Text() const {
  std::string bytes;
  for (const auto& line : lines_) bytes.append(line).append(line_end_);
  return bytes;
}

std::optional<ProfileDocument::SectionRange> ProfileDocument::FindSection(
    std::string_view section) const {
  section = Trim(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionNameOf(lines_[i]);
    if (!name || !EqualsIgnoringCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionNameOf(lines_[end])) ++end;
    return SectionRange{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::FindKey(const SectionRange& range,
                                                    std::string_view key) const {
  key = Trim(key);
  for (std::size_t i = range.begin + 1; i < range.end; ++i)
    if (IsKeyLine(lines_[i], key)) return i;
  return std::nullopt;
}

// After the section's last line that is not blank, so that the blank lines
// separating it from the next section stay after it.
std::size_t ProfileDocument::NewKeyPosition(const SectionRange& range) const {
  std::size_t position = range.end;
  while (position > range.begin + 1 && Trim(lines_[position - 1]).empty()) --position;
  return position;
}

void ProfileDocument::Erase(std::size_t begin, std::size_t end) {
  lines_.erase(lines_.begin() + Offset(begin), lines_.begin() + Offset(end));
  changed_ = true;
}

bool ProfileDocument::Refuse() {
  refused_ = true;
  return false;
}

}  // namespace tavi::platform
