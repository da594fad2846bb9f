#include "web/page_assets.h"

namespace tavi::web {
namespace {

constexpr std::string_view kPagePrefix = "/page/";
constexpr std::string_view kIndexName = "index.html";

struct ContentType {
  std::string_view extension;
  const char* type;
};

constexpr ContentType kContentTypes[] = {
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".svg", "image/svg+xml"},
};

std::string ContentTypeOf(std::string_view name) {
  for (const ContentType& known : kContentTypes)
    if (name.ends_with(known.extension)) return known.type;
  return "application/octet-stream";
}

}  // namespace

std::optional<PageAsset> FindPageAsset(std::string_view path) {
  std::string_view name;
  if (path == "/") {
    name = kIndexName;
  } else if (path.starts_with(kPagePrefix)) {
    name = path.substr(kPagePrefix.size());
  } else {
    return std::nullopt;
  }
  for (const PageFile& file : EmbeddedPageFiles())
    if (file.name == name) return PageAsset{file.bytes, ContentTypeOf(name)};
  return std::nullopt;
}

}  // namespace tavi::web
