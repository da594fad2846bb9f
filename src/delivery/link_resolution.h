#pragma once

// How an article's links are made absolute: which links stay as written, the
// base address an item's links are relative to, and the resolution itself,
// which libcurl's URL parser does as a browser would.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// `link` without the white space around it (blanks, tabs, CR, LF, form
// feeds), as it is fetched. A view into `link`.
std::string_view TrimmedLink(std::string_view link);

// The base address of an item's links: `document_url` (the feed document's
// own URL, "" when unknown; without the user name and password it may carry)
// with each of `xml_bases` resolved on the one
// before it, outermost first. A value that does not resolve (a relative one
// with no address before it, a scheme such as "javascript:" or "mailto:")
// is passed over, so with none that resolves the result is `document_url`.
std::string BaseUrlOf(const std::string& document_url, const std::vector<std::string>& xml_bases);

// True when `link` means the same whatever the base, so it is never
// resolved: empty or white space, a fragment ("#top"), or with a scheme (an
// absolute address, "mailto:", "data:", "javascript:" and the like).
bool StaysAsWritten(std::string_view link);

// `link` resolved against `base` ("../b" on "http://h/a/c" is "http://h/b"),
// or nullopt when it stays as written (StaysAsWritten), `base` is empty, or
// it does not resolve.
std::optional<std::string> ResolveLink(std::string_view link, const std::string& base);

}  // namespace tavi
