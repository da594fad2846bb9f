#include "store/profile.h"

#include <cctype>
#include <climits>

#include "platform/ascii.h"
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

// How a section is found: its name without the blanks around it, in
// lower case, as the settings file compares section names.
std::string SectionKey(std::string_view section) {
  constexpr std::string_view kBlanks = " \t\r";
  const auto first = section.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return "";
  const auto last = section.find_last_not_of(kBlanks);
  return platform::ToLowerAscii(section.substr(first, last - first + 1));
}

// The section as a document of its own, read by the document's own rules.
platform::ProfileDocument SectionDocument(const platform::ProfileDocument::NamedSection& section) {
  std::string text = "[" + section.name + "]\n";
  for (const std::string& line : section.lines) text.append(line).append("\n");
  return platform::ProfileDocument::Parse(text);
}

}  // namespace

ProfileSnapshot::ProfileSnapshot(const std::string& file) {
  const platform::ProfileDocument document =
      platform::ProfileDocument::Parse(platform::ReadFileBytes(file).value_or(""));
  // The first of a repeated section counts, as it does for every reader.
  for (const auto& section : document.Sections())
    sections_.try_emplace(SectionKey(section.name), SectionDocument(section));
}

const platform::ProfileDocument* ProfileSnapshot::Find(const std::string& section) const {
  const auto found = sections_.find(SectionKey(section));
  return found == sections_.end() ? nullptr : &found->second;
}

std::string ProfileSnapshot::ReadString(const std::string& section, const std::string& key,
                                        const std::string& default_value) const {
  const platform::ProfileDocument* document = Find(section);
  if (document == nullptr) return CutToValueLimit(default_value);
  return CutToValueLimit(document->Get(section, key).value_or(default_value));
}

int ProfileSnapshot::ReadInt(const std::string& section, const std::string& key,
                             int default_value) const {
  return ParseLeadingInteger(ReadString(section, key, std::to_string(default_value)));
}

std::vector<std::string> ProfileSnapshot::ReadSection(const std::string& section) const {
  std::vector<std::string> lines;
  if (const platform::ProfileDocument* document = Find(section))
    AppendAssignments(document->Section(section), false, lines);
  return lines;
}

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& default_value, const std::string& file) {
  return CutToValueLimit(platform::GetProfileValue(file, section, key).value_or(default_value));
}

int ReadProfileInt(const std::string& section, const std::string& key, int default_value,
                   const std::string& file) {
  return ParseLeadingInteger(ReadProfileString(section, key, std::to_string(default_value), file));
}

bool ReadProfileSection(std::vector<std::string>& list, const std::string& section,
                        bool values_only, const std::string& file) {
  AppendAssignments(platform::GetProfileSection(file, section), values_only, list);
  return true;
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
  return platform::SetProfileValue(file, section, key, OneLine(value));
}

bool WriteProfileInt(const std::string& section, const std::string& key, int value,
                     const std::string& file) {
  return WriteProfileString(section, key, std::to_string(value), file);
}

bool DeleteProfileKey(const std::string& section, const std::string& key, const std::string& file) {
  return platform::DeleteProfileKey(file, section, key);
}

bool DeleteProfileSection(const std::string& section, const std::string& file) {
  return platform::DeleteProfileSection(file, section);
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
  return platform::EditProfile(file, [&change](platform::ProfileDocument& document) {
    ProfileBatch batch(document);
    return change(batch);
  });
}

}  // namespace tavi
