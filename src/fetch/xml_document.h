#pragma once

// XmlDocument: one feed document and an index of its elements, built in one
// pass when the text is set. There is no tree of node objects: each element
// is a fixed-size entry located by byte offsets into the unchanged text.
// Callers move three cursor positions (parent, current, child) and read tag
// names, text content and attribute values, decoded on the way out.
//
// The parser is tolerant: a faulty document is indexed as far as possible and
// can still be navigated, but its load reports failure, and ParseMessage
// says why. Nothing here throws or shows anything. Any byte sequence is a
// document; parsing takes time and memory linear in its length, whatever the
// nesting. Names compare case-sensitively.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fetch/document_encoding.h"
#include "fetch/xml_element_index.h"

namespace tavi {

class XmlDocument {
 public:
  // A document with the empty text, already parsed: its message is "Empty
  // document".
  XmlDocument();

  // Copies are independent: text, message, positions and the whole index.
  XmlDocument(const XmlDocument&) = default;
  XmlDocument& operator=(const XmlDocument&) = default;
  // A moved-from document is the empty document again.
  XmlDocument(XmlDocument&& other);
  XmlDocument& operator=(XmlDocument&& other);

  // Replaces the text, clears the message and parses. True when
  // ParseSucceeded(). A null pointer counts as the empty text.
  bool SetText(std::string text);
  bool SetText(const char* text);

  // Reads the whole file at `path` as the bytes of a feed document, turns
  // them into UTF-8 (DecodeFeedDocument, with `charset` as the transport's
  // charset, "" when none is known) and parses the text. The message starts
  // with the file's size ("120 bytes"), followed by ", " and the parse error
  // when there is one. `encoding`, when not null, receives what the decoding
  // found. When the file cannot be read, the message is the system's text for
  // the error (such as "No such file or directory"), nothing is parsed, the
  // earlier text and index stay and `encoding` is left alone. True when the
  // file was read and the parse succeeded.
  bool LoadFile(const std::string& path, std::string_view charset = {},
                DocumentEncoding* encoding = nullptr);

  // True when the document is well formed as far as the parser checks: no
  // parse error, a root element, and nothing after the root at its level.
  bool ParseSucceeded() const;

  // The message of the last parse: "" after a clean parse, else the first
  // problem ("Empty document", "No root element", "Root element has
  // sibling", a scan error such as "Element 'a' at offset 0 not ended"),
  // after LoadFile prefixed with the size.
  const std::string& ParseMessage() const { return message_; }

  // All three positions become none (the cursor is before the root).
  void ResetPosition();
  // The child position becomes none; parent and current stay.
  void ResetChildPosition();

  // Searches the siblings after the current element or, with no current
  // element, the children of the parent position (the root at the top), for
  // the first whose tag name matches `name` (any element when `name` is
  // empty). On success it becomes current and the child position none;
  // otherwise nothing changes.
  bool FindElement(std::string_view name = {});

  // Selects the current element first when there is none (FindElement with
  // no name), then searches its children after the child position (from the
  // first child when there is none) for the first matching `name` (any when
  // empty); it never wraps around. On success the element found becomes the
  // child position.
  bool FindChildElement(std::string_view name = {});

  // The current element becomes the parent, the child position becomes
  // current (possibly none: before the first child), the child position
  // none. False, changing nothing, without a current element.
  bool EnterElement();

  // The way back: the current element becomes the child position, the
  // parent becomes current and its parent the parent. False at the top.
  bool LeaveElement();

  // The tag name of the current element; "" when there is none.
  std::string GetElementName() const;

  // The text content of the current element, of the child position: ""
  // when there is no such element, when it has child elements, or when it
  // has no end tag; otherwise see XmlTextContent.
  std::string GetElementText() const;
  std::string GetChildText() const;

  // The decoded value of the named attribute of the current element, of the
  // child position; "" when absent or when there is no such element. An
  // attribute without a value yields its own name.
  std::string GetAttributeValue(std::string_view name) const;
  std::string GetChildAttributeValue(std::string_view name) const;

  // The raw bytes between the current element's start tag and end tag, not
  // decoded; "" when there is no current element or nothing between them.
  std::string GetInnerMarkup() const;

  // Character references and the five predefined entities of `text`
  // decoded (see DecodeXmlEntities); the read operations use it.
  static std::string DecodeEntities(std::string_view text);

  // The document text and the element index, for inspection.
  const std::string& Text() const { return text_; }
  const ElementIndex& Index() const { return index_; }

 private:
  bool Parse(const std::string& kept_message);
  void BuildIndex();
  std::uint32_t FindSibling(std::uint32_t first, std::string_view name) const;
  std::string_view NameOf(std::uint32_t entry) const;
  std::size_t StartTagLength(std::uint32_t entry) const;
  std::size_t EndTagLength(std::uint32_t entry) const;
  std::string_view ContentOf(std::uint32_t entry) const;
  std::string TextOf(std::uint32_t entry) const;
  std::string AttributeOf(std::uint32_t entry, std::string_view name) const;

  std::string text_;
  std::string message_;
  // The positions are entry numbers; 0 = none. The child position comes
  // first: EnterElement copies current to parent and child to current, and
  // with the three in that order the compiler reads the pair (current,
  // child) in one load that cannot take the child just stored by
  // FindChildElement from the store buffer, which stalls every step of a walk.
  std::uint32_t child_ = 0;
  std::uint32_t parent_ = 0;
  std::uint32_t current_ = 0;
  ElementIndex index_;  // entry 0 carries the ill-formed mark
};

}  // namespace tavi
