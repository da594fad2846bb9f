// Any bytes as the body of a request from tavi-host's page: reading it must
// neither crash nor read past the bytes; it succeeds only by reading every
// byte, stops inside the bytes when it fails, keeps no member of a refused
// body and never more members than its cap.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "web/json_request.h"

namespace {

namespace web = tavi::web;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const web::JsonRequestParse parsed = web::ParseJsonRequest(text);
  Check(parsed.offset <= size);
  Check(web::JsonRequestStatusText(parsed.status)[0] != '\0');
  if (parsed.status != web::JsonRequestStatus::kOk) {
    Check(parsed.request.MemberCount() == 0);
    return 0;
  }
  Check(parsed.offset == size);
  Check(parsed.request.MemberCount() <= web::kMaxJsonRequestMembers);
  return 0;
}
