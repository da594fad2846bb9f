#pragma once

// The xml:base values in scope while a walk moves through a feed document in
// document order. A document may give a base address for the relative links
// of an element and everything inside it; nested values build on each other,
// so an item keeps every value in scope, outermost first, and the composer
// resolves them against the document's own URL.
//
// Both the number of values kept and the length of each are capped: every
// item copies the values in scope, and a hostile document must not make that
// copy grow with its nesting.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "fetch/xml_document.h"

namespace tavi {

// Values kept in scope at once; deeper ones are ignored.
inline constexpr std::size_t kMaxXmlBasesInScope = 16;
// A longer value is ignored: no real base address comes near it.
inline constexpr std::size_t kMaxXmlBaseLength = 2048;

class XmlBaseTrail {
 public:
  // A trail over `document`. A document whose text never names xml:base
  // gives an idle trail: every call is then a no-op that reads nothing, so
  // documents without it pay one search of their text.
  explicit XmlBaseTrail(const XmlDocument& document);

  // Notes the current element of `document`, `depth` levels below the root
  // (the root's depth is 0): the values of elements at `depth` or deeper go
  // out of scope and the element's own value, when it has one, comes in.
  void Visit(const XmlDocument& document, std::size_t depth);

  // True when the document never names xml:base.
  bool Idle() const { return idle_; }

  // The values in scope at the element visited last, outermost first.
  std::vector<std::string> InScope() const;

  // The xml:base of the child position of `document`, or "" when it has
  // none, it is too long or the trail is idle.
  std::string ChildValue(const XmlDocument& document) const;

 private:
  bool idle_;
  std::vector<std::pair<std::size_t, std::string>> in_scope_;  // (depth, value)
};

}  // namespace tavi
