#pragma once

// Reading URLs as the download forms do: with libcurl's URL parser, which
// never guesses a missing scheme. IsWebAddress is declared in net.h.

#include <optional>
#include <string>

namespace tavi::platform {

// The scheme of `url` in lower case ("http", "file"), or nullopt when `url`
// is not a complete URL as written: no scheme, no host where the scheme needs
// one, white space or control characters anywhere.
std::optional<std::string> UrlScheme(const std::string& url);

// `reference` (an address as a document gives it, absolute or relative)
// resolved against `base`, the document's own complete URL, as a browser
// resolves a link: "../b" on "http://h/a/c" is "http://h/b". White space
// around the reference is ignored and blanks inside it are percent-encoded.
// A `base` that is no complete URL ("about:blank", "") resolves only
// complete references. nullopt when the result is none (a relative reference
// without a base, a scheme libcurl does not know such as "javascript:", a
// malformed address).
std::optional<std::string> ResolveUrl(const std::string& base, std::string reference);

// `url` without the user name and password it may carry ("http://me:secret@h/"
// gives "http://h/"), so that an address built on it does not pass them on.
// A URL without them, or one that does not parse, is returned as it is.
std::string WithoutCredentials(const std::string& url);

}  // namespace tavi::platform
