#pragma once

// The encoding that a document's XML declaration names, and where. The declaration
// is the "<?xml" processing instruction at the start of the document; white
// space before it is tolerated, as some publishers' templates put a line
// break there. Nothing else in the document is looked at.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavi {

// Where the value of the declaration's encoding pseudo-attribute lies in the
// text: the bytes between its quotes.
struct DeclaredEncodingPlace {
  std::size_t offset = 0;
  std::size_t length = 0;
};

// The place of the encoding value in `text`'s declaration: after optional
// white space, "<?xml" and white space, up to the first "?>", a pseudo-
// attribute named exactly "encoding", "=" with optional blanks around it, and
// a value in matching single or double quotes. nullopt when there is no
// declaration, no encoding in it, or the value's quote is not closed before
// the declaration ends.
std::optional<DeclaredEncodingPlace> FindDeclaredEncoding(std::string_view text);

// The encoding value of `text`'s declaration, as written; "" when there is
// none (see FindDeclaredEncoding).
std::string_view DeclaredEncoding(std::string_view text);

}  // namespace tavi
