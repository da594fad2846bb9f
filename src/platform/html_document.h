#pragma once

// The browser control's document as a page's script sees it: the body's
// innerHTML, read and written. Documents and fragments are read with the
// HTML5 parser, as a browser reads them, so any markup is taken.

#include <string>
#include <string_view>

namespace tavi::platform {

// The innerHTML of `document`'s body: the body's children written back as
// HTML5 serialises them (html_serializer.h). "" when the document has no
// body (a frameset). Never fails.
std::string BodyInnerHtml(std::string_view document);

// `document` written back with its body's children replaced by `body_html`,
// parsed as the content of a body element; the doctype, the head and the
// attributes of html, head and body stay. Never fails.
std::string WithBodyInnerHtml(std::string_view document, std::string_view body_html);

}  // namespace tavi::platform
