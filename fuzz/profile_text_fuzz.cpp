// Any bytes as a settings file, followed by a section, a key and a value
// (the four parts separated by NUL bytes; missing parts are "S", "K" and "v"):
// parsing, looking up and editing must neither crash nor read past the text,
// the text must read back as the same document, and an edit must read back as
// what it stored.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_text.h"

namespace {

using tavi::platform::IsStorableKeyName;
using tavi::platform::IsStorableSectionName;
using tavi::platform::IsStorableValue;
using tavi::platform::ProfileDocument;

struct Input {
  std::string_view bytes;
  std::string_view section = "S";
  std::string_view key = "K";
  std::string_view value = "v";
};

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

Input Split(std::string_view data) {
  std::vector<std::string_view> parts;
  for (int i = 0; i < 3; ++i) {
    const auto nul = data.find('\0');
    if (nul == std::string_view::npos) break;
    parts.push_back(data.substr(0, nul));
    data.remove_prefix(nul + 1);
  }
  parts.push_back(data);
  Input input{parts[0]};
  if (parts.size() > 1) input.section = parts[1];
  if (parts.size() > 2) input.key = parts[2];
  if (parts.size() > 3) input.value = parts[3];
  return input;
}

// How a stored value reads back.
std::string_view Trimmed(std::string_view value) {
  const auto first = value.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

// The document's own text reads back as the same document.
void CheckTextReadsBack(const ProfileDocument& document, const Input& input) {
  const std::string text = document.Text();
  const auto reread = ProfileDocument::Parse(text);
  Check(reread.Text() == text);
  Check(reread.Get(input.section, input.key) == document.Get(input.section, input.key));
  Check(reread.Section(input.section) == document.Section(input.section));
}

void CheckSet(ProfileDocument document, const Input& input) {
  const std::string before = document.Text();
  const bool storable = IsStorableSectionName(input.section) && IsStorableKeyName(input.key) &&
                        IsStorableValue(input.value);
  Check(document.Set(input.section, input.key, input.value) == storable);
  Check(document.Refused() == !storable);
  if (!storable) {
    Check(document.Text() == before && !document.Changed());
    return;
  }
  const auto reread = ProfileDocument::Parse(document.Text());
  Check(reread.Get(input.section, input.key) == std::string(Trimmed(input.value)));
  CheckTextReadsBack(document, input);
}

void CheckDeletes(const ProfileDocument& original, const Input& input) {
  ProfileDocument document = original;
  const bool names_storable = IsStorableSectionName(input.section) && IsStorableKeyName(input.key);
  Check(document.DeleteKey(input.section, input.key) == names_storable);
  // One key line, never a comment or a blank one, goes when the key was there.
  const bool had_key = names_storable && original.Get(input.section, input.key).has_value();
  Check(document.Section(input.section).size() + (had_key ? 1 : 0) ==
        original.Section(input.section).size());
  Check(document.Changed() == had_key);
  CheckTextReadsBack(document, input);

  document = original;
  Check(document.DeleteSection(input.section) == IsStorableSectionName(input.section));
  Check(document.Text().size() <= original.Text().size());
  CheckTextReadsBack(document, input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input input = Split(std::string_view(reinterpret_cast<const char*>(data), size));
  const ProfileDocument document = ProfileDocument::Parse(input.bytes);
  Check(!document.Changed() && !document.Refused());
  CheckTextReadsBack(document, input);
  CheckSet(document, input);
  CheckDeletes(document, input);
  return 0;
}
