// Any bytes as a feed's date text: the two date functions and the parser
// behind them must neither crash nor read past the text, and what they write
// must read back as the same date.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fetch/date_text.h"
#include "platform/oledate.h"

namespace {

using tavi::platform::FormatDate;
using tavi::platform::FormatLocaleDateText;
using tavi::platform::OleDate;
using tavi::platform::ParseLocaleDateText;

// A date that parses reads back unchanged from the stored layout and from the
// locale's form ("LastArticle" and "LastCheck").
void CheckParsedDateReadsBack(std::string_view text) {
  const OleDate date = ParseLocaleDateText(text);
  if (!date.IsValid()) return;
  if (ParseLocaleDateText(FormatDate(date, tavi::kCanonicalDateLayout)) != date) __builtin_trap();
  if (ParseLocaleDateText(FormatLocaleDateText(date)) != date) __builtin_trap();
}

// An Atom date as the engine stores it must normalise to the same date when
// the composer reads it, never to the current time.
void CheckConvertedDateNormalises(std::string_view text) {
  const std::string mail_style = tavi::ConvertW3cDateText(text);
  const std::string canonical = tavi::NormalizeDateText(mail_style);
  const OleDate date = ParseLocaleDateText(canonical);
  if (FormatDate(date, tavi::kMailDateLayout) != mail_style) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckParsedDateReadsBack(text);
  CheckConvertedDateNormalises(text);
  if (!ParseLocaleDateText(tavi::NormalizeDateText(text)).IsValid()) __builtin_trap();
  return 0;
}
