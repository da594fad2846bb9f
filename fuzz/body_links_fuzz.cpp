// Any bytes as an article's HTML body: resolving its links must neither
// crash nor read past the markup, and once resolved a body has nothing left
// to resolve, so a second pass changes no byte.

#include <cstddef>
#include <cstdint>
#include <string>

#include "delivery/body_links.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string html(reinterpret_cast<const char*>(data), size);
  const std::string base = "http://feeds.example/blog/feed.xml";
  tavi::ResolveBodyLinks(html, base);
  std::string again = html;
  tavi::ResolveBodyLinks(again, base);
  if (again != html) __builtin_trap();
  return 0;
}
