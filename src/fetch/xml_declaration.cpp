#include "fetch/xml_declaration.h"

#include <utility>

#include "platform/ascii.h"

namespace tavi {
namespace {

using platform::IsAsciiWhiteSpace;

constexpr std::string_view kDeclarationStart = "<?xml";
constexpr std::string_view kDeclarationEnd = "?>";
constexpr std::string_view kEncodingName = "encoding";

std::size_t SkipWhiteSpace(std::string_view text, std::size_t at) {
  while (at < text.size() && IsAsciiWhiteSpace(text[at])) ++at;
  return at;
}

// The declaration's inside: what lies between "<?xml" and "?>", with its
// offset in the text; nullopt when the text does not start with one.
std::optional<std::pair<std::size_t, std::string_view>> DeclarationBody(std::string_view text) {
  const std::size_t start = SkipWhiteSpace(text, 0);
  if (text.substr(start, kDeclarationStart.size()) != kDeclarationStart) return std::nullopt;
  const std::size_t body = start + kDeclarationStart.size();
  // "<?xml-stylesheet" and the like are other instructions.
  if (body >= text.size() || !IsAsciiWhiteSpace(text[body])) return std::nullopt;
  const std::size_t end = text.find(kDeclarationEnd, body);
  if (end == std::string_view::npos) return std::nullopt;
  return std::make_pair(body, text.substr(body, end - body));
}

// The offset of the pseudo-attribute "encoding" in the declaration's inside:
// a word of its own, preceded by white space.
std::size_t EncodingNameOffset(std::string_view body) {
  for (std::size_t at = body.find(kEncodingName); at != std::string_view::npos;
       at = body.find(kEncodingName, at + 1)) {
    const std::size_t after = at + kEncodingName.size();
    const bool word_before = at > 0 && !IsAsciiWhiteSpace(body[at - 1]);
    const bool word_after =
        after < body.size() && !IsAsciiWhiteSpace(body[after]) && body[after] != '=';
    if (!word_before && !word_after) return at;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<DeclaredEncodingPlace> FindDeclaredEncoding(std::string_view text) {
  const auto declaration = DeclarationBody(text);
  if (!declaration) return std::nullopt;
  const auto [body_offset, body] = *declaration;
  const std::size_t name = EncodingNameOffset(body);
  if (name == std::string_view::npos) return std::nullopt;
  std::size_t at = SkipWhiteSpace(body, name + kEncodingName.size());
  if (at >= body.size() || body[at] != '=') return std::nullopt;
  at = SkipWhiteSpace(body, at + 1);
  if (at >= body.size() || (body[at] != '"' && body[at] != '\'')) return std::nullopt;
  const std::size_t close = body.find(body[at], at + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return DeclaredEncodingPlace{body_offset + at + 1, close - at - 1};
}

std::string_view DeclaredEncoding(std::string_view text) {
  const std::optional<DeclaredEncodingPlace> place = FindDeclaredEncoding(text);
  if (!place) return {};
  return text.substr(place->offset, place->length);
}

}  // namespace tavi
