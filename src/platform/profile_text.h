#pragma once

// The text of a settings file as a value: "[section]" lines, each followed by
// "key=value" lines, with comments (";" first), blank lines and any other
// lines kept as they are. Section and key names compare without regard to
// ASCII letter case and to surrounding blanks, on the stored side and on the
// asking side alike; values are returned with surrounding blanks removed.
//
// Nothing here touches a file: profile_file.h reads and writes the document.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::platform {

// Whether a name or value can be stored so that it reads back as itself.
// A section name must not be blank nor hold CR, LF, "[" or "]" (it would end
// its header line early). A key name must not be blank, hold CR, LF or "=",
// nor begin with ";" or "[" (its line would read back as a comment or a
// section header). A value must not hold CR or LF. Blanks around a name are
// not part of it, so " ;key" begins with ";".
bool IsStorableSectionName(std::string_view section);
bool IsStorableKeyName(std::string_view key);
bool IsStorableValue(std::string_view value);

class ProfileDocument {
 public:
  // Any bytes are a document: the lines are split at LF, the CRs that end a
  // line are dropped, and the document keeps writing lines with CR LF when its
  // first line break is one, else with LF alone.
  static ProfileDocument Parse(std::string_view bytes);

  // The value of `key` in `section`, or nullopt when the section or the key
  // is absent. With sections or keys of one name repeated, the first counts.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Every non-blank, non-comment line of the section as stored (trimmed), in
  // document order; lines without "=" included. Empty for a missing section.
  std::vector<std::string> Section(std::string_view section) const;

  // Every section in document order, each with its name as its header gives
  // it (without the blanks around it) and the lines Section gives for it: one
  // pass, for a reader of many sections. Lines before the first header
  // belong to none.
  struct NamedSection {
    std::string name;
    std::vector<std::string> lines;
  };
  std::vector<NamedSection> Sections() const;

  // Sets the key's value: an existing key's line is rewritten in place; a new
  // key goes after the last non-blank line of its section, and a new section
  // at the end. False, with the document unchanged and the refusal recorded,
  // when a name or the value cannot be stored.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  // Removes the key's line. True also when there was nothing to remove; false,
  // with the refusal recorded, for a name that cannot be stored.
  bool DeleteKey(std::string_view section, std::string_view key);

  // Removes the section's header and all its lines up to the next header.
  // True also when absent; false, with the refusal recorded, for a name that
  // cannot be stored.
  bool DeleteSection(std::string_view section);

  // The document as bytes: every line followed by the document's line end.
  std::string Text() const;

  // Whether an edit changed a line since Parse.
  bool Changed() const { return changed_; }
  // Whether an edit was refused since Parse.
  bool Refused() const { return refused_; }

 private:
  // Lines [begin, end) of a section: begin is its header, end the next
  // header or the end of the document.
  struct SectionRange {
    std::size_t begin;
    std::size_t end;
  };

  std::optional<SectionRange> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const SectionRange& range, std::string_view key) const;
  std::size_t NewKeyPosition(const SectionRange& range) const;
  void Erase(std::size_t begin, std::size_t end);
  bool Refuse();

  std::vector<std::string> lines_;
  std::string line_end_ = "\n";
  bool changed_ = false;
  bool refused_ = false;
};

}  // namespace tavi::platform
