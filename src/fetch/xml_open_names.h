#pragma once

// A look-up of the elements that are open during a scan by the end-tag names
// that would close them. The scan needs it only once an end tag fails to
// match the innermost open element: searching the open elements one by one
// for every stray end tag would take time proportional to depth x end tags.

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavi {

class XmlOpenNames {
 public:
  // Registers the element at depth `depth` (0 = outermost open element) with
  // start-tag name `name`, which must stay valid while registered. Elements
  // are added innermost last.
  void Add(std::string_view name, std::uint32_t depth);

  // Forgets the innermost element, whose start-tag name is `name`.
  void RemoveInnermost(std::string_view name);

  // The depth of the innermost registered element whose name the end-tag name
  // matches (XmlNameMatches(end_tag_name, name)), or nullopt.
  std::optional<std::uint32_t> FindInnermost(std::string_view end_tag_name) const;

 private:
  // One end-tag name that closes an element: the whole start-tag name, or a
  // part of it ending before a character that may follow a matched name.
  struct Key {
    std::string_view text;
    std::uint64_t hash;
    bool operator==(const Key& other) const { return hash == other.hash && text == other.text; }
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const { return static_cast<std::size_t>(key.hash); }
  };

  static Key WholeKey(std::string_view text);
  template <typename Visit>
  static void ForEachKey(std::string_view name, Visit visit);

  // Depths of the open elements each key closes, innermost last.
  std::unordered_map<Key, std::vector<std::uint32_t>, KeyHash> depths_;
};

}  // namespace tavi
