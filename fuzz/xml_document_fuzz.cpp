// Any bytes as a feed document: parsing, walking every element as the check
// engine does and every read operation must neither crash, hang nor read
// past the text, and what they return must agree with the index.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fetch/xml_document.h"

namespace {

using tavi::XmlDocument;

constexpr std::string_view kNames[] = {"title", "link", "a", "href", "url", "xml:lang", ""};

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

// Reads the current element and its children in every way the engine does.
// Text is never longer than the raw content it comes from.
void ReadElement(XmlDocument& document) {
  for (const std::string_view name : kNames) document.GetAttributeValue(name);
  document.ResetChildPosition();
  const bool has_children = document.FindChildElement();
  const std::string text = document.GetElementText();
  if (has_children) {
    Check(text.empty());
  } else {
    Check(text.size() <= document.GetInnerMarkup().size());
  }
  for (const std::string_view name : kNames) {
    document.ResetChildPosition();
    while (document.FindChildElement(name)) {
      document.GetChildText();
      document.GetChildAttributeValue(name);
    }
  }
}

// The engine's walk in document order; it visits each element once at most.
void Walk(XmlDocument& document) {
  const std::uint32_t elements = document.Index().size() - 1;
  std::uint32_t visited = 0;
  document.ResetPosition();
  if (!document.FindChildElement()) return;
  for (;;) {
    Check(document.EnterElement());
    Check(++visited <= elements);
    Check(!document.GetElementName().empty());
    ReadElement(document);
    document.ResetChildPosition();
    if (document.FindChildElement()) continue;
    for (;;) {
      if (!document.LeaveElement()) return;
      if (document.FindChildElement()) break;
    }
  }
}

// Every top-level element, by FindElement from the start.
void VisitTopLevel(XmlDocument& document) {
  std::uint32_t found = 0;
  for (document.ResetPosition(); document.FindElement();) ++found;
  Check(found >= 1 || !document.ParseSucceeded());
  Check(found == 1 || !document.ParseSucceeded());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  XmlDocument document;
  const bool succeeded = document.SetText(text);
  Check(succeeded == document.ParseSucceeded());
  Check(succeeded == document.ParseMessage().empty());
  Check(XmlDocument::DecodeEntities(text).size() <= text.size());
  XmlDocument copy = document;
  Walk(copy);
  VisitTopLevel(document);
  return 0;
}
