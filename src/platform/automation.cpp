#include "platform/automation.h"

#include <charconv>
#include <map>
#include <mutex>
#include <string_view>

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

struct Registry {
  std::mutex lock;
  // By lower-case program id: the system finds classes regardless of case.
  std::map<std::string, ClassFactory> factories;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// The number a whole text stands for, blanks around it allowed, as
// automation converts a text to an integer; 0 when any of it is not part of
// the number or the number does not fit in 32 bits.
std::int32_t TextToInteger(std::string_view text) {
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  std::int32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return number;
}

}  // namespace

std::int32_t Variant::AsInteger() const {
  if (const auto* number = std::get_if<std::int32_t>(&value_)) return *number;
  if (const auto* text = std::get_if<std::string>(&value_)) return TextToInteger(*text);
  return 0;
}

std::string Variant::AsText() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value_)) return std::to_string(*number);
  return "";
}

DispatchPtr Variant::AsObject() const {
  if (const auto* object = std::get_if<DispatchPtr>(&value_)) return *object;
  return nullptr;
}

Variant DispatchObject::Get(std::int32_t dispatch_id, const std::vector<Variant>& arguments) {
  return Invoke(dispatch_id, InvokeKind::kGet, arguments).value;
}

Variant DispatchObject::Call(std::int32_t dispatch_id, const std::vector<Variant>& arguments) {
  return Invoke(dispatch_id, InvokeKind::kCall, arguments).value;
}

bool DispatchObject::Put(std::int32_t dispatch_id, const Variant& value) {
  return Invoke(dispatch_id, InvokeKind::kPut, {value}).ok;
}

void RegisterAutomationClass(const std::string& program_id, ClassFactory factory) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.factories[ToLowerAscii(program_id)] = std::move(factory);
}

void UnregisterAutomationClass(const std::string& program_id) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.factories.erase(ToLowerAscii(program_id));
}

InvokeResult CreateAutomationObject(const std::string& program_id) {
  ClassFactory factory;
  {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    const auto found = registry.factories.find(ToLowerAscii(program_id));
    if (found == registry.factories.end()) return InvokeResult::Failure(kInvalidClassString);
    factory = found->second;
  }
  // The factory runs outside the lock: it may itself create objects.
  return factory();
}

}  // namespace tavi::platform
