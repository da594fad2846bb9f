// Any bytes as a message's HTML body: the text view must neither crash nor
// read past the markup, and what it lays out keeps its promises: every line
// ended, no blank line at the start or end, never two blank lines in a row,
// and each listed link unique.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html_text.h"

namespace {

void CheckLayout(const std::string& text) {
  if (text.empty()) return;
  if (text.back() != '\n' || text.front() == '\n') __builtin_trap();
  if (text.find("\n\n\n") != std::string::npos) __builtin_trap();
  if (text.size() >= 2 && text[text.size() - 2] == '\n') __builtin_trap();
}

void CheckLinks(std::vector<std::string> links) {
  for (const std::string& link : links) {
    if (link.empty() || link.front() == '#') __builtin_trap();
  }
  std::sort(links.begin(), links.end());
  if (std::adjacent_find(links.begin(), links.end()) != links.end()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> links;
  CheckLayout(tavi::platform::HtmlToText(html, &links));
  CheckLinks(links);
  return 0;
}
