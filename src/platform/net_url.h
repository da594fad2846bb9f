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

}  // namespace tavi::platform
