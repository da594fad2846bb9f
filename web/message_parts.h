#pragma once

// A stored message (its separator line first, as the host's store keeps it)
// taken apart for the page: its header fields, and its body as a document
// of its own for the page's sandboxed frame. Both are feed text: the page
// shows the fields as text, and the body only inside that frame.

#include <string>
#include <string_view>
#include <vector>

namespace tavi::web {

struct HeaderField {
  std::string name;
  std::string value;
  bool operator==(const HeaderField&) const = default;
};

// Every field of the header block, in order, up to the first empty line:
// "Name: value" with the blanks after the colon dropped, continuation lines
// (beginning with a blank or a tab) joined to their field by one blank. A
// line without a colon before them is no field and is left out.
std::vector<HeaderField> MessageHeaderFields(std::string_view raw);

// The body as a whole HTML document: the HTML between the markers
// <x-html> and </x-html> when the body has them (a part without its end
// runs to the end); a body that is a whole page (it begins, after blanks
// and line breaks, with "<html" in any letter case) as it is; else the body
// as preformatted text with <, > and & escaped. Its head makes links open outside the frame that
// shows it.
std::string MessageBodyDocument(std::string_view raw);

}  // namespace tavi::web
