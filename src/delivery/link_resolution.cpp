#include "delivery/link_resolution.h"

#include <algorithm>

#include "platform/net_url.h"

namespace tavi {
namespace {

constexpr std::string_view kHtmlWhiteSpace = " \t\n\f\r";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsSchemeCharacter(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// A scheme is a letter, then letters, digits, "+", "-" or ".", then ":".
// Such a link means the same whatever the base, so it is never touched: an
// address written in full keeps its every byte.
bool HasScheme(std::string_view link) {
  const std::size_t colon = link.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  if (!IsAsciiLetter(link.front())) return false;
  return std::all_of(link.begin(), link.begin() + colon, IsSchemeCharacter);
}

}  // namespace

std::string_view TrimmedLink(std::string_view link) {
  const std::size_t first = link.find_first_not_of(kHtmlWhiteSpace);
  if (first == std::string_view::npos) return {};
  return link.substr(first, link.find_last_not_of(kHtmlWhiteSpace) - first + 1);
}

std::string BaseUrlOf(const std::string& document_url, const std::vector<std::string>& xml_bases) {
  // The feed's URL may carry the reader's password: it must not travel on
  // in the links of the articles.
  std::string base = platform::WithoutCredentials(document_url);
  for (const std::string& xml_base : xml_bases) {
    if (std::optional<std::string> resolved = platform::ResolveUrl(base, xml_base))
      base = std::move(*resolved);
  }
  return base;
}

bool StaysAsWritten(std::string_view link) {
  const std::string_view trimmed = TrimmedLink(link);
  return trimmed.empty() || trimmed.front() == '#' || HasScheme(trimmed);
}

std::optional<std::string> ResolveLink(std::string_view link, const std::string& base) {
  if (base.empty() || StaysAsWritten(link)) return std::nullopt;
  return platform::ResolveUrl(base, std::string(TrimmedLink(link)));
}

}  // namespace tavi
