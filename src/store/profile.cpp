#include "store/profile.h"

#include <cctype>
#include <climits>

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

}  // namespace

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& default_value, const std::string& file) {
  std::string value = platform::GetProfileValue(file, section, key).value_or(default_value);
  if (value.size() > kProfileValueLimit) value.resize(kProfileValueLimit);
  return value;
}

int ReadProfileInt(const std::string& section, const std::string& key, int default_value,
                   const std::string& file) {
  return ParseLeadingInteger(ReadProfileString(section, key, std::to_string(default_value), file));
}

bool ReadProfileSection(std::vector<std::string>& list, const std::string& section,
                        bool values_only, const std::string& file) {
  for (const std::string& line : platform::GetProfileSection(file, section)) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    list.push_back(values_only ? line.substr(equals + 1) : line);
  }
  return true;
}

bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
  // A line break would end the line: a feed title with one would otherwise
  // cut its own line in two.
  std::string one_line = value;
  for (char& c : one_line)
    if (c == '\r' || c == '\n') c = ' ';
  return platform::SetProfileValue(file, section, key, one_line);
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

}  // namespace tavi
