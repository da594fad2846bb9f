#include "delivery/body_links.h"

#include <gumbo.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "delivery/link_resolution.h"

namespace tavi {
namespace {

constexpr std::string_view kLinkAttributes[] = {"href",   "src",        "poster",     "cite",
                                                "action", "formaction", "background", "longdesc"};
constexpr std::string_view kSourceSetAttribute = "srcset";
constexpr std::string_view kHtmlWhiteSpace = " \t\n\f\r";

struct OutputDeleter {
  void operator()(GumboOutput* output) const {
    gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
};
using ParsedHtml = std::unique_ptr<GumboOutput, OutputDeleter>;

// One attribute value to replace: its bytes in the original text, quotes
// included, and what takes their place.
struct ValueEdit {
  std::size_t offset;
  std::size_t length;
  std::string replacement;
};

bool IsLinkAttribute(std::string_view name) {
  return std::find(std::begin(kLinkAttributes), std::end(kLinkAttributes), name) !=
         std::end(kLinkAttributes);
}

// A srcset with the address of each candidate resolved. A candidate is an
// address (a run up to white space; commas at its end separate it from the
// next), then descriptors up to a comma; separators and descriptors stay.
std::string ResolveSourceSet(std::string_view value, const std::string& base) {
  std::string result;
  std::size_t position = 0;
  while (position < value.size()) {
    const std::size_t start = value.find_first_not_of(", \t\n\f\r", position);
    if (start == std::string_view::npos) break;
    std::size_t end = std::min(value.find_first_of(kHtmlWhiteSpace, start), value.size());
    while (end > start + 1 && value[end - 1] == ',') --end;
    const std::string_view address = value.substr(start, end - start);
    result.append(value.substr(position, start - position));
    result.append(ResolveLink(address, base).value_or(std::string(address)));
    position = std::min(value.find(',', end), value.size());
    result.append(value.substr(end, position - end));
  }
  return result.append(value.substr(position));
}

// The new value of the attribute, or nullopt when it stays.
std::optional<std::string> ResolvedValue(const GumboAttribute& attribute, const std::string& base) {
  if (IsLinkAttribute(attribute.name)) return ResolveLink(attribute.value, base);
  if (attribute.name != kSourceSetAttribute) return std::nullopt;
  std::string resolved = ResolveSourceSet(attribute.value, base);
  if (resolved == attribute.value) return std::nullopt;
  return resolved;
}

// `value` as an attribute value in the quotes the original had (double ones
// when it had none), with the characters that would end it or start an
// entity encoded.
std::string QuotedValue(std::string_view original, std::string_view value) {
  const char quote = original.front() == '\'' ? '\'' : '"';
  std::string text(1, quote);
  for (const char c : value) {
    if (c == '&') {
      text += "&amp;";
    } else if (c == quote) {
      text += quote == '"' ? "&quot;" : "&#39;";
    } else {
      text += c;
    }
  }
  return text += quote;
}

// The place of the attribute's value in `html`, or nullopt when the parser
// made the value up (an attribute with no value has none either).
std::optional<std::size_t> ValueOffset(const GumboAttribute& attribute, std::string_view html) {
  const GumboStringPiece& original = attribute.original_value;
  const auto begin = reinterpret_cast<std::uintptr_t>(html.data());
  const auto start = reinterpret_cast<std::uintptr_t>(original.data);
  if (original.length == 0 || start < begin || start - begin > html.size()) return std::nullopt;
  if (original.length > html.size() - (start - begin)) return std::nullopt;
  return start - begin;
}

void AddEdits(const GumboElement& element, std::string_view html, const std::string& base,
              std::vector<ValueEdit>& edits) {
  for (unsigned int index = 0; index < element.attributes.length; ++index) {
    const auto& attribute = *static_cast<const GumboAttribute*>(element.attributes.data[index]);
    const std::optional<std::size_t> offset = ValueOffset(attribute, html);
    if (!offset) continue;
    const std::optional<std::string> resolved = ResolvedValue(attribute, base);
    if (!resolved) continue;
    const std::string_view original(attribute.original_value.data, attribute.original_value.length);
    edits.push_back({*offset, original.size(), QuotedValue(original, *resolved)});
  }
}

bool HasElement(const GumboNode& node) {
  return node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE;
}

// The edits of every element of the tree. The walk keeps its own stack, so
// that deeply nested markup cannot exhaust the program's.
std::vector<ValueEdit> CollectEdits(const GumboNode& root, std::string_view html,
                                    const std::string& base) {
  std::vector<ValueEdit> edits;
  std::vector<const GumboNode*> pending = {&root};
  while (!pending.empty()) {
    const GumboNode* node = pending.back();
    pending.pop_back();
    AddEdits(node->v.element, html, base, edits);
    const GumboVector& children = node->v.element.children;
    for (unsigned int index = 0; index < children.length; ++index) {
      const auto* child = static_cast<const GumboNode*>(children.data[index]);
      if (HasElement(*child)) pending.push_back(child);
    }
  }
  return edits;
}

// `html` with the edits made. The parser may give one attribute to several
// elements (a formatting element it opens again): its value is edited once.
std::string WithEdits(std::string_view html, std::vector<ValueEdit> edits) {
  std::sort(edits.begin(), edits.end(),
            [](const ValueEdit& a, const ValueEdit& b) { return a.offset < b.offset; });
  std::string result;
  std::size_t copied = 0;
  for (const ValueEdit& edit : edits) {
    if (edit.offset < copied) continue;
    result.append(html.substr(copied, edit.offset - copied)).append(edit.replacement);
    copied = edit.offset + edit.length;
  }
  return result.append(html.substr(copied));
}

}  // namespace

void ResolveBodyLinks(std::string& html, const std::string& base) {
  if (base.empty() || html.find('<') == std::string::npos) return;
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // nobody reads the parse errors: keep none
  const ParsedHtml parsed(gumbo_parse_with_options(&options, html.data(), html.size()));
  if (!parsed) return;
  std::vector<ValueEdit> edits = CollectEdits(*parsed->root, html, base);
  if (!edits.empty()) html = WithEdits(html, std::move(edits));
}

}  // namespace tavi
