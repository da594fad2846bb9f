#include "fetch/xml_element_scan.h"

#include <cassert>
#include <optional>
#include <vector>

#include "fetch/xml_open_names.h"
#include "fetch/xml_token_scanner.h"

namespace tavi {
namespace {

// The open-element stack starts with room for this many and grows to
// 2 x size + this many, so shallow documents never reallocate it.
constexpr std::size_t kOpenStackGrowth = 6;

struct OpenElement {
  std::uint32_t entry;
  std::uint32_t start;       // offset of the start tag's '<'
  std::uint32_t tag_length;  // of the start tag
  std::uint32_t name_length;
};

std::uint32_t Offset(std::size_t offset) { return static_cast<std::uint32_t>(offset); }

std::string Quoted(std::string_view name) {
  std::string quoted = "'";
  quoted.append(name);
  quoted += '\'';
  return quoted;
}

class ElementScan {
 public:
  ElementScan(std::string_view text, ElementIndex& index) : text_(text), index_(index) {
    open_.reserve(kOpenStackGrowth);
  }
  XmlScanResult Run();

 private:
  void OnToken(const XmlToken& token);
  void OnStartTag(const XmlToken& token);
  void OnEndTag(const XmlToken& token);
  void OnEndOfText();
  void AppendChild(std::uint32_t parent, std::uint32_t child);
  void CompleteInnermost(const XmlToken& end_tag);
  void CloseInnermostNotEnded();
  void MoveChildrenUp(std::uint32_t entry, std::uint32_t parent);
  void ReparentMovedChildren();
  std::optional<std::uint32_t> FindOpen(std::string_view end_tag_name);
  void Push(const OpenElement& element);
  void Pop();
  std::uint32_t CurrentParent() const { return open_.empty() ? 0 : open_.back().entry; }
  std::string_view NameOf(const OpenElement& element) const {
    return text_.substr(element.start + 1, element.name_length);
  }
  // Only the first error of a scan is reported; later ones only mark it.
  bool WantsMessage() const { return result_.message.empty(); }

  std::string_view text_;
  ElementIndex& index_;
  std::vector<OpenElement> open_;
  XmlOpenNames open_names_;
  bool open_names_in_use_ = false;
  bool moved_children_ = false;
  XmlScanResult result_;
};

XmlScanResult ElementScan::Run() {
  // Text between tags gets no entry and is never an error, so it is skipped
  // whole rather than cut into tokens.
  for (std::size_t pos = FindXmlByte(text_, 0, '<'); pos < text_.size();
       pos = FindXmlByte(text_, pos, '<')) {
    const XmlToken token = ScanXmlMarkup(text_, pos);
    pos = token.end();
    OnToken(token);
  }
  OnEndOfText();
  if (moved_children_) ReparentMovedChildren();
  return std::move(result_);
}

void ElementScan::OnToken(const XmlToken& token) {
  switch (token.kind) {
    case XmlTokenKind::kStartTag:
      OnStartTag(token);
      return;
    case XmlTokenKind::kEndTag:
      OnEndTag(token);
      return;
    case XmlTokenKind::kError:
      result_.ill_formed = true;
      if (WantsMessage()) result_.message = XmlTokenErrorText(token);
      return;
    case XmlTokenKind::kText:
    case XmlTokenKind::kWhiteSpace:
    case XmlTokenKind::kCData:
    case XmlTokenKind::kProcessingInstruction:
    case XmlTokenKind::kComment:
    case XmlTokenKind::kDeclaration:
    case XmlTokenKind::kEndOfText:
      return;
  }
}

void ElementScan::OnStartTag(const XmlToken& token) {
  const std::uint32_t parent = CurrentParent();
  const std::uint32_t entry = index_.Append();
  ElementEntry& element = index_[entry];
  element.start = Offset(token.start);
  element.length = Offset(token.length);
  element.tag_lengths = PackTagLengths(token.length, 0);
  element.parent = parent;
  element.first_child = 0;
  element.next_sibling = 0;
  AppendChild(parent, entry);
  if (token.empty_element) return;
  Push(OpenElement{entry, Offset(token.start), Offset(token.length), Offset(token.name_length)});
}

void ElementScan::OnEndTag(const XmlToken& token) {
  const std::string_view name = token.Name(text_);
  if (!open_.empty() && XmlNameMatches(name, NameOf(open_.back()))) {
    CompleteInnermost(token);
    return;
  }
  const std::optional<std::uint32_t> depth = FindOpen(name);
  result_.ill_formed = true;
  if (!depth) {
    if (WantsMessage())
      result_.message =
          "No start tag for end tag " + Quoted(name) + " at offset " + std::to_string(token.start);
    return;
  }
  while (open_.size() > *depth + 1) {
    const OpenElement& unended = open_.back();
    if (WantsMessage())
      result_.message = "End tag " + Quoted(name) + " at offset " +
                        std::to_string(token.start + 1) + " does not match start tag " +
                        Quoted(NameOf(unended)) + " at offset " + std::to_string(unended.start);
    CloseInnermostNotEnded();
  }
  CompleteInnermost(token);
}

void ElementScan::OnEndOfText() {
  if (open_.empty()) return;
  const OpenElement& innermost = open_.back();
  result_.ill_formed = true;
  if (WantsMessage())
    result_.message = "Element " + Quoted(NameOf(innermost)) + " at offset " +
                      std::to_string(innermost.start) + " not ended";
  while (!open_.empty()) CloseInnermostNotEnded();
}

// Links `child` as the last child of `parent`, found through the first
// child's previous-sibling word.
void ElementScan::AppendChild(std::uint32_t parent, std::uint32_t child) {
  ElementEntry& parent_entry = index_[parent];
  ElementEntry& child_entry = index_[child];
  if (parent_entry.first_child == 0) {
    parent_entry.first_child = child;
    child_entry.previous_sibling = child;
    return;
  }
  ElementEntry& first = index_[parent_entry.first_child];
  const std::uint32_t last = first.previous_sibling;
  index_[last].next_sibling = child;
  child_entry.previous_sibling = last;
  first.previous_sibling = child;
}

void ElementScan::CompleteInnermost(const XmlToken& end_tag) {
  const OpenElement& open = open_.back();
  ElementEntry& element = index_[open.entry];
  element.length = Offset(end_tag.end() - open.start);
  element.tag_lengths = PackTagLengths(open.tag_length, end_tag.length);
  Pop();
}

void ElementScan::CloseInnermostNotEnded() {
  const OpenElement open = open_.back();
  Pop();
  ElementEntry& element = index_[open.entry];
  element.length = open.tag_length;
  element.tag_lengths = PackTagLengths(open.tag_length, 0, kNotEndedFlag);
  if (element.first_child != 0) MoveChildrenUp(open.entry, CurrentParent());
}

// The children of an element closed without its end tag follow it, in their
// order, under its parent. Being open, the element is its parent's last
// child. Their parent words are put right once, at the end of the scan:
// fixing them here would cost time proportional to depth x elements.
void ElementScan::MoveChildrenUp(std::uint32_t entry, std::uint32_t parent) {
  ElementEntry& element = index_[entry];
  const std::uint32_t first = element.first_child;
  ElementEntry& first_entry = index_[first];
  const std::uint32_t last = first_entry.previous_sibling;
  element.first_child = 0;
  element.next_sibling = first;
  first_entry.previous_sibling = entry;
  index_[index_[parent].first_child].previous_sibling = last;
  moved_children_ = true;
}

// An element whose recorded parent was closed without its end tag moved up
// with its siblings, so it shares that parent's own parent. Entries are in
// document order, so the parent's word is already right when its children's
// are read.
void ElementScan::ReparentMovedChildren() {
  for (std::uint32_t entry = 1; entry < index_.size(); ++entry) {
    ElementEntry& element = index_[entry];
    const ElementEntry& parent = index_[element.parent];
    if ((parent.tag_lengths & kNotEndedFlag) != 0) element.parent = parent.parent;
  }
}

// The depth of the innermost open element that the end tag closes. The
// look-up by name is built the first time it is needed: a document whose end
// tags all match never pays for it.
std::optional<std::uint32_t> ElementScan::FindOpen(std::string_view end_tag_name) {
  if (open_.empty()) return std::nullopt;
  if (!open_names_in_use_) {
    for (std::size_t depth = 0; depth < open_.size(); ++depth)
      open_names_.Add(NameOf(open_[depth]), static_cast<std::uint32_t>(depth));
    open_names_in_use_ = true;
  }
  return open_names_.FindInnermost(end_tag_name);
}

void ElementScan::Push(const OpenElement& element) {
  if (open_.size() == open_.capacity()) open_.reserve(2 * open_.size() + kOpenStackGrowth);
  open_.push_back(element);
  if (open_names_in_use_)
    open_names_.Add(NameOf(element), static_cast<std::uint32_t>(open_.size() - 1));
}

void ElementScan::Pop() {
  assert(!open_.empty() && "pop of an empty stack");
  if (open_names_in_use_) open_names_.RemoveInnermost(NameOf(open_.back()));
  open_.pop_back();
}

}  // namespace

XmlScanResult ScanXmlElements(std::string_view text, ElementIndex& index) {
  assert(text.size() <= UINT32_MAX && "offsets are 32 bits");
  return ElementScan(text, index).Run();
}

}  // namespace tavi
