// A stand-in for the HTML clean-up component: its registration export
// answers with a result the test chooses and counts its calls.

#include <cstdint>

namespace {

std::int32_t registration_result = 0;
std::int32_t registration_calls = 0;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t DllRegisterServer() {
  ++registration_calls;
  return registration_result;
}

__attribute__((visibility("default"))) void TidyStandInSetResult(std::int32_t result) {
  registration_result = result;
}

__attribute__((visibility("default"))) std::int32_t TidyStandInCalls() {
  return registration_calls;
}

}  // extern "C"
