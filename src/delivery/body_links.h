#pragma once

// The links and images inside an article's body, made absolute in place.
// The body is read with the HTML5 parser, as the mail client's viewer reads
// it, so only real attributes of real tags count: text that merely looks
// like markup ("&lt;a href=...&gt;"), comments and script text are left
// alone. The body is never written out again from the parse: each value
// that changes is replaced in the original text, so a body whose links need
// nothing keeps its every byte.

#include <string>

namespace tavi {

// Resolves against `base` (ResolveLink) the address in every link attribute
// of `html`'s tags: href, src, poster, cite, action, formaction, background,
// longdesc, and each candidate of a srcset. A value that changes is written
// back with its entities encoded and the quotes it had (double quotes when
// it had none); everything else stays as it was. Nothing changes when `base`
// is empty.
void ResolveBodyLinks(std::string& html, const std::string& base);

}  // namespace tavi
