// Any bytes as a header line of a server's answer, and as a Content-Type
// value: reading them must neither crash nor read past them, a field found
// has a name without blanks or colons and a value without blanks around it,
// and a charset never keeps the quotes or blanks around it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/net_headers.h"

namespace {

bool HasBlankAtAnEnd(std::string_view text) {
  if (text.empty()) return false;
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  return is_blank(text.front()) || is_blank(text.back());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto field = tavi::platform::ParseHeaderField(bytes)) {
    if (field->name.empty() || field->name.find_first_of(" \t:") != std::string_view::npos)
      __builtin_trap();
    if (HasBlankAtAnEnd(field->value)) __builtin_trap();
  }
  const std::string charset = tavi::platform::CharsetParameter(bytes);
  if (HasBlankAtAnEnd(charset) || charset.size() > size) __builtin_trap();
  return 0;
}
