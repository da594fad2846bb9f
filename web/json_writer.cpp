#include "web/json_writer.h"

#include <cassert>
#include <cstdint>

namespace tavi::web {
namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the sequence a lead byte announces; 0 for a byte that
// cannot start one.
std::size_t AnnouncedLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The smallest code point each sequence length may carry (shorter forms
// are overlong).
std::uint32_t SmallestForLength(std::size_t length) {
  constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  return kSmallest[length];
}

bool IsScalarValue(std::uint32_t code_point) {
  return code_point <= 0x10FFFF && (code_point < 0xD800 || code_point > 0xDFFF);
}

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there
// does not start one.
std::size_t ValidSequenceLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = AnnouncedLength(lead);
  if (length <= 1 || at + length > text.size()) return length == 1 ? 1 : 0;
  std::uint32_t code_point = lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if (!IsContinuation(byte)) return 0;
    code_point = (code_point << 6) | (byte & 0x3F);
  }
  if (code_point < SmallestForLength(length) || !IsScalarValue(code_point)) return 0;
  return length;
}

void AppendUnicodeEscape(std::string& out, unsigned char value) {
  constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[value >> 4];
  out += kHex[value & 0x0F];
}

void AppendAscii(std::string& out, unsigned char byte) {
  switch (byte) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
  }
  if (byte < 0x20 || byte == 0x7F) return AppendUnicodeEscape(out, byte);
  out += static_cast<char>(byte);
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t length = ValidSequenceLength(text, at);
    const auto byte = static_cast<unsigned char>(text[at]);
    if (length == 1) {
      AppendAscii(out, byte);
    } else if (length == 0) {
      AppendUnicodeEscape(out, byte);
    } else {
      out.append(text.substr(at, length));
    }
    at += length == 0 ? 1 : length;
  }
  return out + "\"";
}

void JsonWriter::BeginObject() { Open('{', true); }
void JsonWriter::EndObject() { Close('}', true); }
void JsonWriter::BeginArray() { Open('[', false); }
void JsonWriter::EndArray() { Close(']', false); }

void JsonWriter::Key(std::string_view key) {
  assert(!levels_.empty() && levels_.back().object && !after_key_ && "a key belongs in an object");
  BeforeValue();
  text_ += JsonString(key) + ": ";
  after_key_ = true;
}

void JsonWriter::String(std::string_view text) {
  BeforeValue();
  text_ += JsonString(text);
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
}

void JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  text_ += std::to_string(value);
}

void JsonWriter::StringMember(std::string_view key, std::string_view text) {
  Key(key);
  String(text);
}

void JsonWriter::NumberMember(std::string_view key, std::int64_t value) {
  Key(key);
  Number(value);
}

void JsonWriter::BoolMember(std::string_view key, bool value) {
  Key(key);
  Bool(value);
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (levels_.empty()) return;
  if (!levels_.back().empty) text_ += ",";
  levels_.back().empty = false;
  NewLine();
}

void JsonWriter::Open(char bracket, bool object) {
  BeforeValue();
  text_ += bracket;
  levels_.push_back({object, true});
}

void JsonWriter::Close(char bracket, [[maybe_unused]] bool object) {
  assert(!levels_.empty() && levels_.back().object == object && !after_key_ &&
         "closing what was opened");
  const bool empty = levels_.back().empty;
  levels_.pop_back();
  if (!empty) NewLine();
  text_ += bracket;
}

void JsonWriter::NewLine() {
  text_ += "\n";
  text_.append(levels_.size() * 2, ' ');
}

}  // namespace tavi::web
