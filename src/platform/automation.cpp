#include "platform/automation.h"

#include <charconv>
#include <map>
#include <mutex>

namespace tavi::platform {
namespace {

struct Registry {
  std::mutex lock;
  std::map<std::string, ClassFactory> factories;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

std::int32_t Variant::AsInteger() const {
  if (const auto* number = std::get_if<std::int32_t>(&value_)) return *number;
  if (const auto* text = std::get_if<std::string>(&value_)) {
    std::int32_t number = 0;
    std::from_chars(text->data(), text->data() + text->size(), number);
    return number;
  }
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
  registry.factories[program_id] = std::move(factory);
}

void UnregisterAutomationClass(const std::string& program_id) {
  Registry& registry = TheRegistry();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.factories.erase(program_id);
}

InvokeResult CreateAutomationObject(const std::string& program_id) {
  ClassFactory factory;
  {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> guard(registry.lock);
    const auto found = registry.factories.find(program_id);
    if (found == registry.factories.end()) return InvokeResult::Failure(kInvalidClassString);
    factory = found->second;
  }
  // The factory runs outside the lock: it may itself create objects.
  return factory();
}

}  // namespace tavi::platform
