#include "delivery/body_links.h"

#include <gumbo.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "delivery/link_resolution.h"
#include "platform/ascii.h"

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
// entity encoded. So are control characters: the parser reads one written
// as it is otherwise than one written as a reference, and the parts of a
// srcset that stay come from the parser's decoded value.
std::string QuotedValue(std::string_view original, std::string_view value) {
  const char quote = original.front() == '\'' ? '\'' : '"';
  std::string text(1, quote);
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '&') {
      text += "&amp;";
    } else if (c == quote) {
      text += quote == '"' ? "&quot;" : "&#39;";
    } else if (byte < 0x20 || byte == 0x7F) {
      text.append("&#").append(std::to_string(byte)).append(";");
    } else {
      text += c;
    }
  }
  return text += quote;
}

// Where `piece` lies in `html`, or nullopt when it points elsewhere (the
// parser made it up).
std::optional<std::size_t> OffsetIn(std::string_view html, const GumboStringPiece& piece) {
  const auto begin = reinterpret_cast<std::uintptr_t>(html.data());
  const auto start = reinterpret_cast<std::uintptr_t>(piece.data);
  if (piece.data == nullptr || start < begin || start - begin > html.size()) return std::nullopt;
  if (piece.length > html.size() - (start - begin)) return std::nullopt;
  return start - begin;
}

// The bytes of the attribute's value in `html`, quotes included, found as the
// tokenizer found them: after the name, white space, '=' and white space,
// quoted text through its closing quote or a run up to white space or '>'.
// The parser's own record of that place is wrong for an unquoted value that
// starts with a character reference. nullopt when the parser made the
// attribute up or it has no value.
std::optional<ValueEdit> ValuePlace(const GumboAttribute& attribute, std::string_view html) {
  const std::optional<std::size_t> name = OffsetIn(html, attribute.original_name);
  if (!name || attribute.original_name.length == 0) return std::nullopt;
  std::size_t start =
      html.find_first_not_of(kHtmlWhiteSpace, *name + attribute.original_name.length);
  if (start == std::string_view::npos || html[start] != '=') return std::nullopt;
  start = html.find_first_not_of(kHtmlWhiteSpace, start + 1);
  if (start == std::string_view::npos || html[start] == '>') return std::nullopt;
  const char quote = html[start];
  std::size_t end = html.find_first_of(" \t\n\f\r>", start);
  if (quote == '"' || quote == '\'') {
    end = html.find(quote, start + 1);
    if (end != std::string_view::npos) ++end;
  }
  return ValueEdit{start, std::min(end, html.size()) - start, {}};
}

void AddEdits(const GumboElement& element, std::string_view html, const std::string& base,
              std::vector<ValueEdit>& edits) {
  for (unsigned int index = 0; index < element.attributes.length; ++index) {
    const auto& attribute = *static_cast<const GumboAttribute*>(element.attributes.data[index]);
    std::optional<ValueEdit> edit = ValuePlace(attribute, html);
    if (!edit) continue;
    const std::optional<std::string> resolved = ResolvedValue(attribute, base);
    if (!resolved) continue;
    edit->replacement = QuotedValue(html.substr(edit->offset, edit->length), *resolved);
    edits.push_back(std::move(*edit));
  }
}

bool IsElementNode(const GumboNode& node) {
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
      if (IsElementNode(*child)) pending.push_back(child);
    }
  }
  return edits;
}

// The run of attribute-name characters that ends right before the '=' at
// `equals` (white space between them skipped). The parser's name for that
// attribute is always a tail of it, in some letter case.
std::string_view NameRunBefore(std::string_view html, std::size_t equals) {
  constexpr std::string_view kNameEnds = " \t\n\f\r/>=";
  const std::string_view before = html.substr(0, equals);
  const std::size_t last = before.find_last_not_of(kHtmlWhiteSpace);
  if (last == std::string_view::npos) return {};
  std::size_t start = last + 1;
  while (start > 0 && kNameEnds.find(before[start - 1]) == std::string_view::npos) --start;
  return before.substr(start, last + 1 - start);
}

// The value written after an '=', undecoded, as far as the look before the
// parse reads it: up to the next '=' at most, so that the look stays linear
// in the body's length. `whole` when the value ends before that.
struct RawValue {
  std::string_view text;
  bool whole;
};

// Quoted text up to its closing quote, else a run up to white space or '>'.
RawValue RawValueAfter(std::string_view html, std::size_t equals) {
  const std::size_t next_equals = std::min(html.find('=', equals + 1), html.size());
  const std::string_view after = html.substr(equals + 1, next_equals - equals - 1);
  const std::size_t start = after.find_first_not_of(kHtmlWhiteSpace);
  if (start == std::string_view::npos) return {{}, false};
  const char quote = after[start];
  const bool quoted = quote == '"' || quote == '\'';
  const std::size_t text_start = quoted ? start + 1 : start;
  const std::size_t end =
      quoted ? after.find(quote, text_start) : after.find_first_of(" \t\n\f\r>", text_start);
  if (end == std::string_view::npos) return {after.substr(text_start), false};
  return {after.substr(text_start, end - text_start), true};
}

// Whether a value written so may need resolving. Entities only ever make a
// value look less like one that stays, so the undecoded text errs towards
// yes; so does a value read only in part, unless its start settles it (a
// scheme, a fragment). A srcset may need it when any comma-separated part
// might.
bool MayNeedResolving(std::string_view name_run, const RawValue& value) {
  if (platform::EndsWithIgnoringCase(name_run, kSourceSetAttribute)) {
    if (!value.whole) return true;
    for (std::size_t start = 0; start <= value.text.size();) {
      const std::size_t comma = std::min(value.text.find(',', start), value.text.size());
      if (!StaysAsWritten(value.text.substr(start, comma - start))) return true;
      start = comma + 1;
    }
    return false;
  }
  const bool names_a_link = std::any_of(
      std::begin(kLinkAttributes), std::end(kLinkAttributes),
      [&](std::string_view name) { return platform::EndsWithIgnoringCase(name_run, name); });
  if (!names_a_link) return false;
  if (value.whole) return !StaysAsWritten(value.text);
  return TrimmedLink(value.text).empty() || !StaysAsWritten(value.text);
}

// A quick look before the parser reads the body: false when no attribute
// written with a link attribute's name holds a value that may need
// resolving. Text that only looks like such an attribute counts too, so it
// errs only towards a parse that finds nothing to do; most bodies, with no
// links or only absolute ones, skip the parse.
bool MayHoldRelativeLinks(std::string_view html) {
  for (std::size_t equals = html.find('='); equals != std::string_view::npos;
       equals = html.find('=', equals + 1)) {
    if (MayNeedResolving(NameRunBefore(html, equals), RawValueAfter(html, equals))) return true;
  }
  return false;
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
  if (base.empty() || !MayHoldRelativeLinks(html)) return;
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // nobody reads the parse errors: keep none
  const ParsedHtml parsed(gumbo_parse_with_options(&options, html.data(), html.size()));
  if (!parsed) return;
  std::vector<ValueEdit> edits = CollectEdits(*parsed->root, html, base);
  if (!edits.empty()) html = WithEdits(html, std::move(edits));
}

}  // namespace tavi
