#pragma once

// Late-bound automation objects: values passed as variants, objects invoked
// by dispatch id and kind, and a process-wide class registry keyed by program
// id. The host registers its server's factory; the plug-in creates objects by
// program id and never sees the host's types.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace tavi::platform {

class DispatchObject;
using DispatchPtr = std::shared_ptr<DispatchObject>;

// The null value (distinct from empty: "no object" from a lookup is null).
struct NullValue {
  bool operator==(const NullValue&) const = default;
};

// Empty, null, a 32-bit integer, a text, or an object (possibly a null
// pointer, which callers treat like the null value).
class Variant {
 public:
  Variant() = default;
  Variant(NullValue) : value_(NullValue{}) {}
  Variant(std::int32_t number) : value_(number) {}
  Variant(std::string text) : value_(std::move(text)) {}
  Variant(const char* text) : value_(std::string(text)) {}
  Variant(DispatchPtr object) : value_(std::move(object)) {}

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  bool IsNull() const { return std::holds_alternative<NullValue>(value_); }
  bool IsInteger() const { return std::holds_alternative<std::int32_t>(value_); }
  bool IsText() const { return std::holds_alternative<std::string>(value_); }
  bool IsObject() const { return std::holds_alternative<DispatchPtr>(value_); }

  // The value converted as automation converts it: an integer from a text of
  // digits, a text from an integer; 0, "" or nullptr when it cannot convert.
  std::int32_t AsInteger() const;
  std::string AsText() const;
  DispatchPtr AsObject() const;

 private:
  std::variant<std::monostate, NullValue, std::int32_t, std::string, DispatchPtr> value_;
};

enum class InvokeKind { kGet, kPut, kCall };

// The outcome of one invocation: a value, or the failure's error text.
struct InvokeResult {
  bool ok = true;
  Variant value;
  std::string error;

  static InvokeResult Value(Variant value) { return {true, std::move(value), {}}; }
  static InvokeResult Failure(std::string error) { return {false, {}, std::move(error)}; }
};

// An object reached through dispatch ids. Implementations must be safe to
// call from the thread that created them; nothing more is promised.
class DispatchObject {
 public:
  virtual ~DispatchObject() = default;
  virtual InvokeResult Invoke(std::int32_t dispatch_id, InvokeKind kind,
                              const std::vector<Variant>& arguments) = 0;

  // Shorthands; each returns the result value, or an empty variant on failure.
  Variant Get(std::int32_t dispatch_id, const std::vector<Variant>& arguments = {});
  Variant Call(std::int32_t dispatch_id, const std::vector<Variant>& arguments = {});
  bool Put(std::int32_t dispatch_id, const Variant& value);
};

using ClassFactory = std::function<InvokeResult()>;

// The system's text when a program id has no registered class.
inline constexpr const char* kInvalidClassString = "Invalid class string";

// Registers (or replaces) the factory for a program id, process-wide.
void RegisterAutomationClass(const std::string& program_id, ClassFactory factory);
// Removes the registration; creating the class then fails.
void UnregisterAutomationClass(const std::string& program_id);

// Creates an object of the class registered under `program_id`. Fails with
// kInvalidClassString when nothing is registered, or with the factory's own
// error text. On success the result's value holds the object.
InvokeResult CreateAutomationObject(const std::string& program_id);

}  // namespace tavi::platform
