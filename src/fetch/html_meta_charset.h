#pragma once

// The encoding that a web page's meta element names, and where. Only the
// start of the page is looked at, as browsers look before they parse: a
// meta element that names the encoding belongs in the head, near the top.
// Two forms count, attribute names and values in any letter case:
//   <meta charset="windows-1251">
//   <meta http-equiv="Content-Type" content="text/html; charset=windows-1251">
// Values may be in double or single quotes or none. A meta element inside a
// comment does not count.

#include <cstddef>
#include <optional>
#include <string_view>

#include "fetch/xml_declaration.h"

namespace tavi {

// How far into the page a meta element is looked for: one that starts later,
// or whose charset ends later, is not found.
inline constexpr std::size_t kMetaCharsetScanBytes = 4096;

// The place of the encoding name in `page`: the charset attribute's value, or
// the charset inside the content of an http-equiv Content-Type, of the first
// meta element that names one. nullopt when none does within the first
// kMetaCharsetScanBytes bytes, or the name is empty.
std::optional<DeclaredEncodingPlace> FindMetaCharset(std::string_view page);

// The encoding name FindMetaCharset finds in `page`, as written; "" when
// there is none.
std::string_view MetaCharset(std::string_view page);

}  // namespace tavi
