#pragma once

// The element scan of XmlDocument: one pass over the document text that
// builds the element index. It is tolerant: every start tag becomes an
// element, an element whose end tag never comes keeps only its start tag and
// hands its children to its parent, and the first problem met is reported.
// It works in time and memory linear in the text, whatever the nesting.

#include <cstdint>
#include <string>
#include <string_view>

#include "fetch/xml_element_index.h"

namespace tavi {

struct XmlScanResult {
  bool ill_formed = false;
  // The first error met, "" when none: "No start tag for end tag '%s' at
  // offset %d", "Element '%s' at offset %d not ended", "End tag '%s' at offset
  // %d does not match start tag '%s' at offset %d", or a token's error text.
  std::string message;
};

// Scans `text` (below 4 GiB) and adds its elements under entry 0 of `index`,
// which the caller has restarted for it. Entry 0's first child is the first
// top-level element afterwards; entry 0's own length and flags are left to
// the caller.
XmlScanResult ScanXmlElements(std::string_view text, ElementIndex& index);

}  // namespace tavi
