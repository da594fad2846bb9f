#include "web/json_request.h"

#include <limits>

namespace tavi::web {

// Reads one object front to back; each step either moves on or records the
// status and the offset at which it failed.
class JsonRequestReader {
 public:
  explicit JsonRequestReader(std::string_view text) : text_(text) {}

  JsonRequestParse Read() {
    SkipWhiteSpace();
    if (!Take('{')) return Fail(JsonRequestStatus::kNotAnObject);
    if (!ReadMembers()) return Result();
    SkipWhiteSpace();
    if (at_ != text_.size()) return Fail(JsonRequestStatus::kTrailingText);
    return Result();
  }

 private:
  bool ReadMembers() {
    SkipWhiteSpace();
    if (Take('}')) return true;
    do {
      if (!ReadMember()) return false;
      SkipWhiteSpace();
    } while (Take(','));
    return Take('}') || Failed(JsonRequestStatus::kBadSyntax);
  }

  bool ReadMember() {
    SkipWhiteSpace();
    const std::size_t key_at = at_;
    std::string key;
    if (!ReadString(key)) return false;
    SkipWhiteSpace();
    if (!Take(':')) return Failed(JsonRequestStatus::kBadSyntax);
    SkipWhiteSpace();
    JsonRequest::Value value;
    if (!ReadValue(value)) return false;
    if (parsed_.request.members_.contains(key)) {
      at_ = key_at;
      return Failed(JsonRequestStatus::kDuplicateKey);
    }
    if (parsed_.request.members_.size() == kMaxJsonRequestMembers) {
      at_ = key_at;
      return Failed(JsonRequestStatus::kTooManyMembers);
    }
    parsed_.request.members_.emplace(std::move(key), std::move(value));
    return true;
  }

  bool ReadValue(JsonRequest::Value& value) {
    if (Peek() == '"') {
      std::string text;
      if (!ReadString(text)) return false;
      value = std::move(text);
      return true;
    }
    if (Peek() == '-' || IsDigit(Peek())) return ReadWholeNumber(value);
    for (const bool literal : {true, false}) {
      if (!TakeWord(literal ? "true" : "false")) continue;
      value = literal;
      return true;
    }
    if (Peek() == '{' || Peek() == '[' || text_.substr(at_).starts_with("null"))
      return Failed(JsonRequestStatus::kUnsupportedValue);
    return Failed(JsonRequestStatus::kBadSyntax);
  }

  // -?(0|[1-9][0-9]*), accumulated negatively so that the smallest value
  // fits; a fraction or an exponent is a value the page never sends.
  bool ReadWholeNumber(JsonRequest::Value& value) {
    const std::size_t start = at_;
    const bool negative = Take('-');
    if (!IsDigit(Peek())) return Failed(JsonRequestStatus::kBadSyntax);
    const bool leading_zero = Peek() == '0';
    std::int64_t magnitude = 0;  // minus the value read so far
    constexpr std::int64_t kSmallest = std::numeric_limits<std::int64_t>::min();
    while (IsDigit(Peek())) {
      const int digit = text_[at_] - '0';
      if (magnitude < (kSmallest + digit) / 10)
        return FailedAt(start, JsonRequestStatus::kNumberOutOfRange);
      magnitude = magnitude * 10 - digit;
      ++at_;
      if (leading_zero) break;
    }
    if (Peek() == '.' || Peek() == 'e' || Peek() == 'E')
      return FailedAt(start, JsonRequestStatus::kUnsupportedValue);
    if (IsDigit(Peek())) return Failed(JsonRequestStatus::kBadSyntax);
    if (!negative && magnitude == kSmallest)
      return FailedAt(start, JsonRequestStatus::kNumberOutOfRange);
    value = negative ? magnitude : -magnitude;
    return true;
  }

  bool ReadString(std::string& out) {
    if (!Take('"')) return Failed(JsonRequestStatus::kBadSyntax);
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '"') {
        ++at_;
        return true;
      }
      if (static_cast<unsigned char>(c) < 0x20) return Failed(JsonRequestStatus::kBadSyntax);
      if (c != '\\') {
        out += c;
        ++at_;
        continue;
      }
      if (!ReadEscape(out)) return false;
    }
    return Failed(JsonRequestStatus::kBadSyntax);
  }

  bool ReadEscape(std::string& out) {
    constexpr std::string_view kEscaped = "\"\\/bfnrt";
    constexpr std::string_view kMeant = "\"\\/\b\f\n\r\t";
    ++at_;  // the reverse solidus
    const std::size_t which = kEscaped.find(Peek());
    if (Peek() != '\0' && which != std::string_view::npos) {
      out += kMeant[which];
      ++at_;
      return true;
    }
    if (!Take('u')) return Failed(JsonRequestStatus::kBadSyntax);
    std::uint32_t code_point = 0;
    if (!ReadCodePoint(code_point)) return false;
    AppendUtf8(out, code_point);
    return true;
  }

  // The four hex digits after \u, joined with a following \u low surrogate
  // when they are a high one. A lone surrogate is no character.
  bool ReadCodePoint(std::uint32_t& code_point) {
    if (!ReadHex4(code_point)) return false;
    if (code_point >= 0xDC00 && code_point <= 0xDFFF) return Failed(JsonRequestStatus::kBadSyntax);
    if (code_point < 0xD800 || code_point > 0xDBFF) return true;
    std::uint32_t low = 0;
    if (!Take('\\') || !Take('u') || !ReadHex4(low)) return Failed(JsonRequestStatus::kBadSyntax);
    if (low < 0xDC00 || low > 0xDFFF) return Failed(JsonRequestStatus::kBadSyntax);
    code_point = 0x10000 + ((code_point - 0xD800) << 10) + (low - 0xDC00);
    return true;
  }

  bool ReadHex4(std::uint32_t& value) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    for (int i = 0; i < 4; ++i) {
      const char c = static_cast<char>(Peek() | 0x20);  // hex digits in either case
      const std::size_t digit = kDigits.find(c);
      if (Peek() == '\0' || digit == std::string_view::npos)
        return Failed(JsonRequestStatus::kBadSyntax);
      value = value * 16 + static_cast<std::uint32_t>(digit);
      ++at_;
    }
    return true;
  }

  // The lead byte carries the length and the top bits; each continuation
  // byte six more bits.
  static void AppendUtf8(std::string& out, std::uint32_t code_point) {
    if (code_point < 0x80) {
      out += static_cast<char>(code_point);
      return;
    }
    const int continuations = code_point < 0x800 ? 1 : code_point < 0x10000 ? 2 : 3;
    constexpr std::uint32_t kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeadMarks[continuations] | code_point >> (6 * continuations));
    for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6)
      out += static_cast<char>(0x80 | ((code_point >> shift) & 0x3F));
  }

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  // The byte at the reading position; '\0' at the end (a zero byte in the
  // text is never valid where Peek is asked, so the two cannot be confused).
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

  bool Take(char c) {
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  bool TakeWord(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  void SkipWhiteSpace() {
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
      ++at_;
  }

  bool Failed(JsonRequestStatus status) {
    parsed_.status = status;
    return false;
  }

  bool FailedAt(std::size_t offset, JsonRequestStatus status) {
    at_ = offset;
    return Failed(status);
  }

  JsonRequestParse Fail(JsonRequestStatus status) {
    Failed(status);
    return Result();
  }

  JsonRequestParse Result() {
    parsed_.offset = at_;
    if (parsed_.status != JsonRequestStatus::kOk) parsed_.request = {};
    return std::move(parsed_);
  }

  std::string_view text_;
  std::size_t at_ = 0;
  JsonRequestParse parsed_;
};

const char* JsonRequestStatusText(JsonRequestStatus status) {
  switch (status) {
    case JsonRequestStatus::kOk:
      return "a JSON object";
    case JsonRequestStatus::kNotAnObject:
      return "the body must be a JSON object";
    case JsonRequestStatus::kBadSyntax:
      return "the body is not valid JSON";
    case JsonRequestStatus::kUnsupportedValue:
      return "a member's value must be a whole number, true, false or a string";
    case JsonRequestStatus::kNumberOutOfRange:
      return "a number is too large";
    case JsonRequestStatus::kDuplicateKey:
      return "a key appears twice";
    case JsonRequestStatus::kTooManyMembers:
      return "the object has too many members";
    case JsonRequestStatus::kTrailingText:
      return "something follows the object";
  }
  return "";
}

JsonRequestParse ParseJsonRequest(std::string_view text) { return JsonRequestReader(text).Read(); }

template <typename Kind>
std::optional<Kind> JsonRequest::MemberOfKind(std::string_view key) const {
  const auto found = members_.find(key);
  if (found == members_.end()) return std::nullopt;
  if (const Kind* value = std::get_if<Kind>(&found->second)) return *value;
  return std::nullopt;
}

std::optional<std::int64_t> JsonRequest::Integer(std::string_view key) const {
  return MemberOfKind<std::int64_t>(key);
}

std::optional<bool> JsonRequest::Bool(std::string_view key) const {
  return MemberOfKind<bool>(key);
}

std::optional<std::string> JsonRequest::String(std::string_view key) const {
  return MemberOfKind<std::string>(key);
}

}  // namespace tavi::web
