#include "platform/text_conversion.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

// Output is written through a fixed buffer, so that no size has to be
// guessed for encodings whose UTF-8 form is longer than their own.
constexpr std::size_t kChunkBytes = 16 * 1024;

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsEncodingNameCharacter(char c) {
  return IsLetterOrDigit(c) || std::string_view("-_.:+()").find(c) != std::string_view::npos;
}

// The bytes an invalid piece of input is skipped by: one code unit of the
// encoding, so that UTF-16 and UTF-32 stay aligned after it.
std::size_t CodeUnitBytes(std::string_view encoding) {
  std::string letters;
  for (const char c : encoding) {
    if (c != '-' && c != '_') letters += ToLowerAscii(c);
  }
  if (letters.starts_with("utf16") || letters.starts_with("ucs2")) return 2;
  if (letters.starts_with("utf32") || letters.starts_with("ucs4")) return 4;
  return 1;
}

// The library's converter, closed when it goes.
class Converter {
 public:
  explicit Converter(const std::string& from) : handle_(iconv_open("UTF-8", from.c_str())) {}
  ~Converter() {
    if (IsOpen()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t Handle() const { return handle_; }

 private:
  iconv_t handle_;
};

// Runs the converter over the whole input, appending to `result`.
void ConvertAll(const Converter& converter, std::string_view bytes, std::size_t unit,
                Utf8Conversion& result) {
  // iconv takes a pointer to non-const input, which it never writes.
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char chunk[kChunkBytes];
  while (in_left > 0) {
    char* out = chunk;
    std::size_t out_left = sizeof chunk;
    const std::size_t done = iconv(converter.Handle(), &in, &in_left, &out, &out_left);
    const int error = errno;
    result.text.append(chunk, static_cast<std::size_t>(out - chunk));
    if (done != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    result.text += kReplacementCharacter;
    ++result.replaced;
    // EILSEQ: an invalid unit, which is skipped; EINVAL: a sequence that the
    // end of the input cut off, which is all that is left.
    const std::size_t skipped = error == EILSEQ ? std::min(unit, in_left) : in_left;
    in += skipped;
    in_left -= skipped;
  }
}

}  // namespace

bool IsEncodingName(std::string_view name) {
  if (name.empty() || name.size() > kMaxEncodingNameLength) return false;
  // The library strips punctuation, and reads a name left empty as the
  // locale's encoding: every real name starts with a letter or a digit.
  if (!IsLetterOrDigit(name.front())) return false;
  return std::all_of(name.begin(), name.end(), IsEncodingNameCharacter);
}

Utf8Conversion ConvertToUtf8(std::string_view bytes, std::string_view encoding) {
  Utf8Conversion result;
  if (!IsEncodingName(encoding)) {
    result.status = ConversionStatus::kUnknownEncoding;
    return result;
  }
  const Converter converter{std::string(encoding)};
  if (!converter.IsOpen()) {
    result.status = ConversionStatus::kUnknownEncoding;
    return result;
  }
  result.text.reserve(bytes.size());
  ConvertAll(converter, bytes, CodeUnitBytes(encoding), result);
  if (result.replaced > 0) result.status = ConversionStatus::kReplaced;
  return result;
}

}  // namespace tavi::platform
