#include "platform/net_url.h"

#include <curl/curl.h>

#include <memory>

#include "platform/net.h"

namespace tavi::platform {
namespace {

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

}  // namespace

std::optional<std::string> UrlScheme(const std::string& url) {
  const std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
    return std::nullopt;
  }
  char* scheme = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) return std::nullopt;
  std::string text(scheme);
  curl_free(scheme);
  return text;
}

std::optional<std::string> ResolveUrl(const std::string& base, std::string reference) {
  constexpr const char* kHtmlWhiteSpace = " \t\n\f\r";
  reference.erase(0, reference.find_first_not_of(kHtmlWhiteSpace));
  reference.erase(reference.find_last_not_of(kHtmlWhiteSpace) + 1);
  const std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
  if (!parsed) return std::nullopt;
  // Set on a handle holding a URL, a relative one is resolved against it; a
  // base that does not parse leaves the handle empty.
  curl_url_set(parsed.get(), CURLUPART_URL, base.c_str(), 0);
  if (curl_url_set(parsed.get(), CURLUPART_URL, reference.c_str(), CURLU_URLENCODE) != CURLUE_OK)
    return std::nullopt;
  char* resolved = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_URL, &resolved, 0) != CURLUE_OK) return std::nullopt;
  std::string text(resolved);
  curl_free(resolved);
  return text;
}

std::string WithoutCredentials(const std::string& url) {
  const std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return url;
  char* user = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_USER, &user, 0) != CURLUE_OK) return url;
  curl_free(user);
  curl_url_set(parsed.get(), CURLUPART_USER, nullptr, 0);
  curl_url_set(parsed.get(), CURLUPART_PASSWORD, nullptr, 0);
  char* bare = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_URL, &bare, 0) != CURLUE_OK) return url;
  std::string text(bare);
  curl_free(bare);
  return text;
}

bool IsWebAddress(const std::string& url) {
  const std::optional<std::string> scheme = UrlScheme(url);
  return scheme == "http" || scheme == "https";
}

std::string EncodeQueryValue(std::string_view text) {
  // curl's escape needs no handle; it encodes all but the unreserved bytes.
  char* escaped = curl_easy_escape(nullptr, text.data(), static_cast<int>(text.size()));
  if (escaped == nullptr) return "";
  std::string result(escaped);
  curl_free(escaped);
  return result;
}

}  // namespace tavi::platform
