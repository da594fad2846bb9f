#pragma once

// Reading the header lines of an HTTP answer as a transfer receives them,
// one line at a time with its line end, for the facts a caller keeps: the
// validators of the document and the charset its Content-Type names.

#include <optional>
#include <string>
#include <string_view>

namespace tavi::platform {

// One header field: its name as sent and its value without the blanks
// around it.
struct HeaderField {
  std::string_view name;
  std::string_view value;
};

// The field on `line` ("ETag: \"v1\"\r\n"), or nullopt for a line that holds
// none: a status line, the blank line that ends the header, a line without a
// colon or with an empty name.
std::optional<HeaderField> ParseHeaderField(std::string_view line);

// True when `field` is named `name`, in any letter case.
bool IsHeaderNamed(const HeaderField& field, std::string_view name);

// The charset parameter of a Content-Type value ("text/xml; charset=
// \"ISO-8859-1\"" gives "ISO-8859-1"), without quotes or blanks; "" when the
// value names none. The parameter's name is matched in any letter case.
std::string CharsetParameter(std::string_view content_type);

// True when `value` can go into a request header as it is: no control
// character (a line break would start a header of its own) and not empty.
bool IsSendableHeaderValue(std::string_view value);

}  // namespace tavi::platform
