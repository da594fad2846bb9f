#pragma once

// Messages and files as the host stores them, for the host's tests.

#include <string>
#include <vector>

#include "host/mbx_format.h"

namespace tavi::testing {

// A stored message whose subject is `id` and whose Message-Id is built from it.
inline std::string RawMessage(const std::string& id,
                              const std::string& body = "<x-html>body</x-html>") {
  return host::MakeRawMessage(
      "From ???@??? Sun Dec 6 2026 13:46:41",
      "Subject: " + id + "\r\nMessage-Id: <" + id + "@localhost.localdomain>\r\n\r\n" + body);
}

inline std::string Join(const std::vector<std::string>& raws) {
  std::string joined;
  for (const std::string& raw : raws) joined += raw;
  return joined;
}

}  // namespace tavi::testing
