#pragma once

// The body of a request from tavi-host's page: one JSON object whose
// members are whole numbers, booleans or strings, as every request of the
// page is. Anything else is refused with a status that says what was wrong
// and where, never by throwing:
//   {"mailbox": 12, "message": 345, "ctrl": true, "name": "In"}
// Numbers must be whole and fit in 64 bits; strings may hold any escape,
// \u escapes (surrogate pairs joined) becoming UTF-8. White space is taken
// around every token. The body's size is capped by the server before it
// gets here; the member count is capped here.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tavi::web {

// More members than this is no request of the page.
inline constexpr std::size_t kMaxJsonRequestMembers = 32;

enum class JsonRequestStatus {
  kOk,                // one object, read to its end
  kNotAnObject,       // the text does not begin with '{' (after white space)
  kBadSyntax,         // not JSON where the offset points
  kUnsupportedValue,  // null, an array, an object or a fraction as a member's value
  kNumberOutOfRange,  // a whole number beyond 64 bits
  kDuplicateKey,      // the same key twice
  kTooManyMembers,    // more than kMaxJsonRequestMembers members
  kTrailingText,      // something after the object's closing brace
};

// The one-line meaning of a status ("a member's value must be a whole number, true, false or a
// string"), for the error the page is answered with.
const char* JsonRequestStatusText(JsonRequestStatus status);

class JsonRequest {
 public:
  using Value = std::variant<std::int64_t, bool, std::string>;

  // The member's value when the object has the key with a value of that
  // kind; nullopt otherwise.
  std::optional<std::int64_t> Integer(std::string_view key) const;
  std::optional<bool> Bool(std::string_view key) const;
  std::optional<std::string> String(std::string_view key) const;
  // Whether the object has the key, with a value of any kind.
  bool Has(std::string_view key) const { return members_.find(key) != members_.end(); }

  std::size_t MemberCount() const { return members_.size(); }

 private:
  friend class JsonRequestReader;
  template <typename Kind>
  std::optional<Kind> MemberOfKind(std::string_view key) const;

  std::map<std::string, Value, std::less<>> members_;
};

struct JsonRequestParse {
  JsonRequestStatus status = JsonRequestStatus::kOk;
  // Where reading stopped: the byte at fault, or the text's size when kOk.
  std::size_t offset = 0;
  // The members when kOk; empty otherwise.
  JsonRequest request;
};

// Reads `text` as one JSON object.
JsonRequestParse ParseJsonRequest(std::string_view text);

}  // namespace tavi::web
