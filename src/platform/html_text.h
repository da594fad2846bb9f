#pragma once

// The browser control's text view: an HTML document or fragment as readable
// plain text, the way a text browser lays it out. The HTML5 parser (gumbo)
// reads any markup, however broken, as a browser would, and decodes the
// character references.

#include <string>
#include <string_view>
#include <vector>

namespace tavi::platform {

// The text of `html` (UTF-8), one line per "\n", every line ended:
// - block elements (p, div, br, li, headings, tr, blockquote, pre, ...)
//   start new lines; paragraphs, headings, lists, tables, block quotes and
//   preformatted blocks stand apart by one blank line, and consecutive blank
//   lines collapse to one;
// - list items start with "- ", two blanks deeper per nested list;
// - runs of white space collapse to one blank outside pre, where lines and
//   blanks stay as they are; table cells of a row stand on one line;
// - the contents of head, script, style and template are dropped; an image
//   shows its alt text;
// - each link (a href) is followed by its number, "[1]"; a link to the same
//   address gets the same number. Links to a place in the same document
//   ("#...") or to scripts ("javascript:") get none. With
//   LinkNumbers::kHidden no link gets one (the text a page's own script
//   reads, innerText).
// When `links` is not null, it receives the linked addresses in number
// order (the first one is "[1]"). Returns "" for markup without visible
// text. Never fails.
enum class LinkNumbers { kShown, kHidden };
std::string HtmlToText(std::string_view html, std::vector<std::string>* links,
                       LinkNumbers numbers = LinkNumbers::kShown);

// The list of links as printed after the text: "[1] address" lines, "" for
// no links.
std::string LinkListText(const std::vector<std::string>& links);

}  // namespace tavi::platform
