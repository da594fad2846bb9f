#pragma once

// A small JSON writer for machine-readable output: the tavi command's and
// the answers of tavi-host's page interface. Feed texts
// are 8-bit bytes that need not be UTF-8: every valid UTF-8 sequence is
// written as it is, and every other byte as the character U+00XX of its
// value, so any input gives valid JSON and no byte is lost.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::web {

// `text` as a JSON string literal, quotes included. Quotation mark, reverse
// solidus and control characters are escaped; a byte that does not start a
// complete, shortest-form UTF-8 sequence of a scalar value (U+D800 to
// U+DFFF and values above U+10FFFF are not scalar values) is written as
// "\u00XX".
std::string JsonString(std::string_view text);

// Builds one JSON value in order, with two-blank indentation. Callers open
// and close objects and arrays in matching pairs (assert); keys are given
// before each member of an object.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The key of the next member of the current object.
  void Key(std::string_view key);
  void String(std::string_view text);
  void Bool(bool value);
  void Number(std::int64_t value);
  // A member of the current object: its key and its value.
  void StringMember(std::string_view key, std::string_view text);
  void NumberMember(std::string_view key, std::int64_t value);
  void BoolMember(std::string_view key, bool value);

  // The text written so far; complete once every object and array is closed.
  const std::string& Text() const { return text_; }

 private:
  struct Level {
    bool object = false;
    bool empty = true;
  };

  void BeforeValue();
  void Open(char bracket, bool object);
  void Close(char bracket, bool object);
  void NewLine();

  std::string text_;
  std::vector<Level> levels_;
  bool after_key_ = false;
};

}  // namespace tavi::web
