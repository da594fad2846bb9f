#include "fetch/xml_document.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "fetch/xml_content.h"
#include "fetch/xml_element_scan.h"
#include "fetch/xml_entities.h"
#include "fetch/xml_token_scanner.h"
#include "platform/fs.h"

namespace tavi {
namespace {

// Offsets in the index are 32 bits: a longer text is indexed as far as they
// reach, as if it ended there.
constexpr std::size_t kMaxIndexedLength = UINT32_MAX;

// XmlNameMatches for the tag name that starts at `tag_name` in the text, in
// one pass that stops at the first difference. Every tag name in the text is
// followed by a character that ends it, so this never reads past the tag.
bool TagNameMatches(const char* tag_name, std::string_view given) {
  for (std::size_t i = 0; i < given.size(); ++i) {
    if (IsXmlNameEnd(tag_name[i])) return IsXmlNameContinuation(given[i]);
    if (tag_name[i] != given[i]) return false;
  }
  return IsXmlNameEnd(tag_name[given.size()]);
}

}  // namespace

XmlDocument::XmlDocument() { Parse(""); }

XmlDocument::XmlDocument(XmlDocument&& other)
    : text_(std::move(other.text_)),
      message_(std::move(other.message_)),
      child_(other.child_),
      parent_(other.parent_),
      current_(other.current_),
      index_(std::move(other.index_)) {
  other.SetText("");
}

XmlDocument& XmlDocument::operator=(XmlDocument&& other) {
  if (this == &other) return *this;
  text_ = std::move(other.text_);
  message_ = std::move(other.message_);
  parent_ = other.parent_;
  current_ = other.current_;
  child_ = other.child_;
  index_ = std::move(other.index_);
  other.SetText("");
  return *this;
}

bool XmlDocument::SetText(std::string text) {
  text_ = std::move(text);
  return Parse("");
}

bool XmlDocument::SetText(const char* text) { return SetText(std::string(text ? text : "")); }

bool XmlDocument::LoadFile(const std::string& path, std::string_view charset,
                           DocumentEncoding* encoding) {
  std::optional<std::string> bytes = platform::ReadFileBytes(path);
  if (!bytes) {
    message_ = std::strerror(errno);
    return false;
  }
  const std::size_t file_size = bytes->size();
  DecodedDocument decoded = DecodeFeedDocument(std::move(*bytes), charset);
  text_ = std::move(decoded.text);
  if (encoding) *encoding = std::move(decoded.encoding);
  return Parse(std::to_string(file_size) + " bytes");
}

bool XmlDocument::ParseSucceeded() const {
  if (index_.size() == 0) return false;
  const ElementEntry& document = index_[0];
  if ((document.tag_lengths & kIllFormedFlag) != 0 || document.first_child == 0) return false;
  return index_[document.first_child].next_sibling == 0;
}

// The kept message is the load result that goes in front of the parse's own.
bool XmlDocument::Parse(const std::string& kept_message) {
  ResetPosition();
  message_.clear();
  index_.Restart(text_.size());
  if (text_.empty()) {
    message_ = "Empty document";
  } else {
    BuildIndex();
  }
  ResetPosition();
  if (!kept_message.empty())
    message_ = message_.empty() ? kept_message : kept_message + ", " + message_;
  return ParseSucceeded();
}

void XmlDocument::BuildIndex() {
  const std::string_view indexed =
      std::string_view(text_).substr(0, std::min(text_.size(), kMaxIndexedLength));
  XmlScanResult scan = ScanXmlElements(indexed, index_);
  message_ = std::move(scan.message);
  ElementEntry& document = index_[0];
  document.length = static_cast<std::uint32_t>(indexed.size());
  if (scan.ill_formed) document.tag_lengths |= kIllFormedFlag;
  if (document.first_child == 0) {
    message_ = "No root element";
  } else if (index_[document.first_child].next_sibling != 0) {
    message_ = "Root element has sibling";
  }
}

void XmlDocument::ResetPosition() { parent_ = current_ = child_ = 0; }

void XmlDocument::ResetChildPosition() { child_ = 0; }

bool XmlDocument::FindElement(std::string_view name) {
  const std::uint32_t first =
      current_ != 0 ? index_[current_].next_sibling : index_[parent_].first_child;
  const std::uint32_t found = FindSibling(first, name);
  if (found == 0) return false;
  current_ = found;
  child_ = 0;
  return true;
}

bool XmlDocument::FindChildElement(std::string_view name) {
  if (current_ == 0 && !FindElement()) return false;
  const std::uint32_t first =
      child_ != 0 ? index_[child_].next_sibling : index_[current_].first_child;
  const std::uint32_t found = FindSibling(first, name);
  if (found == 0) return false;
  child_ = found;
  return true;
}

bool XmlDocument::EnterElement() {
  if (current_ == 0) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  return true;
}

bool XmlDocument::LeaveElement() {
  if (parent_ == 0) return false;
  child_ = current_;
  current_ = parent_;
  parent_ = index_[parent_].parent;
  return true;
}

std::string XmlDocument::GetElementName() const { return std::string(NameOf(current_)); }

std::string XmlDocument::GetElementText() const { return TextOf(current_); }

std::string XmlDocument::GetChildText() const { return TextOf(child_); }

std::string XmlDocument::GetAttributeValue(std::string_view name) const {
  return AttributeOf(current_, name);
}

std::string XmlDocument::GetChildAttributeValue(std::string_view name) const {
  return AttributeOf(child_, name);
}

std::string XmlDocument::GetInnerMarkup() const { return std::string(ContentOf(current_)); }

std::string XmlDocument::DecodeEntities(std::string_view text) { return DecodeXmlEntities(text); }

// The first element from `first` on along the sibling links whose name
// matches `name`, any when it is empty; 0 when none.
std::uint32_t XmlDocument::FindSibling(std::uint32_t first, std::string_view name) const {
  for (std::uint32_t entry = first; entry != 0; entry = index_[entry].next_sibling) {
    if (name.empty() || TagNameMatches(text_.data() + index_[entry].start + 1, name)) return entry;
  }
  return 0;
}

// The tag name; every start tag holds a character that ends it, its '>' at
// the latest.
std::string_view XmlDocument::NameOf(std::uint32_t entry) const {
  if (entry == 0) return {};
  const std::size_t name_start = index_[entry].start + 1;
  std::size_t name_end = name_start;
  while (!IsXmlNameEnd(text_[name_end])) ++name_end;
  return std::string_view(text_).substr(name_start, name_end - name_start);
}

// A start tag too long for its field is measured again from the text.
std::size_t XmlDocument::StartTagLength(std::uint32_t entry) const {
  const ElementEntry& element = index_[entry];
  const std::uint32_t held = HeldStartTagLength(element.tag_lengths);
  if (held < kMaxHeldStartTagLength) return held;
  const std::size_t name_end = element.start + 1 + NameOf(entry).size();
  return FindStartTagClose(text_, name_end) + 1 - element.start;
}

// An end tag too long for its field is found again: after the last '>'
// before the end tag's own, the content holds only text and stray '<'
// errors, none of which starts with "</", so the first "</" begins it.
std::size_t XmlDocument::EndTagLength(std::uint32_t entry) const {
  const ElementEntry& element = index_[entry];
  const std::uint32_t held = HeldEndTagLength(element.tag_lengths);
  if (held < kMaxHeldEndTagLength) return held;
  const std::size_t close = std::size_t{element.start} + element.length - 1;
  const std::size_t last_markup_end = text_.rfind('>', close - 1);
  return close + 1 - text_.find("</", last_markup_end + 1);
}

std::string_view XmlDocument::ContentOf(std::uint32_t entry) const {
  if (entry == 0) return {};
  const ElementEntry& element = index_[entry];
  const std::size_t start_tag_length = StartTagLength(entry);
  if (element.length <= start_tag_length) return {};
  const std::size_t content_start = element.start + start_tag_length;
  const std::size_t content_end = std::size_t{element.start} + element.length - EndTagLength(entry);
  return std::string_view(text_).substr(content_start, content_end - content_start);
}

std::string XmlDocument::TextOf(std::uint32_t entry) const {
  if (entry == 0 || index_[entry].first_child != 0) return "";
  return XmlTextContent(ContentOf(entry));
}

std::string XmlDocument::AttributeOf(std::uint32_t entry, std::string_view name) const {
  if (entry == 0) return "";
  return XmlAttributeValue(
      std::string_view(text_).substr(index_[entry].start, StartTagLength(entry)), name);
}

}  // namespace tavi
