#pragma once

// Aliases for feeds that arrive in bulk (an OPML import): each is made from
// an outline's text, valid for the settings file and unique among the feeds,
// where `add` would refuse it instead.

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavi::cli {

// The longest alias made, in bytes: the alias also names the feed's cache
// file and, by default, its newsbox.
inline constexpr std::size_t kMaxImportedAliasLength = 64;

class ImportedAliases {
 public:
  // Starts with the aliases already taken (the listed feeds).
  explicit ImportedAliases(const std::vector<std::string>& taken);

  // An alias made from `text` that IsStorableAlias accepts and that neither
  // an alias taken nor one given before shares, in any letter case or by its
  // cache file name: line breaks, control characters, "=", "[" and "]"
  // become blanks, blanks and ";" around it go, it is cut to
  // kMaxImportedAliasLength bytes (never inside a UTF-8 character), then " 2",
  // " 3" ... is added until it is free. "" when nothing is left of `text`.
  // The alias is taken once given.
  std::string Make(const std::string& text);

 private:
  bool IsFree(const std::string& alias) const;
  void Take(const std::string& alias);

  std::set<std::string> aliases_;     // lower case
  std::set<std::string> file_names_;  // MakeSafeFileName, lower case
  // The next number to try after each cleaned text (lower case), so that a
  // thousand copies of one text cost no more than a thousand different ones.
  std::map<std::string, int> next_number_;
};

}  // namespace tavi::cli
