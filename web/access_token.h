#pragma once

// The secrets that keep tavi-host's page to the person who started it: the
// token printed in the address to open, and the value of the cookie the
// token is exchanged for. Both come from the system's random source, never
// from a clock or a counter someone could guess.

#include <string>
#include <string_view>

namespace tavi::web {

// Random bytes in each secret: 256 bits, written as 64 lower-case hex digits.
inline constexpr std::size_t kSecretBytes = 32;

// A new secret read from /dev/urandom; "" when it cannot be read whole (the
// caller must then refuse to serve).
std::string NewSecret();

// Whether `given` equals `secret`, in a time that depends on their lengths
// only, so that timing a refusal reveals nothing of the secret.
bool SameSecret(std::string_view given, std::string_view secret);

}  // namespace tavi::web
