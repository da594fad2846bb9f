#include "cli/imported_alias.h"

#include "files/file_names.h"
#include "platform/ascii.h"
#include "store/feed_definitions.h"

namespace tavi::cli {
namespace {

bool IsRefusedCharacter(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '=' || c == '[' || c == ']';
}

bool IsTrimmed(char c) { return c == ' ' || c == ';'; }

// A UTF-8 continuation byte: cutting before one would split a character.
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xc0) == 0x80; }

std::string CleanedText(const std::string& text) {
  std::string cleaned = text;
  for (char& c : cleaned) {
    if (IsRefusedCharacter(c)) c = ' ';
  }
  std::size_t first = 0;
  while (first < cleaned.size() && IsTrimmed(cleaned[first])) ++first;
  cleaned.erase(0, first);
  if (cleaned.size() > kMaxImportedAliasLength) {
    std::size_t cut = kMaxImportedAliasLength;
    while (cut > 0 && IsContinuationByte(cleaned[cut])) --cut;
    cleaned.resize(cut);
  }
  while (!cleaned.empty() && cleaned.back() == ' ') cleaned.pop_back();
  return cleaned;
}

std::string FileKey(const std::string& alias) {
  return platform::ToLowerAscii(MakeSafeFileName(alias));
}

}  // namespace

ImportedAliases::ImportedAliases(const std::vector<std::string>& taken) {
  for (const std::string& alias : taken) Take(alias);
}

std::string ImportedAliases::Make(const std::string& text) {
  const std::string base = CleanedText(text);
  if (base.empty()) return "";
  const std::string key = platform::ToLowerAscii(base);
  auto [next, inserted] = next_number_.try_emplace(key, 2);
  std::string alias = base;
  // The base text itself is tried only the first time it is seen.
  if (!inserted || !IsFree(alias)) {
    do {
      alias = base + " " + std::to_string(next->second++);
    } while (!IsFree(alias));
  }
  Take(alias);
  return alias;
}

bool ImportedAliases::IsFree(const std::string& alias) const {
  return IsStorableAlias(alias) && !aliases_.contains(platform::ToLowerAscii(alias)) &&
         !file_names_.contains(FileKey(alias));
}

void ImportedAliases::Take(const std::string& alias) {
  aliases_.insert(platform::ToLowerAscii(alias));
  file_names_.insert(FileKey(alias));
}

}  // namespace tavi::cli
