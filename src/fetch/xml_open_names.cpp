#include "fetch/xml_open_names.h"

#include <cassert>
#include <random>

#include "fetch/xml_token_scanner.h"

namespace tavi {
namespace {

// Keys are hashed as polynomials modulo a Mersenne prime with a base drawn at
// start, so that no document can be written to make its names collide.
constexpr std::uint64_t kHashModulus = (std::uint64_t{1} << 61) - 1;

std::uint64_t ReduceModulus(unsigned __int128 value) {
  std::uint64_t reduced =
      static_cast<std::uint64_t>(value & kHashModulus) + static_cast<std::uint64_t>(value >> 61);
  reduced = (reduced & kHashModulus) + (reduced >> 61);
  return reduced >= kHashModulus ? reduced - kHashModulus : reduced;
}

std::uint64_t HashBase() {
  static const std::uint64_t base = [] {
    std::random_device device;
    const std::uint64_t drawn = (std::uint64_t{device()} << 32) | device();
    return drawn % (kHashModulus - 256) + 256;
  }();
  return base;
}

std::uint64_t HashStep(std::uint64_t hash, char c) {
  const std::uint64_t base = HashBase();
  return ReduceModulus(static_cast<unsigned __int128>(hash) * base + static_cast<unsigned char>(c) +
                       1);
}

}  // namespace

XmlOpenNames::Key XmlOpenNames::WholeKey(std::string_view text) {
  std::uint64_t hash = 0;
  for (const char c : text) hash = HashStep(hash, c);
  return Key{text, hash};
}

// Calls visit(key) for every end-tag name that matches `name`, hashing each
// prefix on the way so that a long name costs time linear in its length.
template <typename Visit>
void XmlOpenNames::ForEachKey(std::string_view name, Visit visit) {
  std::uint64_t hash = 0;
  for (std::size_t length = 0; length < name.size(); ++length) {
    if (IsXmlNameContinuation(name[length])) visit(Key{name.substr(0, length), hash});
    hash = HashStep(hash, name[length]);
  }
  visit(Key{name, hash});
}

void XmlOpenNames::Add(std::string_view name, std::uint32_t depth) {
  ForEachKey(name, [&](const Key& key) { depths_[key].push_back(depth); });
}

void XmlOpenNames::RemoveInnermost(std::string_view name) {
  ForEachKey(name, [&](const Key& key) {
    const auto found = depths_.find(key);
    assert(found != depths_.end() && !found->second.empty() && "element was never added");
    found->second.pop_back();
    if (found->second.empty()) depths_.erase(found);
  });
}

std::optional<std::uint32_t> XmlOpenNames::FindInnermost(std::string_view end_tag_name) const {
  const auto found = depths_.find(WholeKey(end_tag_name));
  if (found == depths_.end()) return std::nullopt;
  return found->second.back();
}

}  // namespace tavi
